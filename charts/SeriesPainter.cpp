// The series side of the chart painter: bars as boxes and lines as ribbons, drawn from the back
// to the front, and the marks of the bars.

#include "charts/BarSeries.h"
#include "charts/ChartPainter.h"
#include "charts/ChartShapes.h"
#include "charts/LineSeries.h"

#include <QLinearGradient>
#include <algorithm>
#include <cmath>
#include <functional>

namespace {

struct Box
{
    double x0 = 0, x1 = 0, y0 = 0, y1 = 0, z0 = 0, z1 = 0;
    QColor colour;
    QColor pen;
    bool gradient = false;
    bool horizontal = false;
    bool baseAtStart = false; // the bar grows from x0 (horizontal) or from y1 (vertical)
};

void paintBox(QPainter &painter, const Projection3D &view, const Box &b)
{
    auto p = [&view](double x, double y, double z) { return view.map(x, y, z); };
    const ChartFace front{p(b.x0, b.y0, b.z0), p(b.x1, b.y0, b.z0), p(b.x1, b.y1, b.z0),
                          p(b.x0, b.y1, b.z0)};
    const ChartFace back{p(b.x1, b.y0, b.z1), p(b.x0, b.y0, b.z1), p(b.x0, b.y1, b.z1),
                         p(b.x1, b.y1, b.z1)};
    const ChartFace top{p(b.x0, b.y0, b.z1), p(b.x1, b.y0, b.z1), p(b.x1, b.y0, b.z0),
                        p(b.x0, b.y0, b.z0)};
    const ChartFace bottom{p(b.x0, b.y1, b.z0), p(b.x1, b.y1, b.z0), p(b.x1, b.y1, b.z1),
                           p(b.x0, b.y1, b.z1)};
    const ChartFace right{p(b.x1, b.y0, b.z0), p(b.x1, b.y0, b.z1), p(b.x1, b.y1, b.z1),
                          p(b.x1, b.y1, b.z0)};
    const ChartFace left{p(b.x0, b.y0, b.z1), p(b.x0, b.y0, b.z0), p(b.x0, b.y1, b.z0),
                         p(b.x0, b.y1, b.z1)};

    painter.setPen(QPen(b.pen, 0));
    const bool flat = b.z1 - b.z0 < 0.5;
    struct Shaded
    {
        const ChartFace *face;
        int darker;
    };
    const Shaded sides[] = {{&back, 180}, {&left, 160}, {&bottom, 200}, {&right, 160}, {&top, 115}};
    if (!flat) {
        for (const Shaded &side : sides) {
            if (faceTurning(*side.face) > 0.01) {
                painter.setBrush(b.colour.darker(side.darker));
                painter.drawPolygon(facePolygon(*side.face));
            }
        }
    }
    if (!flat && faceTurning(front) <= 0.01)
        return;
    if (b.gradient) {
        // Full colour at the bar's end, a deep tone at its base.
        QPointF start, end;
        if (b.horizontal) {
            start = p(b.x0, b.y0, b.z0);
            end = p(b.x1, b.y0, b.z0);
        } else {
            start = p(b.x0, b.y1, b.z0);
            end = p(b.x0, b.y0, b.z0);
        }
        QLinearGradient shade(start, end);
        shade.setColorAt(0, b.colour.darker(200));
        shade.setColorAt(1, b.colour);
        painter.setBrush(shade);
    } else {
        painter.setBrush(b.colour);
    }
    painter.drawPolygon(facePolygon(front));
}

} // namespace

