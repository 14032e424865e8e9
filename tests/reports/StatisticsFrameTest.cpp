#include "StatisticsFixture.h"
#include "controls/DialogLook.h"
#include "controls/Notebook.h"
#include "controls/PickList.h"
#include "controls/StringGrid.h"
#include "reports/ReportPage.h"
#include "reports/TypesPage.h"

#include <QMenu>

namespace {

using Frame = StatisticsFixture;

// Counts the drive list's refreshes of the Space page.
struct CountingPage : ReportPage
{
    using ReportPage::ReportPage;
    int refreshes = 0;
    void drivesChanged() override { ++refreshes; }
};

TEST_F(Frame, SelectAndDeselectAllPickEveryDriveAndRefreshOnce)
{
    ColourTable colours;
    ReportContext context{window->engine, colours, window->Timer1, *window->OvcNotebook1};
    CountingPage counter(context, nullptr);
    window->spacePage = &counter;
    window->DeselectAll1->trigger();
    EXPECT_EQ(window->pckStatDrive->SelCount(), 0);
    EXPECT_EQ(counter.refreshes, 1);
    window->SelectAll1->trigger();
    EXPECT_EQ(window->pckStatDrive->SelCount(), window->pckStatDrive->count());
    EXPECT_EQ(counter.refreshes, 2);
    window->spacePage = window->pages[TfrmStatistics::SpaceTab];
}

// A confirmed window print gives one page with the window's picture; afterwards the window and
// its controls wear the button face again, whatever they wore before. A cancelled dialog prints
// nothing.
TEST_F(Frame, WindowPrintMakesOnePageAndPutsTheColoursBack)
{
    for (const bool confirm : {false, true}) {
        window->changeBackgroundColor(Qt::red);
        QFile file(pressPrint(confirm));
        ASSERT_EQ(file.open(QIODevice::ReadOnly), confirm);
        if (!confirm)
            continue;
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), 1);
        EXPECT_TRUE(bytes.contains("/Subtype /Image"));
        EXPECT_EQ(window->palette().color(QPalette::Window), buttonFace());
        EXPECT_EQ(window->OvcNotebook1->Color(), buttonFace());
        EXPECT_EQ(window->pckStatDrive->Color(), buttonFace());
    }
}

// The listings take the print colour and then the button face again, headings included; the
// Types listing, which prints itself as a table, keeps its white cells and its heading.
TEST_F(Frame, PrintColourReachesEveryListingButTheTypesListing)
{
    const QList<TStringGrid *> grids = window->findChildren<TStringGrid *>();
    ASSERT_GE(grids.size(), 6); // Types, Sizes, three dates, Combined
    const auto *types = window->findChild<TStringGrid *>("gridTypes");
    ASSERT_NE(types, nullptr);
    const QColor typesHeading = types->fixedColor();
    for (const QColor &colour : {QColor(Qt::red), buttonFace()}) {
        window->changeBackgroundColor(colour);
        for (const TStringGrid *grid : grids) {
            const bool own = grid == types;
            EXPECT_EQ(grid->color(), own ? QColor(Qt::white) : colour)
                << grid->objectName().toStdString();
            EXPECT_EQ(grid->fixedColor(), own ? typesHeading : colour)
                << grid->objectName().toStdString();
        }
    }
}

TEST_F(Frame, TabsChangePagesButNotToADisabledOne)
{
    TOvcNotebook &notebook = *window->OvcNotebook1;
    QTest::mouseClick(&notebook, Qt::LeftButton, {},
                      notebook.tabRect(TfrmStatistics::SizesTab).center());
    EXPECT_EQ(notebook.PageIndex(), TfrmStatistics::SizesTab);
    EXPECT_TRUE(window->pnlNotYet->isVisible());
    const QWidget *page = window->pages[TfrmStatistics::SizesTab];
    EXPECT_TRUE(window->pnlNotYet->geometry().contains(
        QRect(page->mapTo(window.get(), QPoint(0, 0)), page->size())))
        << "the cover hides the whole page area";
    notebook.setPageEnabled(TfrmStatistics::OverhangTab, false);
    QTest::mouseClick(&notebook, Qt::LeftButton, {},
                      notebook.tabRect(TfrmStatistics::OverhangTab).center());
    EXPECT_EQ(notebook.PageIndex(), TfrmStatistics::SizesTab);
    QTest::mouseClick(&notebook, Qt::LeftButton, {},
                      notebook.tabRect(TfrmStatistics::SpaceTab).center());
    EXPECT_FALSE(window->pnlNotYet->isVisible());
}

// A page disabled while in view gives way to the next enabled page (the one before it at the end
// of the row), and the window takes that as a page change: the cover comes back.
TEST_F(Frame, DisablingThePageInViewMovesToTheNearestEnabledPage)
{
    TOvcNotebook &notebook = *window->OvcNotebook1;
    notebook.setPageIndex(TfrmStatistics::OverhangTab);
    notebook.setPageEnabled(TfrmStatistics::AccessTab, false);
    notebook.setPageEnabled(TfrmStatistics::OverhangTab, false);
    EXPECT_EQ(notebook.PageIndex(), TfrmStatistics::CreatedTab);
    EXPECT_TRUE(window->pnlNotYet->isVisible());
    notebook.setPageIndex(TfrmStatistics::TimeTab);
    notebook.setPageEnabled(TfrmStatistics::TimeTab, false);
    EXPECT_EQ(notebook.PageIndex(), TfrmStatistics::AttributeTab);
}

} // namespace

// The window's menus open in its own font, as its buttons show, not the desktop's.
TEST_F(Frame, MenusOpenInTheWindowsFont)
{
    const QFont desktop = QApplication::font();
    QApplication::setFont(QFont("DejaVu Sans", 12));
    for (QMenu *menu :
         {window->mnuReport, window->popSel, window->findChild<TypesPage *>()->PopupMenu1}) {
        emit menu->aboutToShow();
        EXPECT_EQ(menu->font(), window->font()) << menu->parentWidget()->objectName().toStdString();
    }
    QApplication::setFont(desktop);
}
