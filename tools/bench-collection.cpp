// korvel98-bench-collection: times how long a run takes to be kept as a collection file and read
// back, and how long the progress estimate takes to look through a full history.
//
// Usage: korvel98-bench-collection [--window] FOLDER [TYPE-ROWS]
// The folder is walked once as drive c: (not timed). Then, median of five rounds each: writing
// the run's collection file, reading it back, and finding the drive's last complete walk behind
// 99 stopped ones in a history. With TYPE-ROWS the same is timed once more after as many extra
// type rows are added to the run, for runs over drives with very many extensions. With --window
// also the statistics window (off screen): opening the file on every page, and saving what the
// pages show.

#include "controls/MessageBoxes.h"
#include "engine/StatisticsEngine.h"
#include "model/History.h"
#include "model/RunRecorder.h"
#include "platform/DirectorySearch.h"
#include "platform/FolderDriveSource.h"
#include "reports/Statistics.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <vector>

namespace {

// Milliseconds of the middle one of five rounds: by the clock on the wall and of the processor
// (on a machine that others share, the second says more).
struct Timing
{
    double wallMs, cpuMs;
};

Timing median(const std::function<void()> &work)
{
    std::vector<double> wall, cpu;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer clock;
        const std::clock_t cpuStart = std::clock();
        clock.start();
        work();
        wall.push_back(clock.nsecsElapsed() / 1e6);
        cpu.push_back(double(std::clock() - cpuStart) * 1000 / CLOCKS_PER_SEC);
    }
    std::sort(wall.begin(), wall.end());
    std::sort(cpu.begin(), cpu.end());
    return {wall[2], cpu[2]};
}

// The file read and every page filled, then the pages' figures written out again.
void timeWindow(const Collection &run)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("run.korvel98.json");
    QString message;
    writeCollectionFile(path, run, message);
    // A box would wait for a click that never comes: its text goes to standard error.
    setMessageHook([](MessageKind, const QString &text) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return true;
    });
    TfrmStatistics window;
    window.historyFolder.clear();
    // The first opening also loads what later ones find ready (the type names, the fonts).
    QElapsedTimer first;
    first.start();
    bool worked = window.openCollectionFile(path);
    const double firstMs = first.nsecsElapsed() / 1e6;
    const Timing opening = median([&] { worked = worked && window.openCollectionFile(path); });
    const Timing saving = median([&] {
        worked = worked && window.saveCollectionFile(folder.filePath("saved.korvel98.json"));
    });
    std::printf("window: open on every page %.1f ms the first time, then %.1f ms (%.1f ms "
                "processor), save %.1f ms (%.1f ms)%s\n",
                firstMs, opening.wallMs, opening.cpuMs, saving.wallMs, saving.cpuMs,
                worked ? "" : " FAILED");
}

void timeCollection(const Collection &run, const DriveFacts &drive)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("run.korvel98.json");
    QString message;
    const Timing save = median([&] {
        if (!writeCollectionFile(path, run, message))
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    bool read = true;
    const Timing reading = median([&] { read = read && readCollectionFile(path); });

    // A full history of stopped runs of the drive with its complete run as the oldest: the
    // estimate's longest search, every file read whole.
    QTemporaryDir history;
    const int historyRuns = 100;
    Collection other = run;
    other.facts.complete = false;
    keepInHistory(run, history.path());
    for (int i = 1; i < historyRuns; ++i) {
        other.facts.started = run.facts.started.addSecs(i);
        keepInHistory(other, history.path());
    }
    std::uint64_t expected = 0;
    const Timing look = median([&] { expected = expectedEntries(history.path(), drive); });

    std::printf("%d type rows, %lld bytes: save %.1f ms (%.1f ms processor), read %.1f ms (%.1f "
                "ms)%s; estimate through a history of %d: %.1f ms (%.1f ms), %llu entries\n",
                run.figures.lbTypes.count(), static_cast<long long>(QFileInfo(path).size()),
                save.wallMs, save.cpuMs, reading.wallMs, reading.cpuMs, read ? "" : " REFUSED",
                historyRuns, look.wallMs, look.cpuMs, static_cast<unsigned long long>(expected));
}

} // namespace

int main(int argc, char **argv)
{
    const bool inWindow = argc > 1 && QByteArray(argv[1]) == "--window";
    if (inWindow) {
        --argc;
        ++argv;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    const std::unique_ptr<QCoreApplication> app(inWindow ? new QApplication(argc, argv)
                                                         : new QCoreApplication(argc, argv));
    if (argc < 2 || argc > 3 || !QFileInfo(QString::fromLocal8Bit(argv[1])).isDir()) {
        std::fputs("usage: korvel98-bench-collection [--window] FOLDER [TYPE-ROWS]\n", stderr);
        return 2;
    }
    platform::raiseDescriptorLimit();
    platform::FolderDriveSource drives;
    drives.addDrive(QChar('c'), platform::DriveFixed, QString(),
                    QDir(QString::fromLocal8Bit(argv[1])).absolutePath());
    StatisticsEngine engine(drives);
    engine.PickList1 << drives.drives().back().entry;
    engine.filter = Filter();
    RunRecorder recorder;
    DriveFacts drive;
    recorder.runStarting(drives, engine.PickList1);
    engine.hooks.driveStarting = [&] { drive = recorder.driveWalking(drives, QChar('c')); };
    engine.hooks.refillPages = [&] {
        recorder.driveWalked(engine.walkCounters.entries, engine.walkCounters.withCreationTime);
    };
    QElapsedTimer walk;
    walk.start();
    engine.collectDrives();
    std::printf("walked %lld files, %llu entries in %.1f s\n",
                static_cast<long long>(engine.filesProcessed),
                static_cast<unsigned long long>(engine.walkCounters.entries),
                walk.elapsed() / 1000.0);

    Collection run = collectionOf(recorder.runEnded(engine.aborted), engine);
    timeCollection(run, drive);
    if (inWindow)
        timeWindow(run);
    if (argc == 3) {
        // Extra rows with no files keep the figures consistent.
        const int rows = QString::fromLocal8Bit(argv[2]).toInt();
        for (int i = 0; i < rows; ++i)
            run.figures.lbTypes.putRow(
                QStringLiteral(".%1").arg(i, 4, 36, QLatin1Char('0')).toUpper(), 0, 0);
        timeCollection(run, drive);
        if (inWindow)
            timeWindow(run);
    }
    return 0;
}
