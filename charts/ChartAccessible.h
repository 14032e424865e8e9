#pragma once

#include "charts/ChartTable.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

class TChart;

// A chart as a screen reader sees it: a table of its figures (see ChartTableText), named by the
// chart's title. An untitled chart is named by where it stands: the nearest surrounding widget
// that has an accessible name (a notebook page), the view chosen there (its checked radio
// button), and the chart's own accessible name, joined by " - ", as in "Space - Bar - totals".
// The table reads the chart as it is at the moment of asking, so it follows every refill.

// Makes ChartAccessible the interface Qt hands out for every TChart and every widget that is a
// ChartTableSource; calls after the first
// change nothing.
void installChartAccessibility();

// The name a screen reader gives the chart.
QString chartAccessibleName(const TChart &chart);

class ChartAccessible : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit ChartAccessible(QWidget *chart);
    ~ChartAccessible() override;

    TChart *chart() const; // none for a ChartTableSource
    ChartTableText table() const;

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    // Row -1 gives a column's header, column -1 a row's header.
    QAccessibleInterface *cellAt(int row, int column) const override;
    int columnCount() const override;
    int rowCount() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedCellCount() const override { return 0; }
    QList<QAccessibleInterface *> selectedCells() const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return {}; }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int) const override { return false; }
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *event) override;

private:
    int widgetChildCount() const;
    void forgetCells() const;

    // The cells asked for so far, by row and column; they read the chart when asked.
    mutable QHash<std::pair<int, int>, QAccessible::Id> cells;
};

// A cell of a chart's table, or a row or column header (row or column -1).
class ChartCellAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface
{
public:
    ChartCellAccessible(QWidget *chart, int row, int column);

    bool isValid() const override;
    QObject *object() const override { return nullptr; }
    QWindow *window() const override;
    QAccessibleInterface *parent() const override;
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QList<QAccessibleInterface *> columnHeaderCells() const override;
    QList<QAccessibleInterface *> rowHeaderCells() const override;
    int columnIndex() const override { return column; }
    int rowIndex() const override { return row; }
    bool isSelected() const override { return false; }
    QAccessibleInterface *table() const override { return parent(); }

private:
    ChartAccessible *owner() const;

    QPointer<QWidget> chart;
    int row;
    int column;
};
