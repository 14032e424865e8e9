#include "reports/SizesPage.h"

#include "charts/Chart.h"
#include "charts/HorizBarSeries.h"
#include "controls/StringGrid.h"
#include "helpers/Helpers.h"
#include "model/ReportModel.h"
#include "reports/PageLook.h"
#include "reports/ReportGrid.h"

#include <QRadioButton>

namespace {

constexpr int rowCount = 13; // the heading and one row per class, the largest class first
constexpr double megabyte = 1048576;

} // namespace

SizesPage::SizesPage(const ReportContext &context, QWidget *parent) : ReportPage(context, parent)
{
    gridSizes = makeListingGrid(this, "gridSizes", {194, 189, 140}, rowCount);
    Chart1 = makeClassChart(this, "Chart1", 15, Series1);
    Series1->setColour(Qt::red);

    const ViewStrip strip = makeViewStrip(this, "Bevel5", {"rgSize0", "rgSize1", "rgSize2"});
    Bevel5 = strip.bevel;
    rgSize0 = strip.listing;
    rgSize1 = strip.size;
    rgSize2 = strip.count;
    // Only a change of view rebuilds the chart; clicking the chosen view keeps the user's zoom.
    for (QRadioButton *button : {rgSize0, rgSize1, rgSize2})
        connectViewChoice(button, this, [this] { rgSizesClick(); });
}

void SizesPage::doFileSizes()
{
    unselectListing(*gridSizes);
    fillGridSizes();
    rgSizesClick();
}

void SizesPage::fillGridSizes()
{
    gridSizes->setRowCells(0, {"File size", "Total file size", "Number of files"});
    const std::vector<ClassFigures> classes = sizeClasses(context.results);
    for (int r = 1; r < rowCount; ++r) {
        const ClassFigures &c = classes[std::size_t(rowCount - 1 - r)];
        gridSizes->setRowCells(r,
                               {c.label, unsignedToGrouped(c.bytes), unsignedToGrouped(c.files)});
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
    int colour = 1;
    for (const ClassFigures &c : sizeClasses(context.results)) {
        const double value = bySize ? double(c.bytes) / megabyte : double(c.files);
        Series1->Add(value, c.label, context.colours[colour++]);
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
    return chartIfShown(Chart1);
}
