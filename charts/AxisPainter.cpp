// The axes side of the chart painter: grid lines, axis lines, ticks, labels and titles.

#include "charts/ChartPainter.h"
#include "charts/ChartShapes.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

void ChartPainter::paintValueAxes(QPainter &painter, const Projection3D &view) const
{
    const TChartAxis &axis = model.valueAxis();
    const QRectF &r = plot;
    const double d = view.depth();
    const QFontMetricsF metrics(axis.labelFont);
    // The labels keep their size while a zoomed-out view shrinks the axis: space them by the
    // length the axis shows.
    const double length =
        (horizontal ? r.width() : r.height()) * model.View3DOptions().Zoom / 100.0;
    const double labelSize = horizontal
                                 ? metrics.horizontalAdvance(axis.valueLabel(values.maximum)) + 8
                                 : metrics.height() * (1 + axis.labelSeparation / 100.0);
    const QList<double> ticks = axis.labelPositions(values, length, labelSize);
    auto p = [&view](double x, double y, double z) { return view.map(x, y, z); };

    painter.save();
    if (axis.grid) {
        painter.setPen(QPen(QColor(128, 128, 128), 0, Qt::DotLine));
        for (double v : ticks) {
            const double at = valuePixel(v);
            if (horizontal)
                painter.drawPolyline(
                    QPolygonF({p(at, r.bottom(), 0), p(at, r.bottom(), d), p(at, r.top(), d)}));
            else
                painter.drawPolyline(
                    QPolygonF({p(r.left(), at, 0), p(r.left(), at, d), p(r.right(), at, d)}));
        }
    }
    // The value axes proper: one at the front left (or bottom), the right one at the back.
    auto paintAxis = [&](const TChartAxis &shown, bool far) {
        if (!shown.visible)
            return;
        const double z = far ? d : 0;
        painter.setPen(QPen(Qt::black, 0));
        if (shown.axisLine) {
            if (horizontal)
                painter.drawLine(p(r.left(), r.bottom(), z), p(r.right(), r.bottom(), z));
            else
                painter.drawLine(p(far ? r.right() : r.left(), r.top(), z),
                                 p(far ? r.right() : r.left(), r.bottom(), z));
        }
        painter.setFont(shown.labelFont);
        const QFontMetricsF metrics(shown.labelFont);
        for (int i = 0; i < ticks.size(); ++i) {
            const double at = valuePixel(ticks[i]);
            const QString text = shown.valueLabel(ticks[i]);
            const double w = metrics.horizontalAdvance(text);
            if (horizontal) {
                const QPointF base = p(at, r.bottom(), z);
                if (shown.ticks) {
                    painter.setPen(QPen(Qt::black, 0));
                    painter.drawLine(base, base + QPointF(0, axisLabelGap - 1));
                }
                if (shown.labels) {
                    painter.setPen(shown.labelColour);
                    painter.drawText(QRectF(base.x() - w / 2 - 1, base.y() + axisLabelGap, w + 2,
                                            metrics.height()),
                                     Qt::AlignCenter, text);
                }
                continue;
            }
            const QPointF base = p(far ? r.right() : r.left(), at, z);
            const double dir = far ? 1 : -1;
            if (shown.ticks) {
                painter.setPen(QPen(Qt::black, 0));
                painter.drawLine(base, base + QPointF(dir * (axisLabelGap - 1), 0));
                if (shown.minorTicks && i + 1 < ticks.size()) {
                    const double next = valuePixel(ticks[i + 1]);
                    for (int k = 1; k < 4; ++k) {
                        const QPointF minor =
                            p(far ? r.right() : r.left(), at + (next - at) * k / 4, z);
                        painter.drawLine(minor, minor + QPointF(dir * 2, 0));
                    }
                }
            }
            if (shown.labels) {
                painter.setPen(shown.labelColour);
                const double x = far ? base.x() + axisLabelGap : base.x() - axisLabelGap - w - 2;
                painter.drawText(
                    QRectF(x, base.y() - metrics.height() / 2, w + 2, metrics.height()),
                    (far ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter, text);
            }
        }
    };
    paintAxis(axis, false);
    if (!horizontal && model.RightAxis().visible)
        paintAxis(model.RightAxis(), true);
    if (!axis.title.isEmpty()) {
        const QFontMetricsF titleMetrics(axis.titleFont);
        painter.setFont(axis.titleFont);
        painter.setPen(axis.titleColour);
        if (horizontal) {
            const double y = p(r.left(), r.bottom(), 0).y() + axisLabelGap * 2 + metrics.height();
            painter.drawText(QRectF(r.left(), y, r.width(), titleMetrics.height()), Qt::AlignCenter,
                             axis.title);
        } else {
            // Stand the title left of the widest label.
            double widest = 0;
            for (double v : ticks)
                widest = std::max(widest, metrics.horizontalAdvance(axis.valueLabel(v)));
            paintSideTitle(painter, axis, widest);
        }
    }
    painter.restore();
}

void ChartPainter::paintSideTitle(QPainter &painter, const TChartAxis &axis,
                                  double labelsWidth) const
{
    const QFontMetricsF titleMetrics(axis.titleFont);
    painter.save();
    painter.setFont(axis.titleFont);
    painter.setPen(axis.titleColour);
    // Turned a quarter to the left, reading upwards, beside the labels.
    painter.translate(plot.left() - labelsWidth - 2 * axisLabelGap, plot.center().y());
    painter.rotate(-90);
    painter.drawText(
        QRectF(-plot.height() / 2, -titleMetrics.height(), plot.height(), titleMetrics.height()),
        Qt::AlignCenter, axis.title);
    painter.restore();
}

void ChartPainter::paintCategoryAxis(QPainter &painter, const Projection3D &view) const
{
    const TChartAxis &axis = model.categoryAxis();
    if (!axis.visible)
        return;
    const QRectF &r = plot;
    auto p = [&view](double x, double y, double z) { return view.map(x, y, z); };
    painter.save();
    painter.setPen(QPen(Qt::black, 0));
    if (axis.axisLine) {
        if (horizontal)
            painter.drawLine(p(r.left(), r.top(), 0), p(r.left(), r.bottom(), 0));
        else
            painter.drawLine(p(r.left(), r.bottom(), 0), p(r.right(), r.bottom(), 0));
    }
    const QFontMetricsF metrics(axis.labelFont);
    painter.setFont(axis.labelFont);
    // Labels that would run into the one before are left out.
    QRectF last;
    double lowest = 0; // bottom of the longest upright label
    const double separation = 1 + axis.labelSeparation / 100.0;
    for (const auto &[at, text] : categoryLabels) {
        const double pixel = categoryPixel(at);
        const double w = metrics.horizontalAdvance(text);
        const double h = metrics.height();
        if (horizontal) {
            const QPointF base = p(r.left(), pixel, 0);
            const QRectF box(base.x() - axisLabelGap - w - 2, base.y() - h / 2, w + 2, h);
            if (!last.isNull() && box.bottom() > last.top() - (separation - 1) * h)
                continue;
            last = box;
            if (axis.labels) {
                painter.setPen(axis.labelColour);
                painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, text);
            }
            continue;
        }
        const QPointF base = p(pixel, r.bottom(), 0);
        if (axis.labelAngle == 90) {
            const QRectF box(base.x() - h / 2, base.y() + axisLabelGap, h, w);
            if (!last.isNull() && box.left() < last.right() + (separation - 1) * h)
                continue;
            last = box;
            lowest = std::max(lowest, box.bottom());
            if (axis.labels) {
                painter.save();
                painter.setPen(axis.labelColour);
                // Turned a quarter to the left: the text reads upwards and ends at the axis.
                painter.translate(box.left(), box.bottom());
                painter.rotate(-90);
                painter.drawText(QRectF(0, 0, w + 2, h), Qt::AlignLeft | Qt::AlignVCenter, text);
                painter.restore();
            }
            continue;
        }
        const QRectF box(base.x() - w / 2 - 1, base.y() + axisLabelGap, w + 2, h);
        if (!last.isNull() && box.left() < last.right() + (separation - 1) * w / 2)
            continue;
        last = box;
        if (axis.labels) {
            painter.setPen(axis.labelColour);
            painter.drawText(box, Qt::AlignCenter, text);
        }
    }
    if (!axis.title.isEmpty()) {
        painter.setFont(axis.titleFont);
        painter.setPen(axis.titleColour);
        const double labelsRoom = axis.labelAngle == 90 && !horizontal
                                      ? std::max(0.0, lowest - p(0, r.bottom(), 0).y())
                                      : metrics.height() + axisLabelGap;
        const QFontMetricsF titleMetrics(axis.titleFont);
        if (horizontal) {
            double widest = 0;
            for (const CategoryLabel &label : categoryLabels)
                widest = std::max(widest, metrics.horizontalAdvance(label.text) + 2);
            paintSideTitle(painter, axis, widest);
        } else {
            const double y = p(r.left(), r.bottom(), 0).y() + labelsRoom + axisLabelGap;
            painter.drawText(QRectF(r.left(), y, r.width(), titleMetrics.height()), Qt::AlignCenter,
                             axis.title);
        }
    }
    painter.restore();
}
