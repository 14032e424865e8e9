// Collections saved from the statistics window and opened in it again: every page as the run left
// it, the Space page with the drives' space of that time, and files that cannot be read or written
// told in one message box that changes nothing.

#include "StatisticsFixture.h"
#include "charts/Chart.h"
#include "charts/ChartTable.h"
#include "controls/Notebook.h"
#include "controls/StringGrid.h"
#include "controls/StyledLabel.h"
#include "model/Collection.h"
#include "platform/DirectorySearch.h"
#include "platform/ShellOpen.h"
#include "reports/ReportPage.h"
#include "reports/SpacePage.h"
#include "reports/UnreadableFolders.h"

#include <QAction>
#include <QDirIterator>
#include <QLabel>
#include <QProcess>

namespace {

const QDateTime runStart(QDate(2026, 12, 7), QTime(16, 45, 3));

// Everything the pages show as text, page by page: the listings' cells, the labels, the figures
// and titles of the charts in view, what is hidden and what is disabled; then the status bar, its
// item of folders not read, and the cover.
QStringList shownFigures(TfrmStatistics &window)
{
    QStringList shown;
    for (int index = 0; index < TfrmStatistics::PageCount; ++index) {
        const ReportPage &page = *window.pages[std::size_t(index)];
        shown << QString("page %1 %2").arg(index).arg(window.OvcNotebook1->isPageEnabled(index));
        // What a disabled page keeps from an earlier run cannot be seen.
        if (!window.OvcNotebook1->isPageEnabled(index))
            continue;
        for (const TStringGrid *grid : page.findChildren<TStringGrid *>())
            for (int row = 0; row < grid->rowCount(); ++row)
                shown << grid->rowCells(row).join('|');
        for (const QWidget *w : page.findChildren<QWidget *>()) {
            const QString seen = w->isVisibleTo(&page) ? "" : "(hidden) ";
            if (const auto *label = qobject_cast<const QLabel *>(w))
                shown << seen + label->text();
            else if (const auto *styled = qobject_cast<const StyledLabel *>(w))
                shown << seen + styled->text();
        }
        // A hidden chart may keep what an earlier view drew.
        for (const TChart *chart : page.findChildren<TChart *>()) {
            if (!chart->isVisibleTo(&page))
                continue;
            const ChartTableText table = chartTable(*chart);
            shown << chart->Title().lines.join(' ') + ": " + table.rowHeaders.join('|');
            for (const QStringList &row : table.cells)
                shown << row.join('|');
        }
    }
    return shown << window.StatusBar1->currentMessage() << window.unreadableItem->text()
                 << QString::number(window.pnlNotYet->isVisible());
}

// The bar view and then the pie view of the Space page, and every other page.
QStringList everyPage(TfrmStatistics &window)
{
    auto &space = static_cast<SpacePage &>(*window.pages[TfrmStatistics::SpaceTab]);
    space.rgSpace2->click();
    QStringList shown = shownFigures(window);
    space.rgSpace1->click();
    shown << shownFigures(window);
    space.rgSpace2->click();
    return shown;
}

struct CollectionWindow : StatisticsFixture
{
    void SetUp() override
    {
        StatisticsFixture::SetUp();
        window->historyFolder.clear();
        window->recorder.now = [] { return runStart; };
        drives->setSpace('c', 300'000'000, 1'000'000'000);
        drives->setSpace('e', 5'000'000'000, 8'000'000'000);
    }

    QString save(TfrmStatistics &from, const QString &path)
    {
        from.askSaveCollectionPath = [path](const QString &) { return path; };
        from.SaveCollection1->trigger();
        return path;
    }

    // A window of its own, made after the drives changed, that opens the file by its shortcut.
    std::unique_ptr<TfrmStatistics> openedIn(const QString &path)
    {
        auto opened = std::make_unique<TfrmStatistics>();
        opened->historyFolder.clear();
        opened->askOpenCollectionPath = [path](const QString &) { return path; };
        opened->show();
        opened->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(opened.get()));
        QTest::keyClick(opened.get(), Qt::Key_O, Qt::ControlModifier);
        return opened;
    }

