#include "reports/SpacePage.h"

#include "charts/BarSeries.h"
#include "charts/Chart.h"
#include "charts/PieSeries.h"
#include "controls/Notebook.h"
#include "controls/PickList.h"
#include "controls/StyledLabel.h"
#include "platform/FolderDriveSource.h"
#include "reports/ReportTexts.h"
#include "support/TestSupport.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace platform;

namespace {

constexpr std::uint64_t KB = 1024;
constexpr std::uint64_t MB = 1024 * KB;
constexpr std::uint64_t GB = 1024 * MB;

struct Capacity
{
    std::uint64_t freeBytes;
    std::uint64_t totalBytes;
};

// The Space page alone in a notebook, over a drive table of temporary folders with pretended
// capacities (drives c, d, e, ... in order); every entry of the drive list starts out picked.
class SpacePageTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        notebook.reset();
        setDriveSource(nullptr);
    }

    void open(const QList<Capacity> &capacities)
    {
        Timer1.stop();
        notebook.reset();
        auto folders = std::make_unique<FolderDriveSource>();
        source = folders.get();
        QChar letter = 'c';
        for (const Capacity &c : capacities) {
            source->addDrive(letter, DriveFixed, QString(), temp.path());
            source->setSpace(letter, c.freeBytes, c.totalBytes);
            source->setReady(letter, true);
            letter = QChar(letter.unicode() + 1);
        }
        setDriveSource(std::move(folders));

        notebook = std::make_unique<TOvcNotebook>();
        context = std::make_unique<ReportContext>(results, colours, Timer1, *notebook);
        auto *list = new TPickList;
        list->setMultiSelect(true);
        list->setExtendedSelect(false);
        for (const Drive &drive : source->drives())
            list->addEntry(drive.entry);
        list->setAllSelected(true);
        page = new SpacePage(*context, list, nullptr);
        notebook->addPage("Space", page);
        notebook->addPage("Types", new QWidget);
        notebook->setPageIndex(0);
    }
    void choosePies() { page->rgSpace1->click(); }

    QList<int> shownPies() const
    {
        QList<int> out;
        for (int i = 0; i < SpacePage::pieCount; ++i)
            if (!page->pies[i]->isHidden())
                out << i + 1;
        return out;
    }
    // The angle of every shown pie, the total last.
    QList<int> angles() const
    {
        QList<int> out;
        for (int i : shownPies())
            out << page->pieSeries(i - 1)->RotationAngle();
        out << page->totalSeries()->RotationAngle();
        return out;
    }

    QTemporaryDir temp;
    FolderDriveSource *source = nullptr;
    Accumulators results;
    ColourTable colours;
    QTimer Timer1;
    std::unique_ptr<TOvcNotebook> notebook;
    std::unique_ptr<ReportContext> context;
    SpacePage *page = nullptr;
};

// Drives c, d, ...; the bars' labels; the figures "total free used unit"; whether the free
// figure is red; the first bar's free and used values.
struct FiguresCase
{
    QList<Capacity> drives;
    bool showTotal;
    QString bars, figures;
    bool redFree;
    double firstFree, firstUsed;
};

} // namespace

TEST_F(SpacePageTest, FiguresUnitsAndTheTotalBar)
{
    korvel::test::LocaleGuard locale(korvel::test::commaLocale());
    const Capacity small{1 * MB, 4 * MB}, large{2 * GB, 10 * GB};
    const FiguresCase cases[] = {
        {{{300 * MB, 12000 * MB}}, true, "c", "12,000 300 11,700 MB", false, 300, 11700},
        {{{300 * MB, 1000 * MB}, large},
         true,
         "c d Total",
         "11,240 2,348 8,892 MB",
         false,
         300,
         700},
        {{{300 * MB, 1000 * MB}, large}, false, "c d", "11,240 2,348 8,892 MB", false, 300, 700},
        // All the free space on the last drive: still two drives, so still a "Total".
        {{{0, 1000 * MB}, large}, true, "c d Total", "11,240 2,048 9,192 MB", false, 0, 1000},
        // Summed under 10000 KB: everything in KB.
        {{small, {2 * MB, 5 * MB}}, true, "c d Total", "9,216 3,072 6,144 KB", false, 1024, 3072},
        // A small drive beside a large one is drawn in the summed unit, to the same scale.
        {{small, large}, true, "c d Total", "10,244 2,049 8,195 MB", false, 1, 3},
        // Five units used or fewer: the free figure is red.
        {{{7995 * KB, 8000 * KB}}, true, "c", "8,000 7,995 5 KB", true, 7995, 5},
        {{{7994 * KB, 8000 * KB}}, true, "c", "8,000 7,994 6 KB", false, 7994, 6},
    };
    for (const FiguresCase &c : cases) {
        SCOPED_TRACE(c.figures.toStdString());
        open(c.drives);
        page->cbTotal->setChecked(c.showTotal);
        page->doDiskSize();
        QStringList bars;
        for (int i = 0; i < page->Series4->count(); ++i)
            bars << page->Series4->point(i).label;
        EXPECT_EQ(bars.join(' '), c.bars);
        EXPECT_DOUBLE_EQ(page->Series4->value(0), c.firstFree);
        EXPECT_DOUBLE_EQ(page->Series5->value(0), c.firstUsed);
        const QString unit = page->lblTot->text();
        EXPECT_EQ(QStringList(
                      {page->lblTotal->text(), page->lblFree->text(), page->lblUsed->text(), unit})
                      .join(' '),
                  c.figures);
        EXPECT_EQ(page->lblPct->text() + page->lblPct2->text(), unit + " " + unit + " ");
        EXPECT_EQ(page->chartSpaceBar->LeftAxis().AxisValuesFormat, "#,##0 " + unit);
        EXPECT_EQ(page->Series4->ValueFormat(), "#,##0 " + unit);
        const QColor expected = c.redFree ? QColor(255, 0, 0) : QColor(Qt::black);
        EXPECT_EQ(page->lblFree->textColor(), expected);
        EXPECT_EQ(page->lblPct->textColor(), expected);
        EXPECT_FALSE(page->chartSpaceBar->isHidden());
    }
}

