#include "engine/Classification.h"

#include "EngineTestSupport.h"

#include <sys/stat.h>

namespace {

using korvel::test::testToday;
using korvel::test::utc;

platform::DirectoryEntry entry(std::string_view name, std::uint64_t size = 0,
                               std::uint32_t attributes = 0, std::int64_t written = 0,
                               std::int64_t accessed = 0, std::int64_t created = 0)
{
    platform::DirectoryEntry e;
    e.rawName = name;
    e.size = size;
    e.attributes = attributes;
    e.writeTime = written;
    e.accessTime = accessed;
    e.creationTime = created;
    return e;
}

class Classification : public korvel::test::EngineTest
{
protected:
    void crunch(const platform::DirectoryEntry &e) { engine.crunchNumbers("/data", e); }
};

TEST_F(Classification, SizeClassBoundsBelongToTheLowerClass)
{
    const std::uint64_t threeGB = 3ull << 30;
    for (std::uint64_t size :
         std::initializer_list<std::uint64_t>{0, 16384, 16385, 16777216, 16777217, threeGB})
        crunch(entry("f.bin", size));
    EXPECT_EQ(engine.sizeFiles[1], 2.0);
    EXPECT_EQ(engine.sizeBytes[1], 16384.0);
    EXPECT_EQ(engine.sizeFiles[2], 1.0);
    EXPECT_EQ(engine.sizeFiles[11], 1.0);
    EXPECT_EQ(engine.sizeBytes[11], 16777216.0);
    EXPECT_EQ(engine.sizeFiles[12], 2.0);
    EXPECT_EQ(engine.sizeBytes[12], 16777217.0 + double(threeGB)) << "no 32-bit wrap";
    EXPECT_EQ(engine.sizeFiles[0], 0.0);
    EXPECT_EQ(sizeClass(131072), 4);
    EXPECT_EQ(sizeClass(131073), 5);
}

TEST_F(Classification, AgesCountFromTodayEitherWay)
{
    const std::int64_t day = 86400;
    for (std::int64_t daysAgo : {7, 8, 1460, 1461, -10})
        crunch(entry("f", 1, 0, testToday - daysAgo * day));
    crunch(entry("f", 1, 0, 0)); // not recorded
    EXPECT_EQ(engine.ageModifiedFiles[0], 1.0);
    EXPECT_EQ(engine.ageModifiedFiles[1], 1.0) << "7 days";
    EXPECT_EQ(engine.ageModifiedFiles[2], 2.0) << "8 days, and 10 days ahead";
    EXPECT_EQ(engine.ageModifiedFiles[8], 1.0) << "1460 days";
    EXPECT_EQ(engine.ageModifiedFiles[9], 1.0) << "1461 days";
    // Each table takes its own stamp.
    EXPECT_EQ(engine.ageAccessedFiles[0], 6.0);
    EXPECT_EQ(engine.ageCreatedFiles[0], 6.0);

    EXPECT_EQ(ageToIndex(-1), 0);
    EXPECT_EQ(ageToIndex(0), 1);
    EXPECT_EQ(ageToIndex(365), 5);
    EXPECT_EQ(ageToIndex(366), 6);
}

TEST_F(Classification, TodayIsReadForEveryFile)
{
    const std::int64_t written = utc(2026, 1, 1);
    crunch(entry("f", 1, 0, written, utc(2026, 12, 1), utc(2025, 12, 1)));
    engine.clock = [] { return utc(2027, 1, 2); };
    crunch(entry("f", 1, 0, written, utc(2026, 12, 1), utc(2025, 12, 1)));
    EXPECT_EQ(engine.ageModifiedFiles[5], 1.0) << "340 days";
    EXPECT_EQ(engine.ageModifiedFiles[6], 1.0) << "366 days with the later today";
    EXPECT_EQ(engine.ageAccessedFiles[1], 1.0);
    EXPECT_EQ(engine.ageAccessedFiles[3], 1.0);
    EXPECT_EQ(engine.ageCreatedFiles[6], 2.0);
}

TEST_F(Classification, InvalidPackedTimesCountAsTheStartOf1980)
{
    const std::uint32_t month13 = (10u << 25) | (13u << 21) | (1u << 16) | (10u << 11);
    const std::int64_t today = platform::daysFromCivil(1980, 1, 11);
    EXPECT_EQ(fileAgeDays(month13, today), 10);
    EXPECT_EQ(halfHourSlot(month13), 0);
    const std::uint32_t feb30 = (20u << 25) | (2u << 21) | (30u << 16);
    EXPECT_EQ(fileAgeDays(feb30, today), 10);
    const std::uint32_t second62 = (20u << 25) | (2u << 21) | (3u << 16) | 31u;
    EXPECT_EQ(halfHourSlot(second62), 0);
    EXPECT_EQ(fileAgeDays(0, today), -1);
    EXPECT_EQ(halfHourSlot(0), -1);
    // 29 February only in leap years: 2000 and 2024 are, 2023 and 2100 are not.
    for (const auto &[year, slot] : {std::pair{2000, 21}, {2024, 21}, {2023, 0}, {2100, 0}})
        EXPECT_EQ(halfHourSlot(std::uint32_t(year - 1980) << 25 | 2u << 21 | 29u << 16 | 10u << 11 |
                               45u << 5),
                  slot)
            << year;

    // The walk's cache of classes by date agrees, also for a bad time on a date it knows already,
    // and after today moves on.
    const std::uint32_t validSameDate = (20u << 25) | (2u << 21) | (3u << 16) | (10u << 11);
    AgeClasses classes;
    for (const std::int64_t day : {today, today + 400, today + 8000})
        for (const std::uint32_t stamp : {validSameDate, second62, month13, feb30, 0u})
            EXPECT_EQ(classes.indexOf(stamp, day), ageToIndex(fileAgeDays(stamp, day)))
                << stamp << " on day " << day;
}

TEST_F(Classification, HalfHourSlotZeroIsNeverCounted)
{
    crunch(
        entry("a", 1, 0, utc(2026, 3, 1, 0, 15), utc(2026, 3, 1, 0, 45), utc(2026, 3, 1, 23, 59)));
    crunch(entry("b", 1, 0, utc(2026, 3, 1, 0, 45), 0, utc(2026, 3, 1, 12, 29)));
    EXPECT_EQ(engine.hourModified[0], 0.0);
    EXPECT_EQ(engine.hourModified[1], 1.0);
    EXPECT_EQ(engine.hourAccessed[1], 1.0);
    EXPECT_EQ(engine.hourCreated[47], 1.0);
    EXPECT_EQ(engine.hourCreated[24], 1.0);
    EXPECT_EQ(std::accumulate(engine.hourAccessed.begin(), engine.hourAccessed.end(), 0.0), 1.0)
        << "a time not recorded is in no slot";
}

TEST_F(Classification, AttributesCountUnderEachOfTheirBits)
{
    using namespace platform;
    crunch(entry("all", 100, AttrReadOnly | AttrHidden | AttrSystem));
    crunch(entry("archived", 10, AttrArchive | AttrDirectory));
    crunch(entry("plain", 1, 0));
    EXPECT_EQ(engine.nReadOnly, 1);
    EXPECT_EQ(engine.nHidden, 1);
    EXPECT_EQ(engine.nSystem, 1);
    EXPECT_EQ(engine.nArchive, 1);
    EXPECT_EQ(engine.szReadOnly, 100.0);
    EXPECT_EQ(engine.szSystem, 100.0);
    EXPECT_EQ(engine.szArchive, 10.0);
}

TEST_F(Classification, IncludeAndExcludeFilters)
{
    using Mode = Filter::Mode;
    const QStringList docTxt = {"*.doc\tWord document", "*.txt\tText"};
    const struct
    {
        Mode mode;
        QStringList rows;
        const char *name;
        bool passes;
    } cases[] = {
        {Mode::Include, docTxt, "REPORT.DOC", true},
        {Mode::Include, docTxt, "read.me.doc", true},
        {Mode::Include, docTxt, "notes.TXT", true},
        {Mode::Include, docTxt, "notes.docx", false},
        {Mode::Include, docTxt, "README", false},
        {Mode::Include, docTxt, "doc", false},
        {Mode::Exclude, {"*.doc\tWord document"}, "REPORT.DOC", false},
        {Mode::Exclude, {"*.doc\tWord document"}, "notes.txt", true},
        {Mode::Exclude, {"*.doc\tWord document"}, "README", true},
        {Mode::Exclude, {}, "REPORT.DOC", true},  // all but nothing: everything
        {Mode::Include, {}, "REPORT.DOC", false}, // only nothing: nothing
        {Mode::Include, {"*.ÄÖ\tUmlauts"}, "x.äö", true},
        {Mode::Include, {"*.ÄÖ\tUmlauts"}, "x.ÄÖ", true},
        {Mode::Include, {"*.\\xFF\t"}, "x.\xff", true},
        {Mode::Include, {"*.\\xFF\t"}, "x.\xfe", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Filter(c.mode, c.rows).passes(c.name), c.passes) << c.name;

    // Only files that pass are counted.
    engine.filter = Filter(Mode::Include, {"*.doc\tWord document"});
    crunch(entry("REPORT.DOC", 5));
    crunch(entry("notes.txt", 7));
    EXPECT_EQ(engine.filesFound, 1);
    EXPECT_EQ(engine.sizeBytes[1], 5.0);
}

TEST_F(Classification, ExtractExtensionTakesThePatternUpToTheTab)
{
    EXPECT_EQ(extractExtension("*.DOC\tWord document"), ".doc");
    EXPECT_EQ(extractExtension("*.doc"), "");
    EXPECT_EQ(extractExtension("\tno pattern"), "");
    EXPECT_EQ(fileExtension("archive.tar.gz"), ".gz");
    EXPECT_EQ(fileExtension("README"), "");
    EXPECT_EQ(fileExtension("dot."), ".");
}

TEST_F(Classification, OverhangOfOneDriveRuns)
{
    engine.overhangPageEnabled = true;
    crunch(entry("a", 5000));
    EXPECT_EQ(engine.overhang4K, 3192.0);
    EXPECT_EQ(engine.overhang8K, 3192.0);
    EXPECT_EQ(engine.overhang16K, 11384.0);
    EXPECT_EQ(engine.overhang32K, 27768.0);
    EXPECT_EQ(engine.overhang64K, 60536.0);
    crunch(entry("b", 8192));
    crunch(entry("empty", 0));
    EXPECT_EQ(engine.overhang4K, 3192.0);
    EXPECT_EQ(engine.overhang8K, 3192.0);
    EXPECT_EQ(engine.overhang16K, 11384.0 + 8192.0);

    engine.overhangPageEnabled = false;
    crunch(entry("c", 5000));
    EXPECT_EQ(engine.overhang4K, 3192.0) << "runs of several drives add nothing";
}

TEST_F(Classification, LongExtensionsAreCountedEverywhereButInTheTypes)
{
    crunch(entry("Main.class", 20000, platform::AttrReadOnly, testToday));
    crunch(entry("a.txt", 1));
    EXPECT_EQ(engine.filesFound, 2);
    EXPECT_EQ(engine.sizeFiles[2], 1.0);
    EXPECT_EQ(engine.ageModifiedFiles[1], 1.0);
    EXPECT_EQ(engine.nReadOnly, 1);
    EXPECT_EQ(engine.lbTypes.rows(), QStringList{".TXT\t1\t1"});
}

// The progress follows the walk only at every third file, whatever the filter lets through.
TEST_F(Classification, ProgressNamesTheFolderEveryThirdFile)
{
    engine.filter = Filter(Filter::Mode::Include, {"*.doc\tWord document"});
    QStringList shown;
    for (const char *folder : {"/home/ann", "/b", "/b", "/b", "/c", "/c", "/d", "/d", "/e"}) {
        engine.crunchNumbers(folder, entry("skipped.txt"));
        ++engine.filesProcessed;
        shown << walkedFolders.value(walkedFolders.size() - 1);
    }
    EXPECT_EQ(shown, (QStringList{"/home/ann", "/home/ann", "/home/ann", "/b", "/b", "/b", "/d",
                                  "/d", "/d"}));
    EXPECT_EQ(engine.filesFound, 0);
}

// A file system that keeps no birth time answers without it: every file is "Not recorded" by
// creation, whatever stands in the answer's birth field, and by no other date.
TEST_F(Classification, AnAnswerWithoutABirthTimeIsNotRecorded)
{
    struct statx answer
    {
    };
    answer.stx_mask = STATX_BASIC_STATS; // everything but the birth time
    answer.stx_mode = S_IFREG | 0644;
    answer.stx_size = 10;
    answer.stx_btime.tv_sec = utc(2026, 12, 1);
    answer.stx_mtime.tv_sec = answer.stx_atime.tv_sec = utc(2026, 12, 1, 10);
    for (int i = 0; i < 3; ++i)
        crunch(platform::describeEntry(answer, "f.txt"));
    EXPECT_EQ(engine.ageCreatedFiles[0], 3.0);
    EXPECT_EQ(engine.ageModifiedFiles[1], 3.0);
    EXPECT_EQ(engine.hourCreated, decltype(engine.hourCreated){});

    answer.stx_mask |= STATX_BTIME;
    crunch(platform::describeEntry(answer, "f.txt"));
    EXPECT_EQ(engine.ageCreatedFiles[1], 1.0);
}

} // namespace
