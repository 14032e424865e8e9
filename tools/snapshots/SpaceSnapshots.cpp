// The Space page of the statistics window: bars in megabytes with the total, bars of a small
// drive table in kilobytes, and the pies.

#include "controls/Notebook.h"
#include "controls/PickList.h"
#include "platform/FolderDriveSource.h"
#include "reports/SpacePage.h"
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

void useDrives(const QString &folder, const QList<FixedDrive> &drives)
{
    auto source = std::make_unique<platform::FolderDriveSource>();
    for (const FixedDrive &d : drives) {
        source->addDrive(d.letter, platform::DriveFixed,
                         QString("%1: [%2]").arg(d.letter).arg(d.label), folder);
        source->setSpace(d.letter, d.freeBytes, d.totalBytes);
        source->setReady(d.letter, true);
    }
    platform::setDriveSource(std::move(source));
}

// The page in a notebook the size of the window's, every drive picked, the depth grown.
void renderSpace(const QDir &out, const QString &name, const QList<FixedDrive> &drives, bool pies)
{
    QTemporaryDir folder;
    useDrives(folder.path(), drives);
    {
        Accumulators results;
        ColourTable colours;
        QTimer Timer1;
        TOvcNotebook notebook;
        notebook.resize(632, 382);
        ReportContext context{results, colours, Timer1, notebook};
        auto *list = new TPickList;
        list->setFont(QFont("Arial", 10));
        list->setMultiSelect(true);
        list->setExtendedSelect(false);
        for (const platform::Drive &d : platform::driveSource().drives())
            list->addEntry(d.entry);
        list->setAllSelected(true);
        auto *page = new SpacePage(context, list, nullptr);
        for (const char *caption : {"Space", "Types", "Sizes", "Overhang", "Access", "Created",
                                    "Modified", "Combined", "Attribute", "Time"})
            notebook.addPage(caption, caption == QString("Space") ? page : new QWidget);
        notebook.setPageIndex(0);
        page->pageEntered();
        while (page->Timer2.isActive())
            page->Timer2Timer();
        if (pies) {
            page->rgSpace1->click();
            for (int tick = 0; tick < 10; ++tick)
                page->Timer1Timer();
        }
        saveSnapshot(notebook, out, name);
    }
    platform::setDriveSource(nullptr);
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
