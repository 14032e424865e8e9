// The statistics window used by keys only, and read as a screen reader reads it (in process,
// through Qt's accessibility interfaces).

#include "StatisticsFixture.h"
#include "charts/Chart.h"
#include "controls/Notebook.h"
#include "controls/StringGrid.h"
#include "controls/StyledLabel.h"
#include "reports/SpacePage.h"
#include "reports/TimePage.h"
#include "reports/TypesPage.h"

#include <QAccessible>
#include <QButtonGroup>
#include <QDirIterator>
#include <QMenu>
#include <QScrollBar>
#include <QToolButton>

namespace {

struct KeysAndReaders : StatisticsFixture
{
    void SetUp() override
    {
        StatisticsFixture::SetUp();
        activate();
    }

    // The window system gives the focus back to the window when a dialog closes; the offscreen
    // one leaves that to us.
    void activate()
    {
        window->activateWindow();
        ASSERT_TRUE(
            QTest::qWaitFor([this] { return QApplication::activeWindow() == window.get(); }));
    }

    static QWidget *focus() { return QApplication::focusWidget(); }
    // A key goes to an open menu first, as the window system sends it.
    static void press(QKeyCombination key)
    {
        QWidget *popup = QApplication::activePopupWidget();
        QWidget *target = popup ? popup : focus();
        ASSERT_NE(target, nullptr) << "nothing has the focus";
        QTest::keyClick(target, key.key(), key.keyboardModifiers());
    }

    // Presses Tab until a widget that passes the test has the focus; false after a whole round.
    bool tabTo(const std::function<bool(QWidget *)> &wanted)
    {
        for (int presses = 0; presses < 60; ++presses) {
            if (wanted(focus()))
                return true;
            press(Qt::Key_Tab);
        }
        return false;
    }

    // The captions of the views a page offers, chosen in turn with the arrow keys from the one
    // that Tab reaches.
    QStringList visitViewsByKeys()
    {
        QStringList seen;
        if (!tabTo([this](QWidget *w) {
                return qobject_cast<QRadioButton *>(w) && currentPage()->isAncestorOf(w);
            }))
            return seen;
        for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Right}) {
            for (int presses = 0; presses < 5; ++presses) {
                const auto *view = qobject_cast<QRadioButton *>(focus());
                if (!view) {
                    ADD_FAILURE() << "the focus left the view buttons";
                    return seen;
                }
                EXPECT_TRUE(view->isChecked()) << view->text().toStdString();
                if (!seen.contains(view->text()))
                    seen << view->text();
                press(key);
            }
        }
        return seen;
    }

    QWidget *currentPage() const
    {
        return window->OvcNotebook1->page(window->OvcNotebook1->PageIndex());
    }
    TypesPage *types() const
    {
        return static_cast<TypesPage *>(window->pages[TfrmStatistics::TypesTab]);
    }

    // The wizard answered by keys: the current drive is picked already; "Selected file types
    // only" is the next choice down; the first type of its list is picked with Space.
    static void answerWizardByKeys()
    {
        QTimer::singleShot(0, [] {
            auto *wizard = qobject_cast<TfrmWhichDrive *>(QApplication::activeModalWidget());
            ASSERT_NE(wizard, nullptr);
            wizard->activateWindow();
            if (!QTest::qWaitFor([wizard] { return QApplication::activeWindow() == wizard; }))
                wizard->reject();
            for (const Qt::Key key :
                 {Qt::Key_Return, Qt::Key_Down, Qt::Key_Return, Qt::Key_Space, Qt::Key_Return}) {
                press(key);
            }
        });
    }
};

