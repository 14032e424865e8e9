#include "reports/LargestFolders.h"

#include "controls/DialogLook.h"
#include "controls/ListArrows.h"
#include "controls/MessageBoxes.h"
#include "controls/Notebook.h"
#include "controls/StyledLabel.h"
#include "helpers/Helpers.h"
#include "helpers/NameText.h"
#include "model/FolderReport.h"
#include "platform/FileManager.h"
#include "reports/FilesTab.h"
#include "reports/OwnersTab.h"
#include "reports/PageLook.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr QSize startSize(860, 500);
constexpr std::array columnWidths = {230, 100, 50, 140, 150, 150};

// The bar's two parts: the folder's own files, and what lies in its subfolders. The bar stands on
// the list's white, as the program's windows keep their light colours on any desktop.
constexpr QColor ownColour(0, 0, 128);
constexpr QColor subfolderColour(0, 0, 255);
constexpr int barWidth = 48;

// The share column: a small bar of the folder's share of its drive, the part in its own files
// darker, and the percentage beside it.
class ShareBar : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        const QString text = cell.text;
        cell.text.clear();
        const QStyle *style = cell.widget ? cell.widget->style() : nullptr;
        if (style)
            style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, cell.widget);

        const QRect area = cell.rect.adjusted(4, 0, -4, 0);
        const QRect frame(area.left(), area.top() + 3, barWidth, area.height() - 6);
        const double share =
            std::clamp(index.data(FolderTreeModel::ShareRole).toDouble(), 0.0, 1.0);
        const double own =
            std::clamp(index.data(FolderTreeModel::OwnShareRole).toDouble(), 0.0, share);
        painter->save();
        painter->fillRect(frame, cell.palette.base());
        const int whole = int(std::lround(share * barWidth));
        const int ownPart = int(std::lround(own * barWidth));
        painter->fillRect(QRect(frame.left(), frame.top(), whole, frame.height()), subfolderColour);
        painter->fillRect(QRect(frame.left(), frame.top(), ownPart, frame.height()), ownColour);
        painter->setPen(cell.palette.color(QPalette::Mid));
        painter->drawRect(frame.adjusted(0, 0, -1, -1));
        const bool selected = cell.state & QStyle::State_Selected;
        painter->setPen(cell.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(area.adjusted(barWidth + 4, 0, 0, 0), Qt::AlignRight | Qt::AlignVCenter,
                          text);
        painter->restore();
    }
};

} // namespace

// ---- The tree's keys ----------------------------------------------------------------------------

