#include "reports/SizesPage.h"

#include "charts/Chart.h"
#include "charts/HorizBarSeries.h"
#include "controls/StringGrid.h"
#include "helpers/Helpers.h"
#include "reports/ReportGrid.h"

#include <QHBoxLayout>
#include <QRadioButton>

namespace {

// Places within the page.
constexpr QRect gridPlace(54, 40, 523, 247);
constexpr QRect chartPlace(0, 0, 632, 333);
constexpr QRect strip(96, 335, 440, 25);

constexpr int rowCount = 13; // the heading and one row per class, the largest class first
constexpr int classCount = 12;
constexpr double megabyte = 1048576;

const std::array<QString, classCount> classLabels = {
    "0 - 16K",    "16K - 32K", "32K - 64K", "64K - 128K", "128K - 256K", "256K - 512K",
    "512K - 1MB", "1MB - 2MB", "2MB - 4MB", "4MB - 8MB",  "8MB - 16MB",  "Over 16MB"};

// A place no row of the grid has: selecting it leaves no row selected.
constexpr int outsideRow = 20;

} // namespace

SizesPage::SizesPage(const ReportContext &context, QWidget *parent) : ReportPage(context, parent)
{
    gridSizes = new TStringGrid(this);
    gridSizes->setObjectName("gridSizes");
    setUpListingGrid(*gridSizes, {194, 189, 140}, rowCount);
    gridSizes->setGeometry(gridPlace);
    buildChart();
    buildViewButtons();
}

void SizesPage::buildChart()
{
    Chart1 = new TChart(this);
    Chart1->setObjectName("Chart1");
    Chart1->setGeometry(chartPlace);
    Chart1->allowZoom = true;
    Chart1->animatedZoom = true;
    ChartLegend &legend = Chart1->Legend();
    legend.style = LegendStyle::Points;
    legend.text = LegendText::Value;
    legend.colourWidth = 15;
    legend.inverted = true;
    legend.topPos = 5;

    Series1 = Chart1->addSeries<THorizBarSeries>();
    Series1->setColour(Qt::red);
    Series1->setGradient(true);
    Series1->setPercentFormat("##0.# %");
    Series1->marks().visible = true;
    Series1->marks().style = MarkStyle::Percent;
    Series1->marks().arrowLength = 8;
}

void SizesPage::buildViewButtons()
{
    Bevel5 = new QFrame(this);
    Bevel5->setFrameShape(QFrame::Box);
    Bevel5->setFrameShadow(QFrame::Sunken);
    Bevel5->setGeometry(strip);
    auto *row = new QHBoxLayout(Bevel5);
    row->setContentsMargins(10, 0, 6, 0);
    rgSize0 = new QRadioButton("Listing", Bevel5);
    rgSize1 = new QRadioButton("Chart by Size (in MB)", Bevel5);
    rgSize2 = new QRadioButton("Chart by Number of Files", Bevel5);
    rgSize1->setChecked(true);
    // Only a change of view rebuilds the chart; clicking the chosen view keeps the user's zoom.
    for (QRadioButton *button : {rgSize0, rgSize1, rgSize2}) {
        row->addWidget(button);
        connect(button, &QRadioButton::toggled, this, [this](bool chosen) {
            if (chosen)
                rgSizesClick();
        });
    }
}

void SizesPage::doFileSizes()
{
    gridSizes->selectRow(outsideRow);
    fillGridSizes();
    rgSizesClick();
}

void SizesPage::fillGridSizes()
{
    gridSizes->setRowCells(0, {"File size", "Total file size", "Number of files"});
    for (int r = 1; r < rowCount; ++r) {
        const std::size_t sizeClass = std::size_t(rowCount - r);
        gridSizes->setRowCells(r, {classLabels[sizeClass - 1],
                                   floatToGrouped(context.results.sizeBytes[sizeClass]),
                                   floatToGrouped(context.results.sizeFiles[sizeClass])});
    }
}

// The charts are built anew from the results on every switch; the listing keeps the figures
// fillGridSizes wrote.
void SizesPage::rgSizesClick()
{
    const bool listing = rgSize0->isChecked();
    gridSizes->setVisible(listing);
    Chart1->setVisible(!listing);
    if (listing)
        return;
    context.colours.initAColors(true);
    Chart1->UndoZoom();
    const bool bySize = rgSize1->isChecked();
    Chart1->setTitleText(bySize ? "File Sizes in MB" : "Number of Files");
    Series1->Clear();
    for (std::size_t k = 1; k <= classCount; ++k) {
        const double value =
            bySize ? context.results.sizeBytes[k] / megabyte : context.results.sizeFiles[k];
        Series1->Add(value, classLabels[k - 1], context.colours[int(k)]);
    }
}

void SizesPage::refill()
{
    doFileSizes();
}

void SizesPage::setRunControlsEnabled(bool enabled)
{
    for (QRadioButton *button : {rgSize0, rgSize1, rgSize2})
        button->setEnabled(enabled);
}

// The listing prints as a picture of the window.
PrintTarget SizesPage::printTarget() const
{
    if (rgSize0->isChecked())
        return {};
    return {Chart1, {}};
}
