// A chart as a screen reader reads it: a table of its figures, named by its title.

#include "charts/BarSeries.h"
#include "charts/Chart.h"
#include "charts/ChartAccessible.h"
#include "charts/HorizBarSeries.h"
#include "charts/LineSeries.h"
#include "charts/PieSeries.h"
#include "support/TestSupport.h"

#include <QAccessible>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct Case
{
    const char *kind;
    std::function<void(ChartModel &)> fill;
    ChartTableText expected;
};

TBarSeries *bars(ChartModel &chart, const QString &title, MultiBar multi)
{
    auto *series = chart.addSeries<TBarSeries>();
    series->setTitle(title);
    series->setMultiBar(multi);
    return series;
}

const Case cases[] = {
    {"bar",
     [](ChartModel &chart) {
         TBarSeries *used = bars(chart, "Used", MultiBar::Side);
         used->setValueFormat("#,##0 MB");
         used->marks().visible = true;
         used->Add(1234.4, "C:");
         used->Add(0.6, "D:");
     },
     {{"C:", "D:"}, {"Used"}, {{"1,234 MB"}, {"1 MB"}}}},
    {"stacked bar",
     [](ChartModel &chart) {
         TBarSeries *used = bars(chart, "Used", MultiBar::Stacked);
         TBarSeries *other = bars(chart, "", MultiBar::Stacked);
         used->Add(10, "C:");
         used->Add(20, "Total");
         other->Add(4999.5, "C:");
         other->Add(1, "Total");
     },
     {{"C:", "Total"}, {"Used", "Value"}, {{"10", "5,000"}, {"20", "1"}}}},
    {"horizontal bar",
     [](ChartModel &chart) {
         auto *series = chart.addSeries<THorizBarSeries>();
         series->setPercentFormat("##0.# %");
         series->marks().visible = true;
         series->marks().style = MarkStyle::Percent;
         series->Add(1, "0 - 16K");
         series->Add(3, "16K - 32K");
         series->Add(0, ""); // named by the chart: unlabelled
         chart.unlabelledPointNames = {"x", "y", "Over 16MB"};
     },
     {{"Over 16MB", "16K - 32K", "0 - 16K"}, {"Percent"}, {{"0 %"}, {"75 %"}, {"25 %"}}}},
    {"line",
     [](ChartModel &chart) {
         auto *modified = chart.addSeries<TLineSeries>();
         modified->setTitle("Modified time");
         auto *hidden = chart.addSeries<TLineSeries>();
         hidden->setTitle("Access Time");
         hidden->setActive(false);
         modified->AddXY(1, 2, "00:30");
         modified->AddXY(0, 1500, "00:00");
         hidden->AddXY(0, 7, "00:00");
     },
     {{"00:00", "00:30"}, {"Modified time"}, {{"1,500"}, {"2"}}}},
    {"pie",
     [](ChartModel &chart) {
         auto *pie = chart.addSeries<TPieSeries>();
         pie->setOtherSliceLimit(5);
         pie->setPercentFormat("##0.# %");
         pie->marks().visible = true;
         pie->marks().style = MarkStyle::LabelPercent;
         for (const auto &[value, label] : {std::pair(88.0, "Text"), std::pair(6.5, "Word"),
                                            std::pair(3.0, "Tiny"), std::pair(2.5, "Small")})
             pie->Add(value, label);
     },
     {{"Text", "Word", "Other"}, {"Percent"}, {{"88 %"}, {"6.5 %"}, {"5.5 %"}}}},
};

TEST(ChartTable, EachKindReadsRowsInTheOrderShownWithTheFiguresAsShown)
{
    korvel::test::LocaleGuard locale(korvel::test::commaLocale());
    for (const Case &c : cases) {
        ChartModel chart;
        c.fill(chart);
        EXPECT_EQ(chartTable(chart), c.expected) << c.kind;
    }
}

// The window test reads the named charts of the pages; here the cells and their headers.
TEST(ChartReader, CellsKnowTheirHeadersAndReadTheChartAsItIsNow)
{
    TChart chart;
    TBarSeries *used = bars(chart, "Used", MultiBar::Stacked);
    used->Add(5, "C:");
    QAccessibleInterface *reader = QAccessible::queryAccessibleInterface(&chart);
    QAccessibleInterface *cell = reader->tableInterface()->cellAt(0, 0);
    QAccessibleTableCellInterface *place = cell->tableCellInterface();
    EXPECT_EQ(place->rowHeaderCells().value(0)->text(QAccessible::Name), "C:");
    EXPECT_EQ(place->columnHeaderCells().value(0)->text(QAccessible::Name), "Used");
    EXPECT_EQ(reader->child(reader->indexOfChild(cell)), cell);
    EXPECT_EQ(reader->childCount(), 3) << "a column header, a row header and a cell";
    used->Clear();
    used->Add(7, "D:");
    EXPECT_EQ(cell->text(QAccessible::Name), "7");
}

} // namespace
