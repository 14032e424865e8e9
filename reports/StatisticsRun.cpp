// The collection run of the statistics window: from the wizard's answers through the walk of
// each drive to the filled pages, and the ways a user stops it.

#include "controls/MessageBoxes.h"
#include "controls/Notebook.h"
#include "controls/PickList.h"
#include "controls/StyledLabel.h"
#include "helpers/Aside.h"
#include "platform/DriveSource.h"
#include "reports/ReportPage.h"
#include "reports/Statistics.h"
#include "reports/UnreadableFolders.h"
#include "selection/WhichDrive.h"

#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>

namespace {

const QString collectingText =
    QStringLiteral("Collecting statistics ... standby.  Press Esc or click Abort to stop.");

// The order in which a drive's results reach the pages: some pages build on what an earlier one
// set up (the Types listing before its sort, the date listings before their charts).
constexpr std::array fillOrder = {
    TfrmStatistics::OverhangTab,  TfrmStatistics::TypesTab,    TfrmStatistics::SizesTab,
    TfrmStatistics::AttributeTab, TfrmStatistics::AccessTab,   TfrmStatistics::CreatedTab,
    TfrmStatistics::ModifiedTab,  TfrmStatistics::CombinedTab, TfrmStatistics::TimeTab};

} // namespace

void TfrmStatistics::connectEngine()
{
    engine.hooks.statusText = [this](const QString &text) { setStatusText(text); };
    engine.hooks.caption = [this](const QString &text) { setWindowTitle(text); };
    engine.hooks.errorBox = [](const QString &text) { errorBox(text); };
    engine.hooks.walking = [this](const QString &folder) {
        setStatusText(QStringLiteral("Processing drive ") + engine.currentDrive +
                      QStringLiteral(" ... standby : ") + folder);
    };
    // The messages themselves are handled by the message loop the walk returns to.
    engine.hooks.dispatchMessages = [this] { showPendingStatus(); };
    engine.hooks.progress = [this](const WalkCounters &counters) { showWalkProgress(counters); };
    engine.hooks.driveStarting = [this] { driveStarting(); };
    engine.hooks.refillPages = [this] {
        walkEnded();
        refillPages();
    };
    engine.hooks.driveFinished = [this] { driveFinished(); };
    walkTimer.setInterval(0);
    connect(&walkTimer, &QTimer::timeout, this, &TfrmStatistics::walkOn);
}

// The status bar paints a new text at once; during a walk, whose folder names change faster than
// anyone can read, the latest text waits for the next message dispatch instead.
void TfrmStatistics::setStatusText(const QString &text)
{
    pendingStatus = text;
    if (!walking)
        showPendingStatus();
}

void TfrmStatistics::showPendingStatus()
{
    if (!pendingStatus)
        return;
    StatusBar1->showMessage(*pendingStatus);
    pendingStatus.reset();
}

void TfrmStatistics::btOKClick()
{
    // Enter reaches the default button even while a walk lets messages through.
    if (runBusy)
        return;
    runBusy = true;
    // The walk disables the control that has the focus; it gets it back when the run is over.
    const QPointer<QWidget> focusBefore = QApplication::focusWidget();
    if (askWizard()) {
        engine.useDrives(platform::driveSource());
        engine.totalDiskBytes = engine.computePickListTotal();
        if (engine.totalDiskBytes <= 0) {
            errorBox("Could not compute the total size of the disk drives selected.  Cannot "
                     "proceed with statistics.");
        } else {
            announceRun();
            pageCovers = {};
            for (ReportPage *page : pages)
                page->runStarting();
            OvcNotebook1->setPageEnabled(OverhangTab, context.oneDriveRun());
            recorder.runStarting(platform::driveSource(), engine.PickList1);
            collectedAt = QDateTime::currentDateTime();
            collect();
        }
    }
    runBusy = false;
    giveFocusBack(focusBefore);
}

void TfrmStatistics::giveFocusBack(QWidget *before)
{
    if (!before || before->window() != this)
        return;
    if (before->isVisible() && before->isEnabled())
        before->setFocus(Qt::OtherFocusReason);
    else
        OvcNotebook1->setFocus(Qt::OtherFocusReason);
}

// Asks for the drives and file types of a run and takes the answers over; false when there is
// nothing to walk.
bool TfrmStatistics::askWizard()
{
    engine.PickList1.clear();
    {
        TfrmWhichDrive wizard(this);
        if (wizard.exec() == QDialog::Accepted) {
            engine.PickList1 = wizard.pickedDrives();
            engine.filter = wizard.allTypes ? Filter()
                                            : Filter(wizard.includeSelected ? Filter::Mode::Include
                                                                            : Filter::Mode::Exclude,
                                                     wizard.pickedTypes());
            PickList2->setItems(engine.filter.rows());
        }
    }
    PickList1->setItems(engine.PickList1);
    return !engine.PickList1.isEmpty();
}

