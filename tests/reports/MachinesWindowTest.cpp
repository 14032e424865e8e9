// The machines overview from the statistics window's Report menu, used by keys: a row per host,
// Enter opens a host's newest collection, "&Compare" compares two rows or one host's two newest.

#include "reports/MachinesWindow.h"

#include "StatisticsFixture.h"
#include "model/Collection.h"
#include "model/History.h"
#include "reports/CompareWindow.h"
#include "reports/TrendsWindow.h"

#include <QAccessible>
#include <QAction>
#include <QTableView>

namespace {

struct MachinesWindowTest : StatisticsFixture
{
    QDateTime monday{QDate(2026, 12, 7), QTime(9, 0)};

    void SetUp() override
    {
        StatisticsFixture::SetUp();
        run();
        const struct
        {
            const char *file, *host;
            int daysBack;
        } runs[] = {{"a1.korvel98.json", "alpha", 7},
                    {"a2.korvel98.json", "alpha", 0},
                    {"b/", "beta", 20}}; // named as the history names its files
        QDir(home.path()).mkpath("machines/b");
        for (const auto &r : runs) {
            Collection c = collectionOf(window->recorder.run(), window->engine);
            c.facts.hostName = r.host;
            c.facts.started = c.facts.ended = monday.addDays(-r.daysBack);
            QString message;
            QString path = home.filePath("machines/") + r.file;
            if (path.endsWith('/'))
                path += historyFileName(c.facts);
            ASSERT_TRUE(writeCollectionFile(path, c, message));
        }
        window->askMachinesFolder = [this](const QString &) { return home.filePath("machines"); };
        window->Machines1->trigger();
        ASSERT_TRUE(window->machinesWindow);
        window->machinesWindow->now = [this] { return monday; };
        window->machinesWindow->showFolder(home.filePath("machines"));
    }
};

TEST_F(MachinesWindowTest, ShowsAHostPerRowSortedByAnyHeadingAndReadOnTheBus)
{
    QTableView *table = window->machinesWindow->tvMachines;
    QAccessibleInterface *shown = QAccessible::queryAccessibleInterface(table);
    ASSERT_TRUE(shown && shown->tableInterface());
    const auto cell = [&](int row, int column) {
        return shown->tableInterface()->cellAt(row, column)->text(QAccessible::Name);
    };
    EXPECT_EQ(shown->tableInterface()->rowCount(), 2);
    EXPECT_EQ(cell(0, 0), "alpha");
    EXPECT_EQ(cell(1, 9), "Older than two weeks");
    table->sortByColumn(0, Qt::DescendingOrder);
    EXPECT_EQ(table->model()->index(0, 0).data().toString(), "beta");
}

TEST_F(MachinesWindowTest, EnterOpensTheHostsNewestCollectionInTheStatisticsWindow)
{
    QTableView *table = window->machinesWindow->tvMachines;
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Down);
    QTest::keyClick(table, Qt::Key_Return);
    EXPECT_TRUE(window->windowTitle().startsWith(
        "Statistics of " + QLocale().toString(monday.addDays(-20), QLocale::ShortFormat)))
        << window->windowTitle().toStdString();
}

TEST_F(MachinesWindowTest, CompareTakesTwoRowsOrOneHostsTwoNewest)
{
    const struct
    {
        QList<int> rows;
        int thenDaysBack, nowDaysBack;
    } cases[] = {{{0}, 7, 0}, {{0, 1}, 20, 0}};
    MachinesWindow &machines = *window->machinesWindow;
    for (const auto &c : cases) {
        machines.tvMachines->clearSelection();
        for (int row : c.rows)
            machines.tvMachines->selectionModel()->select(
                machines.tvMachines->model()->index(row, 0),
                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        ASSERT_TRUE(machines.btCompare->isEnabled());
        QTest::keyClick(machines.btCompare, Qt::Key_Space);
        ASSERT_TRUE(window->compareWindow && window->compareWindow->comparison());
        const Comparison &shown = *window->compareWindow->comparison();
        EXPECT_EQ(shown.then().facts.started, monday.addDays(-c.thenDaysBack));
        EXPECT_EQ(shown.now().facts.started, monday.addDays(-c.nowDaysBack));
    }
}

} // namespace

namespace {

TEST_F(MachinesWindowTest, TrendsShowTheHostsCollectionsOfItsFolder)
{
    // Another machine's collection of the same drives, copied into the same folder, is not its.
    Collection other = collectionOf(window->recorder.run(), window->engine);
    other.facts.hostName = "gamma";
    QString message;
    ASSERT_TRUE(writeCollectionFile(home.filePath("machines/b/") + historyFileName(other.facts),
                                    other, message));
    QTableView *table = window->machinesWindow->tvMachines;
    table->setCurrentIndex(table->model()->index(1, 0));
    QTest::keyClick(window->machinesWindow->btTrends, Qt::Key_Space);
    ASSERT_TRUE(window->trendsWindow && window->trendsWindow->isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->trendsWindow->isReading(); }));
    ASSERT_EQ(window->trendsWindow->shownPoints().size(), 1u);
    EXPECT_EQ(window->trendsWindow->shownPoints().front().started, monday.addDays(-20));
}

} // namespace
