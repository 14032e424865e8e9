#pragma once

#include "engine/FolderTotals.h"
#include "engine/LargestFiles.h"
#include "model/RunFacts.h"
#include "reports/FolderTreeModel.h"

#include <QDialog>
#include <QTreeView>
#include <vector>

class QLabel;
class QMenu;
class QPushButton;
class FilesTab;
class OwnersTab;
class TOvcNotebook;

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

// Where the space of the drives is, on three tabs. "Folders": the folders a run kept (every
// folder down to three levels below each drive's root, and deeper ones that hold 1 % of their
// drive or more) as a tree, largest first, each with its bytes, its files, its share of the
// drive, and how much of it lies in its own files and how much in its subfolders; a folder opens
// in the desktop's file manager. "Files": the largest files of each drive. "Owners": the space of
// each user and group. The window is given the totals and the run's facts, not the engine, so a
// run read back from a collection shows the same.
class LargestFoldersWindow : public QDialog
{
    Q_OBJECT

public:
    // The tree's columns.
    using enum FolderTreeModel::Column;
    enum Tab
    {
        FoldersTab,
        FilesTab,
        OwnersTab
    };

    explicit LargestFoldersWindow(QWidget *parent = nullptr);

    // Shows the folders of a run's drives; the facts give each drive's mount point and the time.
    void showFolders(const RunFacts &facts, const std::vector<DriveFolders> &drives);
    // Shows the largest files and the owners of a run's drives; kept is false for a collection
    // saved before they were kept.
    void showFiles(const RunFacts &facts, const std::vector<DriveFiles> &drives, bool kept);

    // The folder of a row where it lies, as bytes; empty for no row.
    QByteArray locationOf(const QModelIndex &index) const;
    // Shows the folder of a row in the file manager; an error box when nothing could show it.
    void openFolder(const QModelIndex &index);

    QLabel *lblSource;
    TOvcNotebook *nbSpace;
    FolderTree *tvFolders;
    ::FilesTab *tabFiles;
    ::OwnersTab *tabOwners;
    QMenu *popFolder;
    QAction *OpenInFileManager1;
    QPushButton *btOpen;
    QPushButton *btClose;

private:
    // The button acts on the tab in front.
    void tabChanged(int tab);

    FolderTreeModel *folders;
    QModelIndex menuIndex; // the row the context menu was opened on
};
