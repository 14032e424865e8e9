#include "reports/LargestFolders.h"

#include "StatisticsFixture.h"
#include "platform/FileManager.h"
#include "platform/ShellOpen.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QMenu>
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
        window.showFolders(facts, drives);
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
}

} // namespace
