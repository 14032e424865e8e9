#include "controls/StringGrid.h"

#include "support/TestSupport.h"

#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <utility>

namespace {

// A grid like the Types listing: a heading, data rows named by number, a footer.
void fillListing(TStringGrid &grid, int dataRows)
{
    grid.setColumnCount(3);
    grid.setFixedRows(1);
    grid.setFixedFooters(1);
    grid.setRowCount(dataRows + 2);
    grid.setRowCells(0, {"Name", "Value", "Note"});
    for (int r = 1; r <= dataRows; ++r)
        grid.setRowCells(r, {QStringLiteral("row%1").arg(r, 3, 10, QChar('0')),
                             QString::number(r * 10), QStringLiteral("note%1").arg(r)});
    grid.setRowCells(dataRows + 1, {"", "Totals", ""});
}

} // namespace

TEST(StringGrid, FixedRowsStayOutOfTheScrollingRowsAsTheRowCountChanges)
{
    TStringGrid grid;
    fillListing(grid, 3);
    EXPECT_TRUE(grid.isRowHidden(0));
    EXPECT_TRUE(grid.isRowHidden(4));
    EXPECT_FALSE(grid.isRowHidden(1));

    grid.setColWidth(1, 123);
    grid.setRowCount(7);
    EXPECT_EQ(grid.colWidth(1), 123);
    EXPECT_FALSE(grid.isRowHidden(4)) << "the old footer is a data row now";
    EXPECT_TRUE(grid.isRowHidden(6));
    EXPECT_EQ(grid.cell(1, 3), "30") << "cells of remaining rows are kept";

    grid.setColumnCount(4);
    EXPECT_EQ(grid.colWidth(1), 123) << "widths are kept as a column is added";
    EXPECT_TRUE(grid.isRowHidden(6)) << "and the footer stays fixed";

    grid.setFixedFooters(0);
    EXPECT_FALSE(grid.isRowHidden(6));
}

// Rows from a source read as kept ones would; setting one row of the band keeps the others'
// texts, a new source blanks the old band's rows outside it, and blanking ends the band.
TEST(StringGrid, RowsFromASourceReadAsKeptRows)
{
    TStringGrid grid;
    fillListing(grid, 4);
    const auto source = [](const QString &tag) {
        return [tag](int column, int index) { return tag + QString::number(column * 10 + index); };
    };
    grid.setRowSource(1, 3, source("a"));
    EXPECT_EQ(grid.rowCells(2), (QStringList{"a1", "a11", "a21"}));
    EXPECT_EQ(grid.cell(0, 4), "row004") << "a row outside the band keeps its texts";
    grid.setCell(1, 1, "set");
    grid.setRowSource(2, 1, source("b"));
    EXPECT_EQ(grid.rowCells(1), (QStringList{"a0", "set", "a20"}));
    EXPECT_EQ(grid.cell(0, 2), "b0");
    EXPECT_EQ(grid.cell(0, 3), "a2") << "kept when the row was set";
    grid.setRowSource(1, 2, source("c"));
    grid.setRowSource(3, 1, source("d"));
    EXPECT_EQ(grid.cell(0, 1), "") << "the old band's rows outside the new one read blank";
    grid.blankRows(1);
    EXPECT_EQ(grid.rowCells(3), (QStringList{"", "", ""}));
    EXPECT_EQ(grid.cell(1, 0), "Value");
}

TEST(StringGrid, ClickSelectsWholeRowUnlessTheSelectHandlerRefuses)
{
    for (const bool refuse : {false, true}) {
        TStringGrid grid;
        fillListing(grid, 3);
        grid.resize(300, 200);
        if (refuse)
            grid.setOnSelectCell([](int, int) { return false; });
        grid.show();
        const QPoint at = grid.viewport()->mapFrom(&grid, grid.cellRect(2, 2).center());
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, at);
        EXPECT_EQ(grid.selectedRow(), refuse ? -1 : 2) << refuse;
        if (!refuse) {
            EXPECT_EQ(grid.selectionModel()->selectedIndexes().size(), 3);
            grid.selectRow(0);
            EXPECT_EQ(grid.selectedRow(), -1) << "the heading is no row to select";
        }
    }
}

