#include "reports/ComparisonTableModel.h"

#include <algorithm>
#include <numeric>

namespace {

bool before(const ReportCell &a, const ReportCell &b)
{
    switch (a.kind) {
    case ReportCell::Kind::Text:
        return a.text.compare(b.text, Qt::CaseInsensitive) < 0;
    case ReportCell::Kind::Integer:
        return a.integer < b.integer;
    case ReportCell::Kind::Change:
        return a.change < b.change;
    case ReportCell::Kind::Percentage:
        return a.percentage < b.percentage;
    }
    return false;
}

} // namespace

void ComparisonTableModel::showPart(const Comparison *comparison, ComparisonPart part)
{
    beginResetModel();
    heading = comparison ? comparison->table(part, false) : ReportTable();
    rows = comparison ? comparison->changeRows(part) : nullptr;
    withType = part == ComparisonPart::Types;
    order.clear();
    endResetModel();
}

int ComparisonTableModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return int(rows ? rows->size() : heading.rows.size());
}

int ComparisonTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(heading.headings.size());
}

ReportCell ComparisonTableModel::cell(int row, int column) const
{
    const std::size_t at = order.empty() ? std::size_t(row) : std::size_t(order[std::size_t(row)]);
    if (!rows)
        return heading.rows[at][std::size_t(column)];
    return Comparison::changeCells((*rows)[at], withType)[std::size_t(column)];
}

QVariant ComparisonTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const ReportCell shown = cell(index.row(), index.column());
    const bool text = shown.kind == ReportCell::Kind::Text;
    switch (role) {
    case Qt::DisplayRole:
        return shown.shown();
    case Qt::TextAlignmentRole:
        return text ? QVariant() : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ToolTipRole: // a long folder path shows shortened in its cell
        return text ? QVariant(shown.text) : QVariant();
    }
    return {};
}

QVariant ComparisonTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnCount())
        return {};
    return heading.headings[section];
}

void ComparisonTableModel::sort(int column, Qt::SortOrder sortOrder)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList shownBefore = persistentIndexList();
    std::vector<int> rowsBefore;
    for (const QModelIndex &index : shownBefore)
        rowsBefore.push_back(order.empty() ? index.row() : order[std::size_t(index.row())]);

    order.clear();
    const int count = rowCount();
    if (column >= 0 && column < columnCount()) {
        // Each row's cell of the column once, not once per comparison.
        std::vector<ReportCell> keys;
        keys.reserve(std::size_t(count));
        for (int row = 0; row < count; ++row)
            keys.push_back(cell(row, column));
        order.resize(std::size_t(count));
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return sortOrder == Qt::AscendingOrder
                       ? before(keys[std::size_t(a)], keys[std::size_t(b)])
                       : before(keys[std::size_t(b)], keys[std::size_t(a)]);
        });
    }

    std::vector<int> shownAt(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row)
        shownAt[order.empty() ? std::size_t(row) : std::size_t(order[std::size_t(row)])] = row;
    QModelIndexList shownAfter;
    for (qsizetype i = 0; i < shownBefore.size(); ++i)
        shownAfter << index(shownAt[std::size_t(rowsBefore[std::size_t(i)])],
                            shownBefore[i].column());
    changePersistentIndexList(shownBefore, shownAfter);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
