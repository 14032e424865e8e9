#include "helpers/GridSort.h"

#include "helpers/Helpers.h"

#include <QLocale>
#include <algorithm>
#include <vector>

QStringList TextTable::rowCells(int row) const
{
    QStringList cells;
    for (int column = 0; column < columnCount(); ++column)
        cells.append(cell(column, row));
    return cells;
}

void TextTable::setRowCells(int row, const QStringList &cells)
{
    for (int column = 0; column < columnCount(); ++column)
        setCell(column, row, column < cells.size() ? cells[column] : QString());
}

StringTable::StringTable(int columns, int rowCount)
    : columns(columns), rows(rowCount, QStringList(columns))
{}

QString StringTable::cell(int column, int row) const
{
    return rows[row][column];
}

void StringTable::setCell(int column, int row, const QString &text)
{
    rows[row][column] = text;
}

QStringList StringTable::rowCells(int row) const
{
    return rows[row];
}

void StringTable::setRowCells(int row, const QStringList &cells)
{
    QStringList copy = cells;
    copy.resize(columns);
    rows[row] = copy;
}

namespace {

// Only a to z change case: the order must not depend on the locale's idea of letters.
QString upperAscii(const QString &text)
{
    QString upper = text;
    for (QChar &c : upper)
        if (c.unicode() >= u'a' && c.unicode() <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    return upper;
}

// Compares character codes; a text that begins another one is the smaller.
int compareText(const QString &a, const QString &b)
{
    return QStringView(a).compare(QStringView(b), Qt::CaseSensitive);
}

// A cell's number for the sort: whole numbers exactly, however many digits they have (a double
// would round those beyond 2^53 and tie neighbours), others as cellNumber reads them.
long double sortNumber(const QString &text)
{
    std::uint64_t whole = 0;
    if (groupedToUnsigned(text, whole))
        return static_cast<long double>(whole);
    return cellNumber(text);
}

void exchangeRows(TextTable &table, int a, int b)
{
    const QStringList kept = table.rowCells(a);
    table.setRowCells(a, table.rowCells(b));
    table.setRowCells(b, kept);
}

// Keeps a range inside the table; false when nothing is left to sort.
bool clampRange(const TextTable &table, int &first, int &last, int column)
{
    first = std::max(first, 0);
    last = std::min(last, table.rowCount() - 1);
    return first < last && column >= 0 && column < table.columnCount();
}

// The partition sort of both variants. Each row's key is worked out once (key(text)) and moves
// with its row, so that a comparison never reads a cell again; less() compares keys.
// smallRange(first, last) may sort a range in a way of its own and answer true. Recursing into
// the smaller part only keeps the stack shallow on any input.
template <typename KeyOf, typename Less, typename SmallRange>
void quickSortBy(TextTable &table, int first, int last, int column, bool descending,
                 const KeyOf &keyOf, const Less &less, const SmallRange &smallRange)
{
    using Key = decltype(keyOf(QString()));
    std::vector<Key> keys;
    keys.reserve(std::size_t(last - first + 1));
    for (int r = first; r <= last; ++r)
        keys.push_back(keyOf(table.cell(column, r)));
    const int base = first;
    const auto key = [&](int row) -> const Key & { return keys[std::size_t(row - base)]; };

    // Each part sorted is final: a short range the exchange sort took leaves its keys behind
    // unmoved, and nothing reads them again.
    const auto sortRange = [&](const auto &self, int from, int to) -> void {
        while (true) {
            if (from >= to || smallRange(from, to))
                return;
            const Key pivot = key(from + (to - from) / 2);
            int i = from;
            int j = to;
            while (i <= j) {
                if (descending) {
                    while (less(pivot, key(i)))
                        ++i;
                    while (less(key(j), pivot))
                        --j;
                } else {
                    while (less(key(i), pivot))
                        ++i;
                    while (less(pivot, key(j)))
                        --j;
                }
                if (i <= j) {
                    exchangeRows(table, i, j);
                    std::swap(keys[std::size_t(i - base)], keys[std::size_t(j - base)]);
                    ++i;
                    --j;
                }
            }
            if (j - from < to - i) {
                self(self, from, j);
                from = i;
            } else {
                self(self, i, to);
                to = j;
            }
        }
    };
    sortRange(sortRange, first, last);
}

// The sort of a grid through a key table: sorting moves two short texts per exchange, and the
// grid's rows are copied only twice in all.
void sortRows(TextTable &grid, int first, int last, int column, bool descending,
              void (*sortKeys)(TextTable &, int, int, int, bool))
{
    if (!clampRange(grid, first, last, column))
        return;
    StringTable keys(2, grid.rowCount());
    for (int r = first; r <= last; ++r) {
        keys.setCell(0, r, QString::number(r));
        keys.setCell(1, r, grid.cell(column, r));
    }
    sortKeys(keys, first, last, 1, descending);

    QList<QStringList> rebuilt;
    rebuilt.reserve(last - first + 1);
    for (int d = first; d <= last; ++d)
        rebuilt.append(grid.rowCells(textToInt(keys.cell(0, d))));
    for (int f = first; f <= last; ++f)
        grid.setRowCells(f, rebuilt[f - first]);
}

} // namespace

void bubbleSortText(TextTable &table, int first, int last, int column, bool descending)
{
    if (!clampRange(table, first, last, column))
        return;
    bool exchanged = true;
    while (exchanged) {
        exchanged = false;
        for (int r = first; r < last; ++r) {
            const int order = compareText(upperAscii(table.cell(column, r)),
                                          upperAscii(table.cell(column, r + 1)));
            if (descending ? order < 0 : order > 0) {
                exchangeRows(table, r, r + 1);
                exchanged = true;
            }
        }
    }
}

void quickSortText(TextTable &table, int first, int last, int column, bool descending)
{
    if (!clampRange(table, first, last, column))
        return;
    // Ranges of up to five rows are left to the exchange sort.
    const auto shortRange = [&](int from, int to) {
        if (to - from >= 5)
            return false;
        bubbleSortText(table, from, to, column, descending);
        return true;
    };
    quickSortBy(
        table, first, last, column, descending, upperAscii,
        [](const QString &a, const QString &b) { return compareText(a, b) < 0; }, shortRange);
}

void quickSortNumeric(TextTable &table, int first, int last, int column, bool descending)
{
    if (!clampRange(table, first, last, column))
        return;
    quickSortBy(
        table, first, last, column, descending, sortNumber,
        [](long double a, long double b) { return a < b; }, [](int, int) { return false; });
}

void sortRowsText(TextTable &grid, int first, int last, int column, bool descending)
{
    sortRows(grid, first, last, column, descending, quickSortText);
}

void sortRowsNumeric(TextTable &grid, int first, int last, int column, bool descending)
{
    sortRows(grid, first, last, column, descending, quickSortNumeric);
}

QString removeThousandSeparators(const QString &text)
{
    QString result = text;
    result.remove(QLocale().groupSeparator());
    return result;
}

double cellNumber(const QString &text)
{
    return textToFloat(removeThousandSeparators(text));
}
