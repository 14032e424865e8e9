#pragma once

#include "helpers/GridSort.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QPageLayout>
#include <QTableView>
#include <functional>

class QMenu;
class QPrinter;
class GridFixedStrip;

// The cells of a string grid: every row, the fixed ones included, as plain texts.
class GridCells : public QAbstractTableModel
{
public:
    explicit GridCells(QObject *parent = nullptr) : QAbstractTableModel(parent) {}

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    QString text(int column, int row) const;
    void setText(int column, int row, const QString &value);
    QStringList row(int row) const;
    void setRow(int row, const QStringList &cells);
    void resize(int columns, int rowCount);

    // Rows whose texts are worked out when they are asked for instead of kept: a listing of a
    // million rows then holds no text per cell. The source answers the text of a column for the
    // index-th row of the band of count rows from first. Setting a row of the band keeps the
    // band's texts from then on; blanking the rows ends the band; a new source replaces it, and
    // the rows of the old band outside the new one read blank.
    using RowSource = std::function<QString(int column, int index)>;
    void setRowSource(int first, int count, RowSource source);
    // Every row from first on blank, the band ended.
    void blankRows(int first);

private:
    bool inBand(int row) const { return source && row >= bandFirst && row < bandFirst + bandCount; }
    void endBand();

    int columns = 0;
    // A row never set is an empty list: its cells read blank.
    QList<QStringList> rows;
    RowSource source;
    int bandFirst = 0, bandCount = 0;
};

// The rows the table view shows and a screen reader reads: every row but the fixed heading, whose
// texts are the column headers instead. The fixed footer is among them (the view hides it, since
// its strip shows it), so the totals are read as the last row.
class GridBody : public QAbstractTableModel
{
public:
    explicit GridBody(GridCells &cells, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    int headingRows() const { return heading; }
    void setHeadingRows(int rows);
    // A row of the cells as a row of the body, and back.
    int bodyRow(int cellRow) const { return cellRow - heading; }
    int cellRow(int bodyRow) const { return bodyRow + heading; }

private:
    void cellsChanged(const QModelIndex &from, const QModelIndex &to);

    GridCells &cells;
    int heading = 0;
};

// What the grid tells a draw-cell handler about the cell it paints.
struct GridCellState
{
    bool fixed = false;
    bool selected = false;
};

// How the grid prints itself: the page furniture around the table and the table's font. The
// table keeps its screen proportions on paper and is never shrunk to fit the page.
struct GridPrintSettings
{
    QString title;        // top centre
    bool showDate = true; // top left
    bool showTime = true; // top right
    QString pagePrefix;   // bottom left, before the page number; empty prints no number
    int leftMargin = 0;   // in screen pixels, beside the table
    int rightMargin = 0;
    bool centred = false;      // the table in the middle between the margins
    bool repeatHeading = true; // the fixed heading row on every page, or on the first only
    bool countPages = true;    // "Page 2 of 5" rather than "Page 2"
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QFont font = QFont("MS Sans Serif", 8);
    QDateTime printedAt; // the date and time printed; the moment of printing when not set
    QString closingLine; // a line below the last row; none when empty
};

enum class GridLines
{
    None,
    Horizontal,
    Both
};

// The report grids: a table view of text cells with an optional fixed heading row at the top and
// an optional fixed footer row at the bottom that stay in place while the rows between them
// scroll. It is also a TextTable. Rows are selected whole
// and never edited. Owners can align, draw and refuse cells through handlers, give the grid a
// right-click menu, and print it across as many pages as its rows need.
class TStringGrid : public QTableView, public TextTable
{
    Q_OBJECT

public:
    explicit TStringGrid(QWidget *parent = nullptr);

