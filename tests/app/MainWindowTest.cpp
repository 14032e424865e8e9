#include "app/MainWindow.h"

#include "charts/BarSeries.h"
#include "charts/Chart.h"
#include "controls/AboutBox.h"
#include "controls/MessageBoxes.h"
#include "controls/PickList.h"
#include "controls/StyledLabel.h"
#include "reports/Statistics.h"
#include "selection/WhichDrive.h"
#include "support/PlatformFakes.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <gtest/gtest.h>

using namespace platform;

namespace {

constexpr std::uint64_t KB = 1024;
constexpr std::uint64_t MB = 1024 * KB;
constexpr std::uint64_t GB = 1024 * MB;

// A main window over a drive table of temporary folders, with the statistics window that holds
// its drive list.
class MainWindowTest : public ::testing::Test
{
protected:
    // A ready drive with a pretended capacity.
    void addDrive(QChar letter, std::uint64_t freeBytes, std::uint64_t totalBytes)
    {
        source->addDrive(letter, DriveFixed, QString(), temp.path());
        source->setSpace(letter, freeBytes, totalBytes);
    }
    // A drive that says it is ready but whose capacity cannot be read: a negative total.
    void addSilentDrive(QChar letter)
    {
        source->addDrive(letter, DriveFixed, QString(), temp.filePath("gone"));
        source->setReady(letter, true);
    }

    void open()
    {
        statistics = std::make_unique<TfrmStatistics>();
        window = std::make_unique<TfrmMain>();
        window->setStatisticsWindow(statistics.get());
        window->setWindowState(Qt::WindowNoState);
        window->resize(640, 482);
    }

    QStringList labels(const TBarSeries &series) const
    {
        QStringList out;
        for (int i = 0; i < series.count(); ++i)
            out << series.point(i).label;
        return out;
    }

    // The chart as the turn-and-zoom phase starts it.
    void expectTurnStart()
    {
        const TView3DOptions &view = window->chartSpaceBar->View3DOptions();
        EXPECT_EQ(view.Zoom, 20);
        EXPECT_EQ(view.Rotation, 280);
        EXPECT_EQ(view.Elevation, 280);
        EXPECT_FALSE(view.Orthogonal);
        EXPECT_EQ(window->chartSpaceBar->Chart3DPercent(), 1);
        EXPECT_TRUE(window->Timer2.isActive());
        // Not at rest: no hint, no title.
        EXPECT_TRUE(window->chartSpaceBar->toolTip().isEmpty());
        EXPECT_FALSE(window->lblTitle->isVisibleTo(window.get()));
        EXPECT_FALSE(window->lblBottom->isVisibleTo(window.get()));
    }

    void finishTurn()
    {
        while (window->Timer2.isActive())
            window->Timer2Timer();
    }

    // Answers the wizard a run has opened: the current drive, every file.
    static void answerWizard()
    {
        auto *wizard = qobject_cast<TfrmWhichDrive *>(QApplication::activeModalWidget());
        ASSERT_NE(wizard, nullptr);
        QTest::mouseClick(wizard->btNext1, Qt::LeftButton);
        QTest::mouseClick(wizard->btNext2, Qt::LeftButton);
    }

    QTemporaryDir temp;
    korvel::test::InstalledFolderDrives source; // outlives the windows below
    std::unique_ptr<TfrmStatistics> statistics;
    std::unique_ptr<TfrmMain> window;
};

} // namespace

TEST_F(MainWindowTest, StatisticsWindowStartsHiddenWithTheDriveList)
{
    addDrive('c', 1 * GB, 2 * GB);
    addDrive('d', 1 * GB, 2 * GB);
    source->setCurrentEntry("d: [" + temp.path().toLower() + "]");
    open();
    EXPECT_FALSE(statistics->isVisible());
    EXPECT_EQ(statistics->windowTitle(), "File Statistics Not Yet Collected");
    ASSERT_EQ(statistics->pckStatDrive->count(), 2);
    EXPECT_FALSE(statistics->pckStatDrive->Selected(0));
    EXPECT_TRUE(statistics->pckStatDrive->Selected(1));
}

