#include "reports/UnreadableFolders.h"

#include "controls/DialogLook.h"
#include "engine/Accumulators.h"
#include "helpers/Helpers.h"
#include "helpers/NameText.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <algorithm>

namespace {

constexpr QSize dialogSize(560, 330);

} // namespace

QString unreadableFoldersText(std::int64_t count)
{
    return intToGrouped(count) + (count == 1 ? QStringLiteral(" folder could not be read")
                                             : QStringLiteral(" folders could not be read"));
}

UnreadableFoldersItem::UnreadableFoldersItem(QWidget *parent) : QToolButton(parent)
{
    setObjectName(QStringLiteral("unreadableItem"));
    setAutoRaise(true);
    setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
    setIconSize(QSize(14, 14));
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QStringLiteral("Show the folders whose files were not counted"));
    hide();
}

void UnreadableFoldersItem::setCount(std::int64_t count)
{
    setText(count > 0 ? unreadableFoldersText(count) : QString());
    setVisible(count > 0);
}

// Enter opens the list here; left to the window it would press the default button and start a
// run.
void UnreadableFoldersItem::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        click();
        return;
    }
    QToolButton::keyPressEvent(event);
}

UnreadableFoldersDialog::UnreadableFoldersDialog(std::int64_t count,
                                                 const std::vector<UnreadableFolder> &folders,
                                                 QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Folders not read"));
    setDialogFrame(*this, dialogSize);
    setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));

    makeTitleLabel(QStringLiteral("Folders not read"), QRect(12, 6, 536, 32), this);
    QString text = unreadableFoldersText(count) + QStringLiteral(", so the files in them are not "
                                                                 "counted.");
    if (folders.empty())
        text += QStringLiteral(" Their names were not kept.");
    else if (std::size_t(count) > folders.size())
        text += QStringLiteral(" The first ") + intToGrouped(std::int64_t(folders.size())) +
                QStringLiteral(" are listed.");
    lblCount = wrappedLabel(text, QRect(12, 44, 536, 30), this);

    lvFolders = new QTreeWidget(this);
    lvFolders->setGeometry(12, 78, 536, 206);
    lvFolders->setHeaderLabels({QStringLiteral("Folder"), QStringLiteral("Reason")});
    lvFolders->setRootIsDecorated(false);
    lvFolders->setUniformRowHeights(true);
    lvFolders->setTextElideMode(Qt::ElideMiddle);
    lvFolders->setAllColumnsShowFocus(true);
    lvFolders->header()->setStretchLastSection(true);
    lvFolders->setColumnWidth(0, 380);
    // By path, so a folder is found where a reader looks for it, whatever order the walk met it.
    std::vector<const UnreadableFolder *> byPath;
    for (const UnreadableFolder &folder : folders)
        byPath.push_back(&folder);
    std::sort(byPath.begin(), byPath.end(),
              [](const auto *a, const auto *b) { return a->path < b->path; });
    for (const UnreadableFolder *found : byPath) {
        const UnreadableFolder &folder = *found;
        // Escaped: a path's bytes need not be UTF-8, and may hold characters that show nothing.
        const QString path = escapedName(folder.path);
        auto *row = new QTreeWidgetItem(lvFolders, {path, folder.reason});
        row->setToolTip(0, path);
    }
    if (lvFolders->topLevelItemCount() > 0)
        lvFolders->setCurrentItem(lvFolders->topLevelItem(0));
    // With no names kept, headings over an empty list would only suggest something is missing.
    lvFolders->setVisible(!folders.empty());

    btClose = new QPushButton(QStringLiteral("Close"), this);
    btClose->setGeometry(467, 296, 81, 25);
    btClose->setDefault(true);
    connect(btClose, &QPushButton::clicked, this, &QDialog::accept);
    lvFolders->setFocus();
}
