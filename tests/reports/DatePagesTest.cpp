#include "charts/Chart.h"
#include "charts/HorizBarSeries.h"
#include "controls/StringGrid.h"
#include "reports/CombinedPage.h"
#include "reports/DatePage.h"
#include "reports/PageAlone.h"

#include <QRadioButton>
#include <QToolButton>

using namespace korvel::test;

namespace {

constexpr double MB = 1048576;
const QColor red(255, 0, 0), green(0, 128, 0), yellow(255, 255, 0);
const QStringList ageLabels{"Not recorded",  "<= 7 days",      "8 - 30 days", "31 - 60 days",
                            "61 - 120 days", "121 - 365 days", "1 - 2 years", "2 - 3 years",
                            "3 - 4 years",   "Over 4 years"};

QList<double> scaled(const AgeTable &table, double divisor)
{
    QList<double> list;
    for (double value : table)
        list << value / divisor;
    return list;
}

// The four date pages side by side, as the statistics window holds them, with distinct figures
// per table and class: bytes (k + 0.5) x table MB, files 1000 x (k + 1) + table.
class DatePagesTest : public PageAlone
{
protected:
    DatePagesTest()
    {
        for (std::size_t k = 0; k < 10; ++k) {
            for (int t = 0; t < 3; ++t) {
                (*tables[t].bytes)[k] = (double(k) + 0.5) * MB * (t + 1);
                (*tables[t].files)[k] = 1000.0 * double(k + 1) + t;
            }
        }
        for (ReportPage *page : pages)
            page->refill();
    }

    QWidget window; // owns the pages
    DatePage *access = new DatePage(DatePage::Dates::Accessed, context, &window);
    DatePage *create = new DatePage(DatePage::Dates::Created, context, &window);
    DatePage *modify = new DatePage(DatePage::Dates::Modified, context, &window);
    CombinedPage *combine = new CombinedPage(context, access, create, modify, &window);
    ReportPage *const pages[4] = {access, create, modify, combine};

