#pragma once

#include "model/FileReport.h"

#include <QAbstractTableModel>
#include <vector>

class QTableView;

// The tables of the Files and Owners tabs: rows made once from the run's lists, sorted in place by
// a heading (a text without regard to case, anything else by its number).

class FileTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        FileColumn,
        SizeColumn,
        ShareColumn,
        ModifiedColumn,
        TypeColumn,
        ColumnCount
    };
    enum Role
    {
        LocationRole = Qt::UserRole // where the file lies, as bytes
    };

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(std::vector<FileRow> rows);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    std::vector<FileRow> rows;
};

class OwnerTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        NameColumn,
        FilesColumn,
        BytesColumn,
        ShareColumn,
        ColumnCount
    };

    // The first heading: "User" or "Group".
    explicit OwnerTableModel(const QString &heading, QObject *parent = nullptr);

    void setRows(std::vector<OwnerRow> rows);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

private:
    QString heading;
    std::vector<OwnerRow> rows;
};

// A table of the window as its folder tree looks: plain headings, whole rows picked, sortable by
// a click on a heading, the arrows the program's lists draw.
void setUpSpaceTable(QTableView *view);
