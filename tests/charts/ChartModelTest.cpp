#include "charts/ChartModel.h"

#include "charts/BarSeries.h"
#include "charts/HorizBarSeries.h"
#include "charts/LineSeries.h"
#include "charts/PieSeries.h"

#include <gtest/gtest.h>

TEST(ChartSeries, IndexesStartAgainAfterEmpty)
{
    ChartModel chart;
    auto *bars = chart.addSeries<TBarSeries>();
    EXPECT_EQ(bars->Add(10, "c", Qt::blue), 0);
    EXPECT_EQ(bars->Add(20, "d"), 1);
    EXPECT_EQ(bars->point(1).x, 1);
    EXPECT_EQ(bars->pointColour(1), bars->colour()); // no own colour: the series' colour
    bars->Clear();
    EXPECT_EQ(bars->count(), 0);
    EXPECT_EQ(bars->Add(30, "e"), 0);
    EXPECT_EQ(bars->point(0).x, 0);
    EXPECT_EQ(bars->value(0), 30);

    auto *line = chart.addSeries<TLineSeries>();
    EXPECT_EQ(line->AddXY(5, 7, "02:30"), 0);
    EXPECT_EQ(line->point(0).x, 5);
    EXPECT_EQ(chart.series(0), bars);
}

TEST(ChartSeries, MarksTextsAndBlankLabels)
{
    TBarSeries bars;
    bars.setValueFormat("#,##0 MB");
    bars.setPercentFormat("##0.# %");
    bars.Add(750, " ");
    bars.Add(250, "d");
    EXPECT_TRUE(bars.shownLabel(0).isEmpty());
    EXPECT_EQ(bars.markText(0), "750 MB");
    bars.marks().style = MarkStyle::Percent;
    EXPECT_EQ(bars.markText(1), "25 %");
    bars.marks().style = MarkStyle::LabelPercent;
    EXPECT_EQ(bars.markText(0), "75 %"); // a blank label adds nothing
    EXPECT_EQ(bars.markText(1), "d 25 %");
}

TEST(PieSeries, RotationIsModulo360AndRefusesNegatives)
{
    TPieSeries pie;
    EXPECT_TRUE(pie.setRotationAngle(360));
    EXPECT_EQ(pie.RotationAngle(), 0);
    EXPECT_TRUE(pie.setRotationAngle(725));
    EXPECT_EQ(pie.RotationAngle(), 5);
    EXPECT_FALSE(pie.setRotationAngle(-1));
    EXPECT_EQ(pie.RotationAngle(), 5);
    pie.setRotationAngle(358);
    pie.rotate(4);
    EXPECT_EQ(pie.RotationAngle(), 2);
    pie.rotate(360);
    EXPECT_EQ(pie.RotationAngle(), 2);
}

TEST(PieSeries, SmallSlicesMergeIntoOther)
{
    TPieSeries pie;
    pie.setOtherSliceLimit(5);
    pie.setExplodeBiggest(10);
    pie.setRotationAngle(60);
    pie.Add(50, "Word document", Qt::red);
    pie.Add(3, "XML document", Qt::blue);
    pie.Add(40, "JPEG image", Qt::yellow);
    pie.Add(0, "empty", Qt::green); // no slice at all
    pie.Add(4, "Shell script", Qt::cyan);
    pie.Add(3, "CSS stylesheet", Qt::gray);

    const QList<PieSlice> slices = pie.slices();
    ASSERT_EQ(slices.size(), 3);
    EXPECT_EQ(slices[0].label, "Word document");
    EXPECT_EQ(slices[1].label, "JPEG image");
    EXPECT_EQ(slices[2].label, "Other");
    EXPECT_EQ(slices[2].pointIndex, -1);
    EXPECT_DOUBLE_EQ(slices[2].value, 10);
    EXPECT_TRUE(slices[0].exploded);
    EXPECT_FALSE(slices[1].exploded);
    EXPECT_DOUBLE_EQ(slices[0].startAngle, 60);
    double sweep = 0;
    for (const PieSlice &s : slices)
        sweep += s.sweep;
    EXPECT_NEAR(sweep, 360, 1e-9);

    pie.setOtherSliceLimit(0);
    EXPECT_EQ(pie.slices().size(), 5);
    pie.Clear();
    EXPECT_TRUE(pie.slices().isEmpty());
}

