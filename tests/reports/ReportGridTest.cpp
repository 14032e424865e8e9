#include "reports/ReportGrid.h"

#include <QTest>
#include <gtest/gtest.h>

namespace {

// The box of dark pixels inside an area of a picture; empty when there are none.
QRect inkBox(const QImage &image, const QRect &area)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y).lightness() < 100)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST(ReportGrid, TextsStartThreePixelsInOnTheLeftOrEndThreePixelsInOnTheRight)
{
    TStringGrid grid;
    setUpListingGrid(grid, {194, 189, 140}, 3);
    grid.setRowCells(0, {"File size", "Total file size", "Number of files"});
    grid.setRowCells(1, {"Over 16MB", "1,234", "7"});
    grid.resize(530, 80);
    grid.show();
    const QImage image = grid.grab().toImage();

    for (const int row : {0, 1}) {
        const QRect left = grid.cellRect(0, row);
        const QRect right = grid.cellRect(2, row);
        const QRect leftInk = inkBox(image, left.adjusted(0, 0, 0, -1));
        const QRect rightInk = inkBox(image, right.adjusted(0, 0, 0, -1));
        EXPECT_NEAR(leftInk.left(), left.left() + 3, 2) << row;
        EXPECT_NEAR(rightInk.right(), right.right() - 3, 2) << row;
        EXPECT_GE(leftInk.top(), left.top() + 2) << "the text hangs 2 pixels below the top";
    }
}

TEST(ReportGrid, ListingsSelectNothingEvenWhenEnabled)
{
    TStringGrid grid;
    setUpListingGrid(grid, {194, 189, 140}, 4);
    grid.resize(530, 100);
    grid.setEnabled(true);
    grid.show();
    const QPoint at = grid.viewport()->mapFrom(&grid, grid.cellRect(1, 2).center());
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(grid.selectedRow(), -1);
}
