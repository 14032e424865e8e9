#include "charts/ChartSeries.h"

#include "charts/ChartModel.h"
#include "charts/ValueFormat.h"

TChartSeries::TChartSeries(SeriesKind kind) : seriesKind(kind) {}

void TChartSeries::Clear()
{
    points.clear();
    changed();
}

int TChartSeries::Add(double value, const QString &label, const QColor &colour)
{
    points.append(ChartPoint{static_cast<double>(points.size()), value, label, colour});
    changed();
    return count() - 1;
}

int TChartSeries::AddXY(double x, double y, const QString &label)
{
    points.append(ChartPoint{x, y, label, QColor()});
    changed();
    return count() - 1;
}

QColor TChartSeries::pointColour(int index) const
{
    const QColor &own = points.at(index).colour;
    return own.isValid() ? own : seriesColour;
}

QString TChartSeries::shownLabel(int index) const
{
    const QString &label = points.at(index).label;
    return label.trimmed().isEmpty() ? QString() : label;
}

double TChartSeries::total() const
{
    double sum = 0;
    for (const ChartPoint &p : points)
        sum += p.y;
    return sum;
}

double TChartSeries::percentOf(int index) const
{
    const double sum = total();
    return sum == 0 ? 0 : points.at(index).y * 100.0 / sum;
}

void TChartSeries::setActive(bool value)
{
    assign(active, value);
}

void TChartSeries::setColour(const QColor &value)
{
    assign(seriesColour, value);
}

void TChartSeries::setTitle(const QString &value)
{
    assign(seriesTitle, value);
}

void TChartSeries::setValueFormat(const QString &value)
{
    assign(valueFormat, value);
}

void TChartSeries::setPercentFormat(const QString &value)
{
    assign(percentFormat, value);
}

QString TChartSeries::formattedValue(int index) const
{
    return formatValue(points.at(index).y, valueFormat);
}

QString TChartSeries::markText(int index) const
{
    return markText(shownLabel(index), value(index), percentOf(index));
}

QString TChartSeries::markText(const QString &label, double value, double percent) const
{
    const QString valueText = formatValue(value, valueFormat);
    const QString percentText = formatValue(percent, percentFormat);
    auto joined = [&label](const QString &figure) {
        return label.isEmpty() ? figure : label + " " + figure;
    };
    switch (seriesMarks.style) {
    case MarkStyle::Value:
        return valueText;
    case MarkStyle::Percent:
        return percentText;
    case MarkStyle::Label:
        return label;
    case MarkStyle::LabelPercent:
        return joined(percentText);
    case MarkStyle::LabelValue:
        return joined(valueText);
    }
    return QString();
}

void TChartSeries::changed()
{
    if (owner)
        owner->changed();
}
