// korvel98-bench-readers: the memory and time the largest collection the reader accepts takes
// from opening to the comparison and the largest folders on screen.
//
// Usage: korvel98-bench-readers make FOLDER    writes then.korvel98.json and now.korvel98.json
//        korvel98-bench-readers measure FOLDER opens now, compares it with then, shows the
//                                              largest folders (off screen), and prints the time
//                                              and the peak memory against the file's size
//        korvel98-bench-readers history FOLDER a history of 100 such files (links to now, in the
//                                              layout of today and of earlier releases): the
//                                              time of the list of earlier runs and of the
//                                              walk's progress estimate
// The two steps run as two processes, so that the peak memory of the second is the window's own.
// Each file holds a million type rows and a million kept folders, close to the size limit; with
// "types" or "folders" after the folder, only the one or the other.

#include "controls/MessageBoxes.h"
#include "controls/Notebook.h"
#include "model/Collection.h"
#include "model/Comparison.h"
#include "model/History.h"
#include "reports/CompareWindow.h"
#include "reports/LargestFolders.h"
#include "reports/Statistics.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTreeView>
#include <cstdio>

namespace {

// As many collections as a well-kept history holds.
constexpr int historyLength = 100;

constexpr int topFolders = 1000;
constexpr int historyRuns = 100;   // the runs of the history looked through
constexpr int foldersInEach = 998; // with the roots and the root: within the folder row limit

// A run of one drive whose files lie one in each of the deepest folders and are one of a
// million extensions; shift changes every byte sum, so that every row compares as changed.
// What the files hold: type rows, kept folders, or both.
struct Holding
{
    bool types = true, folders = true;
    QString prefix; // of the files' names
};

Collection largestRun(int day, std::uint64_t shift, const Holding &holding)
{
    Collection run;
    run.facts.started = QDateTime(QDate(2026, 12, day), QTime(9, 0));
    run.facts.ended = run.facts.started.addSecs(3600);
    run.facts.complete = true;
    DriveFacts drive;
    drive.letter = 'c';
    drive.walked = true;
    drive.mountPoint = "/";
    drive.fileSystem = "ext4";
    drive.capacity = 1ull << 40;
    run.facts.drives = {drive};
    Accumulators &f = run.figures;
    f.filter = Filter();
    const std::int64_t files = std::int64_t(topFolders) * foldersInEach;
    const std::uint64_t bytes = 100 + shift;
    f.filesProcessed = f.filesFound = files;
    for (int i = 0; holding.types && i < collectionTypeRowLimit; ++i)
        f.lbTypes.putRow(QStringLiteral(".%1").arg(i, 4, 36, QLatin1Char('0')).toUpper(),
                         i < files ? 1 : 0, i < files ? bytes : 0);
    if (!holding.types)
        f.lbTypes.putRow(QStringLiteral(".LOG"), files, std::uint64_t(files) * bytes);
    f.sizeFiles[1] = double(files);
    f.sizeBytes[1] = double(files) * double(bytes);
    for (auto *table : {&f.ageAccessedFiles, &f.ageCreatedFiles, &f.ageModifiedFiles})
        (*table)[1] = double(files);
    DriveFolders folders{QChar('c'), {{"", files, std::uint64_t(files) * bytes, 0, 0}}};
    for (int top = 0; top < topFolders; ++top) {
        const QByteArray name = "proj-" + QByteArray::number(top);
        folders.folders.push_back({name, foldersInEach, foldersInEach * bytes, 0, 0});
        for (int leaf = 0; leaf < foldersInEach; ++leaf)
            folders.folders.push_back(
                {name + "/out-" + QByteArray::number(leaf), 1, bytes, 1, bytes});
    }
    std::sort(folders.folders.begin(), folders.folders.end(),
              [](const FolderTotal &a, const FolderTotal &b) {
                  return folderPathBefore(a.path, b.path);
              });
    if (holding.folders)
        f.folderTotals = {std::move(folders)};
    return run;
}

// The most memory the process has held so far, from the kernel's own account.
qint64 peakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

int make(const QDir &folder, const Holding &holding)
{
    for (const auto &[name, day, shift] : {std::tuple{"then", 1, 0}, std::tuple{"now", 8, 7}}) {
        QString message;
        const QString path =
            folder.filePath(holding.prefix + QString::fromLatin1(name) + ".korvel98.json");
        if (!writeCollectionFile(path, largestRun(day, std::uint64_t(shift), holding), message)) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
            return 1;
        }
        std::printf("%s: %lld bytes\n", qPrintable(path),
                    static_cast<long long>(QFileInfo(path).size()));
    }
    return 0;
}

