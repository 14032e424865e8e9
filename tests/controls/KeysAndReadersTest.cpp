// The controls by keyboard and as a screen reader reads them (through Qt's accessibility
// interfaces, in process).

#include "controls/Notebook.h"
#include "controls/PickList.h"
#include "controls/StringGrid.h"
#include "controls/StyledLabel.h"

#include <QAccessible>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Five pages, the fourth ("D") disabled, in a window with a line edit outside the notebook.
struct NotebookFixture : ::testing::Test
{
    QWidget window;
    TOvcNotebook *notebook = new TOvcNotebook(&window);
    QLineEdit *outside = new QLineEdit(&window);
    QLineEdit *onPageB = nullptr;

    void SetUp() override
    {
        notebook->setGeometry(0, 0, 400, 200);
        for (const QString caption : {"A", "B", "C", "D", "E"})
            notebook->addPage(caption, new QWidget);
        onPageB = new QLineEdit(notebook->page(1));
        notebook->setPageEnabled(3, false);
        outside->move(0, 210);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
};

TEST_F(NotebookFixture, KeysChooseEnabledPagesAsAClickDoes)
{
    struct Step
    {
        int from;
        QKeyCombination key;
        int to;
        bool inTabs; // pressed with the row of tabs focused, else in the line edit outside
    };
    const Step steps[] = {
        {2, Qt::CTRL | Qt::Key_Tab, 4, false}, // skips the disabled page
        {4, Qt::CTRL | Qt::Key_Tab, 0, false}, // wraps around
        {0, Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, 4, false},
        {4, Qt::CTRL | Qt::Key_PageUp, 2, false},
        {2, Qt::CTRL | Qt::Key_PageDown, 4, true},
        {2, Qt::Key_Right, 4, true},
        {4, Qt::Key_Right, 4, true}, // arrows stop at the ends
        {0, Qt::Key_Left, 0, true},
        {1, Qt::Key_End, 4, true},
        {4, Qt::Key_Home, 0, true},
    };
    QSignalSpy changes(notebook, &TOvcNotebook::OnPageChanged);
    for (const Step &step : steps) {
        notebook->setPageIndex(step.from);
        changes.clear();
        QWidget *target = step.inTabs ? static_cast<QWidget *>(notebook) : outside;
        target->setFocus();
        QTest::keyClick(target, step.key.key(), step.key.keyboardModifiers());
        EXPECT_EQ(notebook->PageIndex(), step.to) << step.from << " " << step.key.key();
        EXPECT_EQ(changes.size(), step.from == step.to ? 0 : 1);
    }
    // Leaving the page that holds the focus hands it to the row of tabs.
    notebook->setPageIndex(1);
    onPageB->setFocus();
    QTest::keyClick(onPageB, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(notebook->PageIndex(), 2);
    EXPECT_TRUE(notebook->hasFocus());
}

TEST_F(NotebookFixture, ReadsAsPageTabsThatSwitchPages)
{
    QAccessibleInterface *tabs = QAccessible::queryAccessibleInterface(notebook);
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->role(), QAccessible::PageTabList);
    ASSERT_GE(tabs->childCount(), 6) << "five tabs and the pages";
    QStringList names;
    for (int i = 0; i < 5; ++i) {
        QAccessibleInterface *tab = tabs->child(i);
        EXPECT_EQ(tab->role(), QAccessible::PageTab);
        EXPECT_EQ(tab->parent(), tabs);
        EXPECT_EQ(tabs->indexOfChild(tab), i);
        names << tab->text(QAccessible::Name);
    }
    EXPECT_EQ(names, QStringList({"A", "B", "C", "D", "E"}));
    EXPECT_EQ(tabs->child(5)->object(), notebook->page(0)->parentWidget()) << "then the pages";

    QAccessibleInterface *third = tabs->child(2);
    EXPECT_TRUE(third->state().disabled == false && !third->state().selected);
    EXPECT_TRUE(tabs->child(3)->state().disabled);
    EXPECT_TRUE(tabs->child(3)->actionInterface()->actionNames().isEmpty());
    QSignalSpy changes(notebook, &TOvcNotebook::OnPageChanged);
    third->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(notebook->PageIndex(), 2);
    EXPECT_EQ(changes.size(), 1);
    EXPECT_TRUE(third->state().selected);
    EXPECT_FALSE(tabs->child(0)->state().selected);
}

TEST(StringGridKeys, IsOneTabStopWhoseHomeAndEndReachTheEndRows)
{
    QWidget window;
    auto *before = new QLineEdit(&window);
    auto *grid = new TStringGrid(&window);
    auto *after = new QLineEdit(&window);
    grid->setGeometry(0, 30, 300, 120);
    after->move(0, 160);
    grid->setColumnCount(2);
    grid->setFixedRows(1);
    grid->setFixedFooters(1);
    grid->setRowCount(22);
    for (int r = 0; r < 22; ++r)
        grid->setRowCells(r, {QString::number(r), QString()});
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    before->setFocus();
    QTest::keyClick(before, Qt::Key_Tab);
    ASSERT_TRUE(grid->hasFocus());
    QTest::keyClick(grid, Qt::Key_End);
    EXPECT_EQ(grid->selectedRow(), 20) << "the last data row; the footer is no row to go to";
    QTest::keyClick(grid, Qt::Key_Home);
    EXPECT_EQ(grid->selectedRow(), 1);
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_TRUE(after->hasFocus());
    QTest::keyClick(after, Qt::Key_Backtab, Qt::ShiftModifier);
    QTest::keyClick(grid, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(before->hasFocus());
}

TEST(ListReader, ReadsTabbedEntriesWithABlank)
{
    TPickList list;
    list.setItems({"*.doc\tWord document", "plain"});
    list.addEntry("*.txt\t\tText");
    list.item(1)->setText("c:\t[/]");
    QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(&list);
    QStringList names;
    for (int i = 0; i < reader->childCount(); ++i)
        names << reader->child(i)->text(QAccessible::Name);
    EXPECT_EQ(names, QStringList({"*.doc Word document", "c: [/]", "*.txt Text"}));
}

TEST(StyledLabelReader, IsStaticTextNamedByItsCaption)
{
    StyledLabel label("Total Capacity:");
    QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(&label);
    EXPECT_EQ(reader->role(), QAccessible::StaticText);
    EXPECT_EQ(reader->text(QAccessible::Name), "Total Capacity:");
    label.setText("599,040");
    EXPECT_EQ(reader->text(QAccessible::Name), "599,040");
}

} // namespace
