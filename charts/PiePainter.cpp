// The pie side of the chart painter: a disc seen from above its front edge, with a rim as deep as
// the chart's depth asks, slices in their colours and marks outside the rim.

#include "charts/ChartPainter.h"
#include "charts/ChartShapes.h"
#include "charts/PieSeries.h"

#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

// The geometry of a pie on the screen: an ellipse for the top face and a rim below its front.
struct Disc
{
    QPointF centre;
    double rx = 0;
    double ry = 0;
    double rim = 0;

    QPointF at(double degrees, double drop = 0) const
    {
        const double a = radians(degrees);
        return centre + QPointF(rx * std::cos(a), -ry * std::sin(a) + drop);
    }
    QRectF ellipse() const { return QRectF(centre.x() - rx, centre.y() - ry, 2 * rx, 2 * ry); }
    Disc moved(const QPointF &by) const { return Disc{centre + by, rx, ry, rim}; }
};

// Parts of a slice's arc on the front half of the disc (180 to 360 degrees), where its rim
// shows.
QList<QPair<double, double>> frontArcs(double start, double sweep)
{
    QList<QPair<double, double>> arcs;
    // The whole disc's rim is one piece, with no edge where the turn begins.
    if (sweep >= 360 - 1e-9)
        return {{180.0, 360.0}};
    const double begin = std::fmod(start, 360.0);
    // Look at the arc in two turns so that one that wraps past 360 is seen whole.
    for (double turnStart : {0.0, 360.0}) {
        const double lo = std::max(begin, turnStart + 180.0);
        const double hi = std::min(begin + sweep, turnStart + 360.0);
        if (hi > lo)
            arcs.append({lo, hi});
    }
    return arcs;
}

void paintRim(QPainter &painter, const Disc &disc, double from, double to, const QColor &colour)
{
    QPolygonF outline;
    const int steps = std::max(2, static_cast<int>((to - from) / 3));
    for (int i = 0; i <= steps; ++i)
        outline.append(disc.at(from + (to - from) * i / steps));
    for (int i = steps; i >= 0; --i)
        outline.append(disc.at(from + (to - from) * i / steps, disc.rim));
    painter.setBrush(colour.darker(140));
    painter.drawPolygon(outline);
}

} // namespace

void ChartPainter::paintPie(QPainter &painter, const QRectF &area, const TPieSeries &pie) const
{
    const QList<PieSlice> slices = pie.slices();
    if (slices.isEmpty())
        return;
    double sum = 0;
    for (const PieSlice &slice : slices)
        sum += slice.value;

    // Elevation 360 looks straight at the face, lower angles tilt the disc towards the viewer.
    const int elevation = ((model.View3DOptions().Elevation % 360) + 360) % 360;
    const double tilt =
        model.View3D() ? std::clamp(360.0 - (elevation == 0 ? 360 : elevation), 0.0, 80.0) : 0.0;
    const double squash = std::cos(radians(tilt));
    const SeriesMarks &marks = pie.marks();

    // Room for the marks beside the disc: the widest mark and its arrow.
    double markRoomX = 0, markRoomY = 0;
    auto markText = [&pie, sum](const PieSlice &slice) {
        return pie.markText(slice.label, slice.value, slice.value * 100.0 / sum);
    };
    if (marks.visible) {
        for (const PieSlice &slice : slices) {
            const QSizeF size = markSize(marks, markText(slice));
            markRoomX = std::max(markRoomX, size.width() + std::max(0, marks.arrowLength));
            markRoomY = std::max(markRoomY, size.height() + std::max(0, marks.arrowLength));
        }
    }
    const double explodeShare = pie.explodeBiggest() / 100.0;
    Disc disc;
    const double depthShare = model.View3D() ? model.Chart3DPercent() / 100.0 : 0;
    const double widthRadius = (area.width() - 2 * markRoomX) / 2 / (1 + explodeShare);
    const double heightRadius = (area.height() - 2 * markRoomY) /
                                (2 * squash + depthShare * 0.5 * std::sin(radians(tilt))) /
                                (1 + explodeShare);
    disc.rx = std::max(4.0, std::min(widthRadius, heightRadius));
    disc.ry = disc.rx * squash;
    disc.rim = disc.rx * depthShare * 0.5 * std::sin(radians(tilt));
    disc.centre = area.center() - QPointF(0, disc.rim / 2);

    auto sliceDisc = [&](const PieSlice &slice) {
        if (!slice.exploded)
            return disc;
        const double mid = slice.startAngle + slice.sweep / 2;
        const double pull = disc.rx * explodeShare;
        return disc.moved(
            QPointF(pull * std::cos(radians(mid)), -pull * squash * std::sin(radians(mid))));
    };

    painter.save();
    painter.setPen(QPen(Qt::black, 0));
    if (disc.rim > 0.5) {
        // Rims from the sides towards the front, so the nearest rim is drawn last.
        struct RimPart
        {
            Disc disc;
            double from, to;
            QColor colour;
        };
        QList<RimPart> rims;
        for (const PieSlice &slice : slices)
            for (const auto &[from, to] : frontArcs(slice.startAngle, slice.sweep))
                rims.append({sliceDisc(slice), from, to, slice.colour});
        std::sort(rims.begin(), rims.end(), [](const RimPart &a, const RimPart &b) {
            const double am = std::fabs(std::fmod((a.from + a.to) / 2, 360.0) - 270);
            const double bm = std::fabs(std::fmod((b.from + b.to) / 2, 360.0) - 270);
            return am > bm;
        });
        for (const RimPart &part : rims)
            paintRim(painter, part.disc, part.from, part.to, part.colour);
    }
    for (const PieSlice &slice : slices) {
        // An empty slice has no face, and one that holds the whole disc has no edges: drawn as
        // wedges, either would leave a line from the centre to the rim.
        if (slice.sweep <= 0)
            continue;
        const Disc d = sliceDisc(slice);
        painter.setBrush(slice.colour);
        if (slice.sweep >= 360 - 1e-9) {
            painter.drawEllipse(d.ellipse());
            continue;
        }
        QPainterPath path(d.centre);
        path.arcTo(d.ellipse(), slice.startAngle, slice.sweep);
        path.closeSubpath();
        painter.drawPath(path);
    }

    if (marks.visible) {
        for (const PieSlice &slice : slices) {
            const QString text = markText(slice);
            if (text.isEmpty())
                continue;
            const Disc d = sliceDisc(slice);
            const double mid = slice.startAngle + slice.sweep / 2;
            const bool front = std::sin(radians(mid)) < 0;
            const QPointF edge = d.at(mid, front ? d.rim : 0);
            const QPointF out(std::cos(radians(mid)), -std::sin(radians(mid)));
            const QPointF tip = edge + out * std::max(0, marks.arrowLength);
            const QSizeF size = markSize(marks, text);
            QRectF box(QPointF(), size);
            box.moveCenter(tip + QPointF(out.x() * size.width() / 2, out.y() * size.height() / 2));
            box = keptInside(box, bounds);
            if (marks.arrow && marks.arrowLength > 0) {
                painter.setPen(QPen(Qt::black, 0));
                painter.drawLine(edge, tip);
            }
            paintMark(painter, marks, text, box);
        }
    }
    painter.restore();
}
