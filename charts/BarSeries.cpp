#include "charts/BarSeries.h"

void TBarSeries::setMultiBar(MultiBar value)
{
    multi = value;
    changed();
}

void TBarSeries::setBarWidthPercent(int value)
{
    widthPercent = qBound(1, value, 100);
    changed();
}

void TBarSeries::setOffsetPercent(int value)
{
    offset = value;
    changed();
}

void TBarSeries::setSideMargins(bool value)
{
    margins = value;
    changed();
}

void TBarSeries::setGradient(bool value)
{
    shaded = value;
    changed();
}

void TBarSeries::setBarPenColour(const QColor &value)
{
    pen = value;
    changed();
}
