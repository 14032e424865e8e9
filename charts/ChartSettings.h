#pragma once

#include <QColor>
#include <QFont>
#include <QStringList>

// Plain settings of a chart. Callers change them as fields; a chart on screen notices the change
// and repaints (see TChart).

// How the chart is looked at. Zoom is in percent of the normal size; rotation and elevation in
// degrees, 360 (or 0) looking straight at the front; perspective in percent, 0 for none.
// Orthogonal ignores rotation, elevation and perspective and shows the depth going up and to the
// right at 45 degrees, the classic business-chart look.
struct TView3DOptions
{
    int Zoom = 100;
    int Rotation = 345;
    int Elevation = 345;
    int Perspective = 15;
    bool Orthogonal = true;

    bool operator==(const TView3DOptions &) const = default;
};

// A wall of the 3-D box: back, left or bottom. A transparent wall has no fill but keeps its pen.
struct ChartWall
{
    bool visible = true;
    QColor colour = QColor(192, 192, 192);
    bool transparent = false;
    bool pen = true;

    bool operator==(const ChartWall &) const = default;
};

enum class GradientDirection
{
    TopBottom,
    BottomTop,
    LeftRight,
    RightLeft
};

// A two-colour gradient, from startColour on the side the direction starts at.
struct ChartGradient
{
    bool visible = false;
    QColor startColour = Qt::white;
    QColor endColour = Qt::yellow;
    GradientDirection direction = GradientDirection::TopBottom;

    bool operator==(const ChartGradient &) const = default;
};

// Margins around the chart's drawing, in percent of its width (left, right) and height.
struct ChartMargins
{
    int top = 4;
    int bottom = 4;
    int left = 3;
    int right = 3;

    bool operator==(const ChartMargins &) const = default;
};

enum class LegendAlignment
{
    Right,
    Left,
    Top,
    Bottom
};
// What a legend lists: the series by title, or the points of the first active series, by label
// alone or with the point's value in front.
enum class LegendStyle
{
    Auto,
    Series,
    Points
};
enum class LegendText
{
    Plain,
    Value
};

struct ChartLegend
{
    bool visible = true;
    LegendAlignment alignment = LegendAlignment::Right;
    LegendStyle style = LegendStyle::Auto;
    LegendText text = LegendText::Plain;
    bool inverted = false;
    int colourWidth = 12; // width of the colour box, in pixels
    int horizMargin = 4;  // room left and right of the entries, in pixels
    int topPos = 10;      // distance from the top of the chart, in pixels (side legends)
    int shadowSize = 3;
    bool frame = true;
    QColor colour = Qt::white;
    QFont font = QFont("Arial", 8);
    QColor fontColour = Qt::black;

    bool operator==(const ChartLegend &) const = default;
};

struct ChartTitle
{
    bool visible = true;
    QStringList lines;
    QFont font = QFont("Arial", 8);
    QColor fontColour = Qt::blue;

    bool operator==(const ChartTitle &) const = default;
};

// The mark of a point: a small text box next to its bar, slice or line point.
enum class MarkStyle
{
    Value,
    Percent,
    Label,
    LabelPercent,
    LabelValue
};

struct SeriesMarks
{
    bool visible = false;
    MarkStyle style = MarkStyle::Value;
    QFont font = QFont("Arial", 8);
    QColor fontColour = Qt::black;
    QColor background = QColor(255, 255, 225);
    bool transparent = false;
    bool frame = true;
    // Distance between the bar end, slice edge or point and the mark, in pixels; a negative
    // length puts the mark inside the bar.
    int arrowLength = 8;
    bool arrow = true;

    bool operator==(const SeriesMarks &) const = default;
};
