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
const QColor red(255, 0, 0), green(0, 128, 0), yellow(255, 255, 0), aqua(0, 255, 255);

// The four date pages side by side, as the statistics window holds them.
class DatePagesTest : public PageAlone
{
protected:
    DatePagesTest()
    {
        // Distinct figures per table and class: bytes k.5 MB, files 1000 x (k + 1) + table.
        AgeTable *bytes[] = {&results.ageAccessedBytes, &results.ageCreatedBytes,
                             &results.ageModifiedBytes};
        AgeTable *files[] = {&results.ageAccessedFiles, &results.ageCreatedFiles,
                             &results.ageModifiedFiles};
        for (int t = 0; t < 3; ++t) {
            for (std::size_t k = 0; k < 10; ++k) {
                (*bytes[t])[k] = (double(k) + 0.5) * MB * (t + 1);
                (*files[t])[k] = 1000.0 * double(k + 1) + t;
            }
        }
    }

    struct Expected
    {
        DatePage *page;
        QString caption, sizeTitle, countTitle;
        const AgeTable &bytes, &files;
    };
    QList<Expected> dated() const
    {
        return {
            {access, "Accessed Date", "Access Date (file sizes in MB)",
             "Access Date (Number of files)", results.ageAccessedBytes, results.ageAccessedFiles},
            {create, "Created Date", "Created Date (file sizes in MB)",
             "Created Date (Number of files)", results.ageCreatedBytes, results.ageCreatedFiles},
            {modify, "Modified Date", "Modified Date (file sizes in MB)",
             "Modified Date (Number of files)", results.ageModifiedBytes,
             results.ageModifiedFiles}};
    }
    void refillAll()
    {
        for (ReportPage *page :
             std::initializer_list<ReportPage *>{access, create, modify, combine})
            page->refill();
    }
    static QList<double> values(const THorizBarSeries &series)
    {
        QList<double> list;
        for (int i = 0; i < series.count(); ++i)
            list << series.value(i);
        return list;
    }
    static QList<double> scaled(const AgeTable &table, double divisor)
    {
        QList<double> list;
        for (double value : table)
            list << value / divisor;
        return list;
    }

    QWidget window; // owns the pages
    DatePage *access = new DatePage(DatePage::Dates::Accessed, context, &window);
    DatePage *create = new DatePage(DatePage::Dates::Created, context, &window);
    DatePage *modify = new DatePage(DatePage::Dates::Modified, context, &window);
    CombinedPage *combine = new CombinedPage(context, access, create, modify, &window);
};

TEST_F(DatePagesTest, ListingsShowTheOldestClassFirst)
{
    refillAll();
    for (const Expected &e : dated()) {
        const TStringGrid &grid = *e.page->grid;
        ASSERT_EQ(grid.rowCount(), 11);
        EXPECT_EQ(grid.rowCells(0), QStringList({e.caption, "Total file size", "Number of files"}));
        for (int row = 1; row <= 10; ++row) {
            const std::size_t k = std::size_t(10 - row);
            EXPECT_EQ(grid.cell(0, row), DatePage::ageLabel(int(k)));
            EXPECT_EQ(grid.cell(1, row), QLocale().toString(qint64(e.bytes[k])));
            EXPECT_EQ(grid.cell(2, row), QLocale().toString(qint64(e.files[k])));
        }
    }
    EXPECT_EQ(access->grid->cell(0, 1), "Over 4 years");
    EXPECT_EQ(access->grid->cell(0, 10), "Not recorded");
    EXPECT_EQ(access->grid->cell(2, 10), "1,000");
}

TEST_F(DatePagesTest, TheCombinedListingFollowsTheModifiedListingRowForRow)
{
    results.ageModifiedFiles[0] = 3e9; // past 2^31 files
    refillAll();
    const TStringGrid &grid = *combine->gridCombine;
    EXPECT_EQ(grid.rowCells(0),
              QStringList({"Combined dates", "Access Size", "Access # files", "Create Size",
                           "Create # files", "Modify Size", "Modify # files"}));
    for (int row = 1; row <= 10; ++row) {
        const std::size_t k = std::size_t(10 - row);
        EXPECT_EQ(grid.cell(0, row), modify->grid->cell(0, row));
        const QStringList expected{modify->grid->cell(0, row),
                                   access->grid->cell(1, row),
                                   access->grid->cell(2, row),
                                   create->grid->cell(1, row),
                                   create->grid->cell(2, row),
                                   modify->grid->cell(1, row),
                                   QLocale().toString(qint64(results.ageModifiedFiles[k]))};
        EXPECT_EQ(grid.rowCells(row), expected) << row;
    }
    EXPECT_EQ(grid.cell(6, 10), "3,000,000,000");
}

