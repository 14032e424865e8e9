#include "helpers/GridSort.h"

#include "support/TestSupport.h"

#include <QRandomGenerator>
#include <algorithm>
#include <gtest/gtest.h>

using korvel::test::LocaleGuard;

namespace {

// A grid like the Types listing: a heading row, data rows, a totals row. Column 0 is the key
// under test, column 1 names the row so that whole-row moves can be checked.
StringTable typesGrid(const QStringList &keys)
{
    StringTable grid(2, int(keys.size()) + 2);
    grid.setRowCells(0, {"Key", "Heading"});
    for (int r = 0; r < keys.size(); ++r)
        grid.setRowCells(r + 1, {keys[r], QStringLiteral("row%1").arg(r)});
    grid.setRowCells(int(keys.size()) + 1, {"Total", "Totals"});
    return grid;
}

QStringList column(const TextTable &grid, int col, int first, int last)
{
    QStringList cells;
    for (int r = first; r <= last; ++r)
        cells.append(grid.cell(col, r));
    return cells;
}

void expectHeadingAndTotalsKept(const StringTable &grid)
{
    EXPECT_EQ(grid.rowCells(0), QStringList({"Key", "Heading"}));
    EXPECT_EQ(grid.rowCells(grid.rowCount() - 1), QStringList({"Total", "Totals"}));
}

} // namespace

TEST(GridSort, TextSortIgnoresCaseAndLeavesHeadingAndTotals)
{
    StringTable grid = typesGrid({"pdf", "ABD", "abc", "Zip", "doc", "b", "txt", "bmp"});
    sortRowsText(grid, 1, grid.rowCount() - 2, 0, false);
    EXPECT_EQ(column(grid, 0, 1, 8),
              QStringList({"abc", "ABD", "b", "bmp", "doc", "pdf", "txt", "Zip"}));
    expectHeadingAndTotalsKept(grid);
    // Rows move whole: "abc" was row 2.
    EXPECT_EQ(grid.cell(1, 1), "row2");

    sortRowsText(grid, 1, grid.rowCount() - 2, 0, true);
    EXPECT_EQ(column(grid, 0, 1, 8),
              QStringList({"Zip", "txt", "pdf", "doc", "bmp", "b", "ABD", "abc"}));
    expectHeadingAndTotalsKept(grid);
}

TEST(GridSort, NumericSortReadsGroupedNumbersAndTakesTextAsZero)
{
    LocaleGuard locale(korvel::test::commaLocale());
    StringTable grid = typesGrid({"12", "1,234", "", "x7", "300", "-5", "2.5"});
    sortRowsNumeric(grid, 1, grid.rowCount() - 2, 0, true);
    const QStringList sorted = column(grid, 0, 1, 7);
    EXPECT_EQ(sorted.mid(0, 4), QStringList({"1,234", "300", "12", "2.5"}));
    EXPECT_EQ(QSet<QString>(sorted.begin() + 4, sorted.begin() + 6), QSet<QString>({"", "x7"}));
    EXPECT_EQ(sorted[6], "-5");
    expectHeadingAndTotalsKept(grid);
}

TEST(GridSort, NumericSortInALocaleGroupingWithDots)
{
    LocaleGuard locale(korvel::test::dotLocale());
    StringTable grid = typesGrid({"999", "1.234", "2,5", "50"});
    sortRowsNumeric(grid, 1, 4, 0, false);
    EXPECT_EQ(column(grid, 0, 1, 4), QStringList({"2,5", "50", "999", "1.234"}));
}

// Neighbours beyond 2^53 are one number apart as doubles read them; the sort must still tell them.
TEST(GridSort, NumericSortTellsNeighboursApartBeyondFiftyThreeBits)
{
    LocaleGuard locale(korvel::test::commaLocale());
    const QStringList descending{"18,446,744,073,709,551,615", "18,446,744,073,709,551,614",
                                 "9,007,199,254,740,993", "9,007,199,254,740,992"};
    QStringList ascending = descending;
    std::reverse(ascending.begin(), ascending.end());
    // From both orders: a sort that saw ties would keep one of them.
    for (const QStringList &keys : {descending, ascending}) {
        StringTable grid = typesGrid(keys);
        sortRowsNumeric(grid, 1, 4, 0, true);
        EXPECT_EQ(column(grid, 0, 1, 4), descending);
    }
}

TEST(GridSort, EmptyAndOutOfRangeRangesAreSafe)
{
    const StringTable original = typesGrid({"b", "a", "c"});
    StringTable grid = original;
    sortRowsText(grid, 3, 3, 0, false);
    sortRowsText(grid, 3, 1, 0, false);
    sortRowsNumeric(grid, 2, 2, 0, false);
    sortRowsText(grid, 1, 3, 5, false); // no such column
    for (int r = 0; r < grid.rowCount(); ++r)
        EXPECT_EQ(grid.rowCells(r), original.rowCells(r));

    // A range past the end of the grid sorts what exists.
    sortRowsText(grid, 1, 1000, 0, false);
    EXPECT_EQ(column(grid, 0, 1, 4), QStringList({"a", "b", "c", "Total"}));
}

// Many rows with repeated keys exercise the partitioning, not only the exchange sort of short
// ranges: the result must be ordered, hold every row exactly once, and be stable under a resort.
TEST(GridSort, LargeRangesComeOutOrderedWithEveryRowOnce)
{
    LocaleGuard locale(korvel::test::commaLocale());
    QRandomGenerator random(1998);
    for (const bool numeric : {false, true}) {
        for (const bool descending : {false, true}) {
            QStringList keys;
            for (int i = 0; i < 700; ++i) {
                const int v = int(random.bounded(200));
                keys.append(numeric ? QLocale().toString(v * 1000) : QStringLiteral("k%1").arg(v));
            }
            StringTable grid = typesGrid(keys);
            const int last = grid.rowCount() - 2;
            numeric ? sortRowsNumeric(grid, 1, last, 0, descending)
                    : sortRowsText(grid, 1, last, 0, descending);
            expectHeadingAndTotalsKept(grid);

            QStringList names = column(grid, 1, 1, last);
            std::sort(names.begin(), names.end());
            EXPECT_EQ(std::unique(names.begin(), names.end()), names.end());
            EXPECT_EQ(names.size(), keys.size());

            for (int r = 1; r < last; ++r) {
                const QString a = grid.cell(0, r), b = grid.cell(0, r + 1);
                const bool inOrder = numeric ? (descending ? cellNumber(a) >= cellNumber(b)
                                                           : cellNumber(a) <= cellNumber(b))
                                             : (descending ? a.toUpper() >= b.toUpper()
                                                           : a.toUpper() <= b.toUpper());
                ASSERT_TRUE(inOrder)
                    << "row " << r << ": " << a.toStdString() << " then " << b.toStdString();
                // The row's own name still belongs to the row's key.
                ASSERT_EQ(keys[grid.cell(1, r).mid(3).toInt()], a);
            }

            const QStringList before = column(grid, 0, 1, last);
            numeric ? sortRowsNumeric(grid, 1, last, 0, descending)
                    : sortRowsText(grid, 1, last, 0, descending);
            EXPECT_EQ(column(grid, 0, 1, last), before);
        }
    }
}
