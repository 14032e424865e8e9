#include "StatisticsFixture.h"
#include "controls/Notebook.h"
#include "controls/PickList.h"
#include "controls/StyledLabel.h"
#include "platform/DirectorySearch.h"
#include "reports/ReportPage.h"
#include "reports/UnreadableFolders.h"

#include <QLabel>
#include <QProgressBar>
#include <QTreeWidget>

namespace {

using CollectionRun = StatisticsFixture;

const QString oneDriveInfo =
    "Disk Drive c: [system] will be scanned.  The analysis may take some time.  You may quit at "
    "any time by clicking Abort or pressing ESC.";
const QString severalDrivesInfo =
    "Since you selected more than one drive to analyze, the Cluster Overhang tab will be "
    "disabled.  You may quit the analysis at any time by clicking CANCEL or by pressing ESC.";
const QString abortedCaption = "File Statistics for drive(s) incomplete ... aborted.";

TEST_F(CollectionRun, OneDriveFromWizardToFinishedStatus)
{
    run();
    EXPECT_EQ(infos, QStringList{oneDriveInfo});
    EXPECT_EQ(status(), "Finished - 8 files processed");
    EXPECT_EQ(window->windowTitle(), "Statistics completed for drives C: ");
    EXPECT_TRUE(window->OvcNotebook1->isPageEnabled(TfrmStatistics::OverhangTab));
    EXPECT_EQ(window->PickList1->Items(), QStringList{"c: [system]"});
}

// A drive that is not ready is passed over but keeps its letter in the caption.
TEST_F(CollectionRun, SeveralDrivesSkipTheOneNotReadyAndDisableOverhang)
{
    window->OvcNotebook1->setPageIndex(TfrmStatistics::OverhangTab);
    run("de");
    EXPECT_EQ(infos, QStringList{severalDrivesInfo});
    EXPECT_EQ(status(), "Finished - 12 files processed");
    EXPECT_EQ(window->windowTitle(), "Statistics completed for drives C: D: E: ");
    EXPECT_FALSE(window->OvcNotebook1->isPageEnabled(TfrmStatistics::OverhangTab));
    EXPECT_EQ(window->OvcNotebook1->PageIndex(), TfrmStatistics::AccessTab);
}

TEST_F(CollectionRun, FilteredRunCountsTheFilesFound)
{
    run({}, true);
    EXPECT_EQ(status(), "Finished - 8 files processed 3 files found");
    EXPECT_EQ(window->PickList2->count(), 1);
}

TEST_F(CollectionRun, ASecondRunStartsOver)
{
    run();
    run();
    EXPECT_EQ(window->engine.filesProcessed, 8);
    EXPECT_EQ(status(), "Finished - 8 files processed");
}

TEST_F(CollectionRun, CancelledWizardAndRefusedCapacityChangeNothing)
{
    run();
    const QString title = window->windowTitle();
    QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
    QTest::mouseClick(window->btOK, Qt::LeftButton);
    drives->setSpace('c', 0, 0);
    run();
    EXPECT_EQ(errors, QStringList{"Could not compute the total size of the disk drives selected.  "
                                  "Cannot proceed with statistics."});
    EXPECT_EQ(infos.size(), 1);
    EXPECT_EQ(window->engine.filesProcessed, 8);
    EXPECT_EQ(window->windowTitle(), title);
}

// Esc, Abort and Close during the first of two drives: the walk stops, the second drive is not
// walked, and caption and status say so.
TEST_F(CollectionRun, EscAbortAndCloseStopTheWalk)
{
    const std::vector<std::function<void(TfrmStatistics &)>> stops = {
        [](TfrmStatistics &w) { QTest::keyClick(&w, Qt::Key_Escape); },
        [](TfrmStatistics &w) { QTest::mouseClick(w.btAbort, Qt::LeftButton); },
        [](TfrmStatistics &w) { QTest::mouseClick(w.btCancel, Qt::LeftButton); }};
    for (const auto &stop : stops) {
        window->OvcNotebook1->setPageIndex(TfrmStatistics::TypesTab); // Abort shows on the cover
        dispatches = 0;
        QString walking;
        duringWalk([&](int dispatch) {
            if (dispatch == 3) {
                walking = status();
                stop(*window);
            }
        });
        run("e");
        EXPECT_TRUE(walking.startsWith("Processing drive c: [system] ... standby : /"))
            << walking.toStdString();
        EXPECT_EQ(window->windowTitle(), abortedCaption);
        EXPECT_TRUE(status().endsWith(" INCOMPLETE ... ABORTED")) << status().toStdString();
        EXPECT_LT(window->engine.filesProcessed, 8);
        EXPECT_EQ(window->engine.currentDrive, "c: [system]"); // e: was never started
        EXPECT_TRUE(window->isVisible());
    }
}

TEST_F(CollectionRun, CloseBoxDuringAWalkHidesAndTheWalkGoesOn)
{
    duringWalk([&](int dispatch) {
        if (dispatch == 3)
            window->close();
    });
    run("e");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(status(), "Finished - 12 files processed");
    window->show();
    EXPECT_EQ(window->engine.filesProcessed, 12);
}

TEST_F(CollectionRun, CloseWhenIdleHidesAndKeepsTheResults)
{
    run();
    QTest::mouseClick(window->btCancel, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    window->show();
    EXPECT_EQ(status(), "Finished - 8 files processed");
    EXPECT_EQ(window->engine.filesProcessed, 8);
}

// Enter and the button itself do nothing while a walk runs: no wizard opens inside the walk.
TEST_F(CollectionRun, NoSecondRunDuringAWalk)
{
    bool wizardShown = false;
    duringWalk([&](int dispatch) {
        if (dispatch != 2)
            return;
        QTimer::singleShot(0, [&] {
            if (QWidget *modal = QApplication::activeModalWidget()) {
                wizardShown = true;
                modal->close();
            }
        });
        QTest::keyClick(window.get(), Qt::Key_Return);
        window->btOKClick();
        QApplication::processEvents();
    });
    run();
    EXPECT_FALSE(wizardShown);
    EXPECT_EQ(infos.size(), 1);
}

// The cover lies over every page but Space until a walk has finished; during the first walk it
// says so and offers Abort.
TEST_F(CollectionRun, CoverPanelBeforeDuringAndAfterARun)
{
    auto coveredPages = [&] {
        QList<int> covered;
        for (int page = 0; page < TfrmStatistics::PageCount; ++page) {
            window->OvcNotebook1->setPageIndex(page);
            if (window->pnlNotYet->isVisible())
                covered.append(page);
        }
        return covered;
    };
    EXPECT_EQ(coveredPages(), QList<int>({1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_FALSE(window->btAbort->isVisible());
    QString notice;
    bool abortShown = false;
    duringWalk([&](int) {
        notice = window->lblNotYet->text();
        abortShown = window->btAbort->isVisible();
    });
    run();
    EXPECT_EQ(notice, "Collecting statistics ... standby.  Press Esc or click Abort to stop.");
    EXPECT_TRUE(abortShown);
    EXPECT_EQ(coveredPages(), QList<int>());
}

// During a walk exactly the controls that could start a run or change a view are off, the pie
// tick rests and the hourglass shows; all of it comes back afterwards.
TEST_F(CollectionRun, WalkDisablesItsListPausesThePieTickAndShowsTheHourglass)
{
    auto enabledControls = [&] {
        return QList<bool>{window->btOK->isEnabled(),         window->btPrint->isEnabled(),
                           window->pckStatDrive->isEnabled(), window->btCancel->isEnabled(),
                           window->btAbort->isEnabled(),      window->btReport->isEnabled()};
    };
    QList<bool> during;
    bool tickRunning = true, hourglass = false;
    duringWalk([&](int) {
        during = enabledControls();
        tickRunning = window->Timer1.isActive();
        hourglass = QApplication::overrideCursor() &&
                    QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    });
    window->Timer1.start();
    run();
    EXPECT_EQ(during, QList<bool>({false, false, false, true, true, false}));
    EXPECT_FALSE(tickRunning);
    EXPECT_TRUE(hourglass);
    EXPECT_EQ(enabledControls(), QList<bool>({true, true, true, true, true, true}));
    EXPECT_TRUE(window->Timer1.isActive());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// A click on a pie during the walk starts the pie tick; the walk's end lets it rest again.
TEST_F(CollectionRun, PieTickRestsAfterTheWalkWhenItRestedBefore)
{
    window->Timer1.stop();
    duringWalk([&](int) { window->Timer1.start(); });
    run();
    EXPECT_FALSE(window->Timer1.isActive());
}

// A dialog opened while a drive is walked (the About box, a page's note) comes from the window's
// message loop; the walk runs on to its end while the dialog waits for the user.
TEST_F(CollectionRun, ADialogOpenedDuringTheWalkDoesNotHoldIt)
{
    bool finishedWhileOpen = false;
    duringWalk([&](int dispatch) {
        if (dispatch != 2)
            return;
        QTimer::singleShot(0, window.get(), [&] {
            QDialog dialog(window.get());
            QTimer watch;
            QObject::connect(&watch, &QTimer::timeout, [&] {
                if (status().startsWith("Finished")) {
                    finishedWhileOpen = true;
                    dialog.accept();
                }
            });
            watch.start(1);
            QTimer::singleShot(5000, &dialog, &QDialog::reject);
            dialog.exec();
        });
    });
    run();
    EXPECT_TRUE(finishedWhileOpen);
    EXPECT_EQ(status(), "Finished - 8 files processed");
}

// Folders the walk could not read are told beside the status, which stays as it was; the item
// opens their list by Enter or a click.
TEST_F(CollectionRun, UnreadableFoldersAreToldBesideTheStatus)
{
    // The folders a (4 files) and b (3 files) of c: fail by the last letter of their names.
    struct Case
    {
        QString failing;
        int files;
        QString item;
    };
    for (const auto &[failing, files, item] :
         {Case{"a", 4, "1 folder could not be read"}, Case{"ab", 1, "2 folders could not be read"},
          Case{"", 8, ""}}) {
        platform::setListingHook(
            [failing](const std::string &path) { return !failing.contains(path.back()); });
        run();
        EXPECT_EQ(status(), QString("Finished - %1 files processed").arg(files));
        EXPECT_EQ(window->unreadableItem->isVisible(), !item.isEmpty());
        EXPECT_EQ(window->unreadableItem->text(), item);
    }
    platform::setListingHook([](const std::string &path) { return !path.ends_with("b"); });
    run();
    platform::setListingHook({});
    const std::vector<std::function<void()>> presses = {
        [&] { QTest::keyClick(window->unreadableItem, Qt::Key_Return); },
        [&] { QTest::mouseClick(window->unreadableItem, Qt::LeftButton); }};
    for (const auto &press : presses) {
        QStringList rows;
        QTimer::singleShot(0, [&] {
            auto *list = qobject_cast<UnreadableFoldersDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(list, nullptr) << "the list did not open";
            for (int row = 0; row < list->lvFolders->topLevelItemCount(); ++row)
                rows << list->lvFolders->topLevelItem(row)->text(0) + " | " +
                            list->lvFolders->topLevelItem(row)->text(1);
            QTest::keyClick(list, Qt::Key_Escape);
        });
        press();
        EXPECT_EQ(rows, QStringList{home.filePath("c/b") + " | Permission denied"});
    }
}

// The progress bar shows only during a walk, rises, never passes 100 and ends there. The drive
// says it holds fewer entries than the walk meets, as hard links can make it.
TEST_F(CollectionRun, ProgressBarRisesDuringTheWalkOnly)
{
    drives->setUsedEntries('c', 6);
    QList<int> seen;
    duringWalk([&](int) {
        EXPECT_TRUE(window->walkProgress->isVisible());
        seen.append(window->walkProgress->value());
    });
    EXPECT_FALSE(window->walkProgress->isVisible());
    run();
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_GT(seen.last(), seen.first());
    EXPECT_LE(seen.last(), 99);
    EXPECT_EQ(window->walkProgress->value(), 100);
    EXPECT_FALSE(window->walkProgress->isVisible());
}

// Each walked drive's facts reach the date pages: the way it keeps access dates, and whether its
// file system told creation dates; a drive not walked says nothing, and a new run starts over.
TEST_F(CollectionRun, DatePagesSayHowTheWalkedDrivesKeepTheirDates)
{
    for (const auto &[letter, way] : {std::pair{'c', platform::AccessTimes::Never},
                                      std::pair{'e', platform::AccessTimes::Daily}}) {
        platform::Drive drive = *drives->find(QChar(letter));
        drive.accessTimes = way;
        drives->addDrive(drive);
    }
    run("de");
    const std::vector<DriveFacts> &facts = window->recorder.run().drives;
    ASSERT_EQ(facts.size(), 3u);
    EXPECT_FALSE(facts[1].keepsCreationDates.has_value()) << "d: is not ready";
    EXPECT_TRUE(facts[2].keepsCreationDates.has_value());
    const QString both = "Access dates on C: are never updated (noatime)\n"
                         "Access dates on E: are updated at most once a day (relatime)";
    // Beside the chart each note takes one line and tells the rest in its hint.
    auto note = [&](TfrmStatistics::Page tab, const char *name) {
        const QLabel *label = window->pages[tab]->findChild<QLabel *>(name);
        EXPECT_EQ(label->height(), label->fontMetrics().height()) << name;
        EXPECT_EQ(label->accessibleDescription(), label->toolTip()) << name;
        return label->toolTip();
    };
    EXPECT_EQ(note(TfrmStatistics::AccessTab, "lblAccessDates"), both);
    EXPECT_EQ(note(TfrmStatistics::CombinedTab, "lblCombineDates"), both);

    run();
    EXPECT_EQ(note(TfrmStatistics::AccessTab, "lblAccessDates"),
              "Access dates on C: are never updated (noatime)");
}

// Each run that ends is kept, stopped or not. The next walk of the drive measures its share
// against what the last complete walk met, not against the drive's inodes (the walk passes
// hidden folders by). A history that cannot be written changes nothing on screen.
TEST_F(CollectionRun, EveryRunIsKeptAndTheLastCompleteWalkGuidesTheBar)
{
    window->historyFolder = home.filePath("history");
    drives->setUsedEntries('c', 1000);
    run();
    QList<int> seen;
    duringWalk([&](int dispatch) {
        // The history is looked through beside the walk: its answer is awaited, not raced.
        if (dispatch == 1) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return window->walkUsage().expectedEntries > 0; }));
        }
        seen.append(window->walkProgress->value());
        if (dispatch == 5)
            QTest::keyClick(window.get(), Qt::Key_Escape);
    });
    run();
    EXPECT_GE(seen.last(), 40) << "5 of the 10 entries the first walk met";

    const QStringList files = historyFiles(window->historyFolder);
    ASSERT_EQ(files.size(), 2);
    const CollectionRead first = readCollectionFile(files.first());
    const CollectionRead second = readCollectionFile(files.last());
    ASSERT_TRUE(first && second) << first.message.toStdString() << second.message.toStdString();
    EXPECT_TRUE(first.collection->facts.complete);
    EXPECT_EQ(first.collection->facts.drives.at(0).entriesMet, 10u);
    EXPECT_EQ(first.collection->facts.drives.at(0).mountPoint, home.filePath("c"));
    EXPECT_FALSE(second.collection->facts.complete);
    EXPECT_TRUE(sameFigures(second.collection->figures, window->engine));

    QFile blocker(home.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    window->historyFolder = blocker.fileName() + "/history";
    run();
    EXPECT_EQ(status(), "Finished - 8 files processed");
    EXPECT_TRUE(errors.isEmpty());
}

} // namespace

// The list of folders not read runs by path, and stays out of sight when no names were kept.
TEST(UnreadableFoldersList, SortedByPathAndLeftOutWithoutNames)
{
    const std::vector<UnreadableFolder> folders = {{"/srv/b", "Permission denied"},
                                                   {"/home/z", "Permission denied"}};
    UnreadableFoldersDialog named(2, folders);
    EXPECT_EQ(named.lvFolders->topLevelItem(0)->text(0), "/home/z");
    EXPECT_FALSE(named.lvFolders->isHidden());
    UnreadableFoldersDialog unnamed(5, {});
    EXPECT_TRUE(unnamed.lvFolders->isHidden());
}
