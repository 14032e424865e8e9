#include "reports/FolderTreeModel.h"

#include "helpers/Helpers.h"
#include "helpers/NameText.h"
#include "model/FolderReport.h"

#include <QLocale>
#include <algorithm>

namespace {

QString grouped(std::uint64_t value)
{
    return groupDigits(QString::number(value), QLocale().groupSeparator());
}

QString filesText(std::int64_t files)
{
    return grouped(std::uint64_t(files)) +
           (files == 1 ? QStringLiteral(" file") : QStringLiteral(" files"));
}

QString percentText(double share)
{
    return QLocale().toString(share * 100, 'f', 1) + QStringLiteral(" %");
}

// The path of the folder a folder lies in: all before its last "/", the root's "" for a folder
// in the root.
QByteArrayView parentPathOf(const QByteArray &path)
{
    const qsizetype cut = path.lastIndexOf('/');
    return cut < 0 ? QByteArrayView("") : QByteArrayView(path).first(cut);
}

} // namespace

void FolderTreeModel::setFolders(const RunFacts &facts, std::vector<DriveFolders> shown)
{
    beginResetModel();
    drives = std::move(shown);
    mountPoints.clear();
    nodes.clear();
    roots.clear();
    // Parents come before the folders in them, each subtree whole: the folders a new one may lie
    // in are on a stack, and one whose folder was not kept has nothing to hang on.
    for (std::size_t d = 0; d < drives.size(); ++d) {
        mountPoints.push_back(mountPointOf(facts, drives[d].letter));
        std::vector<std::int32_t> open;
        const std::vector<FolderTotal> &folders = drives[d].folders;
        for (std::size_t f = 0; f < folders.size(); ++f) {
            const QByteArray &path = folders[f].path;
            std::int32_t parent = -1;
            if (!path.isEmpty()) {
                const QByteArrayView up = parentPathOf(path);
                while (!open.empty() &&
                       QByteArrayView(totals(nodes[std::size_t(open.back())]).path) != up)
                    open.pop_back();
                if (open.empty())
                    continue;
                parent = open.back();
            } else if (f != 0) {
                continue;
            }
            nodes.push_back({std::int32_t(d), std::int32_t(f), parent, 0});
            open.push_back(std::int32_t(nodes.size() - 1));
        }
    }
    // The children of every node side by side, in the order of the lists.
    for (const Node &node : nodes)
        if (node.parent >= 0)
            ++nodes[std::size_t(node.parent)].childCount;
    std::int32_t next = 0;
    for (Node &node : nodes) {
        node.firstChild = next;
        next += node.childCount;
        node.childCount = 0;
    }
    children.assign(std::size_t(next), 0);
    for (std::size_t n = 0; n < nodes.size(); ++n) {
        Node &node = nodes[n];
        if (node.parent < 0) {
            node.row = std::int32_t(roots.size());
            roots.push_back(std::int32_t(n));
            continue;
        }
        Node &up = nodes[std::size_t(node.parent)];
        node.row = up.childCount++;
        children[std::size_t(up.firstChild + node.row)] = std::int32_t(n);
    }
    endResetModel();
}

const FolderTotal &FolderTreeModel::totals(const Node &node) const
{
    return drives[std::size_t(node.drive)].folders[std::size_t(node.folder)];
}

QString FolderTreeModel::name(const Node &node) const
{
    if (node.parent < 0)
        return QString(drives[std::size_t(node.drive)].letter) + QStringLiteral(": ") +
               escapedName(mountPoints[std::size_t(node.drive)].toUtf8());
    return escapedName(totals(node).name());
}

std::int32_t FolderTreeModel::nodeAt(const QModelIndex &index) const
{
    return index.isValid() ? std::int32_t(index.internalId()) : -1;
}

std::int32_t *FolderTreeModel::childrenOf(std::int32_t parent)
{
    return parent < 0 ? roots.data() : children.data() + nodes[std::size_t(parent)].firstChild;
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex &parent) const
{
    if (row < 0 || column < 0 || column >= ColumnCount || row >= rowCount(parent))
        return {};
    const std::int32_t up = nodeAt(parent);
    const std::int32_t node = up < 0
                                  ? roots[std::size_t(row)]
                                  : children[std::size_t(nodes[std::size_t(up)].firstChild + row)];
    return createIndex(row, column, quintptr(node));
}

QModelIndex FolderTreeModel::parent(const QModelIndex &child) const
{
    const std::int32_t node = nodeAt(child);
    if (node < 0 || nodes[std::size_t(node)].parent < 0)
        return {};
    const std::int32_t up = nodes[std::size_t(node)].parent;
    return createIndex(nodes[std::size_t(up)].row, 0, quintptr(up));
}

