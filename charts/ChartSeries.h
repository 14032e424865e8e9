#pragma once

#include "charts/ChartSettings.h"

#include <QColor>
#include <QList>
#include <QString>

class ChartModel;

// One point of a series: its value (bars, slices) or its X and Y (lines), a label and a colour.
struct ChartPoint
{
    double x = 0;
    double y = 0;
    QString label;
    QColor colour;
};

enum class SeriesKind
{
    Bar,
    HorizBar,
    Pie,
    Line
};

// What every series has: its points, whether it shows, its colour, title, value formats and marks.
class TChartSeries
{
public:
    explicit TChartSeries(SeriesKind kind);
    virtual ~TChartSeries() = default;
    TChartSeries(const TChartSeries &) = delete;
    TChartSeries &operator=(const TChartSeries &) = delete;

    SeriesKind kind() const { return seriesKind; }

    // Removes every point; the next point added has index 0 again.
    void Clear();
    // Adds a value at the next index; returns that index. A label of "" or " " shows no text.
    int Add(double value, const QString &label = QString(), const QColor &colour = QColor());
    // Adds a point at X, Y (lines), drawn in the series' colour.
    int AddXY(double x, double y, const QString &label = QString());

    int count() const { return static_cast<int>(points.size()); }
    const ChartPoint &point(int index) const { return points.at(index); }
    double value(int index) const { return points.at(index).y; }
    // The point's own colour, or the series' colour when it has none.
    QColor pointColour(int index) const;
    // The label to show: empty for a label made only of blanks.
    QString shownLabel(int index) const;
    // Sum of the values, and one value's share of it in percent (0 when the sum is 0).
    double total() const;
    double percentOf(int index) const;

    bool Active() const { return active; }
    void setActive(bool value);

    QColor colour() const { return seriesColour; }
    void setColour(const QColor &value);

    QString title() const { return seriesTitle; }
    void setTitle(const QString &value);

    QString ValueFormat() const { return valueFormat; }
    void setValueFormat(const QString &value);
    QString PercentFormat() const { return percentFormat; }
    void setPercentFormat(const QString &value);

    SeriesMarks &marks() { return seriesMarks; }
    const SeriesMarks &marks() const { return seriesMarks; }

    // The text of a point's mark as its style asks for it.
    QString markText(int index) const;
    // The same for any label, value and share in percent (the merged slice of a pie has no point).
    QString markText(const QString &label, double value, double percent) const;
    QString formattedValue(int index) const;

    // Set by the chart that holds the series, so that changes repaint it.
    void setOwner(ChartModel *model) { owner = model; }

protected:
    void changed();
    // Stores a setting and repaints the chart that shows the series.
    template <typename T> void assign(T &setting, const T &value)
    {
        setting = value;
        changed();
    }

private:
    SeriesKind seriesKind;
    QList<ChartPoint> points;
    bool active = true;
    QColor seriesColour = Qt::red;
    QString seriesTitle;
    QString valueFormat = "#,##0.###";
    QString percentFormat = "##0.## %";
    SeriesMarks seriesMarks;
    ChartModel *owner = nullptr;
};
