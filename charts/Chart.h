#pragma once

#include "charts/ChartModel.h"
#include "charts/ChartPainter.h"

#include <QImage>
#include <QTimer>
#include <QWidget>

// The chart control: a chart model that draws itself, zooms when the user drags a rectangle over
// it (down and to the right zooms in, up or to the left undoes the zoom), and tells of clicks and
// double clicks. Its hint is the widget's tool tip.
class TChart : public QWidget, public ChartModel
{
    Q_OBJECT

public:
    explicit TChart(QWidget *parent = nullptr);

    // Draws the chart on any painter, filling rect.
    void draw(QPainter &painter, const QRectF &rect);
    // The chart as a picture of a size (its own size when empty).
    QImage toImage(QSize size = QSize());
    // The front plane of the plot area as last drawn; empty before the first drawing and for pies.
    QRectF plotRect() const { return painter.plotRect(); }

    // Undo zoom: the axes go back to the ranges they had before the first zoom; redrawn.
    void UndoZoom();
    // Zoom to a rectangle of the widget, stepping there when the zoom is animated.
    void zoomToRect(const QRect &area);
    // Ends a running zoom animation at once, at its target.
    void finishZoom();
    bool zoomAnimating() const { return zoomTimer.isActive(); }

    // Steps of an animated zoom, one per timer tick.
    static constexpr int zoomSteps = 8;

signals:
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void zoomTick();
    // Repaints when a plain field changed since the last drawing: run each time the event loop
    // is about to wait, so that whatever a handler changed shows once it returns.
    void repaintIfFieldsChanged();
    // Tells a screen reader that shows the chart about new figures or a new name.
    void announceIfTableChanged();

    ChartPainter painter;
    FieldSnapshot drawnFields; // as the widget last drew them
    bool tableMayHaveChanged = false;
    size_t announcedTable = 0; // a hash of the name and figures a screen reader last heard
    QPoint dragStart;
    QRect dragArea;
    bool dragging = false;
    bool doubleClickPending = false;

    QTimer zoomTimer;
    int zoomStep = 0;
    AxisRange zoomFromValues, zoomFromCategories;
    AxisRange zoomToValues, zoomToCategories;
};