TEST(ChartModel, DepthStaysWithinOneToHundred)
{
    ChartModel chart;
    chart.setChart3DPercent(0);
    EXPECT_EQ(chart.Chart3DPercent(), 1);
    chart.setChart3DPercent(61);
    EXPECT_EQ(chart.Chart3DPercent(), 61);
    chart.setChart3DPercent(250);
    EXPECT_EQ(chart.Chart3DPercent(), 100);
}

TEST(ChartModel, StackedRangesSumTheSeries)
{
    ChartModel chart;
    auto *used = chart.addSeries<TBarSeries>();
    auto *free = chart.addSeries<TBarSeries>();
    used->setMultiBar(MultiBar::Stacked);
    free->setMultiBar(MultiBar::Stacked);
    used->setSideMargins(false);
    free->setSideMargins(false);
    used->Add(300, "c");
    free->Add(100, "c");
    used->Add(50, "d");
    free->Add(20, "d");
    EXPECT_EQ(chart.stackBase(free, 0), 300);
    EXPECT_EQ(chart.stackBase(used, 0), 0);
    EXPECT_EQ(chart.valueRange(), (AxisRange{0, 400}));
    EXPECT_EQ(chart.categoryRange(), (AxisRange{-0.5, 1.5}));

    free->setMultiBar(MultiBar::Side);
    EXPECT_EQ(chart.valueRange(), (AxisRange{0, 300}));
    used->setActive(false); // a hidden series takes no part
    EXPECT_EQ(chart.stackBase(free, 0), 0);
}

TEST(ChartModel, UndoZoomRestoresTheRangesBeforeZooming)
{
    ChartModel chart;
    auto *bars = chart.addSeries<TBarSeries>();
    bars->setSideMargins(false);
    for (int i = 0; i < 10; ++i)
        bars->Add(i * 10);
    chart.LeftAxis().setMinMax(0, 200); // a fixed axis stays fixed after undo
    const AxisRange values = chart.valueRange();
    const AxisRange categories = chart.categoryRange();

    chart.zoomTo({20, 60}, {1, 4});
    EXPECT_TRUE(chart.zoomed());
    EXPECT_EQ(chart.valueRange(), (AxisRange{20, 60}));
    EXPECT_EQ(chart.categoryRange(), (AxisRange{1, 4}));
    chart.zoomTo({30, 40}, {2, 3}); // zooming again within the zoom
    chart.undoZoom();
    EXPECT_FALSE(chart.zoomed());
    EXPECT_EQ(chart.valueRange(), values);
    EXPECT_EQ(chart.categoryRange(), categories);
    EXPECT_TRUE(chart.BottomAxis().Automatic);
    EXPECT_FALSE(chart.LeftAxis().Automatic);

    // Horizontal bars zoom their bottom axis for values.
    ChartModel across;
    auto *h = across.addSeries<THorizBarSeries>();
    h->Add(5);
    h->Add(15);
    across.zoomTo({2, 8}, {0, 1});
    EXPECT_EQ(across.BottomAxis().Minimum, 2);
    EXPECT_EQ(across.LeftAxis().Maximum, 1);
    across.undoZoom();
    EXPECT_TRUE(across.BottomAxis().Automatic);
    EXPECT_EQ(across.valueRange(), (AxisRange{0, 15}));
}

TEST(ChartModel, PagesOfPoints)
{
    ChartModel chart;
    auto *bars = chart.addSeries<TBarSeries>();
    bars->setSideMargins(false);
    for (int i = 0; i < 48; ++i)
        bars->Add(i);
    chart.setMaxPointsPerPage(47);
    EXPECT_EQ(chart.pageCount(), 2);
    EXPECT_EQ(chart.categoryRange(), (AxisRange{-0.5, 46.5}));
    chart.setPage(2);
    EXPECT_EQ(chart.categoryRange(), (AxisRange{46.5, 47.5}));
    chart.setPage(9);
    EXPECT_EQ(chart.page(), 2);
}

