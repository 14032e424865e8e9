#pragma once

#include "engine/FolderTotals.h"
#include "model/RunFacts.h"

#include <QDialog>
#include <QTreeView>
#include <vector>

class QLabel;
class QMenu;
class QPushButton;
class FolderTreeModel;

// The kept folders as a tree: Enter and the menu key reach the window's own handlers instead of
// the default button and the view's keys.
class FolderTree : public QTreeView
{
    Q_OBJECT

public:
    using QTreeView::QTreeView;

signals:
    // Enter on a row, or a double click.
    void openRequested(const QModelIndex &index);
    // The context menu by mouse, the menu key or Shift+F10, at this place of the view's viewport.
    void menuRequested(const QModelIndex &index, const QPoint &at);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};

// Which folders fill the drives: the folders a run kept (every folder down to three levels below
// each drive's root, and deeper ones that hold 1 % of their drive or more) as a tree, largest
// first, each with its bytes, its files, its share of the drive, and how much of it lies in its
// own files and how much in its subfolders. A folder opens in the desktop's file manager. The
// window is given the totals and the run's facts, not the engine, so a run read back from a
// collection shows the same.
class LargestFoldersWindow : public QDialog
{
    Q_OBJECT

public:
    // The tree's columns.
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

    explicit LargestFoldersWindow(QWidget *parent = nullptr);

    // Shows the folders of a run's drives; the facts give each drive's mount point and the time.
    void showFolders(const RunFacts &facts, const std::vector<DriveFolders> &drives);

    // The folder of a row where it lies, as bytes; empty for no row.
    QByteArray locationOf(const QModelIndex &index) const;
    // Shows the folder of a row in the file manager; an error box when nothing could show it.
    void openFolder(const QModelIndex &index);

    QLabel *lblSource;
    FolderTree *tvFolders;
    QMenu *popFolder;
    QAction *OpenInFileManager1;
    QPushButton *btOpen;
    QPushButton *btClose;

private:
    FolderTreeModel *folders;
    QModelIndex menuIndex; // the row the context menu was opened on
};
