#include "controls/StringGrid.h"

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
        int row = 0;
        int page = 1;
        do {
            if (page > 1)
                printer.newPage();
            drawFurniture(painter, page);
            row = drawRows(painter, row, page);
            ++page;
        } while (row < grid.rowCount());
        drawClosingLine(painter, page);
        painter.end();
    }

private:
    void measure(QPainter &painter)
    {
        unit = printer.resolution() / 96.0;
        painter.setFont(settings.font);
        const QFontMetrics metrics(settings.font, &printer);
        lineHeight = metrics.height();
        rowHeight = std::max(int(std::lround(grid.defaultRowHeight() * unit)), lineHeight);
        page = printer.pageLayout().paintRectPixels(printer.resolution());
        page.moveTo(0, 0);
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

    // Title, date and time at the top, the page number at the bottom.
    void drawFurniture(QPainter &painter, int number) const
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
                             Qt::AlignLeft | Qt::AlignVCenter,
                             settings.pagePrefix + ' ' + QString::number(number));
    }

    // Draws rows from first on as far as the page holds them (one at least); returns the row
    // that comes next.
    int drawRows(QPainter &painter, int first, int number) const
    {
        int y = tableTop;
        if (number > 1 && settings.repeatHeading && grid.fixedRows() > 0) {
            drawRow(painter, 0, y);
            y += rowHeight;
        }
        int row = first;
        do {
            if (row >= grid.rowCount())
                break;
            drawRow(painter, row++, y);
            y += rowHeight;
        } while (y + rowHeight <= tableBottom);
        rowsEnd = y;
        return row;
    }

    // Below the table on its last page, or on a page of its own when the table filled that one.
    void drawClosingLine(QPainter &painter, int number)
    {
        if (settings.closingLine.isEmpty())
            return;
        if (rowsEnd + lineHeight * 3 / 2 > tableBottom) {
            printer.newPage();
            drawFurniture(painter, number);
            rowsEnd = tableTop;
        }
        painter.drawText(
            QRect(tableLeft, rowsEnd + lineHeight / 2, page.width() - tableLeft, lineHeight),
            Qt::AlignLeft | Qt::AlignVCenter, settings.closingLine);
    }

    void drawRow(QPainter &painter, int row, int y) const
    {
        const int inset = int(std::lround(printInset * unit));
        int x = tableLeft;
        for (int c = 0; c < grid.columnCount(); ++c) {
            const QRect cell(x, y, columnWidths[c], rowHeight);
            painter.save();
            painter.setClipRect(cell);
            painter.drawText(cell.adjusted(inset, 0, -inset, 0), grid.cellAlignment(c, row),
                             grid.cell(c, row));
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
    QRect page;
    int tableTop = 0;
    int tableBottom = 0;
    int tableLeft = 0;
    mutable int rowsEnd = 0; // below the last row drawn
    QList<int> columnWidths;
};

} // namespace

void TStringGrid::print(QPrinter &printer) const
{
    GridPrinter(*this, printer).run();
}
