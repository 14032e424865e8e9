// Pictures of the compare window: a home folder counted, changed (logs added, scratch files and
// an old download removed, a video added), counted again, and the second run compared with the
// first. With --dark, as a desktop with a dark colour scheme shows them.

#include "controls/Notebook.h"
#include "reports/CompareWindow.h"
#include "reports/Statistics.h"
#include "tools/Unattended.h"
#include "tools/snapshots/Snapshots.h"

#include <QStackedWidget>
#include <QTemporaryDir>
#include <filesystem>

namespace {

void makeHome(const std::filesystem::path &root)
{
    const struct
    {
        const char *path;
        std::uintmax_t size;
    } files[] = {
        {"Music/Quiet Rooms/01.flac", 31'000'000},        {"Music/Quiet Rooms/02.flac", 29'000'000},
        {"Pictures/2025/IMG_0001.jpg", 4'200'000},        {"Pictures/2025/IMG_0002.jpg", 3'900'000},
        {"Documents/Taxes/return.pdf", 870'000},          {"Documents/notes.txt", 3'000},
        {"Downloads/debian-12-netinst.iso", 630'000'000}, {"Projects/korvel/src/main.cpp", 9'000},
    };
    for (const auto &file : files)
        sparseFile(root / file.path, file.size);
    for (int i = 0; i < 40; ++i)
        sparseFile(root / "Projects/korvel/build/tmp" / (std::to_string(i) + ".tmp"), 250'000);
}

void changeHome(const std::filesystem::path &root)
{
    for (int i = 0; i < 120; ++i)
        sparseFile(root / "Projects/korvel/logs" / (std::to_string(i) + ".log"), 10'240);
    std::filesystem::remove_all(root / "Projects/korvel/build/tmp");
    std::filesystem::remove(root / "Downloads/debian-12-netinst.iso");
    sparseFile(root / "Downloads/debian-13-netinst.iso", 660'000'000);
    sparseFile(root / "Videos/Harbour.mkv", 1'400'000'000);
    sparseFile(root / "Pictures/2026/IMG_0815.jpg", 5'100'000);
    sparseFile(root / "Documents/letter.odt", 41'000);
}

void compareSnapshots(const QDir &out)
{
    TemporaryHome home;
    makeHome(home.path().toStdString());
    const UnattendedDrive drive(home.path(), QStringLiteral("c: [home]"));
    TfrmStatistics window;
    window.engine.readAheadThreads = 0;
    window.show();
    answerNextWizard();
    window.btOKClick();
    changeHome(home.path().toStdString());
    answerNextWizard();
    window.btOKClick();

    window.CompareWith1->trigger();
    auto *compare = window.findChild<CompareWindow *>();
    if (!compare)
        return;
    // The history is looked through beside the window: the list is pictured once it is filled.
    while (compare->listingHistory())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents(); // the layout of the filled list
    saveSnapshot(*compare, out, QStringLiteral("compare-pick"));
    compare->btCompare->click();
    saveSnapshot(*compare, out, QStringLiteral("compare-summary"));
    compare->notebook->setPageIndex(int(ComparisonPart::Types));
    saveSnapshot(*compare, out, QStringLiteral("compare-types"));
    compare->notebook->setPageIndex(int(ComparisonPart::Folders));
    saveSnapshot(*compare, out, QStringLiteral("compare-folders"));
}

SnapshotRegistrar compare(QStringLiteral("compare"), compareSnapshots);

} // namespace
