#include "controls/StringGrid.h"
#include "platform/PrintArea.h"

#include <QFontMetrics>
#include <QLocale>
#include <QPainter>
#include <QPrinter>
#include <cmath>

namespace {

// Room between a cell's edge and its text on paper, in screen pixels.
constexpr int printInset = 2;

// One print of a grid: the page geometry in printer pixels and the pages drawn so far. Widths
// and heights of the grid are screen pixels; one screen pixel is a ninety-sixth of an inch, so the
// table comes out on paper as large as it looks on a common screen.
class GridPrinter
{
public:
    GridPrinter(const TStringGrid &grid, QPrinter &printer)
        : grid(grid), settings(grid.PrintSettings), printer(printer),
          when(settings.printedAt.isValid() ? settings.printedAt : QDateTime::currentDateTime())
    {
        printer.setPageOrientation(settings.orientation);
    }

    void run()
    {
        QPainter painter;
        if (!painter.begin(&printer))
            return;
        measure(painter);
        painter.translate(page.topLeft());
        const QList<int> starts = pageStarts();
        const bool closing = !settings.closingLine.isEmpty();
        // The closing line goes below the last row, or on a page of its own when that one is
        // full.
        const bool closingAlone = closing && rowsEnd(starts) + lineHeight * 3 / 2 > tableBottom;
        const int count = int(starts.size()) + (closingAlone ? 1 : 0);
        int y = tableTop;
        for (int number = 1; number <= starts.size(); ++number) {
            if (number > 1)
                printer.newPage();
            drawFurniture(painter, number, count);
            const int end = number < starts.size() ? starts[number] : grid.rowCount();
            y = drawRows(painter, starts[number - 1], end, number > 1);
        }
        if (closingAlone) {
            printer.newPage();
            drawFurniture(painter, count, count);
            y = tableTop;
        }
        if (closing)
            painter.drawText(
                QRect(tableLeft, y + lineHeight / 2, page.width() - tableLeft, lineHeight),
                Qt::AlignLeft | Qt::AlignVCenter, settings.closingLine);
        painter.end();
    }

private:
    bool headingRepeats() const { return settings.repeatHeading && grid.fixedRows() > 0; }

    // The first row of every page: each page takes as many rows as fit below its heading, and one
    // at least.
    QList<int> pageStarts() const
    {
        QList<int> starts;
        int row = 0;
        do {
            starts.append(row);
            int y = tableTop + (starts.size() > 1 && headingRepeats() ? rowHeight : 0);
            do {
                ++row;
                y += rowHeight;
            } while (row < grid.rowCount() && y + rowHeight <= tableBottom);
        } while (row < grid.rowCount());
        return starts;
    }

    // Below the last row of the last page.
    int rowsEnd(const QList<int> &starts) const
    {
        const int heading = starts.size() > 1 && headingRepeats() ? rowHeight : 0;
        return tableTop + heading + (grid.rowCount() - starts.last()) * rowHeight;
    }

    void measure(QPainter &painter)
    {
        unit = printer.resolution() / 96.0;
        painter.setFont(settings.font);
        const QFontMetrics metrics(settings.font, &printer);
        lineHeight = metrics.height();
        rowHeight = std::max(int(std::lround(grid.defaultRowHeight() * unit)), lineHeight);
        page = printArea(printer);
        tableTop = lineHeight * 2;
        tableBottom = page.height() - lineHeight * 2;

        for (int c = 0; c < grid.columnCount(); ++c)
            columnWidths.append(int(std::lround(grid.colWidth(c) * unit)));
        int tableWidth = 0;
        for (int w : columnWidths)
            tableWidth += w;
        const int left = int(std::lround(settings.leftMargin * unit));
        const int room = page.width() - left - int(std::lround(settings.rightMargin * unit));
        tableLeft = left + (settings.centred && tableWidth < room ? (room - tableWidth) / 2 : 0);
    }

    // Title, date and time at the top, the page number at the bottom; painted from the top left of
    // the print area.
    void drawFurniture(QPainter &painter, int number, int count) const
    {
        const QLocale locale;
        const QRect top(0, 0, page.width(), lineHeight);
        painter.setPen(Qt::black);
        painter.drawText(top, Qt::AlignHCenter | Qt::AlignVCenter, settings.title);
        if (settings.showDate)
            painter.drawText(top, Qt::AlignLeft | Qt::AlignVCenter,
                             locale.toString(when.date(), QLocale::ShortFormat));
        if (settings.showTime)
            painter.drawText(top, Qt::AlignRight | Qt::AlignVCenter,
                             locale.toString(when.time(), QLocale::ShortFormat));
        if (!settings.pagePrefix.isEmpty())
            painter.drawText(QRect(0, page.height() - lineHeight, page.width(), lineHeight),
                             Qt::AlignLeft | Qt::AlignVCenter, pageNumberText(number, count));
    }

    QString pageNumberText(int number, int count) const
    {
        const QString text = settings.pagePrefix + ' ' + QString::number(number);
        return settings.countPages ? text + QStringLiteral(" of ") + QString::number(count) : text;
    }

    // Draws the rows from first up to end, below the heading row when it is repeated; answers
    // where the last one ends.
    int drawRows(QPainter &painter, int first, int end, bool repeatHeading) const
    {
        int y = tableTop;
        if (repeatHeading && headingRepeats()) {
            drawRow(painter, 0, y);
            y += rowHeight;
        }
        for (int row = first; row < end; ++row, y += rowHeight)
            drawRow(painter, row, y);
        return y;
    }

    void drawRow(QPainter &painter, int row, int y) const
    {
        const int inset = int(std::lround(printInset * unit));
        int x = tableLeft;
        for (int c = 0; c < grid.columnCount(); ++c) {
            const QRect cell(x, y, columnWidths[c], rowHeight);
            painter.save();
            painter.setClipRect(cell);
            grid.drawCellText(painter, cell.adjusted(inset, 0, -inset, 0),
                              grid.cellAlignment(c, row), grid.cell(c, row));
            painter.restore();
            x += columnWidths[c];
        }
    }

    const TStringGrid &grid;
    const GridPrintSettings &settings;
    QPrinter &printer;
    const QDateTime when; // one moment on every page, even when the clock turns during the print
    double unit = 1;
    int lineHeight = 0;
    int rowHeight = 0;
    QRect page; // the print area, in printer pixels
    int tableTop = 0;
    int tableBottom = 0;
    int tableLeft = 0;
    QList<int> columnWidths;
};

} // namespace

void TStringGrid::print(QPrinter &printer) const
{
    GridPrinter(*this, printer).run();
}