TEST_F(MainWindowTest, OneDriveHasNoTotalBar)
{
    addDrive('c', 300 * MB, 1000 * MB);
    open();
    window->doDiskSize();
    EXPECT_EQ(labels(*window->Series4), QStringList{"c"});
    EXPECT_DOUBLE_EQ(window->Series4->value(0), 300);
    EXPECT_DOUBLE_EQ(window->Series5->value(0), 700);
    EXPECT_EQ(window->Series4->pointColour(0), QColor(255, 0, 255));
    EXPECT_EQ(window->Series5->pointColour(0), QColor(0, 0, 255));
}

TEST_F(MainWindowTest, TotalBarComesLastWithTheSummedUsedSpace)
{
    addDrive('c', 300 * MB, 1000 * MB);
    addDrive('d', 4 * MB, 8 * MB); // small, but drawn to the scale of the others
    addDrive('e', 2 * GB, 10 * GB);
    open();
    window->doDiskSize();
    EXPECT_EQ(labels(*window->Series4), QStringList({"c", "d", "e", "Total"}));
    EXPECT_EQ(labels(*window->Series5), QStringList({"c", "d", "e", "Total"}));
    EXPECT_DOUBLE_EQ(window->Series4->value(1), 4);
    EXPECT_DOUBLE_EQ(window->Series5->value(1), 4);
    EXPECT_DOUBLE_EQ(window->Series4->value(3), 300 + 4 + 2048);
    EXPECT_DOUBLE_EQ(window->Series5->value(3), 700 + 4 + 8192);
}

TEST_F(MainWindowTest, SmallDrivesAloneArePlottedInKilobytes)
{
    addDrive('c', 1 * MB, 4 * MB);
    addDrive('d', 2 * MB, 4 * MB);
    open();
    window->doDiskSize();
    ASSERT_EQ(window->Series4->count(), 3);
    EXPECT_DOUBLE_EQ(window->Series4->value(2), 3 * 1024); // total under 10000 KB
    EXPECT_DOUBLE_EQ(window->Series5->value(2), 5 * 1024);
}

TEST_F(MainWindowTest, SkippedDrivesLeaveOneBarWithoutATotal)
{
    addDrive('c', 300 * MB, 1000 * MB);
    addSilentDrive('d'); // negative total: no bar
    source->addDrive('e', DriveFixed, QString(), temp.path());
    source->setReady('e', false); // not ready: no bar
    open();
    window->doDiskSize();
    // One bar drawn: no "Total" bar repeats it.
    EXPECT_EQ(labels(*window->Series4), QStringList({"c"}));
}

TEST_F(MainWindowTest, AnEntryWithoutALetterIsPassedOver)
{
    addDrive('c', 300 * MB, 1000 * MB);
    addDrive('d', 100 * MB, 1000 * MB);
    open();
    statistics->pckStatDrive->setItems({"c: [/]", "1: odd", "", "d: [/home]"});
    window->FormShow(); // must not stop half-way
    EXPECT_EQ(labels(*window->Series4), QStringList({"c", "d", "Total"}));
    EXPECT_TRUE(window->Timer2.isActive());
}

TEST_F(MainWindowTest, StartsMaximisedWithAquaHintsAfterASecond)
{
    TfrmMain fresh;
    ASSERT_NE(fresh.screen(), nullptr);
    const QRect area = fresh.screen()->availableGeometry();
    fresh.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fresh));
    EXPECT_TRUE(fresh.windowState() & Qt::WindowMaximized);
    EXPECT_EQ(fresh.frameGeometry(), area);
    // Un-maximised, the window lies wholly inside the free area, title bar included.
    fresh.setWindowState(Qt::WindowNoState);
    EXPECT_TRUE(area.contains(fresh.frameGeometry())) << fresh.frameGeometry().y();
    EXPECT_LT(fresh.width(), area.width());
    EXPECT_GT(fresh.geometry().top(), area.top());
    EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipBase), QColor(0, 255, 255));
    EXPECT_EQ(QApplication::style()->styleHint(QStyle::SH_ToolTip_WakeUpDelay), 1000);
}

