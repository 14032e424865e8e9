#pragma once

#include "charts/ChartSeries.h"

#include <QList>

// A slice as the pie draws it: a point of the series, or the merged slice of all small ones.
struct PieSlice
{
    double value = 0;
    QString label;
    QColor colour;
    int pointIndex = -1;   // -1 for the merged slice
    double startAngle = 0; // degrees, counter-clockwise from three o'clock
    double sweep = 0;
    bool exploded = false;
};

// A pie of the points' values, slices in the order added, counter-clockwise from the rotation
// angle.
class TPieSeries : public TChartSeries
{
public:
    TPieSeries() : TChartSeries(SeriesKind::Pie) {}

    // 0 to 359 degrees. A set value is taken modulo 360; a negative value is refused (false) and
    // leaves the angle as it was.
    int RotationAngle() const { return rotation; }
    bool setRotationAngle(int degrees);
    // Turns by d degrees (0 to 360): the angle becomes (angle + d) mod 360.
    void rotate(int degrees);

    // The biggest slice pulled out of the pie by this percentage of the radius; 0 for none.
    int explodeBiggest() const { return explode; }
    void setExplodeBiggest(int percent);

    // Slices whose share of the pie is below this percentage are drawn as one slice with the
    // OtherSlice text; 0 merges nothing.
    double otherSliceLimit() const { return otherLimit; }
    void setOtherSliceLimit(double percent);
    QString OtherSlice() const { return otherText; }
    void setOtherSlice(const QString &text);
    QColor otherSliceColour() const { return otherColour; }

    // The slices to draw, with their angles; the merged slice comes last.
    QList<PieSlice> slices() const;

private:
    int rotation = 0;
    int explode = 0;
    double otherLimit = 0;
    QString otherText = "Other";
    QColor otherColour = QColor(192, 192, 192);
};
