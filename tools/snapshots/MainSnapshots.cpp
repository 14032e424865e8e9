// The main window at rest, mid-turn and mid-depth, over a fixed drive table.

#include "app/MainWindow.h"
#include "reports/Statistics.h"
#include "tools/Unattended.h"
#include "tools/snapshots/Snapshots.h"

#include <QTemporaryDir>

namespace {

constexpr std::uint64_t MB = 1024 * 1024;
constexpr std::uint64_t GB = 1024 * MB;

std::unique_ptr<platform::FolderDriveSource> fixedDrives(const QString &folder)
{
    auto source = std::make_unique<platform::FolderDriveSource>();
    source->addDrive('c', platform::DriveFixed, "c: [/]", folder);
    source->addDrive('d', platform::DriveFixed, "d: [/home]", folder);
    source->addDrive('e', platform::DriveRemovable, "e:", folder);
    source->setSpace('c', 38 * GB, 110 * GB);
    source->setSpace('d', 310 * GB, 460 * GB);
    source->setSpace('e', 3 * GB, 15 * GB);
    for (QChar letter : {'c', 'd', 'e'})
        source->setReady(letter, true);
    source->setCurrentEntry("c: [/]");
    return source;
}

void turnToTheEnd(TfrmMain &window)
{
    while (window.Timer2.isActive())
        window.Timer2Timer();
}

void renderMain(const QDir &out)
{
    QTemporaryDir folder;
    const DriveTable drives(fixedDrives(folder.path()));
    TfrmStatistics statistics;
    TfrmMain window;
    window.setWindowState(Qt::WindowNoState);
    window.resize(800, 560);
    window.setStatisticsWindow(&statistics);
    window.FormShow();
    for (int tick = 0; tick < 10; ++tick)
        window.Timer2Timer();
    saveSnapshot(window, out, "main-turn");

    turnToTheEnd(window);
    for (int tick = 0; tick < 6; ++tick)
        window.Timer1Timer();
    saveSnapshot(window, out, "main-depth");

    while (window.Timer1.isActive())
        window.Timer1Timer();
    saveSnapshot(window, out, "main-rest");
}

SnapshotRegistrar mainWindow("main", renderMain);

} // namespace
