#include "charts/Projection3D.h"

#include <cmath>
#include <numbers>

namespace {

double radians(int degrees)
{
    return (degrees % 360) * std::numbers::pi / 180.0;
}

} // namespace

double Projection3D::obliqueShare()
{
    return std::numbers::sqrt2 / 2;
}

Projection3D::Projection3D(const QRectF &front, double depth, const TView3DOptions &options)
    : frontRect(front), boxDepth(depth), view(options)
{
    const double k = obliqueShare();
    anchor = front.center() + QPointF(depth / 2 * k, -depth / 2 * k);
    cosRotation = std::cos(radians(view.Rotation));
    sinRotation = std::sin(radians(view.Rotation));
    cosElevation = std::cos(radians(view.Elevation));
    sinElevation = std::sin(radians(view.Elevation));
    // A perspective of p percent puts the viewer 25/p times the box's size away.
    const double size = std::max(front.width(), front.height());
    viewerDistance = view.Perspective > 0 ? size * 25.0 / view.Perspective : 0;
}

Projection3D::Turned Projection3D::turn(double x, double y, double z) const
{
    const double dx = x - frontRect.center().x();
    const double dy = y - frontRect.center().y();
    const double dz = z - boxDepth / 2;
    const double x1 = dx * cosRotation + dz * sinRotation;
    const double z1 = -dx * sinRotation + dz * cosRotation;
    const double y2 = dy * cosElevation - z1 * sinElevation;
    const double z2 = dy * sinElevation + z1 * cosElevation;
    return {x1, y2, z2};
}

QPointF Projection3D::map(double x, double y, double z) const
{
    const double scale = view.Zoom / 100.0;
    if (view.Orthogonal) {
        const double k = obliqueShare();
        const QPointF flat(x + z * k, y - z * k);
        return anchor + (flat - anchor) * scale;
    }
    const Turned t = turn(x, y, z);
    double shrink = 1;
    if (viewerDistance > 0)
        shrink = viewerDistance / std::max(1.0, viewerDistance + t.z);
    return anchor + QPointF(t.x, t.y) * (shrink * scale);
}

double Projection3D::distance(double x, double y, double z) const
{
    if (view.Orthogonal)
        return z;
    return turn(x, y, z).z;
}
