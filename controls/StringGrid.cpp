#include "controls/StringGrid.h"

#include "controls/KeyboardMenu.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>
#include <cmath>
#include <utility>

int GridCells::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows.size());
}

int GridCells::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columns;
}

QVariant GridCells::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return QVariant();
    return text(index.column(), index.row());
}

QString GridCells::text(int column, int row) const
{
    if (row < 0 || row >= rows.size() || column < 0 || column >= columns)
        return QString();
    if (inBand(row))
        return source(column, row - bandFirst);
    return rows[row].value(column);
}

QStringList GridCells::row(int row) const
{
    if (row < 0 || row >= rows.size())
        return QStringList();
    QStringList texts;
    for (int column = 0; column < columns; ++column)
        texts << text(column, row);
    return texts;
}

void GridCells::setText(int column, int row, const QString &value)
{
    if (row < 0 || row >= rows.size() || column < 0 || column >= columns)
        return;
    if (inBand(row))
        endBand();
    rows[row].resize(columns);
    rows[row][column] = value;
    const QModelIndex at = index(row, column);
    emit dataChanged(at, at, {Qt::DisplayRole});
}

void GridCells::setRow(int row, const QStringList &cells)
{
    if (row < 0 || row >= rows.size())
        return;
    if (inBand(row))
        endBand();
    QStringList copy = cells;
    copy.resize(columns);
    rows[row] = copy;
    emit dataChanged(index(row, 0), index(row, columns - 1), {Qt::DisplayRole});
}

void GridCells::setRowSource(int first, int count, RowSource texts)
{
    // The band before is replaced, not kept: its rows are the new band's or blank.
    for (int row = bandFirst; source && row < bandFirst + bandCount; ++row)
        rows[row] = QStringList();
    first = std::clamp(first, 0, int(rows.size()));
    count = std::clamp(count, 0, int(rows.size()) - first);
    for (int row = first; row < first + count; ++row)
        rows[row] = QStringList();
    source = std::move(texts);
    bandFirst = first;
    bandCount = count;
    if (count > 0)
        emit dataChanged(index(first, 0), index(first + count - 1, columns - 1), {Qt::DisplayRole});
}

// The band's texts become kept ones, so that every other row of it reads as before.
void GridCells::endBand()
{
    if (!source)
        return;
    const RowSource texts = std::exchange(source, nullptr);
    for (int i = 0; i < bandCount; ++i) {
        QStringList &row = rows[bandFirst + i];
        row.resize(columns);
        for (int column = 0; column < columns; ++column)
            row[column] = texts(column, i);
    }
}

void GridCells::blankRows(int first)
{
    source = nullptr;
    first = std::max(first, 0);
    for (int row = first; row < rows.size(); ++row)
        rows[row] = QStringList();
    if (first < rows.size())
        emit dataChanged(index(first, 0), index(int(rows.size()) - 1, columns - 1),
                         {Qt::DisplayRole});
}

void GridCells::resize(int columnCount, int rowCount)
{
    columnCount = std::max(columnCount, 0);
    rowCount = std::max(rowCount, 0);
    // A reset is the cheapest way to tell the view of both changes at once; the texts of the
    // rows and columns that remain stay, and so do the widths the header keeps for them.
    beginResetModel();
    if (source && (bandFirst + bandCount > rowCount || columnCount != columns))
        endBand();
    columns = columnCount;
    rows.resize(rowCount);
    for (QStringList &row : rows)
        if (!row.isEmpty())
            row.resize(columns);
    endResetModel();
}

GridBody::GridBody(GridCells &cells, QObject *parent) : QAbstractTableModel(parent), cells(cells)
{
    connect(&cells, &QAbstractItemModel::modelAboutToBeReset, this, &GridBody::beginResetModel);
    connect(&cells, &QAbstractItemModel::modelReset, this, &GridBody::endResetModel);
    connect(&cells, &QAbstractItemModel::dataChanged, this, &GridBody::cellsChanged);
}

