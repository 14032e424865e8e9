// Pictures of where the space is: the Report menu of the statistics window after a run over a
// home folder, and the window of the folders, files and owners that run kept; and the list of
// folders not read.

#include "controls/Notebook.h"
#include "reports/FilesTab.h"
#include "reports/LargestFolders.h"
#include "reports/Statistics.h"
#include "reports/UnreadableFolders.h"
#include "tools/Unattended.h"
#include "tools/snapshots/Snapshots.h"

#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>
#include <filesystem>

namespace {

// A home folder: a few big folders, one deep folder that holds much, many small ones, a hidden
// cache the walk passes by, and a folder whose name is no UTF-8. Files are sparse, so big ones
// cost nothing.
void makeHome(const std::filesystem::path &root)
{
    const struct
    {
        const char *path;
        std::uintmax_t size;
    } files[] = {
        {"Music/Albums/Northern Lights/Live at the Harbour/01 Opening.flac", 48'000'000},
        {"Music/Albums/Northern Lights/Live at the Harbour/02 Tide.flac", 52'500'000},
        {"Music/Albums/Quiet Rooms/01.flac", 31'000'000},
        {"Music/playlist.m3u", 2'400},
        {"Pictures/2025/Holiday/IMG_0001.jpg", 4'200'000},
        {"Pictures/2025/Holiday/IMG_0002.jpg", 3'900'000},
        {"Pictures/2024/Garden/IMG_0815.jpg", 5'100'000},
        {"Pictures/Scans\xff/receipt.pdf", 380'000},
        {"Documents/Letters/2024/insurance.odt", 41'000},
        {"Documents/Letters/2025/bank.pdf", 120'000},
        {"Documents/Taxes/2025/return.pdf", 870'000},
        {"Documents/notes.txt", 3'000},
        {"Projects/korvel/build/tools/korvel98-scan", 14'500'000},
        {"Projects/korvel/src/main.cpp", 9'000},
        {"Downloads/debian-13-netinst.iso", 660'000'000},
        {"Downloads/manual.pdf", 2'300'000},
        {".cache/thumbnails/large/a.png", 90'000'000},
        {".bashrc", 3'700},
    };
    for (const auto &file : files)
        sparseFile(root / file.path, file.size);
}

void folderSnapshots(const QDir &out)
{
    TemporaryHome home;
    makeHome(home.path().toStdString());
    const UnattendedDrive drive(home.path(), QStringLiteral("c: [home]"));
    TfrmStatistics window;
    window.engine.readAheadThreads = 0;
    window.show();
    answerNextWizard();
    window.btOKClick();

    window.mnuReport->adjustSize();
    saveSnapshot(*window.mnuReport, out, QStringLiteral("report-menu"));

    window.LargestFolders1->trigger();
    auto *folders = window.findChild<LargestFoldersWindow *>();
    if (!folders)
        return;
    saveSnapshot(*folders, out, QStringLiteral("largest-folders"));
    folders->tvFolders->expandAll();
    folders->tvFolders->setCurrentIndex(folders->tvFolders->model()->index(0, 0));
    saveSnapshot(*folders, out, QStringLiteral("largest-folders-open"));
    folders->nbSpace->setPageIndex(LargestFoldersWindow::FilesTab);
    folders->tabFiles->tvFiles->setFocus();
    saveSnapshot(*folders, out, QStringLiteral("largest-files"));
    folders->nbSpace->setPageIndex(LargestFoldersWindow::OwnersTab);
    saveSnapshot(*folders, out, QStringLiteral("owners"));

    // The folders a run could not read: as the run lists them, and as a collection file, which
    // keeps their number only, tells them.
    const std::vector<UnreadableFolder> unread = {
        {"/home/ann/.cache/private", QStringLiteral("Permission denied")},
        {"/media/usb/DCIM/broken", QStringLiteral("Input/output error")}};
    UnreadableFoldersDialog listed(12, unread);
    saveSnapshot(listed, out, QStringLiteral("unreadable-folders"));
    UnreadableFoldersDialog opened(12, {});
    saveSnapshot(opened, out, QStringLiteral("unreadable-folders-opened"));
}

SnapshotRegistrar folders(QStringLiteral("folders"), folderSnapshots);

} // namespace