TEST_F(SpacePageTest, PercentFreeTextKeepsOneTruncatedDecimal)
{
    korvel::test::LocaleGuard locale(korvel::test::commaLocale());
    const struct
    {
        double freeBytes;
        QString text;
    } cases[] = {{45.27, "45.2"}, {0.05, "0.0"}, {100, "100.0"}};
    for (const auto &c : cases)
        EXPECT_EQ(percentFreeText(c.freeBytes, 100), c.text) << c.freeBytes;
}

TEST_F(SpacePageTest, ElevenDrivePiesAndATotalOverThem)
{
    QList<Capacity> drives;
    for (int i = 0; i < 12; ++i)
        drives << Capacity{std::uint64_t(i + 1) * GB, 20 * GB};
    open(drives);
    choosePies();
    EXPECT_TRUE(Timer1.isActive());
    EXPECT_FALSE(page->pnlPie->isHidden());
    EXPECT_TRUE(page->Panel4->isHidden() && page->cbTotal->isHidden());
    EXPECT_EQ(shownPies().size(), 11);
    EXPECT_EQ(page->pies[0]->Title().lines, QStringList{"C:\\  5.0% free"});
    EXPECT_EQ(page->pies[10]->Title().lines, QStringList{"M:\\  55.0% free"});
    // Used in blue, then free in fuchsia.
    const TPieSeries &first = *page->pieSeries(0);
    EXPECT_EQ(QList<double>({first.value(0), first.value(1)}), QList<double>({19. * GB, 1. * GB}));
    EXPECT_EQ(QList<QColor>({first.pointColour(0), first.pointColour(1)}),
              QList<QColor>({Qt::blue, Qt::magenta}));
    // 1 + 2 + ... + 11 GB free of 11 x 20 GB; the twelfth drive is left out.
    EXPECT_EQ(page->pieTotal->Title().lines, QStringList{"TOTAL 30.0% free"});
    EXPECT_DOUBLE_EQ(page->totalSeries()->value(1), double(66 * GB));
}

TEST_F(SpacePageTest, DrivesWithoutCapacityGetNoPie)
{
    open({{1 * GB, 4 * GB}, {0, 0}, {3 * GB, 4 * GB}});
    source->setReady('e', false);
    choosePies();
    // The empty drive is passed over like the drive that does not answer.
    EXPECT_EQ(shownPies(), QList<int>{1});
    EXPECT_EQ(page->pieTotal->Title().lines, QStringList{"TOTAL 25.0% free"});

    source->setReady('c', false);
    page->doPieCharts();
    EXPECT_TRUE(shownPies().isEmpty());
    EXPECT_TRUE(page->pieTotal->isHidden());
}

TEST_F(SpacePageTest, PiesTurnTogetherUnlessTheListIsLong)
{
    const struct
    {
        int drives;
        int smallTurn, totalTurn;
    } cases[] = {{5, 4, 4}, {6, 0, 2}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.drives);
        open(QList<Capacity>(c.drives, {1 * GB, 4 * GB}));
        choosePies();
        page->Timer1Timer(); // the first tick sets the scroll bar to pie1's angle
        const QList<int> before = angles();
        page->Timer1Timer();
        const QList<int> after = angles();
        ASSERT_EQ(after.size(), c.drives + 1);
        for (int i = 0; i < c.drives; ++i)
            EXPECT_EQ(after[i], (before[i] + c.smallTurn) % 360) << i;
        EXPECT_EQ(after.last(), (before.last() + c.totalTurn) % 360);
        EXPECT_TRUE(page->ScrollBar3->isHidden());

        // Ticks do nothing to the pies on another page or in the bar view.
        notebook->setPageIndex(1);
        page->Timer1Timer();
        notebook->setPageIndex(0);
        page->rgSpace2->click();
        page->Timer1Timer();
        EXPECT_EQ(angles(), after);
    }
}

