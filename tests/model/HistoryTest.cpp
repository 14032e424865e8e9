#include "model/History.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

namespace {

QDateTime localTime(int day, int hour, int minute, int second)
{
    return QDateTime(QDate(2026, 12, day), QTime(hour, minute, second));
}

Collection run(const QDateTime &started, const QString &letters = "cd", bool complete = true)
{
    Collection c;
    c.facts.started = started;
    c.facts.ended = started.addSecs(60);
    c.facts.complete = complete;
    for (const QChar letter : letters) {
        DriveFacts drive;
        drive.letter = letter;
        c.facts.drives.push_back(drive);
    }
    c.figures.allTypes = true;
    return c;
}

QStringList names(const QStringList &paths)
{
    QStringList result;
    for (const QString &path : paths)
        result << QFileInfo(path).fileName();
    return result;
}

TEST(History, FolderFollowsAnAbsoluteXdgDataHomeOnly)
{
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    const QString home = QDir::homePath() + "/.local/share/korvel98/collections";
    const struct
    {
        QByteArray variable;
        QString folder;
    } cases[] = {
        {"/srv/data/", "/srv/data/korvel98/collections"}, {"relative/data", home}, {"", home}};
    for (const auto &c : cases) {
        qputenv("XDG_DATA_HOME", c.variable);
        EXPECT_EQ(collectionsFolder(), c.folder) << c.variable.toStdString();
    }
    qputenv("XDG_DATA_HOME", saved);
}

// Names sort by the time the run started; a run of the same second and drives gets a number
// that sorts after the first.
TEST(History, NamesSortByTimeAndNeverReplaceARun)
{
    QTemporaryDir folder;
    QString message;
    for (const QDateTime &at : {localTime(7, 16, 45, 3), localTime(7, 9, 5, 0),
                                localTime(7, 16, 45, 3), localTime(10, 0, 0, 0)})
        EXPECT_FALSE(keepInHistory(run(at), folder.path(), message).isEmpty());
    EXPECT_EQ(names(historyFiles(folder.path())),
              (QStringList{"2026-12-07T09-05-00_c_d.korvel98.json",
                           "2026-12-07T16-45-03_c_d.korvel98.json",
                           "2026-12-07T16-45-03_c_d_2.korvel98.json",
                           "2026-12-10T00-00-00_c_d.korvel98.json"}));
}

TEST(History, KeepsTheNewestAndLeavesOtherFilesAlone)
{
    QTemporaryDir folder;
    for (const char *other : {"notes.txt", "mine.korvel98.json"}) {
        QFile file(folder.filePath(other));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QString message;
    const int runs = historyLength + 3;
    for (int i = 0; i < runs; ++i)
        keepInHistory(run(localTime(1, 0, 0, 0).addSecs(i * 3600), "c"), folder.path(), message);
    const QStringList kept = names(historyFiles(folder.path()));
    ASSERT_EQ(kept.size(), historyLength);
    EXPECT_EQ(kept.first(), "2026-12-01T03-00-00_c.korvel98.json");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), historyLength + 2);
}

// A write that fails half-way (here: past the largest file the process may write) leaves the
// file that was there whole and no piece of the new one beside it.
TEST(History, FailedWriteLeavesTheFileThatWasThere)
{
    QTemporaryDir folder;
    const QString path = folder.filePath("run.korvel98.json");
    QString message;
    ASSERT_TRUE(writeCollectionFile(path, run(localTime(7, 1, 0, 0)), message));
    const QByteArray before = korvel::test::fileBytes(path);

    Collection bigger = run(localTime(8, 1, 0, 0));
    for (int i = 0; i < 200; ++i)
        bigger.figures.lbTypes.putRow(QString(".%1").arg(i), 0, 0);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written = writeCollectionFile(path, bigger, message);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedSignal);

    EXPECT_FALSE(written);
    EXPECT_TRUE(message.startsWith("Cannot save the collection " + path + ": "));
    EXPECT_EQ(korvel::test::fileBytes(path), before);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"run.korvel98.json"});

    // Nor is a file written that could not be opened again; the message says why.
    Collection unreadable = bigger;
    unreadable.facts.hostName = QString(300, 'h');
    EXPECT_FALSE(writeCollectionFile(path, unreadable, message));
    EXPECT_TRUE(message.startsWith("Cannot save the collection " + path +
                                   ": it is damaged: host is not a text"))
        << message.toStdString();
    EXPECT_EQ(korvel::test::fileBytes(path), before);

    QFile blocker(folder.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    EXPECT_TRUE(keepInHistory(bigger, blocker.fileName() + "/history", message).isEmpty());
    EXPECT_TRUE(message.startsWith("Cannot make the history folder")) << message.toStdString();
}

