#include "reports/LargestFolders.h"

#include "StatisticsFixture.h"
#include "controls/Notebook.h"
#include "platform/FileManager.h"
#include "platform/ShellOpen.h"
#include "reports/FilesTab.h"
#include "reports/OwnersTab.h"
#include "reports/SpaceTables.h"

#include <QAccessible>
#include <QClipboard>
#include <QDBusConnection>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTableView>
#include <QTreeView>

namespace {

// A run of two drives; no file manager on the bus, so a folder opens through the handler, which
// the test records.
struct LargestFolders : ::testing::Test
{
    void SetUp() override
    {
        facts.started = QDateTime(QDate(2026, 12, 7), QTime(16, 45));
        facts.drives = {{QChar('c'), "/", "ext4"}, {QChar('d'), "/mnt/data", "ext4"}};
        drives = {{QChar('c'),
                   {{"", 100, 1000, 0, 0},
                    {"home", 60, 700, 10, 100},
                    {"home/ann", 50, 600, 50, 600},
                    {"usr", 40, 300, 40, 300}}},
                  {QChar('d'), {{"", 5, 5000, 1, 1000}, {"x\xff", 4, 4000, 4, 4000}}}};
        platform::setFileManagerBus(QDBusConnection(QStringLiteral("no bus")));
        platform::setUrlOpener([this](const QUrl &url) {
            opened << url.toEncoded();
            return opens;
        });
        setMessageHook([this](MessageKind, const QString &text) {
            errors << text;
            return true;
        });
        const std::int64_t t = QDateTime(QDate(2026, 1, 2), QTime(3, 4)).toSecsSinceEpoch();
        files = {{QChar('c'),
                  {{"home/ann/big.zq9", 500, t, 1000, 100},
                   {"usr/lib/a.so", 300, t, 0, 0},
                   {"home/ann/x\xff", 100, t, 4242, 100}},
                  1500,
                  {{0, 1, 300, "root"}, {1000, 1400, 500, "ann"}, {4242, 99, 200, ""}},
                  {{0, 1, 300, "root"}, {100, 1499, 700, "users"}}},
                 {QChar('d'),
                  {{"x\xff/film", 4000, t, 1000, 100}},
                  1,
                  {{1000, 1, 4000, ""}},
                  {{100, 1, 4000, "users"}}}};
        window.showFolders(facts, drives);
        window.showFiles(facts, files, true);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
    }
    void TearDown() override
    {
        platform::setUrlOpener({});
        setMessageHook({});
    }

    QStringList cells(const QModelIndex &index) const
    {
        QStringList texts;
        for (int column = 0; column < LargestFoldersWindow::ColumnCount; ++column)
            texts << index.siblingAtColumn(column).data().toString();
        return texts;
    }
    QTreeView &tree() { return *window.tvFolders; }

