#include "model/TrendIndex.h"

#include "model/History.h"
#include "model/TrendTables.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

Collection run(int day, std::uint64_t used)
{
    Collection c;
    c.facts.started = QDateTime(QDate(2026, 3, 1), QTime(3, 0)).addDays(day - 1);
    c.facts.ended = c.facts.started.addSecs(60);
    DriveFacts drive;
    drive.letter = 'c';
    drive.walked = true;
    drive.capacity = 1'000'000;
    drive.freeBytes = 1'000'000 - used;
    c.facts.drives = {drive};
    c.figures.filter = Filter();
    // One file, of one size and age, as every run's tables must agree.
    c.figures.filesProcessed = c.figures.filesFound = 1;
    c.figures.sizeFiles[1] = 1;
    c.figures.ageAccessedFiles[7] = c.figures.ageCreatedFiles[7] = c.figures.ageModifiedFiles[7] =
        1;
    c.figures.lbTypes.insertType(".jpg", used / 2, false);
    c.figures.ageModifiedBytes[7] = double(used);
    c.figures.folderTotals = {{'c', {{"", 1, used / 2, 1, used / 2}}}};
    return c;
}

void keep(const QTemporaryDir &folder, const Collection &c)
{
    const auto kept = keepInHistory(c, folder.path());
    ASSERT_TRUE(kept) << kept.message().toStdString();
}

// However the index came to be, what it gives is what the files say.
TEST(TrendIndex, GivesTheFilesTrendAfterEveryChange)
{
    QTemporaryDir folder;
    for (int day = 1; day <= 5; ++day)
        keep(folder, run(day, 1000u * day));
    const QString index = folder.filePath(trendIndexName);
    const struct
    {
        const char *change;
        std::function<void()> apply;
        bool rebuilt;
    } cases[] = {
        {"first opening", [] {}, true},
        {"opened again", [] {}, false},
        {"deleted", [&] { QFile::remove(index); }, true},
        {"damaged",
         [&] {
             QFile file(index);
             ASSERT_TRUE(file.open(QIODevice::ReadWrite));
             file.write(QByteArray(4096, '\x5a'));
         },
         true},
        // A summary that claims gigabytes of rows is refused, and the index made again.
        {"a forged summary",
         [&] {
             {
                 QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "forger");
                 db.setDatabaseName(index);
                 ASSERT_TRUE(db.open());
                 QSqlQuery(db).exec("UPDATE runs SET point = X'7FFFFFFF789C03000000000001'");
             }
             QSqlDatabase::removeDatabase("forger");
         },
         true},
        {"a run added by hand", [&] { keep(folder, run(9, 7777)); }, false},
        {"a run removed by hand", [&] { QFile::remove(historyFiles(folder.path()).first()); },
         false},
    };
    for (const auto &c : cases) {
        c.apply();
        const TrendRead read = readTrends(folder.path());
        EXPECT_EQ(read.message, QString()) << c.change;
        EXPECT_EQ(read.rebuilt, c.rebuilt) << c.change;
        EXPECT_TRUE(read.points == readTrendPoints(folder.path())) << c.change;
        ASSERT_FALSE(read.points.empty());
        const QString newest = read.points.back().fileName;
        EXPECT_TRUE(readTrendFolders(folder.path(), newest) ==
                    trendFoldersOf(*readCollectionFile(folder.filePath(newest)).collection))
            << c.change;
    }
}

TEST(TrendIndex, ALockedIndexFallsBackToTheFilesAndSaysSo)
{
    QTemporaryDir folder;
    for (int day = 1; day <= 3; ++day)
        keep(folder, run(day, 1000u * day));
    readTrends(folder.path());
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other");
        other.setDatabaseName(folder.filePath(trendIndexName));
        ASSERT_TRUE(other.open());
        QSqlQuery(other).exec("BEGIN EXCLUSIVE");
        QSqlQuery(other).exec("DELETE FROM runs");
        const TrendRead read = readTrends(folder.path());
        EXPECT_TRUE(read.message.contains("cannot be used")) << read.message.toStdString();
        EXPECT_EQ(read.points.size(), 3u);
        QSqlQuery(other).exec("ROLLBACK");
        other.close();
    }
    QSqlDatabase::removeDatabase("other");
}

} // namespace

namespace {

// Drive sets come newest first; a period counts back from the set's newest collection.
TEST(TrendTables, DriveSetsAndPeriods)
{
    QTemporaryDir folder;
    for (int day = 1; day <= 45; ++day)
        keep(folder, run(day, 1000u * day));
    Collection other = run(20, 5);
    other.facts.drives[0].letter = 'd';
    other.figures.folderTotals[0].letter = 'd';
    other.facts.started = other.facts.started.addSecs(60);
    keep(folder, other);
    const auto points = readTrends(folder.path()).points;
    EXPECT_EQ(trendDriveSets(points), (QStringList{"c", "d"}));
    const struct
    {
        TrendPeriod period;
        std::size_t count;
    } cases[] = {{TrendPeriod::All, 45}, {TrendPeriod::Days90, 45}, {TrendPeriod::Days30, 31}};
    for (const auto &c : cases)
        EXPECT_EQ(pointsInPeriod(points, "c", c.period).size(), c.count);
    EXPECT_EQ(pointsInPeriod(points, "d", TrendPeriod::All).size(), 1u);
    // The JSON keeps numbers as numbers.
    const QByteArray json =
        trendJson(pointsInPeriod(points, "c", TrendPeriod::All), QDate(2026, 3, 28), folder.path());
    EXPECT_TRUE(json.contains("\"C: used\": 1000")) << json.left(300).toStdString();
}

} // namespace