int measure(const QDir &folder, const Holding &holding)
{
    setMessageHook([](MessageKind, const QString &text) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return true;
    });
    TfrmStatistics window;
    window.historyFolder.clear();
    window.show();
    QApplication::processEvents();
    const qint64 before = peakKilobytes();
    QElapsedTimer clock;
    clock.start();

    auto step = [&](const char *what) {
        std::printf("  %-24s %6.2f s, peak %lld MB\n", what, clock.nsecsElapsed() / 1e9,
                    peakKilobytes() / 1024);
    };
    const QString now = folder.filePath(holding.prefix + "now.korvel98.json");
    bool worked = bool(readCollectionFile(now));
    step("read the file alone");
    worked = worked && window.openCollectionFile(now);
    step("opened on every page");
    window.CompareWith1Click();
    worked = worked && window.compareWindow &&
             window.compareWindow->compareWithFile(
                 folder.filePath(holding.prefix + "then.korvel98.json"));
    step("compared");
    window.LargestFolders1Click();
    worked = worked && (window.largestFolders || !holding.folders);
    step("largest folders");
    for (int tab = 0; worked && tab < window.compareWindow->notebook->pageCount(); ++tab) {
        window.compareWindow->notebook->setPageIndex(tab);
        window.compareWindow->repaint();
    }
    if (worked && window.largestFolders)
        window.largestFolders->tvFolders->repaint();
    QApplication::processEvents();

    const double seconds = clock.nsecsElapsed() / 1e9;
    const qint64 peak = peakKilobytes();
    const qint64 size = QFileInfo(now).size();
    std::printf("open, compare and largest folders: %.2f s; peak memory %lld MB in all, %lld MB "
                "more than the empty window, %.1f times the file of %lld MB%s\n",
                seconds, peak / 1024, (peak - before) / 1024,
                double(peak - before) * 1024 / double(size), size >> 20, worked ? "" : " FAILED");
    return worked ? 0 : 1;
}

// A history of a hundred runs that are all the same file, in one layout or the other.
void timeHistory(const QDir &folder, const QString &file, const char *layout)
{
    QDir history(folder.filePath(QStringLiteral("history-") + QString::fromLatin1(layout)));
    history.removeRecursively();
    history.mkpath(QStringLiteral("."));
    for (int i = 0; i < historyRuns; ++i)
        QFile::link(file, history.filePath(QStringLiteral("2026-12-01T00-%1-00_c.korvel98.json")
                                               .arg(i, 2, 10, QLatin1Char('0'))));
    const CollectionRead run = readCollectionFile(file);
    if (!run)
        return;
    DriveFacts drive = run.collection->facts.drives.front();
    QElapsedTimer clock;
    clock.start();
    const std::size_t listed = earlierRuns(history.path(), run.collection->facts).size();
    const double listMs = clock.nsecsElapsed() / 1e6;
    clock.restart();
    expectedEntries(history.path(), drive);
    std::printf("history of %d files of %lld MB, %s layout: list of earlier runs %.1f ms (%zu "
                "runs), progress estimate %.1f ms\n",
                historyRuns, static_cast<long long>(QFileInfo(file).size() >> 20), layout, listMs,
                listed, clock.nsecsElapsed() / 1e6);
}

int history(const QDir &folder)
{
    // The layout of earlier releases: the keys after the first two in the order of their names.
    const QString earlier = folder.filePath(QStringLiteral("earlier.korvel98.json"));
    if (!QFileInfo::exists(earlier)) {
        QFile in(folder.filePath(QStringLiteral("now.korvel98.json")));
        QFile out(earlier);
        if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly))
            return 1;
        QJsonObject body = QJsonDocument::fromJson(in.readAll()).object();
        body.remove(QStringLiteral("format"));
        body.remove(QStringLiteral("version"));
        out.write(R"({"format":"korvel98-collection","version":1,)" +
                  QJsonDocument(body).toJson(QJsonDocument::Compact).mid(1) + '\n');
    }
    timeHistory(folder, folder.filePath(QStringLiteral("now.korvel98.json")), "today's");
    timeHistory(folder, earlier, "earlier");
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString step = argc >= 3 ? QString::fromLocal8Bit(argv[1]) : QString();
    const QDir folder(argc >= 3 ? QString::fromLocal8Bit(argv[2]) : QString());
    const QString kind = argc == 4 ? QString::fromLocal8Bit(argv[3]) : QString();
    Holding holding;
    if (kind == u"types" || kind == u"folders")
        holding = {kind == u"types", kind == u"folders", kind + u'-'};
    if ((step != u"make" && step != u"measure" && step != u"history") || !folder.exists() ||
        argc > 4 || (!kind.isEmpty() && holding.prefix.isEmpty())) {
        std::fputs("usage: korvel98-bench-readers make|measure|history FOLDER [types|folders]\n",
                   stderr);
        return 2;
    }
    return step == u"make"      ? make(folder, holding)
           : step == u"measure" ? measure(folder, holding)
                                : history(folder);
}
