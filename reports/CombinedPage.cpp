#include "reports/CombinedPage.h"

#include "charts/Chart.h"
#include "charts/HorizBarSeries.h"
#include "controls/MessageBoxes.h"
#include "controls/StringGrid.h"
#include "helpers/Helpers.h"
#include "model/DateKeeping.h"
#include "reports/DatePage.h"
#include "reports/NoteButton.h"
#include "reports/PageLook.h"
#include "reports/ReportGrid.h"

#include <QLabel>
#include <QRadioButton>
#include <QToolButton>

using namespace chartColour;

CombinedPage::CombinedPage(const ReportContext &context, DatePage *access, DatePage *create,
                           DatePage *modify, QWidget *parent)
    : ReportPage(context, parent), access(access), create(create), modify(modify)
{
    resize(pageSize);
    chartCombine = new TChart(this);
    chartCombine->setObjectName(QStringLiteral("chartCombine"));
    chartCombine->setGeometry(listingPageLayout::chartPlace);
    setUpChart();

    // The first series stands in front and each later one a slice further back, which the 3-D
    // view draws higher up. Accessed in front, shifted up, and Modified at the back, shifted
    // down, keep the three bars of a class close around its label; the inverted legend then
    // reads Modified, Created, Accessed from the top, as the bars of a class stand.
    Series6 = addAgeSeries(QStringLiteral("Accessed"), red, 25);
    Series7 = addAgeSeries(QStringLiteral("Created"), green, 0);
    Series8 = addAgeSeries(QStringLiteral("Modified"), yellow, -25);

    gridCombine = makeListingGrid(this, QStringLiteral("gridCombine"),
                                  {119, 97, 78, 86, 71, 85, 72}, dateGridRows);

    const ViewStrip strip =
        makeViewStrip(this, QStringLiteral("Bevel4"), {"rgCombine0", "rbCombine1", "rbCombine2"});
    rgCombine0 = strip.listing;
    rbCombine1 = strip.size;
    rbCombine2 = strip.count;
    for (QRadioButton *button : {rgCombine0, rbCombine1, rbCombine2})
        connectViewChoice(button, this, [this] { rgAccessClick(); });

    SpeedButton4 = makeNoteButton(QStringLiteral("SpeedButton4"), listingPageLayout::noteButtonAt,
                                  this, QStringLiteral("Explains the combined chart"));
    connect(SpeedButton4, &QToolButton::clicked, this, &CombinedPage::SpeedButton4Click);
    lblCombineDates = makeDatesNote(this, QStringLiteral("lblCombineDates"));

    for (DatePage *page : {access, create, modify})
        connect(page, &DatePage::chartViewChosen, this, &CombinedPage::doFileAges);
}

void CombinedPage::setUpChart()
{
    TChart &chart = *chartCombine;
    chart.setTitleText(QStringLiteral("Combination Access/Created/Modified Chart"));
    chart.setChart3DPercent(20);
    chart.leftWall.colour = lightAqua;
    chart.margins = {2, 0, 1, 0};
    chart.Legend().style = LegendStyle::Series;
    chart.Legend().text = LegendText::Plain;
    chart.Legend().colourWidth = 14;
    chart.Legend().horizMargin = 5;
    chart.Legend().shadowSize = 1;
    chart.Legend().inverted = true;
    chart.Legend().topPos = 9;
}

THorizBarSeries *CombinedPage::addAgeSeries(const QString &title, const QColor &colour, int offset)
{
    auto *series = chartCombine->addSeries<THorizBarSeries>();
    series->setTitle(title);
    series->setColour(colour);
    series->setMultiBar(MultiBar::None);
    series->setBarWidthPercent(40);
    series->setOffsetPercent(offset);
    series->setGradient(true);
    series->marks().visible = false;
    return series;
}

void CombinedPage::refill()
{
    fillCombinedGridDates();
    doFileAges();
    showDatesNote(*lblCombineDates, accessDatesLines(context.run.drives));
    placeNote();
}

// The combined chart's legend is narrow and its plot reaches close to the page's edge.
void CombinedPage::placeNote()
{
    placeDatesNote(*lblCombineDates,
                   gridCombine->isHidden() ? 78 : listingPageLayout::datesNoteListingWidth);
}

void CombinedPage::fillCombinedGridDates()
{
    unselectListing(*gridCombine);
    gridCombine->setRowCells(0, {"Combined dates", "Access Size", "Access # files", "Create Size",
                                 "Create # files", "Modify Size", "Modify # files"});
    for (int row = 1; row <= 10; ++row)
        gridCombine->setCell(0, row, modify->grid->cell(0, row));
    // A size and a file count per dated page, oldest class at the top as in the dated listings.
    int column = 1;
    for (const DatePage *page : {access, create, modify}) {
        const std::vector<ClassFigures> classes = page->classes();
        for (std::size_t k = 0; k < 10; ++k) {
            gridCombine->setCell(column, 10 - int(k), unsignedToGrouped(classes[k].bytes));
            gridCombine->setCell(column + 1, 10 - int(k), unsignedToGrouped(classes[k].files));
        }
        column += 2;
    }
}

void CombinedPage::doFileAges()
{
    const bool inMegabytes = rbCombine1->isChecked();
    chartCombine->UndoZoom();
    const std::pair<DatePage *, THorizBarSeries *> lines[] = {
        {access, Series6}, {create, Series7}, {modify, Series8}};
    for (const auto &[page, series] : lines) {
        page->fillChart();
        fillAgeSeries(context.colours, *series, page->classes(), inMegabytes, series->colour(),
                      true);
    }
}

void CombinedPage::rgAccessClick()
{
    gridCombine->setVisible(rgCombine0->isChecked());
    chartCombine->setVisible(gridCombine->isHidden());
    placeNote();
    if (gridCombine->isHidden())
        doFileAges();
}

void CombinedPage::SpeedButton4Click()
{
    infoBox(QStringLiteral("This chart combines the Accessed, Created and Modified charts"));
}

void CombinedPage::setRunControlsEnabled(bool enabled)
{
    // The listing button stays usable during a walk: it only shows the last run's numbers.
    rbCombine1->setEnabled(enabled);
    rbCombine2->setEnabled(enabled);
}

PrintTarget CombinedPage::printTarget() const
{
    return chartIfShown(chartCombine);
}