    korvel::test::LocaleGuard locale{korvel::test::commaLocale()};
    RunFacts facts;
    std::vector<DriveFolders> drives;
    std::vector<DriveFiles> files;
    LargestFoldersWindow window;
    QList<QByteArray> opened;
    QStringList errors;
    bool opens = true;
};

// Drives and folders largest first; each row with its share of its drive and where its bytes lie;
// a name that is no UTF-8 shows its byte escaped.
TEST_F(LargestFolders, TreeIsLargestFirstWithSharesAndWhereTheBytesLie)
{
    const QAbstractItemModel &model = *tree().model();
    const QModelIndex d = model.index(0, 0), c = model.index(1, 0);
    const QModelIndex home = model.index(0, 0, c);
    EXPECT_EQ(cells(d), (QStringList{"d: /mnt/data", "5,000", "5", "100.0 %", "1,000 in 1 file",
                                     "4,000 in 4 files"}));
    EXPECT_EQ(cells(model.index(0, 0, d)),
              (QStringList{"x\\xFF", "4,000", "4", "80.0 %", "4,000 in 4 files", "0 in 0 files"}));
    EXPECT_EQ(cells(home),
              (QStringList{"home", "700", "60", "70.0 %", "100 in 10 files", "600 in 50 files"}));
    EXPECT_EQ(model.index(1, 0, c).data().toString(), "usr");
    EXPECT_EQ(model.index(0, 0, home).data().toString(), "ann");
    EXPECT_TRUE(tree().isExpanded(c));
    EXPECT_FALSE(tree().isExpanded(home));
}

// A heading sorts the drives and the folders of each parent by its column; the row picked stays
// picked.
TEST_F(LargestFolders, HeadingsSortEachLevelAndKeepThePickedRow)
{
    const QAbstractItemModel &model = *tree().model();
    tree().setCurrentIndex(model.index(1, 0, model.index(1, 0))); // c:'s usr
    const struct
    {
        int column;
        Qt::SortOrder order;
        QStringList shown; // the drives, then c:'s folders
    } cases[] = {
        {LargestFoldersWindow::FolderColumn,
         Qt::AscendingOrder,
         {"c: /", "d: /mnt/data", "home", "usr"}},
        {LargestFoldersWindow::FolderColumn,
         Qt::DescendingOrder,
         {"d: /mnt/data", "c: /", "usr", "home"}},
        {LargestFoldersWindow::FilesColumn,
         Qt::AscendingOrder,
         {"d: /mnt/data", "c: /", "usr", "home"}},
        {LargestFoldersWindow::OwnColumn,
         Qt::DescendingOrder,
         {"d: /mnt/data", "c: /", "usr", "home"}},
        {LargestFoldersWindow::SubfoldersColumn,
         Qt::DescendingOrder,
         {"d: /mnt/data", "c: /", "home", "usr"}},
    };
    for (const auto &c : cases) {
        tree().sortByColumn(c.column, c.order);
        const QModelIndex driveC =
            model.index(0, 0).data() == "c: /" ? model.index(0, 0) : model.index(1, 0);
        const QStringList shown{model.index(0, 0).data().toString(),
                                model.index(1, 0).data().toString(),
                                model.index(0, 0, driveC).data().toString(),
                                model.index(1, 0, driveC).data().toString()};
        EXPECT_EQ(shown, c.shown) << c.column;
        EXPECT_EQ(tree().currentIndex().data().toString(), "usr") << c.column;
    }
}

// Enter, the menu (by the menu key and by Shift+F10) and a double click open the folder of the
// row; Tab goes on to the buttons. A folder nothing could show gets a message.
TEST_F(LargestFolders, FoldersOpenByKeysMenuAndDoubleClick)
{
    tree().setFocus();
    QTest::keyClick(&tree(), Qt::Key_Down); // d:'s folder
    QTest::keyClick(&tree(), Qt::Key_Return);
    EXPECT_TRUE(QTest::qWaitFor([&] { return opened.size() == 1; }));
    for (const auto &[key, modifiers] :
         {std::pair{Qt::Key_Menu, Qt::NoModifier}, std::pair{Qt::Key_F10, Qt::ShiftModifier}}) {
        QTest::keyClick(&tree(), key, modifiers);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.popFolder->isVisible(); }));
        QTest::keyClick(window.popFolder, Qt::Key_Down);
        QTest::keyClick(window.popFolder, Qt::Key_Return);
    }
    const QModelIndex c = tree().model()->index(1, 0);
    QTest::mouseDClick(tree().viewport(), Qt::LeftButton, {}, tree().visualRect(c).center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return opened.size() == 4; }));
    EXPECT_EQ(opened, (QList<QByteArray>{"file:///mnt/data/x%FF", "file:///mnt/data/x%FF",
                                         "file:///mnt/data/x%FF", "file:///"}));

    QTest::keyClick(&tree(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.btOpen);
    QTest::keyClick(window.btOpen, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.btClose);

    opens = false;
    QTest::keyClick(window.btClose, Qt::Key_Backtab);
    QTest::keyClick(window.btOpen, Qt::Key_Space);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !errors.isEmpty(); }));
    EXPECT_EQ(errors, QStringList{"Could not show the folder / in a file manager."});
}

// The rows of ink (pixels far from the face colour) in a part of a picture, top to bottom, as the
// number of inked pixels in each.
std::vector<int> inkRows(const QImage &image, const QRect &part, const QColor &face)
{
    std::vector<int> rows;
    for (int y = part.top(); y <= part.bottom(); ++y) {
        int ink = 0;
        for (int x = part.left(); x <= part.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            ink += std::abs(c.lightness() - face.lightness()) > 80;
        }
        if (ink > 0)
            rows.push_back(ink);
    }
    return rows;
}

