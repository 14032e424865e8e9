#include "charts/Chart.h"

#include "charts/ChartAccessible.h"

#include <QAbstractEventDispatcher>
#include <QAccessible>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int dragThreshold = 4; // pixels a drag must cover before it counts as a zoom

AxisRange between(const AxisRange &from, const AxisRange &to, double f)
{
    return {from.minimum + (to.minimum - from.minimum) * f,
            from.maximum + (to.maximum - from.maximum) * f};
}

} // namespace

TChart::TChart(QWidget *parent) : QWidget(parent), painter(*this)
{
    installChartAccessibility();
    setChangeHandler([this] {
        tableMayHaveChanged = true;
        update();
    });
    zoomTimer.setInterval(20);
    connect(&zoomTimer, &QTimer::timeout, this, &TChart::zoomTick);
    connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
            &TChart::repaintIfFieldsChanged);
}

void TChart::repaintIfFieldsChanged()
{
    if (!isVisible())
        return; // showing paints anyway
    announceIfTableChanged();
    FieldSnapshot now = fieldSnapshot();
    if (now == drawnFields)
        return;
    drawnFields = std::move(now);
    update();
}

void TChart::announceIfTableChanged()
{
    if (!tableMayHaveChanged || !QAccessible::isActive())
        return;
    tableMayHaveChanged = false;
    const ChartTableText figures = chartTable(*this);
    QStringList all{chartAccessibleName(*this)};
    all << figures.rowHeaders << figures.columnHeaders;
    for (const QStringList &row : figures.cells)
        all << row;
    const size_t now = qHash(all.join(u'\n'));
    if (now == announcedTable)
        return;
    announcedTable = now;
    QAccessibleTableModelChangeEvent reset(this, QAccessibleTableModelChangeEvent::ModelReset);
    QAccessible::updateAccessibility(&reset);
    QAccessibleEvent renamed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
}

void TChart::draw(QPainter &target, const QRectF &rect)
{
    painter.paint(target, rect);
}

QImage TChart::toImage(QSize size)
{
    if (size.isEmpty())
        size = this->size();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter target(&image);
    draw(target, QRectF(QPointF(0, 0), size));
    return image;
}

void TChart::UndoZoom()
{
    zoomTimer.stop();
    undoZoom();
}

void TChart::zoomToRect(const QRect &area)
{
    const QRectF plot = painter.plotRect();
    if (plot.isEmpty() || !allowZoom)
        return;
    const QRectF part = QRectF(area).intersected(plot);
    if (part.isEmpty())
        return;
    const double v0 = painter.valueAt(part.bottomLeft());
    const double v1 = painter.valueAt(part.topRight());
    const double c0 = painter.categoryAt(part.bottomLeft());
    const double c1 = painter.categoryAt(part.topRight());
    const AxisRange valuesTo{std::min(v0, v1), std::max(v0, v1)};
    const AxisRange categoriesTo{std::min(c0, c1), std::max(c0, c1)};
    if (!animatedZoom) {
        zoomTo(valuesTo, categoriesTo);
        return;
    }
    zoomFromValues = valueRange();
    zoomFromCategories = categoryRange();
    zoomToValues = valuesTo;
    zoomToCategories = categoriesTo;
    zoomStep = 0;
    zoomTimer.start();
}

void TChart::finishZoom()
{
    if (!zoomTimer.isActive())
        return;
    zoomTimer.stop();
    zoomTo(zoomToValues, zoomToCategories);
}

void TChart::zoomTick()
{
    ++zoomStep;
    const double f = static_cast<double>(zoomStep) / zoomSteps;
    zoomTo(between(zoomFromValues, zoomToValues, f),
           between(zoomFromCategories, zoomToCategories, f));
    if (zoomStep >= zoomSteps)
        zoomTimer.stop();
}

void TChart::paintEvent(QPaintEvent *)
{
    drawnFields = fieldSnapshot();
    QPainter target(this);
    draw(target, QRectF(rect()));
    if (dragging && !dragArea.isEmpty()) {
        target.setPen(QPen(Qt::black, 0, Qt::DashLine));
        target.setBrush(Qt::NoBrush);
        target.drawRect(dragArea);
    }
}

void TChart::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    dragStart = event->position().toPoint();
    dragArea = QRect();
    dragging = true;
}

void TChart::mouseMoveEvent(QMouseEvent *event)
{
    if (!dragging || !allowZoom)
        return;
    dragArea = QRect(dragStart, event->position().toPoint()).normalized();
    update();
}

void TChart::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !dragging)
        return;
    dragging = false;
    const QPoint end = event->position().toPoint();
    const QPoint moved = end - dragStart;
    update();
    if (doubleClickPending) {
        // The release that ends a double click is no click of its own.
        doubleClickPending = false;
        return;
    }
    if (allowZoom && moved.manhattanLength() > dragThreshold) {
        if (moved.x() > 0 && moved.y() > 0)
            zoomToRect(QRect(dragStart, end));
        else
            UndoZoom();
        return;
    }
    emit clicked();
}

void TChart::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    doubleClickPending = true;
    dragging = true;
    emit doubleClicked();
}
