// The statistics window on its Space page: bars in megabytes with the total, bars of a small
// drive table in kilobytes, and the pies.

#include "controls/PickList.h"
#include "reports/SpacePage.h"
#include "reports/Statistics.h"
#include "tools/Unattended.h"
#include "tools/snapshots/Snapshots.h"

#include <QRadioButton>
#include <QTemporaryDir>

namespace {

constexpr std::uint64_t KB = 1024;
constexpr std::uint64_t MB = 1024 * KB;
constexpr std::uint64_t GB = 1024 * MB;

struct FixedDrive
{
    QChar letter;
    const char *label;
    std::uint64_t freeBytes, totalBytes;
};

std::unique_ptr<platform::FolderDriveSource> spaceDrives(const QString &folder,
                                                         const QList<FixedDrive> &drives)
{
    auto source = std::make_unique<platform::FolderDriveSource>();
    for (const FixedDrive &d : drives) {
        source->addDrive(d.letter, platform::DriveFixed,
                         QString("%1: [%2]").arg(d.letter).arg(d.label), folder);
        source->setSpace(d.letter, d.freeBytes, d.totalBytes);
        source->setReady(d.letter, true);
    }
    return source;
}

// The window with every drive picked, the depth grown (or the pies turned a little).
void renderSpace(const QDir &out, const QString &name, const QList<FixedDrive> &drives, bool pies)
{
    QTemporaryDir folder;
    const DriveTable table(spaceDrives(folder.path(), drives));
    TfrmStatistics window;
    window.pckStatDrive->setAllSelected(true);
    window.show();
    auto &page = static_cast<SpacePage &>(*window.spacePage);
    while (page.Timer2.isActive())
        page.Timer2Timer();
    if (pies) {
        page.rgSpace1->click();
        for (int tick = 0; tick < 10; ++tick)
            window.Timer1Timer();
    }
    saveSnapshot(window, out, name);
}

void renderSpacePages(const QDir &out)
{
    renderSpace(out, "space-bars",
                {{'c', "system", 38 * GB, 110 * GB},
                 {'d', "home", 310 * GB, 460 * GB},
                 {'e', "backup", 3 * GB, 15 * GB}},
                false);
    renderSpace(out, "space-kb",
                {{'c', "boot", 3 * MB + 200 * KB, 6 * MB}, {'d', "ram", 1 * MB, 2 * MB}}, false);
    renderSpace(out, "space-pies",
                {{'c', "system", 38 * GB, 110 * GB},
                 {'d', "home", 310 * GB, 460 * GB},
                 {'e', "backup", 3 * GB, 15 * GB},
                 {'f', "data", 700 * GB, 930 * GB}},
                true);
}

SnapshotRegistrar space("space", renderSpacePages);

} // namespace