TEST_F(SpacePageTest, AClickOnAPieLetsTheScrollBarTurnThem)
{
    open({{1 * GB, 4 * GB}, {2 * GB, 4 * GB}});
    choosePies();
    QTest::mouseClick(page->pies[1], Qt::LeftButton);
    EXPECT_FALSE(Timer1.isActive());
    EXPECT_FALSE(page->ScrollBar3->isHidden());
    page->ScrollBar3->setValue(100);
    EXPECT_EQ(angles(), QList<int>({100, 100, 100}));
    page->ScrollBar3->setValue(360);
    EXPECT_EQ(angles(), QList<int>({0, 0, 0}));

    QTest::mouseClick(page->pieTotal, Qt::LeftButton);
    EXPECT_TRUE(Timer1.isActive());
    EXPECT_TRUE(page->ScrollBar3->isHidden());
}

TEST_F(SpacePageTest, DepthGrowsByTheNumberOfPlottedDrives)
{
    const struct
    {
        int drives;
        QList<int> depths;
    } cases[] = {{2, {7, 13, 19, 25, 31, 37, 43, 49, 55, 61}},
                 {3, {4, 7, 10, 13, 16, 19, 22, 25, 28, 31}},
                 {6, {3, 5, 7, 9, 11, 13, 15, 17, 19, 21}},
                 {7, {3, 5, 7, 9, 11}}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.drives);
        open(QList<Capacity>(c.drives, {1 * GB, 4 * GB}));
        page->pageEntered();
        EXPECT_EQ(page->plottedDriveCount, c.drives);
        EXPECT_EQ(page->chartSpaceBar->Chart3DPercent(), 1);
        QList<int> depths;
        while (page->Timer2.isActive() && depths.size() < 20) {
            page->Timer2Timer();
            depths << page->chartSpaceBar->Chart3DPercent();
        }
        depths.removeLast(); // the tick that found the limit and stopped
        EXPECT_EQ(depths, c.depths);
    }
    // Away from the Space page the growth stops at once.
    page->pageEntered();
    notebook->setPageIndex(1);
    page->Timer2Timer();
    EXPECT_FALSE(page->Timer2.isActive());
    EXPECT_EQ(page->chartSpaceBar->Chart3DPercent(), 1);
}

TEST_F(SpacePageTest, WithNoDrivePlottedTheDriveListStaysInReach)
{
    open({{1 * GB, 4 * GB}, {2 * GB, 4 * GB}});
    choosePies();
    page->pckStatDrive->setAllSelected(false);
    page->doDiskSize();
    EXPECT_EQ(page->plottedDriveCount, 0);
    page->rgSpace2->click();
    for (QWidget *shown : std::initializer_list<QWidget *>{page->Panel4, page->cbTotal,
                                                           page->rgSpace1, page->rgSpace2})
        EXPECT_FALSE(shown->isHidden()) << shown->metaObject()->className();
    for (QWidget *hidden : std::initializer_list<QWidget *>{
             page->pnlPie, page->chartSpaceBar, page->lblTotalC, page->Panel1, page->Panel2})
        EXPECT_TRUE(hidden->isHidden()) << hidden->objectName().toStdString();
    EXPECT_TRUE(page->lblTotal->text().isEmpty() && page->lblTot->text().isEmpty());
}

// Each swatch beside "Free" and "Used" shows the colour that the chart beside it paints free and
// used space in: checked on the painted page, in the bar view and in the pie view.
TEST_F(SpacePageTest, SwatchesShowTheColoursOfTheSpaceTheyName)
{
    open({{2 * GB, 20 * GB}});
    page->resize(pageSize);
    auto painted = [this](QWidget *swatch) {
        return page->grab().toImage().pixelColor(swatch->mapTo(page, swatch->rect().center()));
    };
    EXPECT_EQ(painted(page->Panel1), page->Series4->colour()) << "free, bars";
    EXPECT_EQ(painted(page->Panel2), page->Series5->colour()) << "used, bars";
    choosePies();
    const TPieSeries &pie = *page->totalSeries(); // used space first, then free space
    EXPECT_EQ(painted(page->Panel3), pie.pointColour(1)) << "free, pies";
    EXPECT_EQ(painted(page->Panel5), pie.pointColour(0)) << "used, pies";
}