void ChartPainter::paintSeries(QPainter &painter, const Projection3D &view) const
{
    const double d = view.depth();
    struct Shape
    {
        double distance;
        double along;
        double up;
        int order;
        std::function<void()> draw;
    };
    std::vector<Shape> shapes;
    const auto active = model.activeSeries();

    // Side-by-side bars split their slot between them.
    const std::vector<const TBarSeries *> sideBars = barsSharing(MultiBar::Side);
    const std::vector<const TBarSeries *> layered = barsSharing(MultiBar::None);

    int order = 0;
    for (TChartSeries *s : active) {
        const auto *bar = dynamic_cast<const TBarSeries *>(s);
        if (!bar)
            continue;
        const double slot = bar->barWidthPercent() / 100.0;
        double width = slot;
        double start = -slot / 2;
        if (bar->multiBar() == MultiBar::Side && sideBars.size() > 1) {
            const auto at = std::find(sideBars.begin(), sideBars.end(), bar) - sideBars.begin();
            width = slot / sideBars.size();
            start = -slot / 2 + at * width;
        }
        start += width * bar->offsetPercent() / 100.0;
        const auto [z0, z1] = barDepth(bar, layered, d);
        const QColor pen = bar->barPenColour().isValid() ? bar->barPenColour() : QColor(Qt::black);
        for (int i = 0; i < bar->count(); ++i) {
            const double c = bar->point(i).x;
            const double c0 = std::max(categories.minimum, c + start);
            const double c1 = std::min(categories.maximum, c + start + width);
            if (c1 <= c0)
                continue;
            const double base = model.stackBase(bar, i);
            const double end = base + bar->value(i);
            auto clampValue = [this](double v) {
                return std::clamp(v, values.minimum, values.maximum);
            };
            const double v0 = valuePixel(clampValue(base));
            const double v1 = valuePixel(clampValue(end));
            Box box;
            if (horizontal) {
                box.x0 = std::min(v0, v1);
                box.x1 = std::max(v0, v1);
                box.y0 = categoryPixel(c1);
                box.y1 = categoryPixel(c0);
            } else {
                box.x0 = categoryPixel(c0);
                box.x1 = categoryPixel(c1);
                box.y0 = std::min(v0, v1);
                box.y1 = std::max(v0, v1);
            }
            box.z0 = z0;
            box.z1 = z1;
            box.colour = bar->pointColour(i);
            box.pen = pen;
            box.gradient = bar->gradient();
            box.horizontal = horizontal;
            const double cx = (box.x0 + box.x1) / 2, cy = (box.y0 + box.y1) / 2;
            shapes.push_back({view.distance(cx, cy, (z0 + z1) / 2), cx, -cy, order++,
                              [&painter, &view, box] { paintBox(painter, view, box); }});
        }
    }

    // Lines: each its own slice of the depth, the first series in front.
    std::vector<TChartSeries *> lines;
    for (TChartSeries *s : active)
        if (s->kind() == SeriesKind::Line)
            lines.push_back(s);
    for (size_t k = 0; k < lines.size(); ++k) {
        const TChartSeries *line = lines[k];
        const double z0 = d * k / lines.size();
        const double z1 = d * (k + 1) / lines.size();
        QList<QPointF> points;
        for (int i = 0; i < line->count(); ++i)
            points.append(QPointF(categoryPixel(line->point(i).x), valuePixel(line->value(i))));
        const QColor colour = line->colour();
        const auto *typed = dynamic_cast<const TLineSeries *>(line);
        const bool dashed = typed && typed->dashed();
        auto draw = [&painter, &view, points, colour, z0, z1, dashed, this] {
            painter.save();
            const QRectF clip = QRectF(view.map(plot.left(), plot.top(), view.depth()),
                                       view.map(plot.right(), plot.bottom(), 0))
                                    .normalized()
                                    .adjusted(-1, -1, 1, 1);
            painter.setClipRect(clip.united(plot));
            if (z1 - z0 >= 1 && !dashed) {
                painter.setPen(QPen(colour.darker(160), 0));
                painter.setBrush(colour.darker(115));
                for (int i = 0; i + 1 < points.size(); ++i) {
                    const QPointF &a = points[i], &b = points[i + 1];
                    painter.drawPolygon(
                        QPolygonF({view.map(a.x(), a.y(), z0), view.map(b.x(), b.y(), z0),
                                   view.map(b.x(), b.y(), z1), view.map(a.x(), a.y(), z1)}));
                }
            }
            QPolygonF front;
            for (const QPointF &pt : points)
                front.append(view.map(pt.x(), pt.y(), z0));
            painter.setPen(QPen(colour, 2, dashed ? Qt::DashLine : Qt::SolidLine));
            painter.drawPolyline(front);
            painter.restore();
        };
        shapes.push_back({view.distance(plot.center().x(), plot.center().y(), (z0 + z1) / 2), 0, 0,
                          order++, draw});
    }

    // Farthest first; in a flat or orthogonal view, left before right and bottom before top, so
    // that nearer faces cover the sides of their neighbours.
    std::stable_sort(shapes.begin(), shapes.end(), [](const Shape &a, const Shape &b) {
        if (std::fabs(a.distance - b.distance) > 0.5)
            return a.distance > b.distance;
        if (std::fabs(a.along - b.along) > 0.5)
            return a.along < b.along;
        if (std::fabs(a.up - b.up) > 0.5)
            return a.up < b.up;
        return a.order < b.order;
    });
    for (const Shape &shape : shapes)
        shape.draw();
}

void ChartPainter::paintBarMarks(QPainter &painter, const Projection3D &view) const
{
    const std::vector<const TBarSeries *> layered = barsSharing(MultiBar::None);
    for (TChartSeries *s : model.activeSeries()) {
        const auto *bar = dynamic_cast<const TBarSeries *>(s);
        if (!bar || !bar->marks().visible)
            continue;
        const SeriesMarks &marks = bar->marks();
        const auto [z0, z1] = barDepth(bar, layered, view.depth());
        for (int i = 0; i < bar->count(); ++i) {
            const double c = bar->point(i).x;
            if (c < categories.minimum || c > categories.maximum)
                continue;
            const QString text = bar->markText(i);
            if (text.isEmpty())
                continue;
            const double base = model.stackBase(bar, i);
            const double end = std::clamp(base + bar->value(i), values.minimum, values.maximum);
            const double length = marks.arrowLength;
            const double z = length < 0 ? z0 : (z0 + z1) / 2;
            const QSizeF size = markSize(marks, text);
            QPointF anchor;
            QRectF box;
            if (horizontal) {
                anchor = view.map(valuePixel(end), categoryPixel(c), z);
                box = QRectF(QPointF(), size);
                box.moveTop(anchor.y() - size.height() / 2);
                if (length >= 0)
                    box.moveLeft(anchor.x() + length);
                else
                    box.moveRight(anchor.x() + length);
            } else {
                anchor = view.map(categoryPixel(c), valuePixel(end), z);
                box = QRectF(anchor.x() - size.width() / 2, anchor.y() - length - size.height(),
                             size.width(), size.height());
                // A mark inside a short bar stays above the bar's base, clear of the labels.
                const double floor =
                    view.map(categoryPixel(c),
                             valuePixel(std::clamp(base, values.minimum, values.maximum)), z)
                        .y();
                if (length < 0 && box.bottom() > floor)
                    box.moveBottom(floor);
            }
            box = keptInside(box, bounds);
            if (marks.arrow && length > 0) {
                painter.setPen(QPen(Qt::gray, 0));
                const QPointF tip = horizontal ? QPointF(box.left(), box.center().y())
                                               : QPointF(box.center().x(), box.bottom());
                painter.drawLine(anchor, tip);
            }
            paintMark(painter, marks, text, box);
        }
    }
}