TEST_F(KeysAndReaders, ARunAndEveryPageAndViewByKeysOnly)
{
    // From the drive list, Enter starts a run; the focus comes back to the list afterwards.
    ASSERT_TRUE(tabTo([this](QWidget *w) { return w == window->pckStatDrive; }));
    answerWizardByKeys();
    press(Qt::Key_Return);
    EXPECT_EQ(status(), "Finished - 8 files processed 3 files found");
    EXPECT_EQ(window->focusWidget(), window->pckStatDrive);
    activate();

    press(Qt::Key_F10 | Qt::SHIFT);
    EXPECT_TRUE(window->popSel->isVisible());
    press(Qt::Key_Escape);

    const QList<QStringList> views = {
        {"Bar - totals", "Pie - percent"},
        {"Listing", "Pie by Size", "Pie by # Files", "Pie by Average Size"},
        {"Listing", "Chart by Size (in MB)", "Chart by Number of Files"},
        {},
        {"Listing", "Chart by Size (in MB)", "Chart by Number of Files"},
        {"Listing", "Chart by Size (in MB)", "Chart by Number of Files"},
        {"Listing", "Chart by Size (in MB)", "Chart by Number of Files"},
        {"Listing", "Chart by Size (in MB)", "Chart by Number of Files"},
        {},
        {}};
    QList<int> pagesSeen;
    for (int page = 0; page < TfrmStatistics::PageCount; ++page) {
        press(Qt::Key_Tab | Qt::CTRL);
        pagesSeen << window->OvcNotebook1->PageIndex();
        EXPECT_TRUE(window->OvcNotebook1->hasFocus());
        QStringList offered = visitViewsByKeys();
        offered.sort();
        QStringList expected = views.value(pagesSeen.last());
        expected.sort();
        EXPECT_EQ(offered, expected) << pagesSeen.last();
        window->OvcNotebook1->setFocus();
    }
    EXPECT_EQ(pagesSeen, QList<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 0}));

    // The Types listing: the sort menu and the listing are reached by Tab, the listing left by
    // one press; its menu opens by Shift+F10.
    press(Qt::Key_Right);
    ASSERT_TRUE(tabTo([](QWidget *w) { return qobject_cast<QRadioButton *>(w); }));
    while (!types()->gridTypes->isVisible())
        press(Qt::Key_Left);
    ASSERT_TRUE(tabTo([this](QWidget *w) { return w == types()->btSort; }));
    ASSERT_TRUE(tabTo([this](QWidget *w) { return w == types()->gridTypes; }));
    press(Qt::Key_F10 | Qt::SHIFT);
    EXPECT_TRUE(types()->PopupMenu1->isVisible());
    press(Qt::Key_Escape);
    press(Qt::Key_Tab);
    EXPECT_FALSE(types()->gridTypes->hasFocus());

    // The Time page's depth bar and note button.
    press(Qt::Key_PageUp | Qt::CTRL);
    press(Qt::Key_PageUp | Qt::CTRL);
    auto *time = static_cast<TimePage *>(window->pages[TfrmStatistics::TimeTab]);
    ASSERT_EQ(currentPage(), time);
    ASSERT_TRUE(tabTo([time](QWidget *w) { return w == time->sbTime; }));
    press(Qt::Key_Right);
    EXPECT_EQ(time->Chart4->Chart3DPercent(), 9);
    ASSERT_TRUE(tabTo([time](QWidget *w) { return w == time->SpeedButton5; }));
    press(Qt::Key_Space);
    EXPECT_TRUE(infos.last().startsWith("Note: Sometimes software vendors"));
}

// Names and texts of an interface's children, depth first.
void collectNames(QAccessibleInterface *node, QStringList &names)
{
    for (int i = 0; i < node->childCount(); ++i)
        if (QAccessibleInterface *child = node->child(i)) {
            names << child->text(QAccessible::Name);
            collectNames(child, names);
        }
}

QStringList column(QAccessibleTableInterface *table, int column)
{
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row)
        texts << table->cellAt(row, column)->text(QAccessible::Name);
    return texts;
}

