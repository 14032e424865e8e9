#include "charts/BarSeries.h"

void TBarSeries::setMultiBar(MultiBar value)
{
    assign(multi, value);
}

void TBarSeries::setBarWidthPercent(int value)
{
    assign(widthPercent, qBound(1, value, 100));
}

void TBarSeries::setOffsetPercent(int value)
{
    assign(offset, value);
}

void TBarSeries::setSideMargins(bool value)
{
    assign(margins, value);
}

void TBarSeries::setGradient(bool value)
{
    assign(shaded, value);
}

void TBarSeries::setBarPenColour(const QColor &value)
{
    assign(pen, value);
}