TEST_F(MainWindowTest, ButtonsKeepTheirGapsAfterEveryResize)
{
    open();
    for (QSize size : {QSize(640, 482), QSize(1024, 768), QSize(520, 380), QSize(1920, 1080)}) {
        window->resize(size);
        window->FormResize();
        const QRect close = window->btClose->geometry();
        const QRect reach = window->btReach->geometry();
        const QRect statistic = window->btStatistic->geometry();
        EXPECT_EQ(close.right() + 1, size.width() - 6) << size.width();
        EXPECT_EQ(close.bottom() + 1, size.height() - 5) << size.height();
        EXPECT_EQ(reach.right() + 1, close.left() - 6);
        EXPECT_EQ(statistic.right() + 1, reach.left() - 6);
        EXPECT_EQ(reach.top(), close.top());
        EXPECT_EQ(statistic.top(), close.top());
        EXPECT_EQ(window->chartSpaceBar->geometry(), QRect(QPoint(), size));
        // The web address keeps off the window's left edge and clear of every button.
        const QRect address = window->lblBottom->geometry();
        EXPECT_GT(address.left(), 0);
        for (const QRect &button : {close, reach, statistic})
            EXPECT_FALSE(address.intersects(button)) << size.width();
    }
    EXPECT_EQ(window->btStatistic->size(), QSize(176, 28));
    EXPECT_EQ(window->btClose->size(), QSize(76, 28));
    EXPECT_EQ(window->btClose->toolTip(), "Quit and close ");
}

TEST_F(MainWindowTest, TurnPhaseTakesTwentyTicks)
{
    addDrive('c', 300 * MB, 1000 * MB);
    open();
    window->FormShow();
    expectTurnStart();
    const TView3DOptions &view = window->chartSpaceBar->View3DOptions();
    for (int tick = 0; tick < 20; ++tick)
        window->Timer2Timer();
    EXPECT_EQ(view.Zoom, 100);
    EXPECT_EQ(view.Rotation, 360);
    EXPECT_EQ(view.Elevation, 360);
    EXPECT_FALSE(view.Orthogonal);
    EXPECT_TRUE(window->Timer2.isActive());
    window->Timer2Timer(); // the tick that finds zoom 100 ends the phase
    EXPECT_TRUE(view.Orthogonal);
    EXPECT_FALSE(window->Timer2.isActive());
    EXPECT_TRUE(window->Timer1.isActive());
}

TEST_F(MainWindowTest, DepthPhaseEndsByTheNumberOfDrives)
{
    const std::pair<int, int> ends[] = {{1, 61}, {3, 61},  {4, 37},  {5, 37},
                                        {6, 31}, {10, 31}, {11, 11}, {14, 11}};
    for (const auto &[drives, depth] : ends) {
        TearDown();
        SetUp();
        for (int i = 0; i < drives; ++i)
            addDrive(QChar('c' + i), 1 * GB, 2 * GB);
        open();
        window->FormShow();
        finishTurn();
        EXPECT_TRUE(window->chartSpaceBar->toolTip().isEmpty());
        EXPECT_FALSE(window->lblTitle->isVisibleTo(window.get()));
        int ticks = 0;
        while (window->Timer1.isActive() && ticks++ < 100)
            window->Timer1Timer();
        EXPECT_EQ(window->chartSpaceBar->Chart3DPercent(), depth) << drives << " drives";
        EXPECT_EQ(window->chartSpaceBar->toolTip(), TfrmMain::restingHint);
        EXPECT_TRUE(window->lblTitle->isVisibleTo(window.get()));
        EXPECT_TRUE(window->lblBottom->isVisibleTo(window.get()));
    }
}