    // The drive list of the window that ran picks the drives the run walked, as the list of an
    // opened collection does.
    void pickWalkedDrives(const QString &letters)
    {
        for (int row = 0; row < window->pckStatDrive->count(); ++row)
            window->pckStatDrive->setSelected(
                row, letters.contains(window->pckStatDrive->Items().at(row).at(0)));
        window->pckStatDriveClick();
    }
};

// A run saved and opened in a fresh window after the drives filled up: every page, the Space
// page's figures and pies with the space of the run's time, the caption naming the run, and the
// number of folders the run could not read.
TEST_F(CollectionWindow, ASavedRunOpensOnEveryPageAsItRan)
{
    struct Case
    {
        QString moreDrives;
        bool include;
        QString walked;
        QString caption;
        const char *unreadable; // the last letter of the folders that fail
    };
    const Case cases[] = {
        {"", false, "c", "Statistics of 12/7/26 4:45 PM for drives C:", ""},
        {"de", true, "ce", "Statistics of 12/7/26 4:45 PM for drives C: E:", "b"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.walked.toStdString());
        drives->setSpace('c', 300'000'000, 1'000'000'000);
        // The pie view shows every drive of the list that answers, picked or not.
        drives->setReady('e', c.walked.contains('e'));
        platform::setListingHook([&c](const std::string &path) {
            return !*c.unreadable || !path.ends_with(c.unreadable);
        });
        run(c.moreDrives, c.include);
        platform::setListingHook({});
        pickWalkedDrives(c.walked);
        const QStringList ran = everyPage(*window);
        const QString path = save(*window, home.filePath(c.walked + ".korvel98.json"));

        drives->setSpace('c', 1'000, 1'000'000'000);
        const std::unique_ptr<TfrmStatistics> opened = openedIn(path);
        EXPECT_TRUE(opened->isVisible());
        EXPECT_EQ(opened->windowTitle(), c.caption);
        EXPECT_EQ(everyPage(*opened), ran);
        EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    }
}

// The scan tool's collection of the folder behind c: opens on the same pages as the window's own
// run of it. The window's drive is given the space the tool found, as both measure the same disk.
TEST_F(CollectionWindow, TheScanToolsCollectionOpensAsTheWindowsOwnRun)
{
    const QString path = home.filePath("scan.korvel98.json");
    QProcess scan;
    scan.start(KORVEL_SCAN_TOOL, {"--save", path, home.filePath("c")});
    ASSERT_TRUE(scan.waitForFinished(60000));
    ASSERT_EQ(scan.exitCode(), 0) << scan.readAllStandardError().toStdString();
    const CollectionRead saved = readCollectionFile(path);
    ASSERT_TRUE(saved) << saved.message.toStdString();
    const DriveFacts &c = saved.collection->facts.drives.at(0);
    drives->setSpace('c', c.freeBytes, c.capacity);
    drives->setClusterSize('c', c.clusterSize);
    drives->setReady('e', false); // the pie view shows every drive of the list that answers
    run();
    pickWalkedDrives("c");
    EXPECT_EQ(everyPage(*openedIn(path)), everyPage(*window));
}

// A new run in the window replaces the opened collection: the drive table's list, its caption.
TEST_F(CollectionWindow, ANewRunReplacesTheOpenedCollection)
{
    run("e");
    const std::unique_ptr<TfrmStatistics> opened =
        openedIn(save(*window, home.filePath("run.korvel98.json")));
    const auto &space = static_cast<SpacePage &>(*opened->pages[TfrmStatistics::SpaceTab]);
    ASSERT_TRUE(space.showsSavedDrives());
    opened->DeselectAll1->trigger(); // the list's context menu acts on the list in view
    EXPECT_EQ(space.pckSavedDrive->SelCount(), 0);
    answerWizard();
    QTest::mouseClick(opened->btOK, Qt::LeftButton);
    EXPECT_FALSE(space.showsSavedDrives());
    EXPECT_EQ(opened->windowTitle(), "Statistics completed for drives C: ");
    EXPECT_TRUE(opened->OvcNotebook1->isPageEnabled(TfrmStatistics::OverhangTab));
}

// A file the window cannot take is told in one message box and changes nothing on screen.
TEST_F(CollectionWindow, RefusedFilesChangeNothing)
{
    run();
    const QByteArray good = collectionJson(collectionOf(window->recorder.run(), window->engine));
    struct Case
    {
        const char *name;
        QByteArray bytes; // empty: no file at all
    };
    const Case cases[] = {
        {"truncated", good.left(good.size() / 2)},
        {"not JSON", "\x89PNG\r\n\x1a\n"},
        {"wrong type", QByteArray(good).replace("\"complete\":true", "\"complete\":\"yes\"")},
        {"huge number", QByteArray(good).replace("\"filesFound\":\"8\"",
                                                 "\"filesFound\":\"18446744073709551616\"")},
        {"newer version", QByteArray(good).replace("\"version\":1", "\"version\":2")},
        {"missing", {}},
    };
    const QStringList shown = everyPage(*window);
    const QString caption = window->windowTitle();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_NE(c.bytes, good);
        const QString path = home.filePath(QString(c.name) + ".korvel98.json");
        if (!c.bytes.isEmpty()) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(c.bytes);
        }
        errors.clear();
        window->askOpenCollectionPath = [path](const QString &) { return path; };
        window->OpenCollection1->trigger();
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors.first().startsWith("Cannot open the collection " + path))
            << errors.first().toStdString();
        EXPECT_EQ(window->windowTitle(), caption);
        EXPECT_EQ(everyPage(*window), shown);
    }
}

