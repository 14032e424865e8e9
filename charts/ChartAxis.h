#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>

// A range along an axis.
struct AxisRange
{
    double minimum = 0;
    double maximum = 0;
    bool operator==(const AxisRange &) const = default;
};

// One axis of a chart: left, right or bottom. A value axis labels its increments with
// AxisValuesFormat (or a time of day with dateTimeFormat); a category axis (the bottom axis of
// vertical bars, the left axis of horizontal bars) labels the points with their labels.
class TChartAxis
{
public:
    bool visible = true;
    // Automatic: the range follows the data. Otherwise minimum to maximum as set.
    bool Automatic = true;
    double Minimum = 0;
    double Maximum = 0;
    // Distance between labels; 0 chooses one that keeps the labels apart.
    double Increment = 0;
    QString AxisValuesFormat = "#,##0.###";
    // When set, values are days and the labels show their time of day ("HH:MM").
    QString dateTimeFormat;
    bool labels = true;
    QFont labelFont = QFont("Arial", 8);
    QColor labelColour = Qt::black;
    int labelAngle = 0;       // 0 or 90 degrees
    int labelSeparation = 10; // least gap between labels, in percent of a label's size
    QString title;
    QFont titleFont = QFont("Arial", 8);
    QColor titleColour = Qt::black;
    bool axisLine = true;
    bool ticks = true;
    bool minorTicks = true;
    bool grid = true;

    void setMinMax(double minimum, double maximum);
    bool operator==(const TChartAxis &) const = default;

    // The label of a value: a time of day when dateTimeFormat is set, a number otherwise.
    QString valueLabel(double value) const;

    // Where the labels of a range go when it is spread over lengthPixels and labels need
    // labelPixels each: every Increment, unless that crowds them, else a round step.
    QList<double> labelPositions(const AxisRange &range, double lengthPixels,
                                 double labelPixels) const;

    // An increment for a range spread over a length in pixels with labels size pixels apart at
    // the least: 1, 2 or 5 times a power of ten.
    static double niceIncrement(double span, double lengthPixels, double labelPixels);
};
