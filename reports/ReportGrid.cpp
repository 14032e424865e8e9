#include "reports/ReportGrid.h"

#include "controls/DialogLook.h"
#include "reports/ReportPage.h"

#include <QPainter>

namespace {

constexpr int textLeft = 3;  // from the left edge to the text of column 0
constexpr int textRight = 3; // from the end of other texts to the right edge
constexpr int textTop = 2;   // from the top edge to the text
constexpr int listingRowHeight = 19;
constexpr int listingTop = 40;

} // namespace

void gridSizesDrawCell(const TStringGrid &grid, QPainter &painter, int column, int row,
                       const QRect &rect, GridCellState)
{
    const QRect text = rect.adjusted(textLeft, textTop, -textRight, 0);
    const Qt::Alignment alignment = column == 0 ? Qt::AlignLeft : Qt::AlignRight;
    painter.save();
    painter.setClipRect(rect);
    painter.setPen(Qt::black);
    painter.drawText(text, alignment | Qt::AlignTop, grid.cell(column, row));
    painter.restore();
}

bool gridSizesSelectCell(int, int)
{
    return false;
}

void changeGridColour(TStringGrid &grid, const QColor &colour)
{
    if (grid.objectName() == QLatin1String("gridTypes"))
        return;
    grid.setColor(colour);
    grid.setFixedColor(colour);
}

void setUpListingGrid(TStringGrid &grid, const QList<int> &columnWidths, int rows)
{
    grid.setColumnCount(int(columnWidths.size()));
    grid.setFixedRows(1);
    grid.setRowCount(rows);
    for (int c = 0; c < columnWidths.size(); ++c)
        grid.setColWidth(c, columnWidths[c]);
    grid.setDefaultRowHeight(listingRowHeight);
    grid.setBorderVisible(false);
    grid.setColor(buttonFace());
    grid.setFixedColor(buttonFace());
    grid.setGridLines(GridLines::Horizontal);
    grid.setOnDrawCell(gridSizesDrawCell);
    grid.setOnSelectCell(gridSizesSelectCell);
    grid.setEnabled(false);
    grid.hide();
}

TStringGrid *makeListingGrid(QWidget *page, const QString &name, const QList<int> &columnWidths,
                             int rows)
{
    auto *grid = new TStringGrid(page);
    grid->setObjectName(name);
    setUpListingGrid(*grid, columnWidths, rows);
    int width = 0;
    for (int columnWidth : columnWidths)
        width += columnWidth;
    grid->setGeometry((pageSize.width() - width) / 2, listingTop, width, rows * listingRowHeight);
    return grid;
}

void unselectListing(TStringGrid &grid)
{
    // Selecting a row that is not one of the listing's data rows clears the selection.
    grid.selectRow(-1);
}