TEST_F(KeysAndReaders, PagesListingsAndChartsReadAsTheyShow)
{
    // The Time page leaves out the first half hour after midnight: the files are given a time of
    // day the page counts, whenever the test runs.
    for (QDirIterator it(home.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        QFile file(it.next());
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(QDateTime(QDate(2026, 12, 1), QTime(10, 15)),
                         QFileDevice::FileModificationTime);
    }
    run();
    QAccessibleInterface *tabs = QAccessible::queryAccessibleInterface(window->OvcNotebook1);
    QStringList captions;
    for (int i = 0; i < TfrmStatistics::PageCount; ++i)
        captions << tabs->child(i)->text(QAccessible::Name);
    EXPECT_EQ(captions.first(), "Space");
    EXPECT_EQ(captions.last(), "Time");
    EXPECT_TRUE(tabs->child(0)->state().selected);

    // The Space page's styled labels, figures included.
    auto *space = static_cast<SpacePage *>(window->spacePage);
    QStringList onSpace;
    collectNames(QAccessible::queryAccessibleInterface(space), onSpace);
    for (const StyledLabel *label : {space->lblTotalC, space->lblTotal, space->lblTot})
        EXPECT_TRUE(onSpace.contains(label->text())) << label->text().toStdString();

    // The stacked bars: one row per drive, the used column agreeing with the figure beside it.
    QAccessibleInterface *bar = QAccessible::queryAccessibleInterface(space->chartSpaceBar);
    QAccessibleTableInterface *barTable = bar->tableInterface();
    EXPECT_EQ(bar->text(QAccessible::Name), "Space - Bar - totals");
    EXPECT_EQ(barTable->columnDescription(0), "Used");
    EXPECT_EQ(barTable->columnDescription(1), "Free");
    EXPECT_EQ(barTable->rowDescription(0), "c");
    EXPECT_EQ(column(barTable, 0),
              QStringList{space->lblUsed->text() + " " + space->lblTot->text()});

    // The Types pie in the view a run starts in, and the listing.
    TypesPage *typesPage = types();
    QAccessibleInterface *pie = QAccessible::queryAccessibleInterface(typesPage->chartPie);
    EXPECT_EQ(pie->text(QAccessible::Name), "Types - Pie by Size");
    EXPECT_EQ(column(pie->tableInterface(), 0), QStringList({"62.5 %", "37.5 %"}));
    typesPage->rgTypesButtons->button(TypesPage::Listing)->click();
    QAccessibleTableInterface *listing =
        QAccessible::queryAccessibleInterface(typesPage->gridTypes)->tableInterface();
    EXPECT_EQ(listing->columnDescription(0), "Extension");
    EXPECT_EQ(column(listing, 0), QStringList({".DOC", ".TXT", ""}));
    EXPECT_EQ(column(listing, 3), QStringList({"3", "5", "8"}));

    // The Sizes chart from the top bar down, and the Time lines, whose counts add up to the run.
    QAccessibleInterface *sizes = QAccessible::queryAccessibleInterface(
        window->pages[TfrmStatistics::SizesTab]->findChild<TChart *>("Chart1"));
    EXPECT_EQ(sizes->text(QAccessible::Name), "File Sizes in MB");
    EXPECT_EQ(sizes->tableInterface()->rowDescription(0), "Over 16MB");
    EXPECT_EQ(column(sizes->tableInterface(), 0).last(), "100 %");
    auto *time = static_cast<TimePage *>(window->pages[TfrmStatistics::TimeTab]);
    QAccessibleTableInterface *lines =
        QAccessible::queryAccessibleInterface(time->Chart4)->tableInterface();
    EXPECT_EQ(lines->rowCount(), 48);
    EXPECT_EQ(lines->columnDescription(0), "Modified time");
    int modified = 0;
    for (const QString &count : column(lines, 0))
        modified += count.toInt();
    EXPECT_EQ(modified, 8);

    // A new view is read at once.
    typesPage->rgTypesButtons->button(TypesPage::PieByFiles)->click();
    EXPECT_EQ(pie->text(QAccessible::Name), "Types - Pie by # Files");
}

} // namespace
