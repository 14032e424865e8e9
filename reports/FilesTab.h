#pragma once

#include "engine/LargestFiles.h"
#include "model/RunFacts.h"

#include <QModelIndex>
#include <QWidget>
#include <vector>

class FileTableModel;
class QLabel;
class QMenu;
class QTableView;

// The "Files" tab: the largest files each drive's walk kept, largest first, with their size, share
// of the drive's counted bytes, modification time and type. A file shows picked out in the
// desktop's file manager, and its path goes to the clipboard.
class FilesTab : public QWidget
{
    Q_OBJECT

public:
    explicit FilesTab(QWidget *parent = nullptr);

    // The files of a run's drives; kept is false for a collection saved before the list was kept.
    void showFiles(const RunFacts &facts, const std::vector<DriveFiles> &drives, bool kept);

    // Where the file of a row lies, as bytes; empty for no row.
    QByteArray locationOf(const QModelIndex &index) const;
    void showInFileManager(const QModelIndex &index);
    void copyPath(const QModelIndex &index);

    QLabel *lblNote; // what the list leaves out, or why it is missing
    QTableView *tvFiles;
    QMenu *popFile;
    QAction *ShowInFileManager1;
    QAction *CopyPath1;

private:
    FileTableModel *files;
    QModelIndex menuIndex; // the row the context menu was opened on
};
