#pragma once

#include "model/Comparison.h"

#include <QAbstractTableModel>
#include <vector>

// One part of a comparison as a table for a view: the comparison's own rows, whose cells are made
// only when a view asks for them, so a million types cost no more than the comparison holds
// already. A heading sorts the rows (texts without regard to case, numbers by their value); no
// column puts them back in the comparison's order.
class ComparisonTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    // Shows a part of a comparison, which must stay until the next call; nullptr shows nothing.
    void showPart(const Comparison *comparison, ComparisonPart part);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    ReportCell cell(int row, int column) const;

    ReportTable heading; // the title, the headings and, for the summary, its few rows
    const std::vector<ChangeRow> *rows = nullptr;
    bool withType = false;
    std::vector<int> order; // the comparison's row of each row shown; empty: the same
};
