// The grid sorts. The input chooses a locale, a sort, a range (which may reach outside the
// table), a column and the order, then gives the table: rows apart by line breaks, cells by tabs.
// - rows outside the range never move, and the range holds the same rows as before;
// - the range is in order: by text with a to z compared without regard to case, or by number.

#include "fuzz/FuzzInput.h"
#include "helpers/GridSort.h"

#include <algorithm>

using korvel::fuzz::FuzzInput;

namespace {

QString upperAscii(QString text)
{
    for (QChar &c : text)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 32);
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input(data, size);
    QLocale::setDefault(korvel::fuzz::pickLocale(input.byte()));
    const int sort = input.choice(5);
    const int first = input.choice(40) - 4;
    const int last = first + input.choice(200) - 4;
    const int column = input.choice(6) - 1;
    const bool descending = input.byte() % 2;

    const QList<QByteArray> lines = input.rest().split('\n');
    int columns = 1;
    QList<QStringList> rows;
    for (const QByteArray &line : lines) {
        rows.append(QString::fromUtf8(line).split(u'\t'));
        columns = std::max(columns, int(rows.back().size()));
    }
    StringTable table(columns, int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        table.setRowCells(r, rows[r]);
    const StringTable before = table;

    // The exchange sort is quadratic: only the short ranges it is meant for go to it directly.
    switch (sort) {
    case 0:
        sortRowsText(table, first, last, column, descending);
        break;
    case 1:
        sortRowsNumeric(table, first, last, column, descending);
        break;
    case 2:
        quickSortText(table, first, last, column, descending);
        break;
    case 3:
        quickSortNumeric(table, first, last, column, descending);
        break;
    case 4:
        bubbleSortText(table, first, std::min(last, first + 40), column, descending);
        break;
    }
    const int from = std::max(first, 0);
    const int to = std::min(sort == 4 ? std::min(last, first + 40) : last, table.rowCount() - 1);
    FUZZ_CHECK(table.rowCount() == before.rowCount());
    QList<QStringList> sortedBefore, sortedAfter;
    for (int r = 0; r < table.rowCount(); ++r) {
        if (r < from || r > to) {
            FUZZ_CHECK(table.rowCells(r) == before.rowCells(r));
        } else {
            sortedBefore.append(before.rowCells(r));
            sortedAfter.append(table.rowCells(r));
        }
    }
    std::sort(sortedBefore.begin(), sortedBefore.end());
    std::sort(sortedAfter.begin(), sortedAfter.end());
    FUZZ_CHECK(sortedBefore == sortedAfter);
    if (column < 0 || column >= table.columnCount())
        return 0;
    for (int r = from; r < to; ++r) {
        const QString a = table.cell(column, r), b = table.cell(column, r + 1);
        const bool numeric = sort == 1 || sort == 3;
        const bool inOrder =
            numeric
                ? (descending ? cellNumber(a) >= cellNumber(b) : cellNumber(a) <= cellNumber(b))
                : (descending ? upperAscii(a) >= upperAscii(b) : upperAscii(a) <= upperAscii(b));
        FUZZ_CHECK(inOrder);
    }
    return 0;
}
