// Pictures of the pages at the edges of what a walk can meet: files near the largest size a file
// can have, so that every figure is at its longest, and extensions that hold control, invisible
// and direction characters or bytes that are not UTF-8.

#include "controls/Notebook.h"
#include "reports/DatePage.h"
#include "reports/OverhangPage.h"
#include "reports/SizesPage.h"
#include "reports/Statistics.h"
#include "reports/TypesPage.h"
#include "tools/snapshots/Snapshots.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QRadioButton>

namespace {

// A file of 2^63 - 1 bytes leaves one byte of its last cluster unused at every cluster size.
constexpr std::uint64_t largestFile = 9223372036854775807ull;

void fillResults(StatisticsEngine &r)
{
    r.PickList1 = QStringList{QStringLiteral("c: [/srv/sparse]")};
    r.currentDrive = r.PickList1.first();
    r.collected = true;
    r.filesFound = r.filesProcessed = 2;
    r.sizeFiles[12] = 2;
    r.sizeBytes[12] = 2.0 * double(largestFile);
    for (std::size_t k = 0; k < 10; ++k) {
        const double files = k == 3 || k == 9 ? 1 : 0;
        r.ageModifiedFiles[k] = r.ageCreatedFiles[k] = r.ageAccessedFiles[k] = files;
        r.ageModifiedBytes[k] = r.ageCreatedBytes[k] = r.ageAccessedBytes[k] =
            files * double(largestFile);
    }
    r.overhang4K = r.overhang8K = r.overhang16K = r.overhang32K = r.overhang64K = 2;
    r.hourModified[20] = r.hourCreated[20] = r.hourAccessed[20] = 2;
    r.nArchive = 2;
    r.szArchive = 2.0 * double(largestFile);

    r.lbTypes.countFile(".IMG", largestFile);
    r.lbTypes.countFile(".img", largestFile);
    // Names as a hostile tree holds them: each keeps a row that reads as what it holds.
    for (const char *extension : {".\n", ".\xE2\x80\xAEtxt", ".\xE2\x80\x8B", ".\xFF", ".\xFE", ".",
                                  ".a\\b", ".\xD7\x90\xD7\x91"})
        r.lbTypes.countFile(extension, 0);
}

void show(TfrmStatistics &window, TfrmStatistics::Page tab, QAbstractButton *view, const QDir &out,
          const QString &name)
{
    window.OvcNotebook1->setPageIndex(tab);
    if (view)
        view->click();
    saveSnapshot(window, out, name);
}

void extremeSnapshots(const QDir &out)
{
    TfrmStatistics window;
    fillResults(window.engine);
    window.show();
    auto *overhang = static_cast<OverhangPage *>(window.pages[TfrmStatistics::OverhangTab]);
    overhang->clusterSize = 65536;
    window.refillPages();

    auto *types = static_cast<TypesPage *>(window.pages[TfrmStatistics::TypesTab]);
    auto *sizes = static_cast<SizesPage *>(window.pages[TfrmStatistics::SizesTab]);
    auto *access = static_cast<DatePage *>(window.pages[TfrmStatistics::AccessTab]);
    show(window, TfrmStatistics::TypesTab, types->rgTypesButtons->button(TypesPage::Listing), out,
         "extreme-types");
    show(window, TfrmStatistics::SizesTab, sizes->rgSize1, out, "extreme-sizes-mb");
    show(window, TfrmStatistics::SizesTab, sizes->rgSize0, out, "extreme-sizes-listing");
    show(window, TfrmStatistics::OverhangTab, nullptr, out, "extreme-overhang");
    show(window, TfrmStatistics::AccessTab, access->rgSize, out, "extreme-access-mb");
    show(window, TfrmStatistics::AccessTab, access->rgListing, out, "extreme-access-listing");
}

SnapshotRegistrar extreme(QStringLiteral("extreme"), extremeSnapshots);

} // namespace
