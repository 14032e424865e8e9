// korvel98-runbench: a collection through the statistics window, without a person and without a
// display, for the walk benchmark. The folder stands in for drive c:.
//
//   korvel98-runbench FOLDER
//
// Runs two collections of the folder: the first to its end, the second stopped with Esc halfway.
// Prints one line: the first run's walk time in seconds, the longest time in milliseconds the
// window went without its messages during that walk, and the milliseconds from the Esc of the
// second run to the end of its walk.

#include "platform/DirectorySearch.h"
#include "reports/Statistics.h"
#include "tools/Unattended.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

namespace {

// Watches the walks of a window through its engine's hooks: when a walk starts, the longest time
// between the end of one message dispatch and the start of the next, and when the walk ends.
// Presses Esc once a walk has met escAt entries.
class WalkWatch
{
public:
    explicit WalkWatch(TfrmStatistics &window);

    std::uint64_t escAt = 0; // 0: never

    double walkSeconds() const { return double(ended - started) / 1e9; }
    double longestGapMs() const { return double(longestGap) / 1e6; }
    // From the Esc to the end of the walk; -1 when no Esc was pressed.
    double abortMs() const { return escPressed ? double(ended - escPressed) / 1e6 : -1; }

private:
    void walkStarts();
    void dispatch(const std::function<void()> &dispatchMessages);
    void walkEnds();

    TfrmStatistics &window;
    QElapsedTimer clock;
    qint64 started = 0, lastDispatch = 0, longestGap = 0, ended = 0, escPressed = 0;
};

WalkWatch::WalkWatch(TfrmStatistics &window) : window(window)
{
    clock.start();
    EngineHooks &hooks = window.engine.hooks;
    hooks.driveStarting = [this, starting = hooks.driveStarting] {
        starting();
        walkStarts();
    };
    hooks.dispatchMessages = [this, messages = hooks.dispatchMessages] { dispatch(messages); };
    hooks.refillPages = [this, refill = hooks.refillPages] {
        walkEnds();
        refill();
    };
}

void WalkWatch::walkStarts()
{
    started = lastDispatch = clock.nsecsElapsed();
    longestGap = ended = 0;
}

void WalkWatch::dispatch(const std::function<void()> &dispatchMessages)
{
    longestGap = std::max(longestGap, clock.nsecsElapsed() - lastDispatch);
    dispatchMessages();
    lastDispatch = clock.nsecsElapsed(); // the window was served until now
    // The key waits in the queue for the next dispatch, as a key pressed now would.
    if (escAt && !escPressed && window.engine.walkCounters.entries >= escAt) {
        escPressed = clock.nsecsElapsed();
        QCoreApplication::postEvent(
            &window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    }
}

void WalkWatch::walkEnds()
{
    ended = clock.nsecsElapsed();
    longestGap = std::max(longestGap, ended - lastDispatch);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // As the program itself does: the read-ahead shares out the descriptors it can spare.
    platform::raiseDescriptorLimit();
    QApplication app(argc, argv);
    if (argc != 2 || !QFileInfo(QString::fromLocal8Bit(argv[1])).isDir()) {
        std::fputs("usage: korvel98-runbench FOLDER\n", stderr);
        return 2;
    }
    const UnattendedDrive drive(QString::fromLocal8Bit(argv[1]), QStringLiteral("c: [bench]"));
    TfrmStatistics window;
    // The runs are kept as the program keeps them, in a history of the benchmark's own.
    const QTemporaryDir history;
    window.historyFolder = history.path();
    window.show();
    WalkWatch watch(window);

    answerNextWizard();
    window.btOKClick();
    const double runSeconds = watch.walkSeconds();
    const double gapMs = watch.longestGapMs();

    watch.escAt = std::max<std::uint64_t>(1, window.engine.walkCounters.entries / 2);
    answerNextWizard();
    window.btOKClick();
    std::printf("%.3f %.1f %.1f\n", runSeconds, gapMs, watch.abortMs());
    return window.engine.aborted ? 0 : 1;
}