void FolderTree::keyPressEvent(QKeyEvent *event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool menu = event->key() == Qt::Key_Menu ||
                      (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if ((enter || menu) && currentIndex().isValid()) {
        if (enter)
            emit openRequested(currentIndex());
        else
            emit menuRequested(currentIndex(), visualRect(currentIndex()).center());
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

void FolderTree::contextMenuEvent(QContextMenuEvent *event)
{
    const bool byKeys = event->reason() == QContextMenuEvent::Keyboard;
    const QModelIndex index = byKeys ? currentIndex() : indexAt(event->pos());
    if (!index.isValid())
        return;
    emit menuRequested(index, byKeys ? visualRect(index).center() : event->pos());
}

// A double click opens the folder; the arrow beside it still opens and closes the branch.
void FolderTree::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid()) {
        setCurrentIndex(index);
        emit openRequested(index);
    } else {
        QTreeView::mouseDoubleClickEvent(event);
    }
}

// ---- The window ---------------------------------------------------------------------------------

LargestFoldersWindow::LargestFoldersWindow(QWidget *parent)
    : QDialog(parent), folders(new FolderTreeModel(this))
{
    setObjectName(QStringLiteral("LargestFolders"));
    setWindowTitle(QStringLiteral("Where the space is"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11));
    resize(startSize);

    auto *title = makeTitleLabel(QStringLiteral("Where the space is"), QRect(), this);
    title->setMinimumHeight(34);
    lblSource = new QLabel(this);
    lblSource->setWordWrap(true);

    nbSpace = new TOvcNotebook(this);
    nbSpace->setObjectName(QStringLiteral("nbSpace"));
    nbSpace->setTabSize(QSize(63, 18));
    nbSpace->setFont(notebookFont());
    tvFolders = new FolderTree(this);
    tvFolders->setObjectName(QStringLiteral("tvFolders"));
    tvFolders->setAccessibleName(QStringLiteral("Largest folders"));
    tvFolders->setModel(folders);
    tvFolders->setItemDelegateForColumn(ShareColumn, new ShareBar(tvFolders));
    tvFolders->setUniformRowHeights(true);
    tvFolders->setAllColumnsShowFocus(true);
    tvFolders->setAlternatingRowColors(true);
    tvFolders->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tvFolders->setSortingEnabled(true);
    tvFolders->header()->setSortIndicator(BytesColumn, Qt::DescendingOrder);
    tvFolders->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    for (int column = 0; column < ColumnCount; ++column)
        tvFolders->setColumnWidth(column, columnWidths[std::size_t(column)]);
    useListArrows(tvFolders);
    // The tables keep the window's font; the notebook's is for its tabs.
    auto *foldersPage = new QWidget;
    auto *foldersLayout = new QVBoxLayout(foldersPage);
    foldersLayout->setContentsMargins(6, 6, 6, 6);
    foldersLayout->addWidget(tvFolders);
    tabFiles = new ::FilesTab;
    tabOwners = new ::OwnersTab;
    for (QWidget *page : {static_cast<QWidget *>(foldersPage), static_cast<QWidget *>(tabFiles),
                          static_cast<QWidget *>(tabOwners)})
        page->setFont(font());
    nbSpace->addPage(QStringLiteral("Folders"), foldersPage);
    nbSpace->addPage(QStringLiteral("Files"), tabFiles);
    nbSpace->addPage(QStringLiteral("Owners"), tabOwners);
    connect(nbSpace, &TOvcNotebook::OnPageChanged, this, &LargestFoldersWindow::tabChanged);

    popFolder = new QMenu(this);
    OpenInFileManager1 = popFolder->addAction(QStringLiteral("&Open in file manager"));
    connect(OpenInFileManager1, &QAction::triggered, this, [this] { openFolder(menuIndex); });
    connect(tvFolders, &FolderTree::openRequested, this, &LargestFoldersWindow::openFolder);
    connect(tvFolders, &FolderTree::menuRequested, this,
            [this](const QModelIndex &index, const QPoint &at) {
                menuIndex = index;
                popFolder->popup(tvFolders->viewport()->mapToGlobal(at));
            });

    btOpen = new QPushButton(QStringLiteral("&Open in file manager"), this);
    btOpen->setAutoDefault(false);
    connect(btOpen, &QPushButton::clicked, this, [this] {
        if (nbSpace->PageIndex() == FilesTab)
            tabFiles->showInFileManager(tabFiles->tvFiles->currentIndex());
        else
            openFolder(tvFolders->currentIndex());
    });
    btClose = new QPushButton(QStringLiteral("Close"), this);
    btClose->setAutoDefault(false);
    connect(btClose, &QPushButton::clicked, this, &QDialog::close);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btOpen);
    buttons->addStretch();
    buttons->addWidget(btClose);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(lblSource);
    layout->addWidget(nbSpace, 1);
    layout->addLayout(buttons);
}

void LargestFoldersWindow::showFolders(const RunFacts &facts,
                                       const std::vector<DriveFolders> &drives)
{
    QString source =
        (facts.drives.size() == 1 ? QStringLiteral("Drive ") : QStringLiteral("Drives ")) +
        drivesText(facts);
    if (facts.started.isValid())
        source += QStringLiteral(", counted on ") +
                  QLocale().toString(facts.started, QLocale::ShortFormat);
    lblSource->setText(source +
                       QStringLiteral(". Every folder down to three levels below a drive's root, "
                                      "and deeper folders that hold 1 % of their drive or more; "
                                      "Enter or a double click shows a folder or file in the "
                                      "file manager."));

    folders->setFolders(facts, drives);
    folders->sort(tvFolders->header()->sortIndicatorSection(),
                  tvFolders->header()->sortIndicatorOrder());
    for (int row = 0; row < folders->rowCount(); ++row)
        tvFolders->expand(folders->index(row, 0));
    if (folders->rowCount() > 0)
        tvFolders->setCurrentIndex(folders->index(0, 0));
    tvFolders->setFocus();
}

void LargestFoldersWindow::showFiles(const RunFacts &facts, const std::vector<DriveFiles> &drives,
                                     bool kept)
{
    tabFiles->showFiles(facts, drives, kept);
    tabOwners->showOwners(drives, kept);
}

void LargestFoldersWindow::tabChanged(int tab)
{
    btOpen->setVisible(tab != OwnersTab);
    btOpen->setText(tab == FilesTab ? QStringLiteral("&Show in file manager")
                                    : QStringLiteral("&Open in file manager"));
}

QByteArray LargestFoldersWindow::locationOf(const QModelIndex &index) const
{
    return index.siblingAtColumn(FolderColumn).data(FolderTreeModel::LocationRole).toByteArray();
}

void LargestFoldersWindow::openFolder(const QModelIndex &index)
{
    const QByteArray location = locationOf(index);
    if (location.isEmpty())
        return;
    platform::showFolder(location, [window = QPointer(this), location](bool shown) {
        if (!shown && window)
            errorBox(QStringLiteral("Could not show the folder ") + escapedName(location) +
                     QStringLiteral(" in a file manager."));
    });
}