int GridBody::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : std::max(cells.rowCount() - heading, 0);
}

int GridBody::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : cells.columnCount();
}

QVariant GridBody::data(const QModelIndex &index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return QVariant();
    return cells.text(index.column(), cellRow(index.row()));
}

QVariant GridBody::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QVariant();
    if (orientation == Qt::Vertical || heading == 0)
        return QString();
    return cells.text(section, 0);
}

void GridBody::setHeadingRows(int rows)
{
    if (rows == heading)
        return;
    beginResetModel();
    heading = rows;
    endResetModel();
}

void GridBody::cellsChanged(const QModelIndex &from, const QModelIndex &to)
{
    if (from.row() < heading)
        emit headerDataChanged(Qt::Horizontal, from.column(), to.column());
    const int first = std::max(bodyRow(from.row()), 0);
    const int last = bodyRow(to.row());
    if (last >= first)
        emit dataChanged(index(first, from.column()), index(last, to.column()), {Qt::DisplayRole});
}

// The strip that shows a fixed row (the heading or the footer) above or below the scrolling
// rows, in step with the horizontal scrolling of the grid.
class GridFixedStrip : public QWidget
{
public:
    GridFixedStrip(TStringGrid *grid, bool top) : QWidget(grid), grid(grid), top(top) {}

    int row() const
    {
        if (top)
            return grid->fixedRows() > 0 ? 0 : -1;
        const int last = grid->rowCount() - 1;
        return grid->fixedFooters() > 0 && last >= grid->fixedRows() ? last : -1;
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        const int r = row();
        if (r < 0)
            return;
        QPainter painter(this);
        for (int c = 0; c < grid->columnCount(); ++c) {
            const QRect rect(grid->columnViewportPosition(c), 0, grid->columnWidth(c), height());
            if (rect.right() >= 0 && rect.left() < width())
                grid->paintCell(painter, c, r, rect, GridCellState{true, false});
        }
    }

private:
    TStringGrid *grid;
    bool top;
};

namespace {

// Paints every scrolling cell through the grid, so that fixed and scrolling cells look alike.
class GridCellPainter : public QStyledItemDelegate
{
public:
    explicit GridCellPainter(TStringGrid *grid) : QStyledItemDelegate(grid), grid(grid) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        grid->paintCell(*painter, index.column(), grid->fixedRows() + index.row(), option.rect,
                        GridCellState{false, selected});
    }

private:
    TStringGrid *grid;
};

// Room between a cell's edge and its text.
constexpr int textInset = 2;

} // namespace

TStringGrid::TStringGrid(QWidget *parent)
    : QTableView(parent), fixedColour(palette().color(QPalette::Button)),
      heading(new GridFixedStrip(this, true)), footer(new GridFixedStrip(this, false))
{
    setModel(&body);
    setItemDelegate(new GridCellPainter(this));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(rowPixels);
    horizontalHeader()->setMinimumSectionSize(1);
    setShowGrid(false); // the cells draw their own lines, so that a grid can have rows only
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setTabKeyNavigation(false);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &TStringGrid::updateStrips);
    connect(&cells, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &from, const QModelIndex &to) {
                for (int r = from.row(); r <= to.row(); ++r)
                    repaintFixedRow(r);
            });
}

void TStringGrid::setCell(int column, int row, const QString &text)
{
    cells.setText(column, row, text);
}

void TStringGrid::setRowCells(int row, const QStringList &texts)
{
    cells.setRow(row, texts);
}

void TStringGrid::setRowSource(int first, int count, GridCells::RowSource source)
{
    cells.setRowSource(first, count, std::move(source));
}

void TStringGrid::setRowCount(int rows)
{
    const int old = rowCount();
    if (rows == old)
        return;
    cells.resize(columnCount(), rows);
    rowsChanged(old);
}

void TStringGrid::setColumnCount(int columns)
{
    cells.resize(columns, rowCount());
    rowsChanged(rowCount());
}

void TStringGrid::setFixedRows(int rows)
{
    body.setHeadingRows(std::clamp(rows, 0, 1));
    rowsChanged(rowCount());
}