TEST_F(DatePagesTest, DatedChartsShowTenBarsInTheirChosenView)
{
    refillAll();
    const QList<QColor> table{red,
                              QColor(128, 0, 0),
                              QColor(0, 0, 255),
                              yellow,
                              green,
                              QColor(0, 255, 0),
                              QColor(255, 0, 255),
                              QColor(0, 128, 128),
                              QColor(0, 0, 128),
                              aqua};
    for (const Expected &e : dated()) {
        const THorizBarSeries &series = *e.page->series;
        EXPECT_EQ(e.page->chart->Title().lines, QStringList(e.sizeTitle));
        EXPECT_EQ(values(series), scaled(e.bytes, MB)); // megabytes with their fractions
        for (int k = 0; k < 10; ++k) {
            EXPECT_EQ(series.point(k).label, DatePage::ageLabel(k));
            EXPECT_EQ(series.pointColour(k), table[k]) << k;
        }
        e.page->rgCount->click();
        EXPECT_EQ(e.page->chart->Title().lines, QStringList(e.countTitle));
        EXPECT_EQ(values(series), scaled(e.files, 1));
        EXPECT_EQ(series.pointColour(0), red);
    }
    // The table is left in the last single colour; its other users set it again before use.
    EXPECT_EQ(colours[1], yellow);
    EXPECT_EQ(colours[12], yellow);
}

TEST_F(DatePagesTest, TheCombinedChartShowsThreeThinBarsPerClass)
{
    refillAll();
    struct Line
    {
        THorizBarSeries *series;
        QString title;
        QColor colour;
        int offset;
        const AgeTable &bytes, &files;
    };
    const Line lines[] = {
        {combine->Series6, "Accessed", red, 25, results.ageAccessedBytes, results.ageAccessedFiles},
        {combine->Series7, "Created", green, 0, results.ageCreatedBytes, results.ageCreatedFiles},
        {combine->Series8, "Modified", yellow, -25, results.ageModifiedBytes,
         results.ageModifiedFiles}};
    const QList<double> accessBefore = values(*access->series);
    for (const Line &line : lines) {
        EXPECT_EQ(line.series->title(), line.title);
        EXPECT_EQ(line.series->offsetPercent(), line.offset);
        EXPECT_EQ(line.series->barWidthPercent(), 40);
        EXPECT_EQ(line.series->multiBar(), MultiBar::None);
        EXPECT_EQ(values(*line.series), scaled(line.bytes, MB));
        for (int k = 0; k < 10; ++k)
            EXPECT_EQ(line.series->pointColour(k), line.colour);
    }
    EXPECT_EQ(combine->chartCombine->Title().lines,
              QStringList("Combination Access/Created/Modified Chart"));

    // Counts on the Combined page change only the combined chart.
    combine->rbCombine2->click();
    for (const Line &line : lines)
        EXPECT_EQ(values(*line.series), scaled(line.files, 1)) << line.title.toStdString();
    EXPECT_EQ(values(*access->series), accessBefore);
    EXPECT_EQ(access->chart->Title().lines, QStringList("Access Date (file sizes in MB)"));
}

TEST_F(DatePagesTest, AChartViewOnAnyPageRebuildsAllFourFromTheirOwnChoice)
{
    refillAll();
    access->rgCount->click();
    combine->rbCombine2->click();
    results.ageAccessedFiles.fill(7);
    results.ageCreatedBytes.fill(2 * MB);

    create->rgSize->click();
    EXPECT_EQ(values(*access->series), QList<double>(10, 7));
    EXPECT_EQ(values(*create->series), QList<double>(10, 2));
    EXPECT_EQ(values(*combine->Series6), QList<double>(10, 7));
    EXPECT_EQ(access->chart->Title().lines, QStringList("Access Date (Number of files)"));
}

TEST_F(DatePagesTest, ListingSwapsTheViewAndKeepsTheRunsNumbers)
{
    refillAll();
    for (DatePage *page : {access, create, modify}) {
        EXPECT_TRUE(page->grid->isHidden());
        EXPECT_FALSE(page->chart->isHidden());
    }
    results.ageModifiedBytes.fill(0);
    modify->rgListing->click();
    combine->rgCombine0->click();
    EXPECT_FALSE(modify->grid->isHidden());
    EXPECT_TRUE(modify->chart->isHidden());
    EXPECT_FALSE(combine->gridCombine->isHidden());
    EXPECT_TRUE(combine->chartCombine->isHidden());
    EXPECT_EQ(modify->series->value(9), 9.5 * 3); // no chart was rebuilt
    EXPECT_EQ(modify->printTarget().chart, nullptr);
    EXPECT_EQ(create->printTarget().chart, create->chart);
    EXPECT_EQ(combine->printTarget().chart, nullptr);
}

TEST_F(DatePagesTest, AWalkDisablesEveryViewButtonButTheCombinedListing)
{
    for (ReportPage *page : std::initializer_list<ReportPage *>{access, create, modify, combine})
        page->setRunControlsEnabled(false);
    for (DatePage *page : {access, create, modify})
        for (QRadioButton *button : {page->rgListing, page->rgSize, page->rgCount})
            EXPECT_FALSE(button->isEnabled());
    EXPECT_TRUE(combine->rgCombine0->isEnabled());
    EXPECT_FALSE(combine->rbCombine1->isEnabled());
    EXPECT_FALSE(combine->rbCombine2->isEnabled());
}

TEST_F(DatePagesTest, NoteButtonsShowTheirTextsInFull)
{
    access->noteButton->click();
    create->noteButton->click();
    modify->noteButton->click();
    combine->SpeedButton4->click();
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
