#pragma once

#include "engine/FolderTotals.h"
#include "model/RunFacts.h"

#include <QAbstractItemModel>
#include <QString>
#include <cstdint>
#include <vector>

// The kept folders of a run as a tree for a view: each drive's root at the top, each folder below
// the one it lies in, and columns of its bytes, files, share of the drive and where its bytes
// lie. The rows are the run's own folder totals, kept once; the texts are made only for the rows
// a view asks for, so a million folders cost little more than the totals themselves.
class FolderTreeModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum Column
    {
        FolderColumn,
        BytesColumn,
        FilesColumn,
        ShareColumn,
        OwnColumn,
        SubfoldersColumn,
        ColumnCount
    };
    enum Role
    {
        ShareRole = Qt::UserRole, // the share column: the folder's share of its drive, 0 to 1
        OwnShareRole,             // the share column: the part of it in the folder's own files
        LocationRole              // the folder column: where the folder lies, as bytes
    };

    using QAbstractItemModel::QAbstractItemModel;

    // The folders of a run's drives, in the order of their lists until sort() is asked.
    void setFolders(const RunFacts &facts, std::vector<DriveFolders> drives);

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    // Sorts the folders of each parent, and the drives, by a column; a name by its text without
    // regard to case, anything else by its number.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    struct Node
    {
        std::int32_t drive;
        std::int32_t folder; // in its drive's list
        std::int32_t parent; // -1 for a drive's root
        std::int32_t row;    // below its parent
        std::int32_t firstChild = 0;
        std::int32_t childCount = 0;
    };

    const FolderTotal &totals(const Node &node) const;
    QString name(const Node &node) const;
    QVariant display(const Node &node, int column) const;
    std::int32_t nodeAt(const QModelIndex &index) const;
    // The nodes below a parent (-1: the drives' roots), in the order shown.
    std::int32_t *childrenOf(std::int32_t parent);

    std::vector<DriveFolders> drives;
    std::vector<QString> mountPoints; // by drive
    std::vector<Node> nodes;
    std::vector<std::int32_t> children; // the children of each node, by Node::firstChild
    std::vector<std::int32_t> roots;
};
