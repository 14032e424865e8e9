#include "model/Machines.h"

#include "model/Collection.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

const QDateTime monday(QDate(2026, 12, 7), QTime(10, 0), QTimeZone::utc());

TEST(Machines, GrowthPerWeekFollowsTheLineThroughTheRuns)
{
    const struct
    {
        std::vector<std::pair<QDateTime, std::uint64_t>> runs;
        std::optional<std::int64_t> growth;
    } cases[] = {
        {{{monday, 100}}, std::nullopt},
        {{{monday, 100}, {monday, 200}}, std::nullopt},
        {{{monday, 1000}, {monday.addDays(14), 3000}}, 1000},
        {{{monday, 5000}, {monday.addDays(7), 4000}, {monday.addDays(14), 3000}}, -1000},
        {{{monday, 0}, {monday.addDays(1), 700}, {monday.addDays(2), 0}}, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(hostGrowthPerWeek(c.runs), c.growth);
}

Collection runOf(const QString &host, const QDateTime &started, std::uint64_t freeBytes)
{
    Collection run;
    run.facts.programVersion = "1";
    run.facts.started = run.facts.ended = started;
    run.facts.timeZone = "UTC";
    run.facts.hostName = host;
    DriveFacts drive;
    drive.letter = 'c';
    drive.mountPoint = "/home";
    drive.capacity = 10'000'000;
    drive.freeBytes = freeBytes;
    drive.walked = true;
    run.facts.drives = {drive};
    run.figures.PickList1 = {"c: [/home]"};
    run.figures.allTypes = true;
    run.figures.lbTypes.insertType(".iso", 900, false);
    run.figures.lbTypes.insertType(".txt", 5, false);
    run.figures.filesFound = run.figures.filesProcessed = 2;
    run.figures.sizeFiles[1] = 2;
    run.figures.sizeBytes[1] = 905;
    for (auto *ages : {&run.figures.ageAccessedFiles, &run.figures.ageCreatedFiles,
                       &run.figures.ageModifiedFiles})
        (*ages)[1] = 2;
    for (auto *ages : {&run.figures.ageAccessedBytes, &run.figures.ageCreatedBytes,
                       &run.figures.ageModifiedBytes})
        (*ages)[1] = 905;
    return run;
}

TEST(Machines, OneRowPerHostFromItsNewestCollectionInAnySubfolder)
{
    QTemporaryDir folder;
    QDir(folder.path()).mkpath("copied/from/b");
    const struct
    {
        const char *file, *host;
        QDateTime started;
        std::uint64_t freeBytes;
    } runs[] = {
        {"a1.korvel98.json", "alpha", monday.addDays(-7), 6'000'000},
        {"a2.korvel98.json", "alpha", monday, 5'000'000},
        {"copied/from/b/b.korvel98.json", "beta", monday.addDays(-15), 1'000'000},
        {"g1.korvel98.json", "gamma", monday.addDays(-1), 3'000'000},
        {"g2.korvel98.json", "gamma", monday, 2'000'000}, // its figures damaged below
    };
    QString message;
    for (const auto &r : runs)
        ASSERT_TRUE(writeCollectionFile(folder.filePath(r.file),
                                        runOf(r.host, r.started, r.freeBytes), message))
            << message.toStdString();
    QFile junk(folder.filePath("junk.korvel98.json"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write("{");
    junk.close();
    QFile damaged(folder.filePath("g2.korvel98.json"));
    ASSERT_TRUE(damaged.open(QIODevice::ReadWrite));
    const QByteArray bytes = damaged.readAll().replace(R"("nReadOnly":"0")", R"("nReadOnly":"x")");
    ASSERT_TRUE(damaged.seek(0) && damaged.write(bytes) == bytes.size());
    damaged.close();

    const std::vector<MachineRow> rows = machineRows(folder.path(), monday.addSecs(60));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].host, "alpha");
    EXPECT_EQ(rows[0].newestFile, folder.filePath("a2.korvel98.json"));
    EXPECT_EQ(rows[0].olderFile, folder.filePath("a1.korvel98.json"));
    EXPECT_EQ(rows[0].usedBytes, 5'000'000u);
    EXPECT_EQ(rows[0].growthPerWeek, 1'000'000);
    EXPECT_EQ(rows[0].largestTypes, QStringList({".ISO", ".TXT"}));
    EXPECT_FALSE(rows[0].stale);
    EXPECT_EQ(rows[1].host, "beta");
    EXPECT_EQ(rows[1].growthPerWeek, std::nullopt);
    EXPECT_TRUE(rows[1].stale);
    // A newest collection that does not read whole gives way to the one before it.
    EXPECT_EQ(rows[2].newestFile, folder.filePath("g1.korvel98.json"));
    EXPECT_EQ(rows[2].files, 2u);
}

} // namespace
