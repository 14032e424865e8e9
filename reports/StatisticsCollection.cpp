// Collections in the statistics window: the figures the pages show saved as a file, a file saved
// before shown again on every page as its run left them, and the folder where the history lives.

#include "controls/FileDialogs.h"
#include "controls/MessageBoxes.h"
#include "controls/Notebook.h"
#include "controls/PickList.h"
#include "model/Collection.h"
#include "model/History.h"
#include "platform/ShellOpen.h"
#include "reports/OverhangPage.h"
#include "reports/SpacePage.h"
#include "reports/Statistics.h"
#include "reports/UnreadableFolders.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QStatusBar>
#include <QUrl>

namespace {

const QString collectionSuffix = QStringLiteral("korvel98.json");
const QStringList collectionFilters = {
    QStringLiteral("Korvel 98 collections (*.korvel98.json)"),
    QStringLiteral("Dumps of other disk-usage scanners (*.json *.json.gz *.gz)"),
    QStringLiteral("All files (*)")};

// The run's drives as the window's drive list spells an entry: the letter first.
QString driveEntry(const DriveFacts &drive)
{
    return QString(drive.letter) + QStringLiteral(": [") + drive.mountPoint + u']';
}

// The drives whose figures the pages show: those the run walked, or, when it walked none, every
// drive it was asked for.
RunFacts walkedOnly(RunFacts facts)
{
    std::vector<DriveFacts> walked;
    for (const DriveFacts &drive : facts.drives)
        if (drive.walked)
            walked.push_back(drive);
    if (!walked.empty())
        facts.drives = std::move(walked);
    return facts;
}

QString askPath(QWidget *parent, QFileDialog::AcceptMode mode, const QString &caption,
                const QString &start)
{
    QFileDialog dialog(parent, caption, start);
    tellFilesByName(dialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    dialog.setNameFilters(collectionFilters);
    // A name typed without a suffix gets the one the desktop knows collection files by.
    dialog.setDefaultSuffix(collectionSuffix);
    if (mode == QFileDialog::AcceptSave)
        dialog.selectFile(start);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

// "Statistics of 12/7/26 4:45 PM for drives C: E:": when the run began, in its own local time.
QString collectionCaption(const RunFacts &facts)
{
    return QStringLiteral("Statistics of ") +
           QLocale().toString(facts.started, QLocale::ShortFormat) +
           QStringLiteral(" for drives ") + drivesText(walkedOnly(facts));
}

// "Statistics of home.json by ncdu 1.19, its own rules on hidden folders applied": a dump is no
// walk of ours, and its maker decided which folders it holds.
QString dumpCaption(const DumpFacts &dump)
{
    return QStringLiteral("Statistics of %1 by %2, its own rules on hidden folders applied")
        .arg(dump.fileName, dump.maker);
}

// The pages a dump has nothing for: no drive space, access or creation dates, and, without
// them in the dump, no modification times or modes.
std::array<QString, TfrmStatistics::PageCount> dumpCovers(const DumpFacts &dump)
{
    std::array<QString, TfrmStatistics::PageCount> covers;
    covers[TfrmStatistics::SpaceTab] = QStringLiteral("This file holds no drive space.");
    covers[TfrmStatistics::AccessTab] = QStringLiteral("This file holds no access dates.");
    covers[TfrmStatistics::CreatedTab] = QStringLiteral("This file holds no creation dates.");
    if (!dump.hasTimes) {
        covers[TfrmStatistics::ModifiedTab] =
            QStringLiteral("This file holds no modification dates.");
        covers[TfrmStatistics::CombinedTab] = QStringLiteral("This file holds no dates.");
        covers[TfrmStatistics::TimeTab] = QStringLiteral("This file holds no times of day.");
    }
    if (!dump.hasModes)
        covers[TfrmStatistics::AttributeTab] = QStringLiteral("This file holds no file modes.");
    return covers;
}

} // namespace

void TfrmStatistics::SaveCollection1Click()
{
    if (!resultFacts.started.isValid())
        return;
    // Not the history's own name form, so that the history never counts it as one of its own.
    const QString folder = saveFolder.isEmpty()
                               ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                               : saveFolder;
    const QString suggested =
        QDir(folder).filePath(QStringLiteral("statistics_") + historyFileName(resultFacts));
    const QString path = askSaveCollectionPath
                             ? askSaveCollectionPath(suggested)
                             : askPath(this, QFileDialog::AcceptSave,
                                       QStringLiteral("Save collection as"), suggested);
    if (path.isEmpty())
        return;
    saveFolder = QFileInfo(path).absolutePath();
    saveCollectionFile(path);
}

bool TfrmStatistics::saveCollectionFile(const QString &path)
{
    QString message;
    if (writeCollectionFile(path, collectionOf(resultFacts, engine), message))
        return true;
    errorBox(message);
    return false;
}

void TfrmStatistics::OpenCollection1Click()
{
    const QString folder = shownCollectionsFolder();
    const QString start = QFileInfo(folder).isDir() ? folder : QDir::homePath();
    const QString path = askOpenCollectionPath ? askOpenCollectionPath(start)
                                               : askPath(this, QFileDialog::AcceptOpen,
                                                         QStringLiteral("Open collection"), start);
    if (!path.isEmpty())
        openCollectionFile(path);
}

bool TfrmStatistics::openCollectionFile(const QString &path)
{
    const OpenedRun opened = readRunFile(path);
    if (!opened.read) {
        errorBox(opened.read.message);
        return false;
    }
    // The file shown is never offered to compare the figures with.
    resultHistoryFile = path;
    showCollection(*opened.read.collection, opened.dump);
    show();
    raise();
    activateWindow();
    return true;
}

// Every page as the run left it: the figures go where the run put them, the run's facts where
// the recorder kept them, and the Space page shows the drives' space of that time.
void TfrmStatistics::showCollection(const Collection &collection,
                                    const std::optional<DumpFacts> &dump)
{
    pageCovers = dump ? dumpCovers(*dump) : std::array<QString, PageCount>{};
    const RunFacts &facts = collection.facts;
    Accumulators &results = engine;
    results = collection.figures;
    for (const DriveFacts &drive : facts.drives) {
        engine.PickList1 << driveEntry(drive);
        if (drive.walked) {
            engine.currentDrive = engine.PickList1.last();
            engine.totalDiskBytes += drive.capacity;
            engine.collected = true;
        }
    }
    engine.aborted = !facts.complete;
    PickList1->setItems(engine.PickList1);
    PickList2->setItems(engine.filter.rows());
    recorder.runReopened(facts);
    resultFacts = facts;
    collectedAt = facts.started;

    for (ReportPage *page : pages)
        page->runStarting();
    static_cast<SpacePage *>(pages[SpaceTab])->showSavedDrives(facts.drives);
    OvcNotebook1->setPageEnabled(OverhangTab, context.oneDriveRun());
    if (context.oneDriveRun())
        static_cast<OverhangPage *>(pages[OverhangTab])->useSavedDrive(facts.drives.front());
    refillPages();

    setWindowTitle(dump ? dumpCaption(*dump) : collectionCaption(facts));
    // The file keeps how many folders the run could not read, not which: the item still says
    // that part of the drives went uncounted.
    unreadableItem->setCount(engine.foldersUnreadable);
    setStatusText(engine.collected ? finishedStatus(engine) : QString());
    applyCoverRule();
    reportResultsChanged();
}

// Where the history keeps its collections; the usual place when the window keeps none.
QString TfrmStatistics::shownCollectionsFolder() const
{
    return historyFolder.isEmpty() ? collectionsFolder() : historyFolder;
}

// The folder is made when missing, so that the file manager has something to show.
void TfrmStatistics::OpenCollectionsFolder1Click()
{
    const QString folder = shownCollectionsFolder();
    if (!QDir().mkpath(folder)) {
        errorBox(QStringLiteral("Could not make the collections folder %1.").arg(folder));
        return;
    }
    if (!platform::openUrl(QUrl::fromLocalFile(folder)))
        errorBox(QStringLiteral("Could not open the collections folder %1.").arg(folder));
}
