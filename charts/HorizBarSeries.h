#pragma once

#include "charts/BarSeries.h"

// Horizontal bars: the first point added at the bottom, the values along the bottom axis.
class THorizBarSeries : public TBarSeries
{
public:
    THorizBarSeries() : TBarSeries(SeriesKind::HorizBar) {}
};
