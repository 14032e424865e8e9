#pragma once

#include "controls/StringGrid.h"

#include <QList>

// The look of the Sizes listing and the four date listings: plain rows on the button-face colour
// that show figures and never a selection.

// Draws a cell's own text 2 pixels below its top, column 0 from 3 pixels inside the left edge,
// every other column ending 3 pixels inside the right edge.
void gridSizesDrawCell(const TStringGrid &grid, QPainter &painter, int column, int row,
                       const QRect &rect, GridCellState state);
// Refuses every cell, so no row of these listings ever shows as selected.
bool gridSizesSelectCell(int column, int row);

// The window print's change of colour for any grid of the window: cells and heading take it. The
// Types listing keeps its white cells and grey heading, its look on screen and on paper alike.
void changeGridColour(TStringGrid &grid, const QColor &colour);

// Makes a grid one of these listings: the column widths given, one heading row among rows rows,
// row height 19, no border, button-face background, horizontal lines only, whole rows, disabled,
// hidden, drawn and refused by the two handlers above.
void setUpListingGrid(TStringGrid &grid, const QList<int> &columnWidths, int rows);
// A grid set up as above, named, centred across the page 40 pixels below its top, each row in
// full.
TStringGrid *makeListingGrid(QWidget *page, const QString &name, const QList<int> &columnWidths,
                             int rows);
// Leaves no row of a listing marked as selected.
void unselectListing(TStringGrid &grid);
