#pragma once

#include <QDialog>
#include <QToolButton>
#include <cstdint>
#include <vector>

class QLabel;
class QPushButton;
class QTreeWidget;
struct UnreadableFolder;

// "12 folders could not be read"; "1 folder could not be read".
QString unreadableFoldersText(std::int64_t count);

// The item at the right end of the statistics window's status bar after a run that could not read
// some folders: it says how many, and a click, Enter or the space bar opens their list.
class UnreadableFoldersItem : public QToolButton
{
    Q_OBJECT

public:
    explicit UnreadableFoldersItem(QWidget *parent = nullptr);
    // Shows the count, or hides the item when it is 0.
    void setCount(std::int64_t count);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

// The list of the folders a run could not read, each with the reason the system gave; the first
// ones only when there were very many.
class UnreadableFoldersDialog : public QDialog
{
    Q_OBJECT

public:
    UnreadableFoldersDialog(std::int64_t count, const std::vector<UnreadableFolder> &folders,
                            QWidget *parent = nullptr);

    QLabel *lblCount;
    QTreeWidget *lvFolders;
    QPushButton *btClose;
};
