#pragma once

#include <QList>
#include <QStringList>

class ChartModel;

// A chart's figures as a table, the way a screen reader reads a chart: one row per category in
// the order the chart shows them (left to right, top to bottom; a pie's slices in their order,
// the merged "Other" slice last), headed by the category's label; one column per series shown,
// headed by the series' title; each cell the value as the chart shows it, in its mark's format
// where the series shows marks and as a whole number with the locale's separators otherwise.
struct ChartTableText
{
    QStringList rowHeaders;
    QStringList columnHeaders;
    QList<QStringList> cells; // one list per row, one text per column

    int rowCount() const { return int(rowHeaders.size()); }
    int columnCount() const { return int(columnHeaders.size()); }
    QString cell(int row, int column) const { return cells.value(row).value(column); }
    bool operator==(const ChartTableText &) const = default;
};

ChartTableText chartTable(const ChartModel &chart);

// A widget that draws a chart of its own, beside the TChart family, and reads the same way: as
// the table of its figures, named by the widget's accessible name.
class ChartTableSource
{
public:
    virtual ~ChartTableSource() = default;
    virtual ChartTableText chartTableText() const = 0;
};
