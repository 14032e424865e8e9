#pragma once

// Small pieces of geometry that the parts of the chart painter share.

#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <algorithm>
#include <array>

constexpr double axisLabelGap = 4; // between an axis and its labels, in pixels

using ChartFace = std::array<QPointF, 4>;

// Positive for a face whose corners run clockwise on screen. The corners of every face of a box
// are listed clockwise as seen from outside the box, so a face looks at the viewer exactly when
// this is positive.
inline double faceTurning(const ChartFace &face)
{
    double sum = 0;
    for (int i = 0; i < 4; ++i) {
        const QPointF &a = face[i];
        const QPointF &b = face[(i + 1) % 4];
        sum += a.x() * b.y() - b.x() * a.y();
    }
    return sum;
}

inline QPolygonF facePolygon(const ChartFace &face)
{
    return QPolygonF({face[0], face[1], face[2], face[3]});
}

// A mark box moved the least needed to lie whole inside the chart.
inline QRectF keptInside(QRectF box, const QRectF &bounds)
{
    box.moveLeft(std::clamp(box.left(), bounds.left(), bounds.right() - box.width()));
    box.moveTop(std::clamp(box.top(), bounds.top(), bounds.bottom() - box.height()));
    return box;
}