int FolderTreeModel::rowCount(const QModelIndex &parent) const
{
    if (parent.column() > 0)
        return 0;
    const std::int32_t up = nodeAt(parent);
    return up < 0 ? int(roots.size()) : nodes[std::size_t(up)].childCount;
}

int FolderTreeModel::columnCount(const QModelIndex &) const
{
    return ColumnCount;
}

QVariant FolderTreeModel::display(const Node &node, int column) const
{
    const FolderTotal &folder = totals(node);
    switch (column) {
    case FolderColumn:
        return name(node);
    case BytesColumn:
        return grouped(folder.bytes);
    case FilesColumn:
        return grouped(std::uint64_t(folder.files));
    case ShareColumn:
        return percentText(driveShare(folder.bytes, drives[std::size_t(node.drive)]));
    case OwnColumn:
        return grouped(folder.ownBytes) + QStringLiteral(" in ") + filesText(folder.ownFiles);
    case SubfoldersColumn:
        return grouped(folder.subfolderBytes()) + QStringLiteral(" in ") +
               filesText(folder.subfolderFiles());
    }
    return {};
}

QVariant FolderTreeModel::data(const QModelIndex &index, int role) const
{
    const std::int32_t n = nodeAt(index);
    if (n < 0)
        return {};
    const Node &node = nodes[std::size_t(n)];
    const int column = index.column();
    const DriveFolders &drive = drives[std::size_t(node.drive)];
    switch (role) {
    case Qt::DisplayRole:
        return display(node, column);
    case Qt::TextAlignmentRole:
        return column == FolderColumn ? QVariant() : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::ToolTipRole:
    case LocationRole: {
        if (column != FolderColumn)
            return {};
        const QByteArray location =
            folderLocation(mountPoints[std::size_t(node.drive)], totals(node));
        return role == LocationRole ? QVariant(location) : QVariant(escapedName(location));
    }
    case ShareRole:
        return column == ShareColumn ? QVariant(driveShare(totals(node).bytes, drive)) : QVariant();
    case OwnShareRole:
        return column == ShareColumn ? QVariant(driveShare(totals(node).ownBytes, drive))
                                     : QVariant();
    }
    return {};
}

QVariant FolderTreeModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char *const headings[ColumnCount] = {
        "Folder", "Bytes", "Files", "Share of counted bytes", "In its own files", "In subfolders"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= ColumnCount)
        return {};
    return QString::fromLatin1(headings[section]);
}

void FolderTreeModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= ColumnCount)
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<std::int32_t> moved;
    for (const QModelIndex &index : before)
        moved.push_back(nodeAt(index));

    // A number to sort by, or the name's text for the name column (made once per folder).
    auto number = [&](std::int32_t n) -> long double {
        const Node &node = nodes[std::size_t(n)];
        const FolderTotal &folder = totals(node);
        switch (column) {
        case BytesColumn:
            return folder.bytes;
        case FilesColumn:
            return folder.files;
        case ShareColumn:
            return driveShare(folder.bytes, drives[std::size_t(node.drive)]);
        case OwnColumn:
            return folder.ownBytes;
        default:
            return folder.subfolderBytes();
        }
    };
    std::vector<QString> names;
    if (column == FolderColumn) {
        names.reserve(nodes.size());
        for (const Node &node : nodes)
            names.push_back(name(node));
    }
    auto less = [&](std::int32_t a, std::int32_t b) {
        if (column == FolderColumn)
            return names[std::size_t(a)].compare(names[std::size_t(b)], Qt::CaseInsensitive) < 0;
        return number(a) < number(b);
    };
    auto sortRange = [&](std::int32_t *first, std::int32_t count) {
        if (order == Qt::AscendingOrder)
            std::stable_sort(first, first + count, less);
        else
            std::stable_sort(first, first + count,
                             [&](std::int32_t a, std::int32_t b) { return less(b, a); });
        for (std::int32_t row = 0; row < count; ++row)
            nodes[std::size_t(first[row])].row = row;
    };
    sortRange(roots.data(), std::int32_t(roots.size()));
    for (std::size_t n = 0; n < nodes.size(); ++n)
        sortRange(childrenOf(std::int32_t(n)), nodes[n].childCount);

    QModelIndexList after;
    for (std::size_t i = 0; i < moved.size(); ++i)
        after << createIndex(nodes[std::size_t(moved[i])].row, before[int(i)].column(),
                             quintptr(moved[i]));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