// Sorted largest first, a heading's arrow points down (its widest row on top), and up the other
// way; the selected root row's expand arrow is drawn in the selection's text colour.
TEST_F(LargestFolders, ArrowsPointTheWayTheValuesRunAndShowOnTheSelection)
{
    QHeaderView &header = *tree().header();
    for (const auto &[order, down] :
         {std::pair{Qt::DescendingOrder, true}, std::pair{Qt::AscendingOrder, false}}) {
        tree().sortByColumn(LargestFoldersWindow::BytesColumn, order);
        const QImage image = header.grab().toImage();
        const int left = header.sectionViewportPosition(LargestFoldersWindow::BytesColumn);
        const int width = header.sectionSize(LargestFoldersWindow::BytesColumn);
        const std::vector<int> rows =
            inkRows(image, QRect(left + width / 2, 0, width / 2 - 2, image.height()),
                    header.palette().color(QPalette::Button));
        ASSERT_GE(rows.size(), 2u) << "no arrow drawn";
        EXPECT_EQ(rows.front() > rows.back(), down) << order;
    }
    const QModelIndex root = tree().model()->index(0, 0);
    tree().setCurrentIndex(root);
    const QImage image = tree().viewport()->grab().toImage();
    const QRect row = tree().visualRect(root);
    const QRect branch(0, row.top(), tree().indentation(), row.height());
    int light = 0; // on the navy, only the arrow can be light
    for (int y = branch.top(); y <= branch.bottom(); ++y)
        for (int x = branch.left(); x < branch.right(); ++x)
            light += image.pixelColor(x, y).lightness() > 160;
    EXPECT_GT(light, 2) << "the arrow stands out on the selection";
}

// A screen reader finds a named tree with the column headings and each row's figures as shown.
TEST_F(LargestFolders, ReadableOnTheAccessibilityBus)
{
    QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(&tree());
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->role(), QAccessible::Tree);
    EXPECT_EQ(reader->text(QAccessible::Name), "Largest folders");
    QAccessibleTableInterface *table = reader->tableInterface();
    ASSERT_NE(table, nullptr);
    QStringList headings, firstRow;
    for (int column = 0; column < table->columnCount(); ++column) {
        headings << table->columnDescription(column);
        firstRow << table->cellAt(0, column)->text(QAccessible::Name);
    }
    EXPECT_EQ(headings, (QStringList{"Folder", "Bytes", "Files", "Share of counted bytes",
                                     "In its own files", "In subfolders"}));
    EXPECT_EQ(firstRow, cells(tree().model()->index(0, 0)));
    EXPECT_EQ(table->rowCount(), 5) << "both drives, d:'s folder, and c:'s two";
}

QStringList rowTexts(const QAbstractItemModel &model, int row)
{
    QStringList texts;
    for (int column = 0; column < model.columnCount(); ++column)
        texts << model.index(row, column).data().toString();
    return texts;
}

// The files of all drives largest first, each with its share of its own drive, its time and its
// type; a heading sorts them; the line says which drives counted more than the list keeps.
TEST_F(LargestFolders, FilesTabListsTheLargestFilesAndWhatItLeavesOut)
{
    window.nbSpace->setPageIndex(LargestFoldersWindow::FilesTab);
    QTableView &table = *window.tabFiles->tvFiles;
    const QAbstractItemModel &model = *table.model();
    const QString when =
        QLocale().toString(QDateTime(QDate(2026, 1, 2), QTime(3, 4)), QLocale::ShortFormat);
    ASSERT_EQ(model.rowCount(), 4);
    EXPECT_EQ(rowTexts(model, 0),
              (QStringList{"/mnt/data/x\\xFF/film", "4,000", "100.0 %", when, "No extension"}));
    EXPECT_EQ(rowTexts(model, 1),
              (QStringList{"/home/ann/big.zq9", "500", "50.0 %", when, "ZQ9 File"}));
    EXPECT_EQ(model.index(3, 0).data().toString(), "/home/ann/x\\xFF");
    EXPECT_EQ(window.tabFiles->lblNote->text(),
              "The walk counted 1,500 files on c:; the 1,000 largest of each drive are kept.");
    const struct
    {
        int column;
        Qt::SortOrder order;
        QString first;
    } cases[] = {{FileTableModel::SizeColumn, Qt::AscendingOrder, "/home/ann/x\\xFF"},
                 {FileTableModel::FileColumn, Qt::AscendingOrder, "/home/ann/big.zq9"},
                 {FileTableModel::TypeColumn, Qt::DescendingOrder, "/home/ann/big.zq9"},
                 {FileTableModel::SizeColumn, Qt::DescendingOrder, "/mnt/data/x\\xFF/film"}};
    table.setCurrentIndex(model.index(2, 0)); // usr/lib/a.so, which stays picked
    for (const auto &c : cases) {
        table.sortByColumn(c.column, c.order);
        EXPECT_EQ(model.index(0, 0).data().toString(), c.first) << c.column;
        EXPECT_EQ(table.currentIndex().data().toString(), "/usr/lib/a.so") << c.column;
    }
}

