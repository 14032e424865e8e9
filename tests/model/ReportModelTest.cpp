#include "model/ReportModel.h"

#include "engine/Accumulators.h"
#include "model/TypeNames.h"
#include "support/PlatformFakes.h"
#include "support/TestSupport.h"

#include <QMimeDatabase>
#include <gtest/gtest.h>

namespace {

using korvel::test::LocaleGuard;

// Extensions with their byte totals and file counts, as a run leaves them.
void counted(Accumulators &results, const QList<std::tuple<QString, std::uint64_t, int>> &rows)
{
    for (const auto &[extension, bytes, files] : rows) {
        results.lbTypes.insertType(extension, bytes, true);
        for (int f = 0; f < files; ++f)
            results.lbTypes.insertType(extension, 0, false);
    }
}

QStringList extensions(const TypeListing &listing, const std::vector<int> &order)
{
    QStringList list;
    for (const int index : order)
        list << listing.rows()[std::size_t(index)].extension;
    return list;
}

class ModelTest : public ::testing::Test
{
protected:
    ModelTest()
    {
        types->addExtension(".txt", "txtfile");
        types->addClass("txtfile", "Text Document");
    }

    LocaleGuard locale{korvel::test::commaLocale()};
    korvel::test::InstalledTypeTable types;
    Accumulators results;
};

// A row holds its extension in upper case; it is named as the extension lists name the same
// extension in lower case, by the type the database prefers where several claim it.
TEST(TypeNames, ARowIsNamedAsTheExtensionListsNameIt)
{
    const QMimeDatabase mime;
    const struct
    {
        const char *row, *listed, *type;
    } cases[] = {{".C", ".c", "text/x-csrc"}, {".HTML", ".html", "text/html"}};
    for (const auto &c : cases) {
        EXPECT_EQ(getTypeName(c.row), getTypeName(c.listed)) << c.row;
        EXPECT_EQ(getTypeName(c.row), mime.mimeTypeForName(c.type).comment()) << c.row;
    }
}

TEST(TypeRow, AverageRoundsHalvesUpAndIsZeroWithoutFiles)
{
    const struct
    {
        std::uint64_t bytes;
        std::int64_t files;
        std::uint64_t average;
    } cases[] = {{0, 0, 0},
                 {7, 0, 0},
                 {3, 2, 2},
                 {5, 3, 2},
                 {UINT64_MAX, 1, UINT64_MAX},
                 {UINT64_MAX, 2, std::uint64_t(1) << 63}};
    for (const auto &c : cases)
        EXPECT_EQ((TypeRow{"", "", c.bytes, c.files}.average()), c.average) << c.bytes;
}

TEST_F(ModelTest, TypeListingSeedsPickedTypesAndTotalsAllRows)
{
    counted(results, {{".txt", 2000100, 2}, {".abc", 3, 2}, {"", 5, 1}});
    results.lbTypes.countFile(".desktop", 1);
    results.lbTypes.countFile(".desktop", 1);
    results.lbTypes.countFile(".service", 1);
    results.filter = Filter(Filter::Mode::Include, {"*.pdf\tPDF document", "*.txt\tText Document"});

    const TypeListing listing(results);
    ASSERT_EQ(listing.rows().size(), 4u);
    const TypeRow &pdf = listing.rows()[2];
    EXPECT_EQ(pdf.extension, ".PDF");
    EXPECT_EQ(pdf.typeName, "PDF File");
    EXPECT_EQ(pdf.files, 0);
    EXPECT_EQ(listing.rows()[3].typeName, "Text Document");
    EXPECT_EQ(listing.totalBytes(), 2000108u);
    EXPECT_EQ(listing.totalFiles(), 5);
    EXPECT_EQ(listing.longerLine(),
              "3 files with longer extensions (such as .desktop) are not listed.");

    const ReportTable table = listing.table();
    EXPECT_EQ(table.rows.size(), 5u);
    EXPECT_EQ(table.footerRows, 1);
    EXPECT_EQ(table.rows.back()[1].text, "Totals");
    EXPECT_EQ(table.rows.back()[2], ReportCell::ofInteger(2000108));
    EXPECT_EQ(table.notes, QStringList{listing.longerLine()});
}

TEST_F(ModelTest, TheLineAboutLongerExtensionsGroupsItsCountAndIsAbsentWithoutThem)
{
    EXPECT_EQ(TypeListing(results).longerLine(), "");
    EXPECT_TRUE(TypeListing(results).table().notes.isEmpty());
    results.lbTypes.addLonger(".patch", 1);
    EXPECT_EQ(TypeListing(results).longerLine(),
              "1 file with a longer extension (.patch) is not listed.");
    results.lbTypes.addLonger(".desktop", 3067);
    EXPECT_EQ(TypeListing(results).longerLine(),
              "3,068 files with longer extensions (such as .desktop) are not listed.");
}

// Equal keys keep the run table's order, so every sort gives one answer.
TEST_F(ModelTest, SortsOrderOnNumbersAndKeepTiesInTableOrder)
{
    counted(results,
            {{".b", 50, 1}, {".a", 400, 4}, {".c", 300, 2}, {".d", 400, 4}, {".txt", 30, 3}});
    const TypeListing listing(results);
    const struct
    {
        TypeSort sort;
        QStringList order;
    } cases[] = {
        {TypeSort::Extension, {".A", ".B", ".C", ".D", ".TXT"}},
        {TypeSort::Type, {".A", ".B", ".C", ".D", ".TXT"}}, // "A File" ... "Text Document"
        {TypeSort::Size, {".A", ".D", ".C", ".B", ".TXT"}},
        {TypeSort::Files, {".A", ".D", ".TXT", ".C", ".B"}},
        {TypeSort::Average, {".C", ".A", ".D", ".B", ".TXT"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(extensions(listing, listing.order(c.sort)), c.order) << int(c.sort);
}

// The pie of a measure takes the twelve largest rows by it, each in the colour of its place.
TEST_F(ModelTest, PiesTakeTheTwelveLargestOfTheirMeasure)
{
    for (int k = 1; k <= 14; ++k)
        counted(results,
                {{QStringLiteral(".e%1").arg(k), std::uint64_t(k == 14 ? 0 : k * 1000), 15 - k}});
    const TypeListing listing(results);
    const std::vector<ReportSlice> bySize = listing.pie(TypeSort::Size);
    ASSERT_EQ(bySize.size(), 12u);
    EXPECT_EQ(bySize.front(), (ReportSlice{"E13 File", 13000, 1}));
    EXPECT_EQ(bySize.back(), (ReportSlice{"E2 File", 2000, 12}));

    EXPECT_EQ(listing.pie(TypeSort::Average).front(), (ReportSlice{"E13 File", 6500, 1}));
    EXPECT_EQ(listing.pie(TypeSort::Files).front(), (ReportSlice{"E1 File", 14, 1}));

    // Only rows above 0 make slices.
    Accumulators few;
    counted(few, {{".a", 0, 2}, {".b", 10, 1}});
    EXPECT_EQ(TypeListing(few).pie(TypeSort::Size), (std::vector<ReportSlice>{{"B File", 10, 1}}));
}

TEST(ReportSlices, SlicesUnderTheShareMergeIntoOneOtherAtTheEnd)
{
    const struct
    {
        std::vector<double> values;
        std::vector<double> drawn; // the last one "Other" when merged is set
        bool merged;
    } cases[] = {
        {{50, 30, 20}, {50, 30, 20}, false},
        {{90, 4, 3, 3}, {90, 10}, true},
        {{96, 4}, {96, 4}, true}, // one small slice still becomes "Other"
        {{0, 0}, {}, false},
        {{10, 0, 10}, {10, 10}, false},
    };
    for (const auto &c : cases) {
        std::vector<ReportSlice> slices;
        for (std::size_t i = 0; i < c.values.size(); ++i)
            slices.push_back({QString::number(i), c.values[i], int(i) + 1});
        const std::vector<ReportSlice> drawn = withOtherSlice(slices);
        ASSERT_EQ(drawn.size(), c.drawn.size()) << c.values.size();
        for (std::size_t i = 0; i < drawn.size(); ++i)
            EXPECT_EQ(drawn[i].value, c.drawn[i]);
        if (!drawn.empty()) {
            EXPECT_EQ(drawn.back().label == "Other", c.merged);
        }
    }
}

// Slack of one file of 5000 bytes, and the units of the page's summary on both sides of a
// megabyte, where 1024- and 1000-based units differ.
TEST_F(ModelTest, OverhangSharesAndSummaryFollowTheDrivesClusterSize)
{
    results.sizeBytes[1] = 5000;
    results.filesFound = 1;
    results.overhang4K = 3192;
    results.overhang8K = 3192;
    results.overhang16K = 11384;
    results.overhang32K = 27768;
    results.overhang64K = 60536;
    const OverhangFigures figures = overhangFigures(results, 8192);
    EXPECT_TRUE(figures.filled);
    EXPECT_EQ(figures.clusterRow, 1);
    EXPECT_EQ(figures.spaceUsed(), 8192u);
    const double percent[] = {38.96, 38.96, 69.48, 84.74, 92.37};
    for (std::size_t row = 0; row < 5; ++row)
        EXPECT_NEAR(figures.percentWasted[row], percent[row], 0.005) << row;
    EXPECT_EQ(overhangFigures(results, 2048).spaceUsed(), 5000u);
    EXPECT_EQ(overhangFigures(Accumulators(), 4096).filled, false);

    const struct
    {
        double bytes, unitChooser;
        const char *text;
    } units[] = {{5000, 5000, "5 KB"},           {100000, 100000, "98 KB"},
                 {1048575, 1048575, "1,024 KB"}, {1048576, 1048576, "1 MB"},
                 {50000000, 50000000, "48 MB"},  {1100000, 1000000, "1,074 KB"}};
    for (const auto &u : units)
        EXPECT_EQ(kilobytesOrMegabytes(u.bytes, u.unitChooser), u.text) << u.bytes;
}

// Each capacity bound belongs to the smaller cluster, except 32 GiB, which takes 32K; small drives
// keep the cluster their file system reports.
TEST(ClusterSize, CapacityBoundsPickTheirCluster)
{
    constexpr std::uint64_t GiB = std::uint64_t(1) << 30;
    const std::pair<std::uint64_t, std::int64_t> cases[] = {
        {2 * GiB, 1024},  {2 * GiB + 1, 4096},   {8 * GiB, 4096},       {8 * GiB + 1, 8192},
        {16 * GiB, 8192}, {16 * GiB + 1, 16384}, {32 * GiB - 1, 16384}, {32 * GiB, 32768},
    };
    for (const auto &[capacity, cluster] : cases)
        EXPECT_EQ(clusterSizeFor(capacity, 1024), cluster) << capacity;
}

TEST_F(ModelTest, AttributeSharesAreOfTheirOwnSums)
{
    results.nHidden = 1;
    results.nSystem = 3;
    results.szSystem = 100;
    const AttributeFigures figures = attributeFigures(results);
    EXPECT_EQ(figures.fileShare, (std::array<double, 4>{25, 0, 75, 0}));
    EXPECT_EQ(figures.byteShare, (std::array<double, 4>{0, 0, 100, 0}));
    EXPECT_TRUE(figures.byteSharesShown);
    EXPECT_FALSE(attributeFigures(Accumulators()).fileSharesShown);
}

TEST(SpaceFigures, DrivesWithoutCapacityAreLeftOutOfTheSum)
{
    std::vector<DriveFacts> drives(3);
    drives[0] = {'c', "/", "ext4", 1000, 250, 4096, 0};
    drives[1] = {'d', "/home", "xfs", 3000, 3000, 4096, 0};
    drives[2] = {'e', "/gone", "nfs", 0, 0, 0, 0};
    const SpaceFigures figures = spaceFigures(drives);
    ASSERT_EQ(figures.drives.size(), 2u);
    EXPECT_EQ(figures.drives[0].usedBytes(), 750u);
    EXPECT_EQ(figures.drives[0].freePercent(), 25);
    EXPECT_EQ(figures.total.capacity, 4000u);
    EXPECT_EQ(figures.total.usedBytes(), 750u);
    EXPECT_EQ(figures.total.freePercent(), 81.25);
}

// The table's free share follows the pies' titles: rounded to two decimals, the second dropped.
TEST(SpaceFigures, FreeShareReadsAsThePieTitlesDo)
{
    const struct
    {
        std::uint64_t free;
        double shown;
    } cases[] = {{999'600, 99.9}, {999'999, 100}, {452'700, 45.2}, {452'999, 45.3}, {500, 0}};
    for (const auto &c : cases) {
        const ReportModel model(Accumulators(), {{'c', "/", "ext4", 1'000'000, c.free, 4096, 0}});
        EXPECT_DOUBLE_EQ(model.table(ReportPageId::Space).rows[0][5].percentage, c.shown) << c.free;
    }
}

// Every page's table has one cell per heading in every row, so a writer can walk any of them.
TEST_F(ModelTest, EveryPageIsATableOfEvenRows)
{
    counted(results, {{".txt", 10, 1}});
    const ReportModel model(results, {{'c', "/", "ext4", 1000, 250, 4096, 0}}, 4096);
    const std::size_t rowCounts[] = {2, 2, 12, 5, 10, 10, 10, 10, 4, 48};
    for (int page = 0; page < reportPageCount; ++page) {
        const ReportTable table = model.table(ReportPageId(page));
        EXPECT_EQ(table.title, reportPageTitle(ReportPageId(page)));
        EXPECT_EQ(reportPageNamed(reportPageName(ReportPageId(page))), ReportPageId(page));
        EXPECT_EQ(table.rows.size(), rowCounts[page]) << page;
        for (const std::vector<ReportCell> &row : table.rows)
            EXPECT_EQ(row.size(), std::size_t(table.headings.size())) << page;
    }
    EXPECT_EQ(reportPageNamed("Types"), std::nullopt);
}

} // namespace