void TfrmStatistics::announceRun()
{
    if (engine.PickList1.size() >= 2) {
        infoBox("Since you selected more than one drive to analyze, the Cluster Overhang tab will "
                "be disabled.  You may quit the analysis at any time by clicking CANCEL or by "
                "pressing ESC.");
    } else {
        infoBox(QStringLiteral("Disk Drive ") + engine.PickList1.first() +
                QStringLiteral(" will be scanned.  The analysis ") +
                QStringLiteral("may take some time.  You may quit at any time by clicking Abort "
                               "or pressing ESC."));
    }
}

// The run goes on a step at a time from whichever message loop runs: this click's own, or that of
// a dialog opened meanwhile (the About box, a page's note), so that no dialog holds the walk, as
// none does while the window is hidden. The click returns once the run is over.
void TfrmStatistics::collect()
{
    unreadableItem->setCount(0);
    engine.beginRun();
    walkTimer.start();
    QEventLoop loop;
    runLoop = &loop;
    if (engine.runUnderWay())
        loop.exec();
    runLoop = nullptr;
    // The program's message loop ended under the run (the program is closing): the run stops.
    if (engine.runUnderWay()) {
        engine.aborted = true;
        while (!engine.advanceRun()) {
        }
        runEnded();
    }
}

void TfrmStatistics::walkOn()
{
    if (engine.runUnderWay() && engine.advanceRun())
        runEnded();
}

void TfrmStatistics::runEnded()
{
    walkTimer.stop();
    keepRunInHistory();
    applyCoverRule();
    if (runLoop)
        runLoop->quit();
}

void TfrmStatistics::showUnreadableFolders()
{
    UnreadableFoldersDialog list(engine.foldersUnreadable, engine.unreadableFolders, this);
    list.exec();
}

void TfrmStatistics::driveStarting()
{
    for (ReportPage *page : pages)
        page->driveStarting();
    lblNotYet->setText(collectingText);
    btAbort->show();
    timer1WasRunning = Timer1.isActive();
    Timer1.stop();
    disenable(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    unreadableItem->hide(); // the progress bar takes its place
    startWalkProgress();
}

// The progress bar measures the walk against what the drive says it holds, or better, against
// what the last complete walk of it met. The history is looked through beside the walk, which
// starts at once: until its answer comes, the drive's own count stands in.
void TfrmStatistics::startWalkProgress()
{
    const QChar letter = engine.currentDrive.isEmpty() ? QChar() : engine.currentDrive.at(0);
    const DriveFacts &drive = recorder.driveWalking(platform::driveSource(), letter);
    usage = {drive.usedEntries, drive.usedBytes(), 0};
    walkProgress->setValue(0);
    walkProgress->show();
    walkTimeLeft->clear();
    walkTimeLeft->show();
    walkClock.start();
    walking = true;
    // An answer ready at once is handed over at once, so the walk must count as started first.
    const int walk = ++walksStarted;
    if (!historyFolder.isEmpty())
        runAside([folder = historyFolder, drive] {
            return expectedEntries(folder, drive);
        }).then(this, [this, walk](std::uint64_t expected) {
            if (walking && walk == walksStarted)
                usage.expectedEntries = expected;
        });
}

void TfrmStatistics::showWalkProgress(const WalkCounters &counters)
{
    const int percent = walkPercent(counters, usage);
    walkProgress->setValue(std::max(percent, walkProgress->value()));
    walkTimeLeft->setText(timeLeftText(walkClock.elapsed() / 1000.0, walkProgress->value()));
}

// A drive walked to its end shows as full while the pages fill; a stopped one keeps its share.
void TfrmStatistics::walkEnded()
{
    walking = false;
    recorder.driveWalked(engine.walkCounters.entries, engine.walkCounters.withCreationTime);
    showPendingStatus();
    if (!engine.aborted) {
        walkProgress->setValue(100);
        walkTimeLeft->clear();
        StatusBar1->repaint();
    }
}

void TfrmStatistics::refillPages()
{
    for (const Page tab : fillOrder)
        pages[tab]->refill();
}

void TfrmStatistics::driveFinished()
{
    walkProgress->hide();
    walkTimeLeft->hide();
    unreadableItem->setCount(engine.foldersUnreadable);
    QApplication::restoreOverrideCursor();
    disenable(true);
    // The pie tick goes back to what it was before the walk, also when a click on a pie during
    // the walk switched it on.
    if (timer1WasRunning)
        Timer1.start();
    else
        Timer1.stop();
}

// The controls that could start a second run or change what a page shows; Close and Abort stay
// usable so that the walk can be stopped.
void TfrmStatistics::disenable(bool enabled)
{
    btPrint->setEnabled(enabled);
    btOK->setEnabled(enabled);
    btReport->setEnabled(enabled);
    pckStatDrive->setEnabled(enabled);
    for (ReportPage *page : pages)
        page->setRunControlsEnabled(enabled);
}

void TfrmStatistics::btAbortClick()
{
    engine.abortScan();
}

void TfrmStatistics::btCancelClick()
{
    if (!engine.abortScan())
        hide();
}

void TfrmStatistics::stopForExit()
{
    engine.abortScan();
    hide();
}