void TStringGrid::setFixedFooters(int rows)
{
    footerRows = std::clamp(rows, 0, 1);
    rowsChanged(rowCount());
}

// The fixed rows live in the strips; the view itself shows only the rows between them. The
// heading is no row of the view at all; the footer is its last row, hidden.
void TStringGrid::rowsChanged(int oldCount)
{
    const int last = body.bodyRow(rowCount() - 1);
    const int oldLast = body.bodyRow(oldCount - 1);
    if (oldLast >= 0 && oldLast <= last)
        setRowHidden(oldLast, false);
    if (last >= 0)
        setRowHidden(last, footerRows > 0);
    placeStrips();
    updateStrips();
}

bool TStringGrid::isRowHidden(int row) const
{
    if (row < fixedRows())
        return row >= 0;
    return QTableView::isRowHidden(body.bodyRow(row));
}

void TStringGrid::setDefaultRowHeight(int pixels)
{
    rowPixels = std::max(pixels, 1);
    verticalHeader()->setDefaultSectionSize(rowPixels);
    placeStrips();
}

void TStringGrid::setColWidth(int column, int pixels)
{
    setColumnWidth(column, pixels);
}

void TStringGrid::setColor(const QColor &colour)
{
    cellColour = colour;
    QPalette look = palette();
    look.setColor(QPalette::Base, colour);
    look.setColor(QPalette::Window, colour);
    setPalette(look);
    viewport()->update();
}

void TStringGrid::setFixedColor(const QColor &colour)
{
    fixedColour = colour;
    updateStrips();
    viewport()->update();
}

void TStringGrid::setGridLines(GridLines value)
{
    lines = value;
    viewport()->update();
}

void TStringGrid::setBorderVisible(bool visible)
{
    setFrameShape(visible ? QFrame::StyledPanel : QFrame::NoFrame);
}

int TStringGrid::selectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : body.cellRow(rows.first().row());
}

void TStringGrid::selectRow(int row)
{
    const bool dataRow = row >= fixedRows() && row < rowCount() - footerRows;
    if (!dataRow) {
        clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        return;
    }
    QTableView::selectRow(body.bodyRow(row));
}

void TStringGrid::setOnGetAlignment(AlignmentHandler handler)
{
    onGetAlignment = std::move(handler);
    viewport()->update();
}

void TStringGrid::setOnDrawCell(DrawCellHandler handler)
{
    onDrawCell = std::move(handler);
    viewport()->update();
}

Qt::Alignment TStringGrid::cellAlignment(int column, int row) const
{
    const Qt::Alignment horizontal =
        onGetAlignment ? onGetAlignment(column, row) & Qt::AlignHorizontal_Mask : Qt::AlignLeft;
    return horizontal | Qt::AlignVCenter;
}

void TStringGrid::paintCell(QPainter &painter, int column, int row, const QRect &rect,
                            GridCellState state) const
{
    painter.save();
    painter.setClipRect(rect);
    QColor background = state.fixed ? fixedColour : cellColour;
    QColor ink = Qt::black;
    if (state.selected) {
        background = palette().color(QPalette::Active, QPalette::Highlight);
        ink = palette().color(QPalette::Active, QPalette::HighlightedText);
    }
    painter.fillRect(rect, background);
    painter.setPen(ink);
    painter.setFont(font());
    if (onDrawCell)
        onDrawCell(*this, painter, column, row, rect, state);
    else
        drawCellText(painter, rect.adjusted(textInset, 0, -textInset, 0),
                     cellAlignment(column, row), cell(column, row));
    if (lines != GridLines::None) {
        // As thick as a whole number of the screen's pixels, the same for every line: a line
        // one logical pixel thick would cover one or two pixels by where it falls at 1.5.
        const QTransform &toDevice = painter.deviceTransform();
        auto thickness = [](double scale) { return std::max(1.0, std::floor(scale)) / scale; };
        const double across = thickness(std::abs(toDevice.m22()));
        const QRectF cell(rect);
        const QColor colour = palette().color(QPalette::Mid);
        painter.fillRect(QRectF(cell.left(), cell.bottom() - across, cell.width(), across), colour);
        if (lines == GridLines::Both) {
            const double down = thickness(std::abs(toDevice.m11()));
            painter.fillRect(QRectF(cell.right() - down, cell.top(), down, cell.height()), colour);
        }
    }
    painter.restore();
}

