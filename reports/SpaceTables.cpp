#include "reports/SpaceTables.h"

#include "controls/ListArrows.h"
#include "helpers/Helpers.h"

#include <QDateTime>
#include <QHeaderView>
#include <QLocale>
#include <QTableView>
#include <algorithm>

namespace {

QString grouped(std::uint64_t value)
{
    return groupDigits(QString::number(value), QLocale().groupSeparator());
}

QString percentText(double share)
{
    return QLocale().toString(share * 100, 'f', 1) + QStringLiteral(" %");
}

QVariant rightAligned(int column, int textColumn)
{
    return column == textColumn ? QVariant() : QVariant(Qt::AlignRight | Qt::AlignVCenter);
}

// Sorts rows by key (a number or a text) in the order asked; equal keys keep their order.
template <typename Row, typename Key>
void sortRows(std::vector<Row> &rows, Qt::SortOrder order, Key key)
{
    std::stable_sort(rows.begin(), rows.end(), [&](const Row &a, const Row &b) {
        const auto ka = key(a), kb = key(b);
        return order == Qt::AscendingOrder ? ka < kb : kb < ka;
    });
}

template <typename Row>
void sortByText(std::vector<Row> &rows, Qt::SortOrder order, QString (*text)(const Row &))
{
    std::vector<std::pair<QString, Row>> keyed;
    for (Row &row : rows)
        keyed.emplace_back(text(row).toCaseFolded(), std::move(row));
    sortRows(keyed, order, [](const auto &pair) { return pair.first; });
    rows.clear();
    for (auto &pair : keyed)
        rows.push_back(std::move(pair.second));
}

// The rows the view holds on to (the current one, the selection) follow their rows through a
// sort: each is found again by its key.
template <typename Row, typename Key>
QModelIndexList movedIndexes(const QModelIndexList &before, const std::vector<Row> &old,
                             const std::vector<Row> &sorted, Key key)
{
    QModelIndexList after;
    for (const QModelIndex &index : before) {
        const auto wanted = key(old[std::size_t(index.row())]);
        const auto at = std::find_if(sorted.begin(), sorted.end(),
                                     [&](const Row &row) { return key(row) == wanted; });
        after << index.model()->index(int(at - sorted.begin()), index.column());
    }
    return after;
}

} // namespace

// ---- Files --------------------------------------------------------------------------------------

void FileTableModel::setRows(std::vector<FileRow> shown)
{
    beginResetModel();
    rows = std::move(shown);
    endResetModel();
}

int FileTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows.size());
}

int FileTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant FileTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || std::size_t(index.row()) >= rows.size())
        return {};
    const FileRow &row = rows[std::size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case FileColumn:
            return row.shown;
        case SizeColumn:
            return grouped(row.file.size);
        case ShareColumn:
            return percentText(row.share);
        case ModifiedColumn:
            return QLocale().toString(QDateTime::fromSecsSinceEpoch(row.file.writeTime),
                                      QLocale::ShortFormat);
        case TypeColumn:
            return row.typeName;
        }
        return {};
    case Qt::ToolTipRole:
        return index.column() == FileColumn ? QVariant(row.shown) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == TypeColumn ? QVariant() : rightAligned(index.column(), FileColumn);
    case LocationRole:
        return row.location;
    }
    return {};
}

QVariant FileTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char *const headings[ColumnCount] = {"File", "Size", "Share of counted bytes",
                                                      "Modified", "Type"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return {};
    return QString::fromLatin1(headings[section]);
}

void FileTableModel::sort(int column, Qt::SortOrder order)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList held = persistentIndexList();
    const std::vector<FileRow> old = held.isEmpty() ? std::vector<FileRow>() : rows;
    switch (column) {
    case FileColumn:
        sortByText<FileRow>(rows, order, [](const FileRow &r) { return r.shown; });
        break;
    case SizeColumn:
    case ShareColumn:
        sortRows(rows, order, [](const FileRow &r) { return r.file.size; });
        break;
    case ModifiedColumn:
        sortRows(rows, order, [](const FileRow &r) { return r.file.writeTime; });
        break;
    case TypeColumn:
        sortByText<FileRow>(rows, order, [](const FileRow &r) { return r.typeName; });
        break;
    }
    if (!held.isEmpty())
        changePersistentIndexList(
            held, movedIndexes(held, old, rows, [](const FileRow &r) { return r.location; }));
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// ---- Owners -------------------------------------------------------------------------------------

OwnerTableModel::OwnerTableModel(const QString &heading, QObject *parent)
    : QAbstractTableModel(parent), heading(heading)
{}

void OwnerTableModel::setRows(std::vector<OwnerRow> shown)
{
    beginResetModel();
    rows = std::move(shown);
    endResetModel();
}

int OwnerTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(rows.size());
}

int OwnerTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant OwnerTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || std::size_t(index.row()) >= rows.size())
        return {};
    const OwnerRow &row = rows[std::size_t(index.row())];
    if (role == Qt::TextAlignmentRole)
        return rightAligned(index.column(), NameColumn);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case NameColumn:
        return row.name;
    case FilesColumn:
        return grouped(std::uint64_t(row.files));
    case BytesColumn:
        return grouped(row.bytes);
    case ShareColumn:
        return percentText(row.share);
    }
    return {};
}

QVariant OwnerTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char *const headings[ColumnCount] = {"", "Files", "Bytes",
                                                      "Share of counted bytes"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return {};
    return section == NameColumn ? heading : QString::fromLatin1(headings[section]);
}

void OwnerTableModel::sort(int column, Qt::SortOrder order)
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList held = persistentIndexList();
    const std::vector<OwnerRow> old = held.isEmpty() ? std::vector<OwnerRow>() : rows;
    switch (column) {
    case NameColumn:
        sortByText<OwnerRow>(rows, order, [](const OwnerRow &r) { return r.name; });
        break;
    case FilesColumn:
        sortRows(rows, order, [](const OwnerRow &r) { return r.files; });
        break;
    case BytesColumn:
    case ShareColumn:
        sortRows(rows, order, [](const OwnerRow &r) { return r.bytes; });
        break;
    }
    if (!held.isEmpty())
        changePersistentIndexList(
            held, movedIndexes(held, old, rows, [](const OwnerRow &r) { return r.id; }));
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void setUpSpaceTable(QTableView *view)
{
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    view->setShowGrid(false);
    view->setWordWrap(false);
    view->setTabKeyNavigation(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setStretchLastSection(true);
    view->setSortingEnabled(true);
    useListArrows(view);
}
