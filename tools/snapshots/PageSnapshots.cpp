// Pictures of the date, Overhang, Attribute and Time pages inside the statistics window, filled
// from fixed figures.

#include "controls/Notebook.h"
#include "platform/FolderDriveSource.h"
#include "reports/CombinedPage.h"
#include "reports/DatePage.h"
#include "reports/OverhangPage.h"
#include "reports/Statistics.h"
#include "tools/Unattended.h"
#include "tools/snapshots/Snapshots.h"

#include <QDateTime>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>

namespace {

constexpr double MB = 1048576;

// A drive of a few thousand files of every age and hour, some of them hidden or read-only.
void fillResults(StatisticsEngine &r)
{
    r.PickList1 = QStringList{QStringLiteral("c: [system]")};
    r.currentDrive = r.PickList1.first();
    r.collected = true;
    r.filesFound = r.filesProcessed = 4711;
    const double files[10] = {0, 120, 340, 210, 380, 900, 1100, 760, 450, 451};
    const double megabytes[10] = {0, 35.5, 80.25, 44, 120.75, 310, 402.5, 260, 140, 98.5};
    for (std::size_t k = 0; k < 10; ++k) {
        r.ageModifiedFiles[k] = files[k];
        r.ageModifiedBytes[k] = megabytes[k] * MB;
        r.ageCreatedFiles[k] = files[(k + 3) % 10];
        r.ageCreatedBytes[k] = megabytes[(k + 3) % 10] * MB;
        // Most files were read lately; a few never were.
        r.ageAccessedFiles[k] = k == 0 ? 300 : files[10 - k];
        r.ageAccessedBytes[k] = k == 0 ? 64 * MB : megabytes[10 - k] * MB / 2;
    }
    for (std::size_t s = 0; s < 48; ++s) {
        const double day = s >= 16 && s <= 38 ? 1 : 0.2;
        r.hourModified[s] = std::round(day * (60 + 40 * std::sin(double(s) / 5)));
        r.hourCreated[s] = std::round(day * (40 + 25 * std::cos(double(s) / 4)));
        r.hourAccessed[s] = std::round(day * 90);
    }
    r.hourModified[4] = 35; // a product's version 2.1, written at 02:10
    r.sizeFiles[1] = 3000;
    r.sizeBytes[1] = 20 * MB;
    r.sizeFiles[12] = 1711;
    r.sizeBytes[12] = 1480 * MB;
    r.overhang4K = 6.1 * MB;
    r.overhang8K = 12.4 * MB;
    r.overhang16K = 25.3 * MB;
    r.overhang32K = 51.2 * MB;
    r.overhang64K = 103.9 * MB;
    r.nHidden = 41;
    r.szHidden = 3.2 * MB;
    r.nReadOnly = 230;
    r.szReadOnly = 96 * MB;
    r.nSystem = 18;
    r.szSystem = 2.4 * MB;
    r.nArchive = 3900;
    r.szArchive = 1210 * MB;
}

void show(TfrmStatistics &window, TfrmStatistics::Page tab, QRadioButton *view, const QDir &out,
          const QString &name)
{
    window.OvcNotebook1->setPageIndex(tab);
    if (view)
        view->click();
    saveSnapshot(window, out, name);
}

// Drives c: (access dates updated once a day) and d: (never, and no creation dates), walked by
// the window's run as far as its recorder knows.
void recordDrives(TfrmStatistics &window, const QString &letters)
{
    platform::FolderDriveSource drives;
    for (const QChar letter : letters) {
        platform::Drive drive;
        drive.letter = letter;
        drive.accessTimes =
            letter == u'c' ? platform::AccessTimes::Daily : platform::AccessTimes::Never;
        drives.addDrive(drive);
    }
    QStringList entries;
    for (const QChar letter : letters)
        entries << QString(letter) + u':';
    window.recorder.runStarting(drives, entries);
    for (const QChar letter : letters) {
        window.recorder.driveWalking(drives, letter);
        window.recorder.driveWalked(4711, letter == u'c' ? 4711 : 0);
    }
}

void pageSnapshots(const QDir &out)
{
    TfrmStatistics window;
    fillResults(window.engine);
    recordDrives(window, QStringLiteral("c"));
    window.show();
    auto *overhang = static_cast<OverhangPage *>(window.pages[TfrmStatistics::OverhangTab]);
    overhang->clusterSize = 16384;
    window.refillPages();

    auto *access = static_cast<DatePage *>(window.pages[TfrmStatistics::AccessTab]);
    auto *create = static_cast<DatePage *>(window.pages[TfrmStatistics::CreatedTab]);
    auto *modify = static_cast<DatePage *>(window.pages[TfrmStatistics::ModifiedTab]);
    auto *combine = static_cast<CombinedPage *>(window.pages[TfrmStatistics::CombinedTab]);
    show(window, TfrmStatistics::AccessTab, access->rgListing, out, "access-listing");
    show(window, TfrmStatistics::AccessTab, access->rgSize, out, "access-mb");
    show(window, TfrmStatistics::AccessTab, access->rgCount, out, "access-count");
    show(window, TfrmStatistics::CreatedTab, create->rgSize, out, "created-mb");
    show(window, TfrmStatistics::ModifiedTab, modify->rgCount, out, "modified-count");
    show(window, TfrmStatistics::CombinedTab, combine->rgCombine0, out, "combined-listing");
    show(window, TfrmStatistics::CombinedTab, combine->rbCombine1, out, "combined-mb");
    show(window, TfrmStatistics::OverhangTab, nullptr, out, "overhang");
    show(window, TfrmStatistics::AttributeTab, nullptr, out, "attribute");
    show(window, TfrmStatistics::TimeTab, nullptr, out, "time");

    overhang->clusterSize = 2048;
    overhang->doOverHang();
    show(window, TfrmStatistics::OverhangTab, nullptr, out, "overhang-na");

    // Two drives that keep their dates differently: a line for each.
    recordDrives(window, QStringLiteral("cd"));
    window.refillPages();
    show(window, TfrmStatistics::AccessTab, access->rgSize, out, "access-two-drives");
    show(window, TfrmStatistics::CreatedTab, create->rgListing, out, "created-two-drives");
    show(window, TfrmStatistics::CombinedTab, combine->rbCombine2, out, "combined-two-drives");
}

// Files of many ages and hours of the day: file n was written n x 7 days and n x 67 minutes
// ago, read n x 3 days ago, one in five hidden.
void makeAgedTree(const QString &root)
{
    const QDateTime now = QDateTime::currentDateTime();
    for (int n = 0; n < 240; ++n) {
        const QString name = (n % 5 ? QStringLiteral("file%1.dat") : QStringLiteral(".file%1"));
        QFile out(QDir(root).filePath(name.arg(n)));
        if (!out.open(QIODevice::WriteOnly))
            continue;
        out.write(QByteArray(1 + n * n * 40, 'x'));
        out.setFileTime(now.addDays(-7 * n).addSecs(-67 * 60 * n),
                        QFileDevice::FileModificationTime);
        out.setFileTime(now.addDays(-3 * n), QFileDevice::FileAccessTime);
    }
}

// Every page after a real run over a temporary tree, as the user sees them.
void runSnapshots(const QDir &out)
{
    QTemporaryDir home;
    makeAgedTree(home.path());
    const UnattendedDrive drive(home.path(), QStringLiteral("c: [system]"));
    TfrmStatistics window;
    window.show();
    answerNextWizard();
    window.btOKClick();
    for (int tab = 0; tab < TfrmStatistics::PageCount; ++tab) {
        window.OvcNotebook1->setPageIndex(tab);
        const QString caption = window.OvcNotebook1->pageCaption(tab);
        saveSnapshot(window, out, QStringLiteral("run-") + caption.toLower());
    }
}

SnapshotRegistrar run(QStringLiteral("pages-after-run"), runSnapshots);
SnapshotRegistrar pages(QStringLiteral("pages"), pageSnapshots);

} // namespace
