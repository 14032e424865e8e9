#include "model/ReportText.h"

#include <algorithm>

namespace {

constexpr int columnGap = 2;

bool isWide(char32_t code)
{
    // The blocks a terminal draws in two columns: Hangul Jamo, the CJK blocks, Hangul syllables,
    // compatibility ideographs, vertical and full-width forms, pictographs, and the ideograph
    // planes.
    return (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0x303E) ||
           (code >= 0x3041 && code <= 0xA4CF) || (code >= 0xAC00 && code <= 0xD7A3) ||
           (code >= 0xF900 && code <= 0xFAFF) || (code >= 0xFE30 && code <= 0xFE4F) ||
           (code >= 0xFF00 && code <= 0xFF60) || (code >= 0xFFE0 && code <= 0xFFE6) ||
           (code >= 0x1F300 && code <= 0x1F64F) || (code >= 0x1F900 && code <= 0x1F9FF) ||
           (code >= 0x20000 && code <= 0x3FFFD);
}

bool isRightAligned(const ReportCell &cell)
{
    return cell.kind != ReportCell::Kind::Text;
}

QString padded(const QString &text, int width, bool right)
{
    const QString blanks(std::max(0, width - terminalWidth(text)), QLatin1Char(' '));
    return right ? blanks + text : text + blanks;
}

// One line of cells, the last one not padded on the right.
QString line(const QStringList &cells, const std::vector<bool> &right,
             const std::vector<int> &widths)
{
    QString text;
    for (std::size_t column = 0; column < widths.size(); ++column) {
        if (column > 0)
            text += QString(columnGap, QLatin1Char(' '));
        const QString cell =
            column < std::size_t(cells.size()) ? cells[qsizetype(column)] : QString();
        text += padded(cell, widths[column], right[column]);
    }
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text + QLatin1Char('\n');
}

} // namespace

int terminalWidth(const QString &text)
{
    int width = 0;
    for (const char32_t code : text.toUcs4()) {
        const QChar::Category category = QChar::category(code);
        if (category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing)
            continue;
        width += isWide(code) ? 2 : 1;
    }
    return width;
}

QString reportText(const ReportTable &table)
{
    const std::size_t columns = std::size_t(table.headings.size());
    std::vector<int> widths(columns, 0);
    std::vector<bool> right(columns, false);
    std::vector<QStringList> shown;
    for (std::size_t column = 0; column < columns; ++column)
        widths[column] = terminalWidth(table.headings[qsizetype(column)]);
    for (const std::vector<ReportCell> &row : table.rows) {
        QStringList cells;
        for (std::size_t column = 0; column < std::min(columns, row.size()); ++column) {
            cells << row[column].shown();
            widths[column] = std::max(widths[column], terminalWidth(cells.back()));
            if (isRightAligned(row[column]))
                right[column] = true;
        }
        shown.push_back(cells);
    }

    int ruleWidth = 0;
    for (const int width : widths)
        ruleWidth += width;
    ruleWidth += columnGap * std::max(0, int(columns) - 1);
    const QString rule = QString(ruleWidth, QLatin1Char('-')) + QLatin1Char('\n');

    QString text = table.title + QLatin1Char('\n') + QLatin1Char('\n');
    text += line(table.headings, right, widths) + rule;
    const std::size_t firstFooter =
        table.rows.size() -
        std::min<std::size_t>(table.rows.size(), std::size_t(std::max(0, table.footerRows)));
    for (std::size_t row = 0; row < shown.size(); ++row) {
        if (row == firstFooter && row > 0)
            text += rule;
        text += line(shown[row], right, widths);
    }
    if (!table.notes.isEmpty())
        text += QLatin1Char('\n') + table.notes.join(QLatin1Char('\n')) + QLatin1Char('\n');
    return text;
}
