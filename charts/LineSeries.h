#pragma once

#include "charts/ChartSeries.h"

// A line through points added with AddXY, in the series' colour. In a 3-D chart the line is a
// ribbon with the depth of its own slice of the chart's depth.
class TLineSeries : public TChartSeries
{
public:
    TLineSeries() : TChartSeries(SeriesKind::Line) {}

    // A dashed line tells a forecast from what was measured; it is drawn without a ribbon.
    bool dashed() const { return dashedLine; }
    void setDashed(bool value) { assign(dashedLine, value); }

private:
    bool dashedLine = false;
};