TEST_F(MainWindowTest, DoubleClickReplaysTheAnimation)
{
    addDrive('c', 300 * MB, 1000 * MB);
    open();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    window->Timer2.stop(); // the test drives the ticks itself
    window->FormShow();
    finishTurn();
    for (int tick = 0; tick < 3; ++tick)
        window->Timer1Timer(); // depth 16, still growing
    ASSERT_EQ(window->chartSpaceBar->Chart3DPercent(), 16);

    QTest::mouseDClick(window->chartSpaceBar, Qt::LeftButton, {}, QPoint(300, 200));
    expectTurnStart();
    // The depth phase was under way: it goes on beside the new turn and stops at its limit.
    EXPECT_TRUE(window->Timer1.isActive());
    window->Timer1Timer();
    EXPECT_EQ(window->chartSpaceBar->Chart3DPercent(), 6);
    while (window->Timer1.isActive())
        window->Timer1Timer();
    EXPECT_EQ(window->chartSpaceBar->Chart3DPercent(), 61);
    EXPECT_EQ(window->chartSpaceBar->toolTip(), TfrmMain::restingHint);

    window->chartSpaceBarDblClick(); // from rest: labels and hint go
    EXPECT_TRUE(window->chartSpaceBar->toolTip().isEmpty());
    EXPECT_FALSE(window->lblTitle->isVisible());
}

TEST_F(MainWindowTest, ExitClosesTheWindow)
{
    open();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QTest::mouseClick(window->btClose, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, AboutShowsTheAboutBoxModally)
{
    open();
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (auto *about = qobject_cast<TfrmAbout *>(QApplication::activeModalWidget())) {
            shown = about->metaObject()->className();
            about->reject();
        }
    });
    window->btReach->click();
    EXPECT_EQ(shown, "TfrmAbout");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

// The road of a collection as a user takes it: the main window's button shows the statistics
// window beside it (not modal), and a run there walks the picked drive.
TEST_F(MainWindowTest, CollectShowsTheStatisticsWindowWhoseRunWalksTheDrive)
{
    addDrive('c', 10 * GB, 20 * GB);
    for (const char *name : {"one.txt", "two.doc", "three"})
        QFile(temp.filePath(name)).open(QIODevice::WriteOnly);
    setMessageHook([](MessageKind, const QString &) { return true; });
    open();
    window->show();
    QTest::mouseClick(window->btStatistic, Qt::LeftButton);
    EXPECT_TRUE(statistics->isVisible());
    EXPECT_FALSE(statistics->isModal());
    QTimer::singleShot(0, answerWizard);
    QTest::mouseClick(statistics->btOK, Qt::LeftButton);
    setMessageHook({});
    EXPECT_EQ(statistics->StatusBar1->currentMessage(), "Finished - 3 files processed");
}

// Exit in the middle of a walk stops the walk at once, and the program's message loop ends.
TEST_F(MainWindowTest, ExitDuringAWalkStopsItAndEndsTheProgram)
{
    addDrive('c', 10 * GB, 20 * GB);
    for (int file = 0; file < 20; ++file)
        QFile(temp.filePath(QString::number(file))).open(QIODevice::WriteOnly);
    setMessageHook([](MessageKind, const QString &) { return true; });
    open();
    window->show();
    window->btStatistic->click();
    statistics->engine.readAheadThreads = 0;
    statistics->engine.dispatchInterval = std::chrono::milliseconds(0);
    const auto dispatch = statistics->engine.hooks.dispatchMessages;
    int dispatches = 0;
    statistics->engine.hooks.dispatchMessages = [&] {
        dispatch();
        if (++dispatches == 3)
            QTest::mouseClick(window->btClose, Qt::LeftButton);
    };
    QTimer::singleShot(0, [this] {
        QTimer::singleShot(0, answerWizard);
        statistics->btOK->click();
    });
    // Only a guard against a loop that never ends; the loop ends long before.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] { QApplication::exit(1); });
    guard.start(60000);
    EXPECT_EQ(QApplication::exec(), 0);
    setMessageHook({});
    EXPECT_TRUE(statistics->engine.aborted);
    EXPECT_LT(statistics->engine.filesProcessed, 20);
    EXPECT_FALSE(statistics->isVisible());
    EXPECT_FALSE(window->isVisible());
}
