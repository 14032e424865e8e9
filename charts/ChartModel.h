#pragma once

#include "charts/ChartAxis.h"
#include "charts/ChartSeries.h"
#include "charts/ChartSettings.h"

#include <QColor>
#include <QRectF>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

// One line of the legend: its text and the colour of its box.
struct LegendEntry
{
    QString text;
    QColor colour;
};

// A label of the category axis and the position it stands at.
struct CategoryLabel
{
    double at = 0;
    QString text;
};

// Everything a chart shows, without any drawing: its series, axes, legend, title, walls,
// background and 3-D view. The painter draws a model on a widget, an image or a printer page.
class ChartModel
{
public:
    ChartModel();
    virtual ~ChartModel();
    ChartModel(const ChartModel &) = delete;
    ChartModel &operator=(const ChartModel &) = delete;

    // Takes the series into the chart and hands it back, typed as it came.
    template <typename Series> Series *addSeries(std::unique_ptr<Series> series)
    {
        Series *raw = series.get();
        adopt(std::move(series));
        return raw;
    }
    template <typename Series> Series *addSeries() { return addSeries(std::make_unique<Series>()); }
    int seriesCount() const { return static_cast<int>(allSeries.size()); }
    // Lets go of every series, for a chart whose lines come and go with what it shows.
    void removeAllSeries();
    TChartSeries *series(int index) const { return allSeries.at(index).get(); }
    // Series that are shown, in the order added.
    std::vector<TChartSeries *> activeSeries() const;

    // Depth of the 3-D box in percent, 1 to 100; values outside are brought to the nearest.
    int Chart3DPercent() const { return depthPercent; }
    void setChart3DPercent(int percent);
    bool View3D() const { return view3D; }
    void setView3D(bool value);
    TView3DOptions &View3DOptions() { return view; }
    const TView3DOptions &View3DOptions() const { return view; }
    // Setters for the view that repaint, for the animations.
    void setZoom(int percent);
    void setRotation(int degrees);
    void setElevation(int degrees);
    void setOrthogonal(bool value);

    // The title: replace line 0 (adding it when there is none), or make text the only line.
    ChartTitle &Title() { return title; }
    const ChartTitle &Title() const { return title; }
    void setTitleLine0(const QString &text);
    void setTitleText(const QString &text);

    TChartAxis &LeftAxis() { return left; }
    TChartAxis &RightAxis() { return right; }
    TChartAxis &BottomAxis() { return bottom; }
    const TChartAxis &LeftAxis() const { return left; }
    const TChartAxis &RightAxis() const { return right; }
    const TChartAxis &BottomAxis() const { return bottom; }
    bool axesVisible = true;

    ChartLegend &Legend() { return legend; }
    const ChartLegend &Legend() const { return legend; }
    // What the legend lists, first entry at the top (or the left of a legend above or below).
    QList<LegendEntry> legendEntries() const;

    ChartWall backWall;
    ChartWall leftWall;
    ChartWall bottomWall;
    ChartGradient gradient;
    ChartMargins margins;
    QColor backColour = QColor(240, 240, 240);
    bool frame = true; // an outline of the plot at the back, with or without a back wall

    // What a screen reader calls the points that show no label, by index: a chart whose bars
    // line up with labels beside it names them here. Nothing drawn depends on it.
    QStringList unlabelledPointNames;

    // At most this many categories (points) show at once; 0 shows all. Pages count from 1.
    int maxPointsPerPage() const { return pointsPerPage; }
    void setMaxPointsPerPage(int points);
    int page() const { return currentPage; }
    int pageCount() const;
    void setPage(int page);

    // The ranges the axes show now: their own when fixed, the data's when automatic.
    AxisRange valueRange() const;    // left axis of vertical charts, bottom of horizontal ones
    AxisRange categoryRange() const; // the other one
    // The labels along the category axis, in the order of their positions: the points' own
    // labels (the first series to label a position wins). Lines whose points carry no labels
    // show the axis' values instead, as many as lengthPixels holds at labelPixels a label.
    QList<CategoryLabel> categoryLabels(double lengthPixels, double labelPixels) const;
    // The axis of the values (left, or bottom for horizontal bars) and that of the categories.
    const TChartAxis &valueAxis() const;
    const TChartAxis &categoryAxis() const;
    // True when the chart's bars lie along the bottom axis (horizontal bars).
    bool horizontal() const;
    // The value of a bar's base and end once the series below it in a stack are counted.
    double stackBase(const TChartSeries *series, int index) const;

    // Zoom to value and category ranges. The first zoom remembers the axes as they were; undoZoom
    // puts them back, however often the user zoomed in between.
    void zoomTo(const AxisRange &values, const AxisRange &categories);
    void undoZoom();
    bool zoomed() const { return savedAxes.has_value(); }
    bool allowZoom = true;
    bool animatedZoom = false;

    // Everything callers change through plain fields rather than setters, taken together, so that
    // a view can tell whether any of it changed since it last drew. A plain field added to the
    // model belongs in here.
    struct FieldSnapshot
    {
        ChartWall backWall, leftWall, bottomWall;
        ChartGradient gradient;
        ChartMargins margins;
        QColor backColour;
        bool frame = true;
        bool axesVisible = true;
        ChartTitle title;
        ChartLegend legend;
        TChartAxis left, right, bottom;
        TView3DOptions view;
        QList<SeriesMarks> marks; // of each series, in order
        bool operator==(const FieldSnapshot &) const = default;
    };
    FieldSnapshot fieldSnapshot() const;

    // Called after every change through a setter; the widget repaints.
    void setChangeHandler(std::function<void()> handler) { onChange = std::move(handler); }
    void changed();

private:
    void adopt(std::unique_ptr<TChartSeries> series);
    bool anyActive(std::initializer_list<SeriesKind> kinds) const;
    TChartAxis &valueAxis();
    TChartAxis &categoryAxis();
    int categoryCount() const;

    std::vector<std::unique_ptr<TChartSeries>> allSeries;
    int depthPercent = 15;
    bool view3D = true;
    TView3DOptions view;
    ChartTitle title;
    TChartAxis left;
    TChartAxis right;
    TChartAxis bottom;
    ChartLegend legend;
    int pointsPerPage = 0;
    int currentPage = 1;

    struct SavedAxes
    {
        TChartAxis left, right, bottom;
    };
    std::optional<SavedAxes> savedAxes;
    std::function<void()> onChange;
};
