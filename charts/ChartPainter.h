#pragma once

#include "charts/ChartModel.h"
#include "charts/Projection3D.h"

#include <QPainter>
#include <QRectF>
#include <utility>
#include <vector>

class TBarSeries;
class TPieSeries;
enum class MultiBar;

// Draws a chart model on any painter: a widget, an image or a printer page. Keeps the layout of
// its last drawing so that the widget can turn mouse positions back into axis values.
class ChartPainter
{
public:
    explicit ChartPainter(const ChartModel &model) : model(model) {}

    void paint(QPainter &painter, const QRectF &rect);

    // The front plane of the last drawing's plot area; empty for pies and before any drawing.
    QRectF plotRect() const { return plot; }
    // Axis values of a point of the front plane of the last drawing.
    double valueAt(const QPointF &point) const;
    double categoryAt(const QPointF &point) const;

private:
    // The entries of the legend and where it goes.
    struct Legend
    {
        QList<LegendEntry> entries;
        QRectF box;
        bool across = false; // entries side by side (top and bottom legends)
    };

    void paintBackground(QPainter &painter, const QRectF &rect) const;
    QRectF paintTitle(QPainter &painter, const QRectF &rect) const;
    QRectF placeLegend(const QRectF &rect, Legend &legend) const;
    void paintLegend(QPainter &painter, const Legend &legend) const;

    void paintCartesian(QPainter &painter, const QRectF &area);
    // Stretches the value range so that marks beyond the longest bar stay inside the plot.
    void leaveRoomForMarks();
    void paintWalls(QPainter &painter, const Projection3D &view) const;
    void paintValueAxes(QPainter &painter, const Projection3D &view) const;
    void paintCategoryAxis(QPainter &painter, const Projection3D &view) const;
    // The title of the left axis, turned upright, left of labels that take labelsWidth.
    void paintSideTitle(QPainter &painter, const TChartAxis &axis, double labelsWidth) const;
    void paintSeries(QPainter &painter, const Projection3D &view) const;
    void paintBarMarks(QPainter &painter, const Projection3D &view) const;

    void paintPie(QPainter &painter, const QRectF &area, const TPieSeries &pie) const;

    // Screen position along the front plane of a value and of a category.
    double valuePixel(double value) const;
    double categoryPixel(double category) const;
    // The active bar series that share their slots in one way, in the order added.
    std::vector<const TBarSeries *> barsSharing(MultiBar multi) const;
    static std::pair<double, double>
    barDepth(const TBarSeries *bar, const std::vector<const TBarSeries *> &layered, double depth);

    const ChartModel &model;
    QRectF bounds;
    QRectF plot;
    AxisRange values;
    AxisRange categories;
    QList<CategoryLabel> categoryLabels;
    bool horizontal = false;
};

// Draws a mark box with its text, centred on a point or placed beside it.
void paintMark(QPainter &painter, const SeriesMarks &marks, const QString &text, const QRectF &box);
QSizeF markSize(const SeriesMarks &marks, const QString &text);
