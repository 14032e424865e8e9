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
    c.figures.filter = Filter();
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
    for (const QDateTime &at : {localTime(7, 16, 45, 3), localTime(7, 9, 5, 0),
                                localTime(7, 16, 45, 3), localTime(10, 0, 0, 0)})
        EXPECT_TRUE(keepInHistory(run(at), folder.path()));
    EXPECT_EQ(names(historyFiles(folder.path())),
              (QStringList{"2026-12-07T09-05-00_c_d.korvel98.json",
                           "2026-12-07T16-45-03_c_d.korvel98.json",
                           "2026-12-07T16-45-03_c_d_2.korvel98.json",
                           "2026-12-10T00-00-00_c_d.korvel98.json"}));
}

// Thinning removes old collections only: a text file or another program's file with a
// collection's name, and a link to an old collection, stay, as does the run just written.
TEST(History, ThinningRemovesOnlyCollections)
{
    QTemporaryDir folder;
    const QDateTime now = localTime(1, 12, 0, 0).addYears(1);
    const QString old = *keepInHistory(run(localTime(1, 1, 0, 0), "c"), folder.path());
    const QString older = *keepInHistory(run(localTime(1, 0, 0, 0), "c"), folder.path());
    const QString text = folder.filePath("2026-12-01T00-00-01_c.korvel98.json");
    const QString foreign = folder.filePath("2026-12-01T00-00-02_c.korvel98.json");
    for (const auto &[path, bytes] : {std::pair{text, QByteArray("notes of a day\n")},
                                      {foreign, R"({"format":"other-program","version":1})"}}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    ASSERT_TRUE(QFile::link(older, folder.filePath("2026-12-01T00-00-03_c.korvel98.json")));

    const auto plan = historyPrunePlan(folder.path(), now, old);
    ASSERT_EQ(plan.size(), 2u); // the two collections, nothing else
    EXPECT_EQ(plan[0].verdict.keep, false);
    EXPECT_EQ(plan[1].verdict.reason, "just written");
    EXPECT_EQ(pruneHistory(folder.path(), now, old), 1);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::System).size(), 4);
    EXPECT_FALSE(QFileInfo::exists(older));

    // Keeping a run thins the history as of that run's start: a year on, the day of the two
    // runs of the first of December keeps its newer one only, as the newest of its week.
    const QString other = *keepInHistory(run(localTime(1, 2, 0, 0), "c"), folder.path());
    EXPECT_TRUE(keepInHistory(run(now), folder.path()));
    EXPECT_TRUE(QFileInfo::exists(other));
    EXPECT_FALSE(QFileInfo::exists(old));
}

// An old collection under a name no run is saved under (a day or hour that does not exist, no
// drive) is someone else's file: the thinning leaves it alone.
TEST(History, ThinningPassesOverNamesNoRunIsSavedUnder)
{
    QTemporaryDir folder;
    const QByteArray bytes = collectionJson(run(localTime(1, 1, 0, 0), "c"));
    const QStringList strange = {
        "0000-00-00T00-00-00_c_9999.korvel98.json", "2019-13-01T00-00-00_c.korvel98.json",
        "2019-02-30T00-00-00_c.korvel98.json", "2019-01-01T24-00-00_c.korvel98.json",
        "2019-01-01T00-00-00.korvel98.json"};
    for (const QString &name : strange + QStringList{"2019-01-01T00-00-00_c.korvel98.json"}) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    }
    const QDateTime now = localTime(1, 12, 0, 0).addYears(3);
    const auto plan = historyPrunePlan(folder.path(), now);
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(QFileInfo(plan[0].path).fileName(), "2019-01-01T00-00-00_c.korvel98.json");
    pruneHistory(folder.path(), now);
    for (const QString &name : strange)
        EXPECT_TRUE(QFileInfo::exists(folder.filePath(name))) << name.toStdString();
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
    const auto refused = keepInHistory(bigger, blocker.fileName() + "/history");
    EXPECT_FALSE(refused);
    EXPECT_TRUE(refused.message().startsWith("Cannot make the history folder"))
        << refused.message().toStdString();
}

TEST(History, EstimateTakesTheNewestCompleteWalkOfTheSameDrive)
{
    QTemporaryDir folder;
    auto keep = [&](int day, bool complete, const QString &mountPoint, std::uint64_t entriesMet,
                    std::uint64_t usedEntries) {
        Collection c = run(localTime(day, 12, 0, 0), "c", complete);
        DriveFacts &drive = c.facts.drives[0];
        drive = {'c', mountPoint, "ext4", 1000, 600, 4096, usedEntries, true, entriesMet};
        keepInHistory(c, folder.path());
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
            for (int i = 0; i < 10; ++i)
                keepInHistory(run(localTime(2, 9, 0, 0)), folder.path());
        });
    for (std::thread &writer : writers)
        writer.join();
    EXPECT_EQ(historyFiles(folder.path()).size(), 40);
}