void TStringGrid::drawCellText(QPainter &painter, const QRect &rect, Qt::Alignment alignment,
                               const QString &text) const
{
    if (text.isEmpty())
        return;
    // A paragraph of the grid's direction whatever the text begins with, held in an isolate of
    // that direction: a right-to-left run inside moves only itself.
    const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
    painter.setLayoutDirection(layoutDirection());
    painter.drawText(rect, alignment, QChar(rightToLeft ? 0x2067 : 0x2066) + text + QChar(0x2069));
}

QRect TStringGrid::cellRect(int column, int row) const
{
    const GridFixedStrip *strip = row == heading->row()  ? heading
                                  : row == footer->row() ? footer
                                                         : nullptr;
    if (strip)
        return QRect(strip->pos() + QPoint(columnViewportPosition(column), 0),
                     QSize(columnWidth(column), strip->height()));
    const QRect inView = visualRect(body.index(body.bodyRow(row), column));
    return inView.isValid() ? inView.translated(viewport()->pos()) : QRect();
}

void TStringGrid::contextMenuEvent(QContextMenuEvent *event)
{
    if (PopupMenu)
        PopupMenu->popup(event->globalPos());
}

void TStringGrid::keyPressEvent(QKeyEvent *event)
{
    if (!openContextMenuByKeys(*this, *event))
        QTableView::keyPressEvent(event);
}

// A listing is read row by row: Home and End go to its first and last row (the footer, which its
// strip shows, is not one of them), whatever the modifiers.
QModelIndex TStringGrid::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers)
{
    if (cursorAction != MoveHome && cursorAction != MoveEnd)
        return QTableView::moveCursor(cursorAction, modifiers);
    const int rows = body.rowCount();
    const int step = cursorAction == MoveHome ? 1 : -1;
    const int column = std::max(currentIndex().column(), 0);
    for (int row = cursorAction == MoveHome ? 0 : rows - 1; row >= 0 && row < rows; row += step)
        if (!QTableView::isRowHidden(row))
            return body.index(row, column);
    return currentIndex();
}

QItemSelectionModel::SelectionFlags TStringGrid::selectionCommand(const QModelIndex &index,
                                                                  const QEvent *event) const
{
    if (onSelectCell && index.isValid() && !onSelectCell(index.column(), body.cellRow(index.row())))
        return QItemSelectionModel::NoUpdate;
    return QTableView::selectionCommand(index, event);
}

void TStringGrid::updateGeometries()
{
    QTableView::updateGeometries();
    placeStrips();
}

void TStringGrid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    if (dx != 0)
        updateStrips();
}

// The strips take the room of the fixed rows at the top and bottom of the viewport.
void TStringGrid::placeStrips()
{
    const int top = heading->row() >= 0 ? rowPixels : 0;
    const int bottom = footer->row() >= 0 ? rowPixels : 0;
    setViewportMargins(0, top, 0, bottom);
    const QRect rows = viewport()->geometry();
    heading->setGeometry(rows.left(), rows.top() - top, rows.width(), top);
    footer->setGeometry(rows.left(), rows.bottom() + 1, rows.width(), bottom);
    heading->setVisible(top > 0);
    footer->setVisible(bottom > 0);
}

void TStringGrid::updateStrips()
{
    heading->update();
    footer->update();
}

// The view repaints the rows it shows itself; the fixed rows live in the strips.
void TStringGrid::repaintFixedRow(int row)
{
    if (row == heading->row())
        heading->update();
    else if (row == footer->row())
        footer->update();
}
