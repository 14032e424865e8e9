// korvel98-runbench: a collection through the statistics window, without a person and without a
// display, for the walk benchmark. The folder stands in for drive c:.
//
//   korvel98-runbench FOLDER
//
// Runs two collections of the folder: the first to its end, the second stopped with Esc halfway.
// Prints one line: the first run's walk time in seconds, the longest time in milliseconds the
// window went without its messages during that walk, and the milliseconds from the Esc of the
// second run to the end of its walk.

#include "reports/Statistics.h"
#include "tools/Unattended.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QKeyEvent>
#include <cstdio>

namespace {

// Watches one walk: when it starts, the longest time between the end of one message dispatch and
// the start of the next, and when it ends.
struct WalkWatch
{
    QElapsedTimer clock;
    qint64 started = 0, lastDispatch = 0, longestGap = 0, ended = 0;

    void start()
    {
        started = lastDispatch = clock.nsecsElapsed();
        longestGap = ended = 0;
    }
    void dispatched()
    {
        const qint64 now = clock.nsecsElapsed();
        longestGap = std::max(longestGap, now - lastDispatch);
    }
    void end()
    {
        ended = clock.nsecsElapsed();
        longestGap = std::max(longestGap, ended - lastDispatch);
    }
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2 || !QFileInfo(QString::fromLocal8Bit(argv[1])).isDir()) {
        std::fputs("usage: korvel98-runbench FOLDER\n", stderr);
        return 2;
    }
    const UnattendedDrive drive(QString::fromLocal8Bit(argv[1]), QStringLiteral("c: [bench]"));
    TfrmStatistics window;
    window.show();
    WalkWatch watch;
    watch.clock.start();
    EngineHooks &hooks = window.engine.hooks;
    const auto starting = hooks.driveStarting;
    const auto dispatch = hooks.dispatchMessages;
    const auto refill = hooks.refillPages;
    std::uint64_t escAt = 0; // press Esc once the walk has met this many entries; 0 never
    qint64 escPressed = 0;
    hooks.driveStarting = [&] {
        starting();
        watch.start();
    };
    hooks.dispatchMessages = [&] {
        watch.dispatched();
        dispatch();
        watch.lastDispatch = watch.clock.nsecsElapsed(); // the window was served until now
        // The key waits in the queue for the next dispatch, as a key pressed now would.
        if (escAt && !escPressed && window.engine.walkCounters.entries >= escAt) {
            escPressed = watch.clock.nsecsElapsed();
            QCoreApplication::postEvent(
                &window, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
        }
    };
    hooks.refillPages = [&] {
        watch.end();
        refill();
    };

    answerNextWizard();
    window.btOKClick();
    const double runSeconds = double(watch.ended - watch.started) / 1e9;
    const double gapMs = double(watch.longestGap) / 1e6;

    escAt = std::max<std::uint64_t>(1, window.engine.walkCounters.entries / 2);
    answerNextWizard();
    window.btOKClick();
    const double abortMs = escPressed ? double(watch.ended - escPressed) / 1e6 : -1;
    std::printf("%.3f %.1f %.1f\n", runSeconds, gapMs, abortMs);
    return window.engine.aborted ? 0 : 1;
}