    // TextTable: every row, fixed ones included; row 0 is the heading when there is one.
    int rowCount() const override { return cells.rowCount(); }
    int columnCount() const override { return cells.columnCount(); }
    QString cell(int column, int row) const override { return cells.text(column, row); }
    void setCell(int column, int row, const QString &text) override;
    QStringList rowCells(int row) const override { return cells.row(row); }
    void setRowCells(int row, const QStringList &texts) override;
    // Rows whose texts come from a function when asked for (GridCells::setRowSource).
    void setRowSource(int first, int count, GridCells::RowSource source);
    // Every row from first on blank.
    void blankRows(int first) { cells.blankRows(first); }

    void setRowCount(int rows);
    void setColumnCount(int columns);
    // 0 or 1: the first row as a fixed heading, the last row as a fixed footer.
    void setFixedRows(int rows);
    void setFixedFooters(int rows);
    int fixedRows() const { return body.headingRows(); }
    int fixedFooters() const { return footerRows; }

    void setDefaultRowHeight(int pixels);
    int defaultRowHeight() const { return rowPixels; }
    void setColWidth(int column, int pixels);
    int colWidth(int column) const { return columnWidth(column); }

    void setColor(const QColor &colour);
    QColor color() const { return cellColour; }
    void setFixedColor(const QColor &colour);
    QColor fixedColor() const { return fixedColour; }
    void setGridLines(GridLines lines);
    void setBorderVisible(bool visible);

    // The selected data row, or -1.
    int selectedRow() const;
    // Selects a data row; any other row (one outside the grid too) leaves nothing selected.
    void selectRow(int row);

    // Handlers. Alignment: the horizontal alignment of a cell (left when there is no handler);
    // the grid centres every text vertically. Draw: paints a cell's content over the background
    // the grid has filled. Select: answers whether a cell may be selected.
    using AlignmentHandler = std::function<Qt::Alignment(int column, int row)>;
    using DrawCellHandler =
        std::function<void(const TStringGrid &grid, QPainter &painter, int column, int row,
                           const QRect &rect, GridCellState state)>;
    using SelectCellHandler = std::function<bool(int column, int row)>;
    void setOnGetAlignment(AlignmentHandler handler);
    void setOnDrawCell(DrawCellHandler handler);
    void setOnSelectCell(SelectCellHandler handler) { onSelectCell = std::move(handler); }
    Qt::Alignment cellAlignment(int column, int row) const;

    // The menu shown on a right click; not owned.
    QMenu *PopupMenu = nullptr;

    GridPrintSettings PrintSettings;
    // Prints every row on the printer, the pages numbered "Page 1 of N" onwards.
    void print(QPrinter &printer) const;

    // Paints one cell as the grid shows it: background, content, lines.
    void paintCell(QPainter &painter, int column, int row, const QRect &rect,
                   GridCellState state) const;
    // Draws a cell's text in the grid's direction, whatever the text begins with: a right-to-left
    // name neither turns the cell about nor reorders the text around it.
    void drawCellText(QPainter &painter, const QRect &rect, Qt::Alignment alignment,
                      const QString &text) const;
    // The rectangle of a cell in the grid's own coordinates; empty when it is not on screen.
    QRect cellRect(int column, int row) const;
    // Whether a row is left out of the scrolling rows: the fixed rows are, as their strips show
    // them.
    bool isRowHidden(int row) const;

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    // One stop in the Tab order: Tab and Shift+Tab leave the grid, Home and End go to the first
    // and last row, and Shift+F10 opens the menu as the Menu key does.
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void rowsChanged(int oldCount);
    void placeStrips();
    void updateStrips();
    void repaintFixedRow(int row);

    GridCells cells;
    GridBody body{cells};
    int footerRows = 0;
    int rowPixels = 19;
    QColor cellColour = Qt::white;
    QColor fixedColour;
    GridLines lines = GridLines::Both;
    GridFixedStrip *heading;
    GridFixedStrip *footer;
    AlignmentHandler onGetAlignment;
    DrawCellHandler onDrawCell;
    SelectCellHandler onSelectCell;
};