TEST(StringGrid, DrawHandlerPaintsFixedAndScrollingCellsAndAlignmentIsAsked)
{
    TStringGrid grid;
    fillListing(grid, 2);
    grid.resize(300, 200);
    QList<std::pair<int, bool>> painted; // row, fixed
    grid.setOnDrawCell([&](const TStringGrid &, QPainter &, int column, int row, const QRect &,
                           GridCellState state) {
        if (column == 0)
            painted.append({row, state.fixed});
    });
    grid.setOnGetAlignment(
        [](int column, int) { return column > 0 ? Qt::AlignRight : Qt::AlignLeft; });
    grid.show();
    grid.grab();
    EXPECT_TRUE(painted.contains(std::pair(0, true)));
    EXPECT_TRUE(painted.contains(std::pair(3, true)));
    EXPECT_TRUE(painted.contains(std::pair(1, false)));
    EXPECT_EQ(grid.cellAlignment(2, 0), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(grid.cellAlignment(0, 1), Qt::AlignLeft | Qt::AlignVCenter);
}

// What reaches the screen: the heading in the fixed colour, the rows in the cell colour, and
// row lines of one thickness down the whole listing, also where a logical pixel is 1.5 pixels.
TEST(StringGrid, PaintsHeadingAndCellColoursAndEvenRowLinesAtEveryScale)
{
    for (const double scale : {1.0, 1.5, 2.0}) {
        TStringGrid grid;
        fillListing(grid, 12);
        grid.resize(300, 14 * 19);
        grid.setColor(Qt::white);
        grid.setFixedColor(Qt::yellow);
        grid.setGridLines(GridLines::Horizontal);
        grid.setBorderVisible(false);
        grid.show();
        QImage image(grid.size() * scale, QImage::Format_RGB32);
        image.setDevicePixelRatio(scale);
        grid.render(&image);
        const int x = int((grid.cellRect(2, 1).right() - 3) * scale); // right of the texts
        auto at = [&](int row) { return int(grid.cellRect(2, row).center().y() * scale); };
        EXPECT_EQ(image.pixelColor(x, at(0)), QColor(Qt::yellow)) << scale;
        EXPECT_EQ(image.pixelColor(x, at(1)), QColor(Qt::white)) << scale;
        QList<int> thicknesses;
        int run = 0;
        for (int y = at(1); y < at(12); ++y) {
            const QColor c = image.pixelColor(x, y);
            if (c != Qt::white && c != Qt::yellow)
                ++run;
            else if (run > 0)
                thicknesses.append(std::exchange(run, 0));
        }
        EXPECT_EQ(thicknesses.size(), 11) << scale;
        EXPECT_EQ(thicknesses.count(thicknesses.first()), thicknesses.size()) << scale;
    }
}

TEST(StringGrid, RightClickOpensItsMenu)
{
    TStringGrid grid;
    fillListing(grid, 2);
    QMenu menu;
    menu.addAction("Sort");
    grid.PopupMenu = &menu;
    grid.show();
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(10, 30),
                            grid.mapToGlobal(QPoint(10, 30)));
    QApplication::sendEvent(grid.viewport(), &click);
    EXPECT_TRUE(menu.isVisible());
    menu.close();
}

// Every row once across the page breaks, the pages numbered "Page n of N" from 1, the heading on
// every page or on the first only, and nothing nearer than 10 mm to the paper's edge.
TEST(StringGrid, PrintsEveryRowOnceOnNumberedPagesInsideTheMargins)
{
    korvel::test::LocaleGuard locale(korvel::test::commaLocale());
    for (const bool repeatHeading : {true, false}) {
        TStringGrid grid;
        fillListing(grid, 150);
        grid.setColWidth(0, 80);
        grid.PrintSettings.title = "Listing of things";
        grid.PrintSettings.pagePrefix = "Page";
        grid.PrintSettings.repeatHeading = repeatHeading;
        grid.PrintSettings.printedAt = QDateTime(QDate(2026, 3, 14), QTime(9, 26));

        QTemporaryDir dir;
        const QString pdf = dir.filePath("grid.pdf");
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setPageMargins(QMarginsF(0, 0, 0, 0));
        grid.print(printer);
        const QStringList pages = korvel::test::pdfText(pdf, true).split('\f', Qt::SkipEmptyParts);
        ASSERT_GE(pages.size(), 3);
        for (int n = 1; n <= pages.size(); ++n) {
            const QString &page = pages[n - 1];
            SCOPED_TRACE(QStringLiteral("page %1, heading repeated %2")
                             .arg(n)
                             .arg(repeatHeading)
                             .toStdString());
            EXPECT_TRUE(page.contains(QStringLiteral("Page %1 of %2").arg(n).arg(pages.size())));
            EXPECT_TRUE(page.contains("Listing of things") && page.contains("3/14/26") &&
                        page.contains("9:26"));
            EXPECT_EQ(page.contains("Name"), repeatHeading || n == 1);
        }
        const QString all = pages.join('\n');
        for (int r = 1; r <= 150; ++r)
            EXPECT_EQ(all.count(QStringLiteral("row%1").arg(r, 3, 10, QChar('0'))), 1) << r;
        EXPECT_EQ(all.count("Totals"), 1);
        EXPECT_GE(korvel::test::pdfLeastTextMarginMm(pdf), 10);
    }
}
