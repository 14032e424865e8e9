// Timing of the trend index over a made-up history: COLLECTIONS daily runs (1,000 by default) of
// a tree of FILES files (1,000,000) in FOLDERS kept folders (2,000). Prints the time to make the
// index from the files, to open the trends from the index as it stands, and the index's size. A
// history folder given as the fourth argument is kept, and a second run over it measures again
// without writing the history anew.

#include "model/TrendIndex.h"
#include "tools/MadeUpHistory.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::atoi(argv[1]) : 1000;
    const std::int64_t files = argc > 2 ? std::atoll(argv[2]) : 1'000'000;
    const int folders = argc > 3 ? std::atoi(argv[3]) : 2000;
    QTemporaryDir temporary;
    const QDir history(argc > 4 ? QString::fromLocal8Bit(argv[4]) : temporary.path());
    if (!history.mkpath(QStringLiteral(".")))
        return 1;
    if (historyFiles(history.path()).size() != runs) {
        if (!writeMadeUpHistory(history.path(), runs, files, folders))
            return 1;
    }
    QFile::remove(history.filePath(QString::fromLatin1(trendIndexName)));
    QElapsedTimer timer;
    timer.start();
    const TrendRead built = readTrends(history.path());
    const qint64 rebuild = timer.elapsed();
    // The processor time beside the time on the clock: on a busy machine the clock measures the
    // others too. Opening an index that is up to date is the work of one thread.
    auto processorMs = [] {
        timespec now{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
        return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
    };
    double fresh = 1e9, freshProcessor = 1e9;
    for (int round = 0; round < 5; ++round) {
        timer.restart();
        const double processorStart = processorMs();
        const TrendRead read = readTrends(history.path());
        fresh = std::min(fresh, double(timer.nsecsElapsed()) / 1e6);
        freshProcessor = std::min(freshProcessor, processorMs() - processorStart);
        if (read.points.size() != built.points.size() || !read.message.isEmpty())
            return 1;
    }
    // The Folders tab reads the kept folders of the first and the newest collection shown.
    timer.restart();
    std::size_t folderRows = 0;
    if (!built.points.empty())
        for (const TrendPoint *point : {&built.points.front(), &built.points.back()})
            folderRows += readTrendFolders(history.path(), point->fileName).size();
    const double folderTime = double(timer.nsecsElapsed()) / 1e6;
    const qint64 size = QFileInfo(QDir(history.path()).filePath(trendIndexName)).size();
    std::printf("%d collections of %lld files, %d folders: index made in %lld ms, opened fresh in "
                "%.1f ms (best of 5; %.1f ms of processor time), %.1f MB; %zu points; folders of "
                "two collections (%zu rows) "
                "read in %.1f ms%s\n",
                runs, static_cast<long long>(files), folders, static_cast<long long>(rebuild),
                fresh, freshProcessor, double(size) / 1e6, built.points.size(), folderRows,
                folderTime, built.message.isEmpty() ? "" : qPrintable(" " + built.message));
    return 0;
}