    struct Dated
    {
        DatePage *page;
        QString caption, sizeTitle, countTitle;
        AgeTable *bytes, *files;
    };
    const Dated tables[3] = {
        {access, "Accessed Date", "Access Date (file sizes in MB)", "Access Date (Number of files)",
         &results.ageAccessedBytes, &results.ageAccessedFiles},
        {create, "Created Date", "Created Date (file sizes in MB)",
         "Created Date (Number of files)", &results.ageCreatedBytes, &results.ageCreatedFiles},
        {modify, "Modified Date", "Modified Date (file sizes in MB)",
         "Modified Date (Number of files)", &results.ageModifiedBytes, &results.ageModifiedFiles}};
};

TEST_F(DatePagesTest, ListingsShowTheOldestClassFirst)
{
    for (const Dated &d : tables) {
        const TStringGrid &grid = *d.page->grid;
        ASSERT_EQ(grid.rowCount(), 11);
        EXPECT_EQ(grid.rowCells(0), QStringList({d.caption, "Total file size", "Number of files"}));
        for (int row = 1; row <= 10; ++row) {
            const std::size_t k = std::size_t(10 - row);
            EXPECT_EQ(grid.rowCells(row), QStringList({ageLabels[qsizetype(k)],
                                                       QLocale().toString(qint64((*d.bytes)[k])),
                                                       QLocale().toString(qint64((*d.files)[k]))}));
        }
    }
    EXPECT_EQ(access->grid->rowCells(1), QStringList({"Over 4 years", "9,961,472", "10,000"}));
}

TEST_F(DatePagesTest, TheCombinedListingFollowsTheModifiedListingRowForRow)
{
    results.ageModifiedFiles[0] = 3e9; // past 2^31 files
    combine->refill();
    const TStringGrid &grid = *combine->gridCombine;
    EXPECT_EQ(grid.rowCells(0),
              QStringList({"Combined dates", "Access Size", "Access # files", "Create Size",
                           "Create # files", "Modify Size", "Modify # files"}));
    for (int row = 1; row <= 10; ++row)
        EXPECT_EQ(grid.cell(0, row), modify->grid->cell(0, row));
    EXPECT_EQ(grid.rowCells(10), QStringList({"Not recorded", "524,288", "1,000", "1,048,576",
                                              "1,001", "1,572,864", "3,000,000,000"}));
}

TEST_F(DatePagesTest, DatedChartsShowTenBarsInTheirChosenView)
{
    const QRgb colours[] = {0xff0000, 0x800000, 0x0000ff, 0xffff00, 0x008000,
                            0x00ff00, 0xff00ff, 0x008080, 0x000080, 0x00ffff};
    for (const Dated &d : tables) {
        const THorizBarSeries &series = *d.page->series;
        EXPECT_EQ(d.page->chart->Title().lines, QStringList(d.sizeTitle));
        EXPECT_EQ(seriesValues(series), scaled(*d.bytes, MB)); // megabytes with their fractions
        for (int k = 0; k < 10; ++k) {
            EXPECT_EQ(series.point(k).label, ageLabels[k]);
            EXPECT_EQ(series.pointColour(k), QColor(colours[k])) << k;
        }
        d.page->rgCount->click();
        EXPECT_EQ(d.page->chart->Title().lines, QStringList(d.countTitle));
        EXPECT_EQ(seriesValues(series), scaled(*d.files, 1));
    }
    // The table is left in the last single colour; its other users set it again before use.
    EXPECT_EQ(this->colours[1], yellow);
    EXPECT_EQ(this->colours[12], yellow);
}

TEST_F(DatePagesTest, TheCombinedChartShowsThreeThinBarsPerClass)
{
    struct Line
    {
        THorizBarSeries *series;
        QString title;
        QColor colour;
        int offset;
        const Dated &source;
    };
    const Line lines[] = {{combine->Series6, "Accessed", red, 25, tables[0]},
                          {combine->Series7, "Created", green, 0, tables[1]},
                          {combine->Series8, "Modified", yellow, -25, tables[2]}};
    EXPECT_EQ(combine->chartCombine->Title().lines,
              QStringList("Combination Access/Created/Modified Chart"));
    for (const Line &line : lines) {
        EXPECT_EQ(line.series->title(), line.title);
        EXPECT_EQ(line.series->offsetPercent(), line.offset);
        EXPECT_EQ(line.series->barWidthPercent(), 40);
        EXPECT_EQ(line.series->multiBar(), MultiBar::None);
        EXPECT_EQ(seriesValues(*line.series), scaled(*line.source.bytes, MB));
        EXPECT_EQ(line.series->pointColour(9), line.colour);
    }
    // Accessed stands in front and Modified at the back, which the 3-D view draws highest: the
    // legend lists them as the bars of a class stand, so no bar reads as the next class's.
    EXPECT_EQ(combine->chartCombine->series(0), combine->Series6);
    QStringList legend;
    for (const LegendEntry &entry : combine->chartCombine->legendEntries())
        legend << entry.text;
    EXPECT_EQ(legend, QStringList({"Modified", "Created", "Accessed"}));

    // Counts on the Combined page change only the combined chart.
    const QList<double> accessBefore = seriesValues(*access->series);
    combine->rbCombine2->click();
    for (const Line &line : lines)
        EXPECT_EQ(seriesValues(*line.series), scaled(*line.source.files, 1));
    EXPECT_EQ(seriesValues(*access->series), accessBefore);
}

TEST_F(DatePagesTest, AChartViewOnAnyPageRebuildsAllFourFromTheirOwnChoice)
{
    access->rgCount->click();
    combine->rbCombine2->click();
    results.ageAccessedFiles.fill(7);
    results.ageCreatedFiles.fill(2);

    create->rgCount->click();
    EXPECT_EQ(seriesValues(*access->series), QList<double>(10, 7));
    EXPECT_EQ(seriesValues(*create->series), QList<double>(10, 2));
    EXPECT_EQ(seriesValues(*combine->Series6), QList<double>(10, 7));
}

TEST_F(DatePagesTest, ClickingTheViewInSightAgainKeepsItsZoom)
{
    for (TChart *chart : {access->chart, combine->chartCombine})
        chart->zoomTo({0, 1}, {0, 1});
    access->rgSize->click();
    combine->rbCombine1->click();
    EXPECT_TRUE(access->chart->zoomed());
    EXPECT_TRUE(combine->chartCombine->zoomed());
}

TEST_F(DatePagesTest, ListingSwapsTheViewAndKeepsTheRunsNumbers)
{
    EXPECT_TRUE(modify->grid->isHidden());
    results.ageModifiedBytes.fill(0);
    modify->rgListing->click();
    combine->rgCombine0->click();
    EXPECT_FALSE(modify->grid->isHidden());
    EXPECT_TRUE(modify->chart->isHidden());
    EXPECT_TRUE(combine->chartCombine->isHidden());
    EXPECT_EQ(modify->series->value(9), 9.5 * 3); // no chart was rebuilt
    // A chart in view prints through the preview, a listing as a picture of the window.
    EXPECT_EQ(modify->printTarget().chart, nullptr);
    EXPECT_EQ(combine->printTarget().chart, nullptr);
    EXPECT_EQ(create->printTarget().chart, create->chart);
}

TEST_F(DatePagesTest, AWalkDisablesEveryViewButtonButTheCombinedListing)
{
    for (ReportPage *page : pages)
        page->setRunControlsEnabled(false);
    for (const Dated &d : tables)
        EXPECT_FALSE(d.page->rgListing->isEnabled() || d.page->rgSize->isEnabled() ||
                     d.page->rgCount->isEnabled());
    EXPECT_TRUE(combine->rgCombine0->isEnabled());
    EXPECT_FALSE(combine->rbCombine1->isEnabled() || combine->rbCombine2->isEnabled());
}

TEST_F(DatePagesTest, NoteButtonsShowTheirTextsInFull)
{
    for (QToolButton *button :
         {access->noteButton, create->noteButton, modify->noteButton, combine->SpeedButton4})
        button->click();
    EXPECT_EQ(
        messages,
        QStringList({"Note: prior versions of Windows and DOS did not store the file access date.  "
                     "Files never recorded as being accessed are probably old files that were "
                     "converted to Windows 95.",
                     "Files never recorded as being created are probably old files that were "
                     "converted to Windows 95.  Note: prior versions of Windows and DOS did not "
                     "store the file creation date independent of the last file modification or "
                     "file write date.",
                     "Note: prior versions of Windows and DOS treated the file creation date "
                     "synonomously  with the last file modification date.  Therefore all files "
                     "have a file modification date.",
                     "This chart combines the Accessed, Created and Modified charts"}));
}

} // namespace
