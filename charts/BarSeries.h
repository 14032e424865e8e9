#pragma once

#include "charts/ChartSeries.h"

// How the bar series of one chart share a category: each drawn over the full slot, side by side,
// or stacked on each other (in the order the series were added, the first at the bottom).
enum class MultiBar
{
    None,
    Side,
    Stacked
};

// Vertical bars, one per point, from left to right in the order added.
class TBarSeries : public TChartSeries
{
public:
    TBarSeries() : TBarSeries(SeriesKind::Bar) {}

    MultiBar multiBar() const { return multi; }
    void setMultiBar(MultiBar value);

    // Width of a bar in percent of its slot, and a shift along the category axis in percent of
    // the bar's width (positive to the right, or up for horizontal bars).
    int barWidthPercent() const { return widthPercent; }
    void setBarWidthPercent(int value);
    int offsetPercent() const { return offset; }
    void setOffsetPercent(int value);

    // Half a slot of room before the first and after the last bar.
    bool sideMargins() const { return margins; }
    void setSideMargins(bool value);

    // Bars shaded from the bar's colour to a darker tone along their length.
    bool gradient() const { return shaded; }
    void setGradient(bool value);

    // Outline of the bars; an invalid colour draws the outline in black.
    QColor barPenColour() const { return pen; }
    void setBarPenColour(const QColor &value);

protected:
    explicit TBarSeries(SeriesKind kind) : TChartSeries(kind) {}

private:
    MultiBar multi = MultiBar::Side;
    int widthPercent = 70;
    int offset = 0;
    bool margins = true;
    bool shaded = false;
    QColor pen;
};