TEST(History, EstimateTakesTheNewestCompleteWalkOfTheSameDrive)
{
    QTemporaryDir folder;
    auto keep = [&](int day, bool complete, const QString &mountPoint, std::uint64_t entriesMet,
                    std::uint64_t usedEntries) {
        Collection c = run(localTime(day, 12, 0, 0), "c", complete);
        DriveFacts &drive = c.facts.drives[0];
        drive = {'c', mountPoint, "ext4", 1000, 600, 4096, usedEntries, true, entriesMet};
        QString message;
        keepInHistory(c, folder.path(), message);
    };
    keep(1, true, "/home", 1000, 2000);
    keep(2, true, "/home", 1200, 2000); // the newest complete walk of /home
    keep(3, false, "/home", 10, 2000);  // stopped half-way: says nothing of the whole
    keep(4, true, "/data", 500, 0);     // no inode count: measured by bytes
    keep(5, true, "/home", 9999, 2000); // cut short below: not to be trusted
    const QString newest = historyFiles(folder.path()).last();
    ASSERT_TRUE(QFile::resize(newest, QFileInfo(newest).size() - 20));

    const struct
    {
        QString mountPoint, fileSystem;
        std::uint64_t freeBytes, usedEntries, expected;
    } cases[] = {{"/home", "ext4", 600, 3000, 1800}, // 1200 scaled by 3000 / 2000 inodes
                 {"/home", "ext4", 600, 0, 1200},    // inodes unknown now: bytes, unchanged
                 {"/home", "btrfs", 600, 3000, 0},   // another file system there now
                 {"/data", "ext4", 200, 0, 1000},    // 500 scaled by 800 / 400 bytes used
                 {"/mnt", "ext4", 600, 3000, 0}};
    for (const auto &c : cases) {
        const DriveFacts now{'c',         c.mountPoint, c.fileSystem, 1000,
                             c.freeBytes, 4096,         c.usedEntries};
        EXPECT_EQ(expectedEntries(folder.path(), now), c.expected) << c.mountPoint.toStdString();
    }
}

} // namespace

// Writers that end runs in the same second, at the same moment, each keep theirs.
TEST(History, RunsSavedTogetherAreAllKept)
{
    QTemporaryDir folder;
    std::vector<std::thread> writers;
    for (int w = 0; w < 4; ++w)
        writers.emplace_back([&folder] {
            QString message;
            for (int i = 0; i < 10; ++i)
                keepInHistory(run(localTime(2, 9, 0, 0)), folder.path(), message);
        });
    for (std::thread &writer : writers)
        writer.join();
    EXPECT_EQ(historyFiles(folder.path()).size(), 40);
}

// Pruning removes only the program's own collections, and never the run it has just saved, even
// when every other name is dated after it.
TEST(History, PruningRemovesOnlyTheProgramsCollections)
{
    QTemporaryDir folder;
    QTemporaryDir outside;
    QString message;
    const QString elsewhere = outside.filePath("kept.korvel98.json");
    ASSERT_TRUE(writeCollectionFile(elsewhere, run(localTime(1, 0, 0, 0)), message));
    const QByteArray collection = korvel::test::fileBytes(elsewhere);
    const struct
    {
        const char *name;
        QByteArray bytes; // empty: a symbolic link to the collection outside
    } strangers[] = {
        {"2019-01-01T00-00-00.korvel98.json", collection},
        {"0000-00-00T00-00-00_c_9999.korvel98.json", collection},
        {"2019-01-02T00-00-00_c.korvel98.json", "{\"notes\": 1}"},
        {"2019-01-03T00-00-00_c.korvel98.json", {}},
    };
    for (const auto &s : strangers) {
        const QString path = folder.filePath(s.name);
        if (s.bytes.isEmpty())
            ASSERT_TRUE(QFile::link(elsewhere, path));
        else {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(s.bytes) == s.bytes.size());
        }
    }
    for (int i = 0; i < 3; ++i)
        keepInHistory(run(localTime(1, 0, 0, 0).addYears(5 + i)), folder.path(), message, 2);
    const QString latest = keepInHistory(run(localTime(1, 0, 0, 0)), folder.path(), message, 2);
    ASSERT_FALSE(latest.isEmpty()) << message.toStdString();
    EXPECT_TRUE(QFileInfo::exists(latest));
    for (const auto &s : strangers)
        EXPECT_TRUE(QFileInfo(folder.filePath(s.name)).exists() ||
                    QFileInfo(folder.filePath(s.name)).isSymLink())
            << s.name;
    EXPECT_EQ(korvel::test::fileBytes(elsewhere), collection);
    EXPECT_FALSE(QFileInfo::exists(folder.filePath("2031-12-01T00-00-00_c_d.korvel98.json")));
    EXPECT_TRUE(QFileInfo::exists(folder.filePath("2033-12-01T00-00-00_c_d.korvel98.json")));
}