// A place that cannot take the file: one message, and no file or piece of one left behind.
TEST_F(CollectionWindow, SavingWhereNoFileCanBeWrittenFailsCleanly)
{
    EXPECT_FALSE(window->SaveCollection1->isEnabled()) << "nothing to save before a run";
    run();
    QFile blocker(home.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    QDir().mkpath(home.filePath("folder.korvel98.json"));
    auto filesInHome = [this] {
        QStringList files;
        for (QDirIterator it(home.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();)
            files << it.next();
        return files;
    };
    const QStringList filesBefore = filesInHome();
    for (const QString &place :
         {home.filePath("blocker/run.korvel98.json"), home.filePath("folder.korvel98.json")}) {
        errors.clear();
        save(*window, place);
        ASSERT_EQ(errors.size(), 1) << place.toStdString();
        EXPECT_TRUE(errors.first().startsWith("Cannot save the collection "));
        EXPECT_EQ(filesInHome(), filesBefore);
    }
}

// "Open the collections folder" makes the folder when missing and hands it to the desktop.
TEST_F(CollectionWindow, TheCollectionsFolderIsMadeAndOpened)
{
    window->historyFolder = home.filePath("kept/collections");
    QList<QUrl> opened;
    platform::setUrlOpener([&](const QUrl &url) {
        opened << url;
        return true;
    });
    window->OpenCollectionsFolder1->trigger();
    platform::setUrlOpener({});
    EXPECT_TRUE(QFileInfo(window->historyFolder).isDir());
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(window->historyFolder)});
    EXPECT_TRUE(errors.isEmpty());
}

} // namespace

namespace {

// A dump of another scanner opened by Ctrl+O: the caption names it and its maker, the pages it
// has figures for show them, the others lie under a cover that says what the dump lacks; a damaged
// one changes nothing.
TEST_F(CollectionWindow, ADumpOfAnotherScannerOpensWithCoversWhereItHasNothing)
{
    const QString path = home.filePath("srv.json");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"([1,2,{"progname":"ncdu","progver":"1.19","timestamp":1796690000},
        [{"name":"/srv"},{"name":"a.log","asize":1000},[{"name":"sub"},{"name":"b.txt","asize":5}]]])");
    file.close();
    const auto opened = openedIn(path);
    EXPECT_EQ(opened->windowTitle(),
              "Statistics of srv.json by ncdu 1.19, its own rules on hidden folders applied");
    const struct
    {
        TfrmStatistics::Page page;
        QString cover; // empty: the page shows its figures
    } cases[] = {
        {TfrmStatistics::SpaceTab, "This file holds no drive space."},
        {TfrmStatistics::TypesTab, ""},
        {TfrmStatistics::AccessTab, "This file holds no access dates."},
        {TfrmStatistics::ModifiedTab, "This file holds no modification dates."},
        {TfrmStatistics::AttributeTab, "This file holds no file modes."},
    };
    for (const auto &c : cases) {
        opened->OvcNotebook1->setPageIndex(c.page);
        EXPECT_EQ(opened->pnlNotYet->isVisible(), !c.cover.isEmpty()) << c.page;
        EXPECT_EQ(opened->pages[std::size_t(c.page)]->isEnabled(), c.cover.isEmpty());
        if (!c.cover.isEmpty()) {
            EXPECT_EQ(opened->lblNotYet->text(), c.cover);
        }
    }
    EXPECT_EQ(opened->engine.filesFound, 2);

    const QStringList shown = everyPage(*opened);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[1,2,{},[{\"name\":\"/srv\"},");
    file.close();
    errors.clear();
    opened->OpenCollection1->trigger();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors.first().startsWith("Cannot open the dump srv.json: "));
    EXPECT_EQ(everyPage(*opened), shown);
}

} // namespace
