#pragma once

#include "charts/ChartSettings.h"

#include <QPointF>
#include <QRectF>

// Maps points of the chart's 3-D box to the screen. x and y are pixels on the front plane (y
// down), z runs from 0 at the front to depth() at the back. Orthogonal views push the depth up
// and to the right at 45 degrees; other views turn the box about its centre by the rotation and
// elevation and, with a perspective, shrink what lies farther away. Zoom scales about the centre.
class Projection3D
{
public:
    Projection3D(const QRectF &front, double depth, const TView3DOptions &view);

    QPointF map(double x, double y, double z) const;
    // Distance from the viewer, for drawing the farthest things first.
    double distance(double x, double y, double z) const;
    double depth() const { return boxDepth; }

    // The part of the depth that an orthogonal view shows along each screen axis.
    static double obliqueShare();

private:
    struct Turned
    {
        double x, y, z;
    };
    Turned turn(double x, double y, double z) const;

    QRectF frontRect;
    double boxDepth;
    TView3DOptions view;
    QPointF anchor;
    double cosRotation, sinRotation, cosElevation, sinElevation;
    double viewerDistance;
};