// Enter, a double click and the menu show the file in the file manager (here, with no file
// manager on the bus, its folder opens); the menu copies its path.
TEST_F(LargestFolders, FilesShowInTheFileManagerAndCopyTheirPath)
{
    window.nbSpace->setPageIndex(LargestFoldersWindow::FilesTab);
    QTableView &table = *window.tabFiles->tvFiles;
    table.setFocus();
    QTest::keyClick(&table, Qt::Key_Down); // c:'s big.zq9
    QTest::keyClick(&table, Qt::Key_Return);
    QTest::mouseDClick(table.viewport(), Qt::LeftButton, {},
                       table.visualRect(table.model()->index(0, 1)).center());
    EXPECT_TRUE(QTest::qWaitFor([&] { return opened.size() == 2; }));
    EXPECT_EQ(opened, (QList<QByteArray>{"file:///home/ann", "file:///mnt/data/x%FF"}));
    QTest::keyClick(&table, Qt::Key_Down);
    QTest::keyClick(&table, Qt::Key_Menu);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.tabFiles->popFile->isVisible(); }));
    QTest::keyClick(window.tabFiles->popFile, Qt::Key_C);
    EXPECT_EQ(QApplication::clipboard()->text(), "/home/ann/big.zq9");
}

// The owners of both drives added up by id, a name recorded on one drive standing for the id on
// both and the number for an id without one; the groups in a second table. Each reads as a
// named table on the accessibility bus.
TEST_F(LargestFolders, OwnersTabAddsUpTheDrivesByUserAndGroup)
{
    window.nbSpace->setPageIndex(LargestFoldersWindow::OwnersTab);
    const QAbstractItemModel &users = *window.tabOwners->tvUsers->model();
    ASSERT_EQ(users.rowCount(), 3);
    EXPECT_EQ(rowTexts(users, 0), (QStringList{"ann", "1,401", "4,500", "90.0 %"}));
    EXPECT_EQ(rowTexts(users, 2), (QStringList{"4242", "99", "200", "4.0 %"}));
    window.tabOwners->tvUsers->sortByColumn(OwnerTableModel::NameColumn, Qt::AscendingOrder);
    EXPECT_EQ(users.index(0, 0).data().toString(), "4242");
    const QAbstractItemModel &groups = *window.tabOwners->tvGroups->model();
    EXPECT_EQ(rowTexts(groups, 0), (QStringList{"users", "1,500", "4,700", "94.0 %"}));
    for (QTableView *view : {window.tabOwners->tvUsers, window.tabOwners->tvGroups}) {
        QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(view);
        ASSERT_NE(reader, nullptr);
        EXPECT_EQ(reader->role(), QAccessible::Table);
        QAccessibleTableInterface *table = reader->tableInterface();
        ASSERT_NE(table, nullptr);
        EXPECT_EQ(table->columnDescription(3), "Share of counted bytes");
        EXPECT_EQ(table->cellAt(0, 0)->text(QAccessible::Name),
                  view->model()->index(0, 0).data().toString());
    }
    EXPECT_EQ(
        QAccessible::queryAccessibleInterface(window.tabOwners->tvUsers)->text(QAccessible::Name),
        "Users");
}

// A collection saved before the lists were kept: both tabs say so instead of showing empty
// tables.
TEST_F(LargestFolders, AnOlderCollectionSaysWhatItLacks)
{
    window.showFiles(facts, {}, false);
    EXPECT_TRUE(window.tabFiles->lblNote->text().contains("kept no list of the largest files"));
    EXPECT_TRUE(window.tabOwners->lblNote->text().contains("kept no totals by owner"));
    for (int tab : {LargestFoldersWindow::FilesTab, LargestFoldersWindow::OwnersTab}) {
        window.nbSpace->setPageIndex(tab);
        EXPECT_FALSE(window.tabFiles->tvFiles->isVisible());
        EXPECT_FALSE(window.tabOwners->tvUsers->isVisible());
    }
}

using ReportMenu = StatisticsFixture;

// "Largest folders..." waits for a run with folder totals and then shows the run's folders.
TEST_F(ReportMenu, LargestFoldersShowTheLastRun)
{
    EXPECT_FALSE(window->LargestFolders1->isEnabled());
    run();
    ASSERT_TRUE(window->LargestFolders1->isEnabled());
    window->LargestFolders1->trigger();
    auto *shown = window->findChild<LargestFoldersWindow *>();
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->isVisible());
    const QAbstractItemModel &model = *shown->tvFolders->model();
    EXPECT_EQ(model.index(0, LargestFoldersWindow::BytesColumn).data().toString(), "80");
    EXPECT_EQ(model.rowCount(model.index(0, 0)), 2) << "a and b";
    EXPECT_EQ(shown->tabFiles->tvFiles->model()->rowCount(), 8);
}

} // namespace
