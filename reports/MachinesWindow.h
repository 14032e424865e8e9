#pragma once

#include "model/Machines.h"

#include <QDateTime>
#include <QDialog>
#include <functional>
#include <vector>

class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

// The machines overview: one row per host whose collections lie in a folder (the history, or one
// into which collections from several machines were copied), sortable by any heading. Enter or
// "&Open" opens the host's newest collection in the statistics window; "&Compare" compares two
// selected rows, or a single row's host's two newest collections; "&Trends" shows the trends of
// the current row's host from the folder of its newest collection.
class MachinesWindow : public QDialog
{
    Q_OBJECT

public:
    explicit MachinesWindow(QWidget *parent = nullptr);

    // Reads the folder's collections and shows a row per host.
    void showFolder(const QString &folder);
    const std::vector<MachineRow> &rows() const { return shown; }

    // The moment rows are judged stale against; tests fix it.
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    // Asked by "C&hoose folder...": an empty path means the user gave up.
    std::function<QString(const QString &start)> askFolder;

    QLabel *lblFolder;
    QTableView *tvMachines;
    QPushButton *btOpen;
    QPushButton *btCompare;
    QPushButton *btTrends;
    QPushButton *btFolder;
    QPushButton *btClose;

signals:
    void openCollection(const QString &path);
    // Then and now: the older run first.
    void compareCollections(const QString &thenPath, const QString &nowPath);
    // The trends of the host's collections: the folder of its newest, its drive letters and the
    // host.
    void showTrends(const QString &folder, const QString &driveSet, const QString &host);

private:
    void fill();
    void openCurrent();
    void compareSelected();
    void selectionChanged();
    std::vector<int> selectedRows() const; // indexes into shown

    QString folder;
    std::vector<MachineRow> shown;
    QStandardItemModel *model;
    QSortFilterProxyModel *proxy;
};
