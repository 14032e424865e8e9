#include "charts/ChartAxis.h"

#include "charts/ValueFormat.h"

#include <cmath>

void TChartAxis::setMinMax(double minimum, double maximum)
{
    Automatic = false;
    Minimum = minimum;
    Maximum = maximum;
}

QString TChartAxis::valueLabel(double value) const
{
    if (!dateTimeFormat.isEmpty())
        return formatTimeOfDay(value, dateTimeFormat);
    return formatValue(value, AxisValuesFormat);
}

QList<double> TChartAxis::labelPositions(const AxisRange &range, double lengthPixels,
                                         double labelPixels) const
{
    constexpr int mostTicks = 500;
    const double span = range.maximum - range.minimum;
    QList<double> out;
    if (span <= 0 || lengthPixels <= 0)
        return out;
    double step = Increment;
    if (step <= 0 || step < span / lengthPixels * labelPixels)
        step = niceIncrement(span, lengthPixels, labelPixels);
    const double first = std::ceil(range.minimum / step - 1e-9) * step;
    for (double v = first; v <= range.maximum + step * 1e-9 && out.size() < mostTicks; v += step)
        out.append(std::fabs(v) < step * 1e-9 ? 0.0 : v);
    return out;
}

double TChartAxis::niceIncrement(double span, double lengthPixels, double labelPixels)
{
    if (span <= 0 || lengthPixels <= 0)
        return 1;
    const double most = qMax(1.0, std::floor(lengthPixels / qMax(1.0, labelPixels)));
    const double rough = span / most;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= rough)
            return factor * power;
    }
    return 10 * power;
}
