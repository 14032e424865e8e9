#include "reports/FilesTab.h"

#include "controls/MessageBoxes.h"
#include "controls/RowActions.h"
#include "helpers/NameText.h"
#include "model/FileReport.h"
#include "platform/FileManager.h"
#include "reports/SpaceTables.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QTableView>
#include <QVBoxLayout>
#include <array>

namespace {

constexpr std::array columnWidths = {370, 90, 140, 110, 150};

} // namespace

FilesTab::FilesTab(QWidget *parent) : QWidget(parent), files(new FileTableModel(this))
{
    lblNote = new QLabel(this);
    lblNote->setObjectName(QStringLiteral("lblFilesNote"));
    lblNote->setWordWrap(true);
    tvFiles = new QTableView(this);
    tvFiles->setObjectName(QStringLiteral("tvFiles"));
    tvFiles->setAccessibleName(QStringLiteral("Largest files"));
    tvFiles->setModel(files);
    setUpSpaceTable(tvFiles);
    tvFiles->horizontalHeader()->setSortIndicator(FileTableModel::SizeColumn, Qt::DescendingOrder);
    for (int column = 0; column < FileTableModel::ColumnCount; ++column)
        tvFiles->setColumnWidth(column, columnWidths[std::size_t(column)]);

    popFile = new QMenu(this);
    ShowInFileManager1 = popFile->addAction(QStringLiteral("&Show in file manager"));
    CopyPath1 = popFile->addAction(QStringLiteral("&Copy path"));
    connect(ShowInFileManager1, &QAction::triggered, this,
            [this] { showInFileManager(menuIndex); });
    connect(CopyPath1, &QAction::triggered, this, [this] { copyPath(menuIndex); });
    auto *actions = new RowActions(tvFiles);
    connect(actions, &RowActions::openRequested, this, &FilesTab::showInFileManager);
    connect(actions, &RowActions::menuRequested, this,
            [this](const QModelIndex &index, const QPoint &at) {
                menuIndex = index;
                popFile->popup(tvFiles->viewport()->mapToGlobal(at));
            });

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(tvFiles, 1);
    layout->addWidget(lblNote);
}

void FilesTab::showFiles(const RunFacts &facts, const std::vector<DriveFiles> &drives, bool kept)
{
    files->setRows(largestFileRows(facts, drives));
    files->sort(tvFiles->horizontalHeader()->sortIndicatorSection(),
                tvFiles->horizontalHeader()->sortIndicatorOrder());
    const QString line =
        kept ? filesNotKeptLine(drives)
             : QStringLiteral("This collection was saved by an earlier Korvel 98, which kept no "
                              "list of the largest files.");
    lblNote->setText(line);
    lblNote->setVisible(!line.isEmpty());
    tvFiles->setVisible(kept);
    if (files->rowCount() > 0)
        tvFiles->setCurrentIndex(files->index(0, 0));
}

QByteArray FilesTab::locationOf(const QModelIndex &index) const
{
    return index.data(FileTableModel::LocationRole).toByteArray();
}

void FilesTab::showInFileManager(const QModelIndex &index)
{
    const QByteArray location = locationOf(index);
    if (location.isEmpty())
        return;
    platform::showFile(location, [tab = QPointer(this), location](bool shown) {
        if (!shown && tab)
            errorBox(QStringLiteral("Could not show the file ") + escapedName(location) +
                     QStringLiteral(" in a file manager."));
    });
}

// A path that is no text goes as its escaped form, which at least names the file to a person.
void FilesTab::copyPath(const QModelIndex &index)
{
    const QByteArray location = locationOf(index);
    if (location.isEmpty())
        return;
    QApplication::clipboard()->setText(location.isValidUtf8() ? QString::fromUtf8(location)
                                                              : escapedName(location));
}
