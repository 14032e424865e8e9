#include "reports/TrendsWindow.h"

#include "charts/Chart.h"
#include "charts/ChartTable.h"
#include "controls/Notebook.h"
#include "platform/FileManager.h"
#include "platform/ShellOpen.h"
#include "support/TestSupport.h"
#include "tools/MadeUpHistory.h"

#include <QComboBox>
#include <QDBusConnection>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>
#include <gtest/gtest.h>

namespace {

struct TrendsWindowFixture : ::testing::Test
{
    void SetUp() override
    {
        ASSERT_TRUE(writeMadeUpHistory(history.path(), 45, 1000, 30));
        window.showHistory(history.path());
        window.show();
        ASSERT_TRUE(readingEnds());
    }
    bool readingEnds()
    {
        return QTest::qWaitFor([&] { return !window.isReading(); });
    }
    QTemporaryDir history;
    TrendsWindow window;
};

// The chart of used space reads, collection by collection, what each collection says of its
// drive; the period choice narrows every tab.
TEST_F(TrendsWindowFixture, SpaceChartReadsTheCollectionsFigures)
{
    const auto points = readTrendPoints(history.path());
    const ChartTableText table = chartTable(*window.chSpace);
    ASSERT_EQ(table.columnHeaders.value(0), "C: used");
    for (const TrendPoint &point : points) {
        const int row = int(table.rowHeaders.indexOf(point.started.toString("yyyy-MM-dd")));
        ASSERT_GE(row, 0);
        EXPECT_EQ(table.cell(row, 0),
                  QLocale().toString(qRound64(point.drives[0].usedBytes() / 1048576.0)));
    }
    EXPECT_TRUE(window.lblForecast->text().startsWith("C: grows by 9.8 GB a week; full in about"))
        << window.lblForecast->text().toStdString();

    window.cbPeriod->setCurrentIndex(int(TrendPeriod::Days30));
    EXPECT_EQ(window.shownPoints().size(), 31u); // both ends of the 30 days
    window.cbPeriod->setCurrentText("90 days");
    EXPECT_EQ(window.shownPoints().size(), points.size());
}

// Ctrl+Tab walks the four tabs and comes back; Tab reaches the table of a tab.
TEST_F(TrendsWindowFixture, TabsAreReachedByKeys)
{
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    window.notebook->setFocus();
    QStringList seen;
    for (int i = 0; i < 5; ++i) {
        seen << window.notebook->pageCaption(window.notebook->PageIndex());
        QTest::keyClick(window.notebook, Qt::Key_Tab, Qt::ControlModifier);
    }
    EXPECT_EQ(seen, (QStringList{"Space", "Types", "Folders", "Ages", "Space"}));
    window.notebook->setPageIndex(2);
    window.tvFolders->setFocus();
    EXPECT_GT(window.tvFolders->model()->rowCount(), 10);
}

TEST_F(TrendsWindowFixture, ExportsATabAsCsvAndAllAsPdf)
{
    QTemporaryDir out;
    ASSERT_TRUE(window.exportTrends({TrendTab::Types, out.filePath("types.csv")}));
    EXPECT_TRUE(korvel::test::fileBytes(out.filePath("types.csv"))
                    .startsWith("Type,Bytes first,Bytes latest,Change,Change per month\r\n.JPG,"));
    ASSERT_TRUE(window.exportTrends({std::nullopt, out.filePath("all.pdf")}));
    const QString text = korvel::test::pdfText(out.filePath("all.pdf"));
    for (const char *part :
         {"Korvel 98 trends of drives C:", "Folders", "Not modified for a year", "C: grows by"})
        EXPECT_TRUE(text.contains(part)) << part;
}

// "Browse..." reads another history folder; an index that cannot be used there is said once
// in the window, and the trends come from the files.
TEST_F(TrendsWindowFixture, BrowseReadsAnotherFolderAndSaysWhenItsIndexIsUnusable)
{
    QTemporaryDir other;
    ASSERT_TRUE(writeMadeUpHistory(other.path(), 5, 1000, 30));
    ASSERT_TRUE(QDir(other.path()).mkdir(trendIndexName)); // a folder where the index would be
    window.askFolder = [&] { return other.path(); };
    QTest::keyClick(window.btBrowse, Qt::Key_Space);
    ASSERT_TRUE(readingEnds());
    EXPECT_EQ(window.shownPoints().size(), 5u);
    EXPECT_TRUE(window.lblMessage->isVisible());
    EXPECT_TRUE(window.lblMessage->text().contains("cannot be used; the trends are read from the "
                                                   "collection files"));
    EXPECT_EQ(window.lblForecast->text(), "C: too few collections for a forecast");
}

// The window says it is reading and is at hand meanwhile: a period chosen then applies when it
// ends, and a folder asked for later outdates one still being read.
TEST_F(TrendsWindowFixture, ReadsBesideTheWindowAndTheLatestFolderWins)
{
    QTemporaryDir other;
    ASSERT_TRUE(writeMadeUpHistory(other.path(), 4, 1000, 30));
    window.showHistory(other.path());
    window.showHistory(history.path());
    EXPECT_TRUE(window.lblSource->text().startsWith("Reading the collections in "));
    EXPECT_FALSE(window.btExport->isEnabled());
    window.cbPeriod->setCurrentText("30 days");
    ASSERT_TRUE(readingEnds());
    EXPECT_EQ(window.shownPoints().size(), 31u);
    EXPECT_TRUE(window.lblSource->text().endsWith(QDir::toNativeSeparators(history.path()) + "."));

    // A window closed for good while it reads leaves the reading to end alone.
    auto gone = std::make_unique<TrendsWindow>();
    gone->showHistory(history.path());
    gone.reset();
    EXPECT_TRUE(QThreadPool::globalInstance()->waitForDone(10'000));
    QCoreApplication::processEvents();
}

// Enter and a double click on a folder row show that folder under its drive's mount point, once
// each; with no file manager on the bus it goes to the handler of folders.
TEST_F(TrendsWindowFixture, AFolderRowOpensInTheFileManager)
{
    QList<QByteArray> opened;
    platform::setFileManagerBus(QDBusConnection(QStringLiteral("no bus")));
    platform::setUrlOpener([&](const QUrl &url) {
        opened << url.toEncoded();
        return true;
    });
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.notebook->setPageIndex(int(TrendTab::Folders));
    QTableView &folders = *window.tvFolders;
    folders.setFocus();
    folders.setCurrentIndex(
        folders.model()->index(1, 0)); // dir0, the largest grower below the root
    QTest::keyClick(&folders, Qt::Key_Return);
    // A real double click starts with a press, which the view needs to see on the same row.
    const QPoint root = folders.visualRect(folders.model()->index(0, 0)).center();
    QTest::mouseClick(folders.viewport(), Qt::LeftButton, {}, root);
    QTest::mouseDClick(folders.viewport(), Qt::LeftButton, {}, root);
    EXPECT_TRUE(QTest::qWaitFor([&] { return opened.size() == 2; }));
    EXPECT_EQ(opened, (QList<QByteArray>{"file:///home/dir0", "file:///home"}));
    platform::setUrlOpener({});
}

} // namespace
