#include "charts/ChartTable.h"

#include "charts/ChartModel.h"
#include "charts/PieSeries.h"
#include "charts/ValueFormat.h"

#include <algorithm>

namespace {

const QString wholeNumber = QStringLiteral("#,##0");

bool marksShowPercent(const TChartSeries &series)
{
    const MarkStyle style = series.marks().style;
    return series.marks().visible &&
           (style == MarkStyle::Percent || style == MarkStyle::LabelPercent);
}

// The figure of a point as its mark shows it, without the label a mark may put in front.
QString shownValue(const TChartSeries &series, double value, double percent)
{
    if (marksShowPercent(series))
        return formatValue(percent, series.PercentFormat());
    const MarkStyle style = series.marks().style;
    if (series.marks().visible && (style == MarkStyle::Value || style == MarkStyle::LabelValue))
        return formatValue(value, series.ValueFormat());
    return formatValue(value, wholeNumber);
}

// A series without a title is headed by what its cells hold.
QString columnHeader(const TChartSeries &series)
{
    if (!series.title().isEmpty())
        return series.title();
    return marksShowPercent(series) ? QStringLiteral("Percent") : QStringLiteral("Value");
}

// A point that shows no label takes the name the chart gives it, if any.
QString pointName(const ChartModel &chart, const TChartSeries &series, int index)
{
    const QString label = series.shownLabel(index);
    return label.isEmpty() ? chart.unlabelledPointNames.value(index) : label;
}

ChartTableText pieTable(const ChartModel &chart, const TPieSeries &pie)
{
    ChartTableText table;
    table.columnHeaders << columnHeader(pie);
    for (const PieSlice &slice : pie.slices()) {
        table.rowHeaders << (slice.pointIndex < 0 ? slice.label
                                                  : pointName(chart, pie, slice.pointIndex));
        table.cells << QStringList{shownValue(pie, slice.value, slice.sweep * 100.0 / 360.0)};
    }
    return table;
}

ChartTableText categoryTable(const ChartModel &chart, const std::vector<TChartSeries *> &shown)
{
    ChartTableText table;
    QList<double> positions;
    for (const TChartSeries *series : shown) {
        table.columnHeaders << columnHeader(*series);
        for (int i = 0; i < series->count(); ++i)
            if (!positions.contains(series->point(i).x))
                positions << series->point(i).x;
    }
    std::sort(positions.begin(), positions.end());
    // Horizontal bars stand from the bottom up; a reader goes from the top down.
    if (chart.horizontal())
        std::reverse(positions.begin(), positions.end());

    for (const double at : positions) {
        QString header;
        QStringList row;
        for (const TChartSeries *series : shown) {
            QString text;
            for (int i = 0; i < series->count(); ++i) {
                if (series->point(i).x != at)
                    continue;
                text = shownValue(*series, series->value(i), series->percentOf(i));
                if (header.isEmpty())
                    header = pointName(chart, *series, i);
                break;
            }
            row << text;
        }
        table.rowHeaders << (header.isEmpty() ? chart.categoryAxis().valueLabel(at) : header);
        table.cells << row;
    }
    return table;
}

} // namespace

ChartTableText chartTable(const ChartModel &chart)
{
    const std::vector<TChartSeries *> shown = chart.activeSeries();
    if (shown.empty())
        return {};
    if (const auto *pie = dynamic_cast<const TPieSeries *>(shown.front()))
        return pieTable(chart, *pie);
    std::vector<TChartSeries *> bars;
    std::copy_if(
        shown.begin(), shown.end(), std::back_inserter(bars),
        // A series without points only names a colour in the legend: it has no column.
        [](const TChartSeries *s) { return s->kind() != SeriesKind::Pie && s->count() > 0; });
    return categoryTable(chart, bars);
}