TEST(ChartModel, ChangesReachTheView)
{
    ChartModel chart;
    int repaints = 0;
    chart.setChangeHandler([&repaints] { ++repaints; });
    auto *pie = chart.addSeries<TPieSeries>();
    const int afterAdd = repaints;
    pie->Add(1);
    pie->rotate(10);
    chart.setZoom(40);
    chart.setTitleLine0("File Sizes in MB");
    EXPECT_EQ(repaints, afterAdd + 4);
    EXPECT_EQ(chart.Title().lines, QStringList{"File Sizes in MB"});
    chart.setTitleText("Number of Files");
    EXPECT_EQ(chart.Title().lines, QStringList{"Number of Files"});
}

TEST(ChartModel, LegendListsPointsWithValuesOrSeriesAndCanBeInverted)
{
    ChartModel chart;
    auto *sizes = chart.addSeries<THorizBarSeries>();
    sizes->setValueFormat("#,##0.##");
    sizes->Add(12.5, "0 - 16K", Qt::red);
    sizes->Add(1234.25, "16K - 32K", Qt::blue);
    sizes->Add(0, " ", Qt::green); // a blank label leaves the value alone
    chart.Legend().text = LegendText::Value;
    QList<LegendEntry> entries = chart.legendEntries();
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].text, "12.5 0 - 16K");
    EXPECT_EQ(entries[1].text, "1,234.25 16K - 32K");
    EXPECT_EQ(entries[2].text, "0");
    EXPECT_EQ(entries[0].colour, QColor(Qt::red));

    // Inverted, the bottom bar's entry comes last, level with it.
    chart.Legend().inverted = true;
    entries = chart.legendEntries();
    EXPECT_EQ(entries[0].text, "0");
    EXPECT_EQ(entries[2].text, "12.5 0 - 16K");

    // Several series list themselves by title.
    auto *created = chart.addSeries<THorizBarSeries>();
    created->setTitle("Created");
    created->setColour(Qt::green);
    sizes->setTitle("Modified");
    chart.Legend().inverted = false;
    entries = chart.legendEntries();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].text, "Modified");
    EXPECT_EQ(entries[1].colour, QColor(Qt::green));
    chart.Legend().style = LegendStyle::Points;
    EXPECT_EQ(chart.legendEntries().size(), 3);
}

TEST(ChartModel, CategoryLabelsComeFromThePointsOrShowTimesOfDay)
{
    ChartModel chart;
    auto *modified = chart.addSeries<TLineSeries>();
    auto *created = chart.addSeries<TLineSeries>();
    TChartAxis &bottom = chart.BottomAxis();
    bottom.setMinMax(0, 47.9583333333333);
    bottom.Increment = 0.0416666666666667;
    bottom.dateTimeFormat = "HH:MM";
    for (int slot = 47; slot >= 0; --slot) // added from the end: labels still come in order
        created->AddXY(slot, 1, QString("%1").arg(slot));
    for (int slot = 0; slot < 48; ++slot)
        modified->AddXY(slot, 1, slot == 3 ? "01:30" : QString());
    QList<CategoryLabel> labels = chart.categoryLabels(600, 12);
    ASSERT_EQ(labels.size(), 48);
    EXPECT_EQ(labels[0].text, "0");
    EXPECT_EQ(labels[3].text, "01:30"); // the first series to label a slot wins
    EXPECT_EQ(labels[47].at, 47);

    // Without point labels the axis shows its values, here as times of day, spaced so that
    // they fit.
    ChartModel times;
    auto *line = times.addSeries<TLineSeries>();
    line->AddXY(0, 5);
    line->AddXY(0.5, 7);
    times.BottomAxis().setMinMax(0, 0.5);
    times.BottomAxis().Increment = 0.0625; // an hour and a half
    times.BottomAxis().dateTimeFormat = "HH:MM";
    labels = times.categoryLabels(800, 40);
    ASSERT_EQ(labels.size(), 9);
    EXPECT_EQ(labels[1].text, "01:30");
    EXPECT_EQ(labels[8].text, "12:00");
    labels = times.categoryLabels(100, 40); // too narrow for every increment
    EXPECT_LT(labels.size(), 9);
    EXPECT_GE(labels.size(), 2);
}
