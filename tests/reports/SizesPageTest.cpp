#include "reports/SizesPage.h"

#include "charts/Chart.h"
#include "charts/HorizBarSeries.h"
#include "controls/Notebook.h"
#include "controls/StringGrid.h"
#include "reports/PageAlone.h"

#include <QRadioButton>

// The Sizes page alone, reading an engine's results.
class SizesPageTest : public korvel::test::PageOverEngine
{
protected:
    SizesPage page{context, nullptr};
};

TEST_F(SizesPageTest, ARunFillsTwelveClassesLargestFirstAndChartsThemInClassOrder)
{
    korvel::test::Tree tree;
    tree.file("edge.bin", 16384);
    tree.file("over.bin", 16385);
    tree.file("half.bin", 1572864);
    tree.file("big.bin", 20000000);
    runOver(tree, page);

    const QList<QStringList> rows = {
        {"File size", "Total file size", "Number of files"},
        {"Over 16MB", "20,000,000", "1"},
        {"8MB - 16MB", "0", "0"},
        {"4MB - 8MB", "0", "0"},
        {"2MB - 4MB", "0", "0"},
        {"1MB - 2MB", "1,572,864", "1"},
        {"512K - 1MB", "0", "0"},
        {"256K - 512K", "0", "0"},
        {"128K - 256K", "0", "0"},
        {"64K - 128K", "0", "0"},
        {"32K - 64K", "0", "0"},
        {"16K - 32K", "16,385", "1"},
        {"0 - 16K", "16,384", "1"},
    };
    ASSERT_EQ(page.gridSizes->rowCount(), 13);
    for (int r = 0; r < rows.size(); ++r)
        EXPECT_EQ(page.gridSizes->rowCells(r), rows[r]) << r;
    EXPECT_EQ(page.gridSizes->selectedRow(), -1);

    // Class k is bar k, from the bottom, in colour k of the table: red first, grey last.
    EXPECT_EQ(page.Chart1->Title().lines, QStringList({"File Sizes in MB"}));
    ASSERT_EQ(page.Series1->count(), 12);
    for (int k = 1; k <= 12; ++k) {
        EXPECT_EQ(page.Series1->point(k - 1).label, rows[13 - k][0]);
        EXPECT_EQ(page.Series1->point(k - 1).colour, colours[k]);
    }
    EXPECT_EQ(page.Series1->point(0).colour, QColor(Qt::red));
    EXPECT_EQ(page.Series1->point(11).colour, QColor(128, 128, 128));
    EXPECT_DOUBLE_EQ(page.Series1->value(7), 1.5);
    EXPECT_EQ(page.Series1->value(8), 0.0);

    page.rgSize2->click();
    EXPECT_EQ(page.Chart1->Title().lines, QStringList({"Number of Files"}));
    EXPECT_EQ(page.Series1->value(0), 1.0);
    EXPECT_EQ(page.Series1->value(5), 0.0);
}

TEST_F(SizesPageTest, ViewsShowGridOrChartAndASwitchUndoesTheZoom)
{
    engine.sizeBytes[3] = 3 * 1048576.0;
    engine.sizeFiles[3] = 2;
    page.refill();
    page.Chart1->zoomTo({0, 1}, {0, 3});
    ASSERT_TRUE(page.Chart1->zoomed());
    page.rgSize1->click();
    EXPECT_TRUE(page.Chart1->zoomed()) << "the view already chosen is no change";
    page.rgSize2->click();
    EXPECT_FALSE(page.Chart1->zoomed());
    EXPECT_EQ(page.printTarget().chart, page.Chart1);

    page.rgSize0->click();
    EXPECT_TRUE(page.gridSizes->isVisibleTo(&page));
    EXPECT_FALSE(page.Chart1->isVisibleTo(&page));
    EXPECT_EQ(page.printTarget().chart, nullptr) << "the listing prints as the window";
    EXPECT_FALSE(page.printTarget().printGrid);
    page.rgSize1->click();
    EXPECT_FALSE(page.gridSizes->isVisibleTo(&page));
    EXPECT_EQ(page.Series1->value(2), 3.0);
}
