#include "charts/ChartPainter.h"

#include "charts/BarSeries.h"
#include "charts/PieSeries.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <functional>

namespace {

constexpr double labelGap = 4; // between an axis and its labels, in pixels
constexpr int maxTicks = 500;

using Face = std::array<QPointF, 4>;

// Positive for a face whose corners run clockwise on screen: the outside of a box face, listed
// as below, faces the viewer exactly then.
double turning(const Face &face)
{
    double sum = 0;
    for (int i = 0; i < 4; ++i) {
        const QPointF &a = face[i];
        const QPointF &b = face[(i + 1) % 4];
        sum += a.x() * b.y() - b.x() * a.y();
    }
    return sum;
}

QPolygonF polygon(const Face &face)
{
    return QPolygonF({face[0], face[1], face[2], face[3]});
}

// A box of the chart: a bar or a stacked segment, in front-plane pixels and depth.
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
    const Face front{p(b.x0, b.y0, b.z0), p(b.x1, b.y0, b.z0), p(b.x1, b.y1, b.z0),
                     p(b.x0, b.y1, b.z0)};
    const Face back{p(b.x1, b.y0, b.z1), p(b.x0, b.y0, b.z1), p(b.x0, b.y1, b.z1),
                    p(b.x1, b.y1, b.z1)};
    const Face top{p(b.x0, b.y0, b.z1), p(b.x1, b.y0, b.z1), p(b.x1, b.y0, b.z0),
                   p(b.x0, b.y0, b.z0)};
    const Face bottom{p(b.x0, b.y1, b.z0), p(b.x1, b.y1, b.z0), p(b.x1, b.y1, b.z1),
                      p(b.x0, b.y1, b.z1)};
    const Face right{p(b.x1, b.y0, b.z0), p(b.x1, b.y0, b.z1), p(b.x1, b.y1, b.z1),
                     p(b.x1, b.y1, b.z0)};
    const Face left{p(b.x0, b.y0, b.z1), p(b.x0, b.y0, b.z0), p(b.x0, b.y1, b.z0),
                    p(b.x0, b.y1, b.z1)};

    painter.setPen(QPen(b.pen, 0));
    const bool flat = b.z1 - b.z0 < 0.5;
    struct Shaded
    {
        const Face *face;
        int darker;
    };
    const Shaded sides[] = {{&back, 180}, {&left, 160}, {&bottom, 200}, {&right, 160}, {&top, 115}};
    if (!flat) {
        for (const Shaded &side : sides) {
            if (turning(*side.face) > 0.01) {
                painter.setBrush(b.colour.darker(side.darker));
                painter.drawPolygon(polygon(*side.face));
            }
        }
    }
    if (!flat && turning(front) <= 0.01)
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
    painter.drawPolygon(polygon(front));
}

QString labelOf(const TChartSeries &series, int index)
{
    return series.shownLabel(index);
}

} // namespace

// The entries of the legend and where it goes.
struct ChartPainter::Legend
{
    struct Entry
    {
        QString text;
        QColor colour;
    };
    QList<Entry> entries;
    QRectF box;
    bool across = false; // entries side by side (top and bottom legends)
};

QSizeF markSize(const SeriesMarks &marks, const QString &text)
{
    const QFontMetricsF metrics(marks.font);
    return QSizeF(metrics.horizontalAdvance(text) + 6, metrics.height() + 2);
}

void paintMark(QPainter &painter, const SeriesMarks &marks, const QString &text, const QRectF &box)
{
    painter.save();
    painter.setPen(marks.frame ? QPen(Qt::black, 0) : Qt::NoPen);
    painter.setBrush(marks.transparent ? QBrush(Qt::NoBrush) : QBrush(marks.background));
    if (!marks.transparent || marks.frame)
        painter.drawRect(box);
    painter.setFont(marks.font);
    painter.setPen(marks.fontColour);
    painter.drawText(box, Qt::AlignCenter, text);
    painter.restore();
}

void ChartPainter::paint(QPainter &painter, const QRectF &rect)
{
    bounds = rect;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    paintBackground(painter, rect);
    QRectF area = paintTitle(painter, rect);
    const ChartMargins &m = model.margins;
    area = area.adjusted(rect.width() * m.left / 100.0, rect.height() * m.top / 100.0,
                         -rect.width() * m.right / 100.0, -rect.height() * m.bottom / 100.0);
    Legend legend;
    area = placeLegend(painter, area, legend);

    plot = QRectF();
    const auto active = model.activeSeries();
    const auto pie = std::find_if(active.begin(), active.end(),
                                  [](TChartSeries *s) { return s->kind() == SeriesKind::Pie; });
    if (pie != active.end())
        paintPie(painter, area, static_cast<const TPieSeries &>(**pie));
    else
        paintCartesian(painter, area);
    paintLegend(painter, legend);
    painter.restore();
}

void ChartPainter::paintBackground(QPainter &painter, const QRectF &rect) const
{
    const ChartGradient &g = model.gradient;
    if (!g.visible) {
        painter.fillRect(rect, model.backColour);
        return;
    }
    QPointF from = rect.topLeft(), to = rect.bottomLeft();
    switch (g.direction) {
    case GradientDirection::TopBottom:
        break;
    case GradientDirection::BottomTop:
        std::swap(from, to);
        break;
    case GradientDirection::LeftRight:
        to = rect.topRight();
        break;
    case GradientDirection::RightLeft:
        from = rect.topRight();
        to = rect.topLeft();
        break;
    }
    QLinearGradient shade(from, to);
    shade.setColorAt(0, g.startColour);
    shade.setColorAt(1, g.endColour);
    painter.fillRect(rect, shade);
}

QRectF ChartPainter::paintTitle(QPainter &painter, const QRectF &rect) const
{
    const ChartTitle &title = model.Title();
    if (!title.visible || title.lines.join("").trimmed().isEmpty())
        return rect;
    painter.setFont(title.font);
    painter.setPen(title.fontColour);
    const QFontMetricsF metrics(title.font);
    double y = rect.top() + 4;
    for (const QString &line : title.lines) {
        painter.drawText(QRectF(rect.left(), y, rect.width(), metrics.height()), Qt::AlignCenter,
                         line);
        y += metrics.height();
    }
    return rect.adjusted(0, y + 2 - rect.top(), 0, 0);
}

QRectF ChartPainter::placeLegend(QPainter &, const QRectF &area, Legend &legend) const
{
    const ChartLegend &style = model.Legend();
    if (!style.visible)
        return area;
    const auto active = model.activeSeries();
    if (active.empty())
        return area;
    const bool byPoints = style.style == LegendStyle::Points ||
                          (style.style == LegendStyle::Auto &&
                           (active.size() == 1 || active.front()->kind() == SeriesKind::Pie));
    if (byPoints) {
        const TChartSeries &s = *active.front();
        for (int i = 0; i < s.count(); ++i) {
            QString text = s.shownLabel(i);
            if (style.text == LegendText::Value)
                text = s.formattedValue(i) + (text.isEmpty() ? QString() : " " + text);
            legend.entries.append({text, s.pointColour(i)});
        }
    } else {
        for (TChartSeries *s : active)
            legend.entries.append({s->title(), s->colour()});
    }
    if (style.inverted)
        std::reverse(legend.entries.begin(), legend.entries.end());
    if (legend.entries.isEmpty())
        return area;

    const QFontMetricsF metrics(style.font);
    const double row = metrics.height() + 2;
    double widest = 0;
    double across = 0;
    for (const auto &entry : legend.entries) {
        const double w = style.colourWidth + 4 + metrics.horizontalAdvance(entry.text);
        widest = std::max(widest, w);
        across += w + style.horizMargin * 2;
    }
    const double shadow = style.shadowSize;
    switch (style.alignment) {
    case LegendAlignment::Right:
    case LegendAlignment::Left: {
        const double w = widest + 2 * style.horizMargin;
        const double h = row * legend.entries.size() + 4;
        const double x =
            style.alignment == LegendAlignment::Right ? area.right() - w - shadow : area.left();
        legend.box = QRectF(x, area.top() + style.topPos, w, h);
        return style.alignment == LegendAlignment::Right ? area.adjusted(0, 0, -(w + shadow + 6), 0)
                                                         : area.adjusted(w + shadow + 6, 0, 0, 0);
    }
    case LegendAlignment::Top:
    case LegendAlignment::Bottom: {
        legend.across = true;
        const double w = std::min(across, area.width());
        const double h = row + 4;
        const double y = style.alignment == LegendAlignment::Top ? area.top() + style.topPos
                                                                 : area.bottom() - h - shadow;
        legend.box = QRectF(area.center().x() - w / 2, y, w, h);
        return style.alignment == LegendAlignment::Top
                   ? area.adjusted(0, style.topPos + h + shadow + 4, 0, 0)
                   : area.adjusted(0, 0, 0, -(h + shadow + 4));
    }
    }
    return area;
}

void ChartPainter::paintLegend(QPainter &painter, const Legend &legend) const
{
    if (legend.entries.isEmpty() || legend.box.isEmpty())
        return;
    const ChartLegend &style = model.Legend();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (style.shadowSize > 0)
        painter.fillRect(legend.box.translated(style.shadowSize, style.shadowSize), Qt::darkGray);
    painter.setBrush(style.colour);
    painter.setPen(style.frame ? QPen(Qt::black, 0) : QPen(Qt::NoPen));
    painter.drawRect(legend.box);
    painter.setFont(style.font);
    const QFontMetricsF metrics(style.font);
    const double row = metrics.height() + 2;
    QPointF at = legend.box.topLeft() + QPointF(style.horizMargin, 2);
    for (const auto &entry : legend.entries) {
        const double swatch = std::max(4.0, metrics.height() - 6);
        painter.setPen(QPen(Qt::black, 0));
        painter.setBrush(entry.colour);
        painter.drawRect(QRectF(at.x(), at.y() + (row - swatch) / 2, style.colourWidth, swatch));
        painter.setPen(style.fontColour);
        const double textX = at.x() + style.colourWidth + 4;
        const double textW = metrics.horizontalAdvance(entry.text) + 2;
        painter.drawText(QRectF(textX, at.y(), textW, row), Qt::AlignLeft | Qt::AlignVCenter,
                         entry.text);
        if (legend.across)
            at.rx() = textX + textW + style.horizMargin * 2;
        else
            at.ry() += row;
    }
    painter.restore();
}

std::vector<const TBarSeries *> ChartPainter::layeredBars() const
{
    std::vector<const TBarSeries *> out;
    for (TChartSeries *s : model.activeSeries())
        if (const auto *bar = dynamic_cast<const TBarSeries *>(s))
            if (bar->multiBar() == MultiBar::None)
                out.push_back(bar);
    return out;
}

std::pair<double, double> ChartPainter::barDepth(const TBarSeries *bar,
                                                 const std::vector<const TBarSeries *> &layered,
                                                 double depth)
{
    // Bars that neither stack nor stand side by side stand one behind the other, the first
    // series in front, each in its own slice of the depth.
    const auto at = std::find(layered.begin(), layered.end(), bar);
    if (at == layered.end() || layered.size() < 2)
        return {0, depth};
    const double slice = depth / layered.size();
    const double index = at - layered.begin();
    return {index * slice, (index + 1) * slice};
}

const TChartAxis &ChartPainter::valueAxis() const
{
    return horizontal ? model.BottomAxis() : model.LeftAxis();
}

const TChartAxis &ChartPainter::categoryAxis() const
{
    return horizontal ? model.LeftAxis() : model.BottomAxis();
}

double ChartPainter::valuePixel(double value) const
{
    const double span = values.maximum - values.minimum;
    const double f = span == 0 ? 0 : (value - values.minimum) / span;
    return horizontal ? plot.left() + f * plot.width() : plot.bottom() - f * plot.height();
}

double ChartPainter::categoryPixel(double category) const
{
    const double span = categories.maximum - categories.minimum;
    const double f = span == 0 ? 0 : (category - categories.minimum) / span;
    return horizontal ? plot.bottom() - f * plot.height() : plot.left() + f * plot.width();
}

double ChartPainter::valueAt(const QPointF &point) const
{
    const double f = horizontal ? (point.x() - plot.left()) / plot.width()
                                : (plot.bottom() - point.y()) / plot.height();
    return values.minimum + f * (values.maximum - values.minimum);
}

double ChartPainter::categoryAt(const QPointF &point) const
{
    const double f = horizontal ? (plot.bottom() - point.y()) / plot.height()
                                : (point.x() - plot.left()) / plot.width();
    return categories.minimum + f * (categories.maximum - categories.minimum);
}

QList<double> ChartPainter::valueTicks(double lengthPixels, double labelPixels) const
{
    const TChartAxis &axis = valueAxis();
    const double span = values.maximum - values.minimum;
    double step = axis.Increment;
    const double least = span / lengthPixels * labelPixels;
    if (step <= 0 || step < least)
        step = TChartAxis::niceIncrement(span, lengthPixels, labelPixels);
    QList<double> ticks;
    const double first = std::ceil(values.minimum / step - 1e-9) * step;
    for (double v = first; v <= values.maximum + step * 1e-9 && ticks.size() < maxTicks; v += step)
        ticks.append(std::fabs(v) < step * 1e-9 ? 0.0 : v);
    return ticks;
}

void ChartPainter::paintCartesian(QPainter &painter, const QRectF &area)
{
    horizontal = model.horizontal();
    values = model.valueRange();
    if (valueAxis().Automatic) {
        // Leave room beyond the longest bar for marks that stand outside it.
        bool outsideMarks = false;
        for (TChartSeries *s : model.activeSeries())
            if (dynamic_cast<TBarSeries *>(s) && s->count() > 0 && s->marks().visible &&
                s->marks().arrowLength >= 0)
                outsideMarks = true;
        if (outsideMarks)
            values.maximum += (values.maximum - values.minimum) * (horizontal ? 0.25 : 0.1);
    }
    categories = model.categoryRange();
    const TChartAxis &vAxis = valueAxis();
    const bool axes = model.axesVisible;

    // Room for the labels and titles of each axis.
    auto labelWidth = [](const TChartAxis &axis, const QStringList &texts) {
        const QFontMetricsF metrics(axis.labelFont);
        double w = 0;
        for (const QString &t : texts)
            w = std::max(w, metrics.horizontalAdvance(t));
        return w;
    };
    const QStringList valueTexts{vAxis.valueLabel(values.minimum), vAxis.valueLabel(values.maximum),
                                 vAxis.valueLabel((values.minimum + values.maximum) / 2)};
    QStringList categoryTexts;
    for (TChartSeries *s : model.activeSeries())
        for (int i = 0; i < s->count(); ++i)
            categoryTexts.append(labelOf(*s, i));
    auto titleRoom = [](const TChartAxis &axis) {
        return axis.title.isEmpty() ? 0.0 : QFontMetricsF(axis.titleFont).height() + 4;
    };
    auto shows = [axes](const TChartAxis &axis) { return axes && axis.visible; };
    auto across = [&](const TChartAxis &axis, const QStringList &texts) {
        // Room that labels beside a vertical axis take.
        return shows(axis) && axis.labels ? labelWidth(axis, texts) + labelGap * 2 : 0.0;
    };
    auto below = [&](const TChartAxis &axis, const QStringList &texts) {
        // Room that labels under the bottom axis take.
        if (!shows(axis) || !axis.labels)
            return 0.0;
        if (axis.labelAngle == 90)
            return labelWidth(axis, texts) + labelGap * 2;
        return QFontMetricsF(axis.labelFont).height() + labelGap * 2;
    };
    const TChartAxis &leftAxis = model.LeftAxis();
    const TChartAxis &rightAxis = model.RightAxis();
    const TChartAxis &bottomAxis = model.BottomAxis();
    const double leftRoom = across(leftAxis, horizontal ? categoryTexts : valueTexts) +
                            (shows(leftAxis) ? titleRoom(leftAxis) : 0);
    const double rightRoom = horizontal ? 0 : across(rightAxis, valueTexts);
    const double bottomRoom = below(bottomAxis, horizontal ? valueTexts : categoryTexts) +
                              (shows(bottomAxis) ? titleRoom(bottomAxis) : 0);
    const double topRoom = shows(leftAxis) ? QFontMetricsF(leftAxis.labelFont).height() / 2 : 0;
    QRectF inner = area.adjusted(leftRoom, topRoom, -rightRoom, -bottomRoom);

    const double depth = model.View3D() ? model.Chart3DPercent() / 100.0 *
                                              std::min(inner.width(), inner.height()) * 0.5
                                        : 0;
    const double shift = depth * Projection3D::obliqueShare();
    plot = inner.adjusted(0, shift, -shift, 0);
    if (plot.width() < 4 || plot.height() < 4)
        return;
    const Projection3D view(plot, depth, model.View3DOptions());

    paintWalls(painter, view);
    if (axes) {
        paintValueAxes(painter, view);
        paintCategoryAxis(painter, view);
    }
    paintSeries(painter, view);
    paintBarMarks(painter, view);
}

void ChartPainter::paintWalls(QPainter &painter, const Projection3D &view) const
{
    const QRectF &r = plot;
    const double d = view.depth();
    auto wall = [&](const ChartWall &w, const Face &face) {
        if (!w.visible)
            return;
        painter.setPen(w.pen ? QPen(Qt::gray, 0) : QPen(Qt::NoPen));
        painter.setBrush(w.transparent ? QBrush(Qt::NoBrush) : QBrush(w.colour));
        painter.drawPolygon(polygon(face));
    };
    auto p = [&view](double x, double y, double z) { return view.map(x, y, z); };
    wall(model.backWall, {p(r.left(), r.top(), d), p(r.right(), r.top(), d),
                          p(r.right(), r.bottom(), d), p(r.left(), r.bottom(), d)});
    if (d <= 0)
        return;
    wall(model.leftWall, {p(r.left(), r.top(), 0), p(r.left(), r.top(), d),
                          p(r.left(), r.bottom(), d), p(r.left(), r.bottom(), 0)});
    wall(model.bottomWall, {p(r.left(), r.bottom(), 0), p(r.right(), r.bottom(), 0),
                            p(r.right(), r.bottom(), d), p(r.left(), r.bottom(), d)});
}

void ChartPainter::paintValueAxes(QPainter &painter, const Projection3D &view) const
{
    const TChartAxis &axis = valueAxis();
    const QRectF &r = plot;
    const double d = view.depth();
    const QFontMetricsF metrics(axis.labelFont);
    const double length = horizontal ? r.width() : r.height();
    const double labelSize = horizontal
                                 ? metrics.horizontalAdvance(axis.valueLabel(values.maximum)) + 8
                                 : metrics.height() * (1 + axis.labelSeparation / 100.0);
    const QList<double> ticks = valueTicks(length, labelSize);
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
                    painter.drawLine(base, base + QPointF(0, labelGap - 1));
                }
                if (shown.labels) {
                    painter.setPen(shown.labelColour);
                    painter.drawText(
                        QRectF(base.x() - w / 2 - 1, base.y() + labelGap, w + 2, metrics.height()),
                        Qt::AlignCenter, text);
                }
                continue;
            }
            const QPointF base = p(far ? r.right() : r.left(), at, z);
            const double dir = far ? 1 : -1;
            if (shown.ticks) {
                painter.setPen(QPen(Qt::black, 0));
                painter.drawLine(base, base + QPointF(dir * (labelGap - 1), 0));
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
                const double x = far ? base.x() + labelGap : base.x() - labelGap - w - 2;
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
            const double y = p(r.left(), r.bottom(), 0).y() + labelGap * 2 + metrics.height();
            painter.drawText(QRectF(r.left(), y, r.width(), titleMetrics.height()), Qt::AlignCenter,
                             axis.title);
        } else {
            painter.save();
            painter.translate(plot.left() - painter.fontMetrics().height(), r.center().y());
            painter.rotate(-90);
            // Stand the title left of the widest label.
            double widest = 0;
            for (double v : ticks)
                widest = std::max(widest, metrics.horizontalAdvance(axis.valueLabel(v)));
            painter.translate(0, -widest - labelGap);
            painter.drawText(
                QRectF(-r.height() / 2, -titleMetrics.height(), r.height(), titleMetrics.height()),
                Qt::AlignCenter, axis.title);
            painter.restore();
        }
    }
    painter.restore();
}

void ChartPainter::paintCategoryAxis(QPainter &painter, const Projection3D &view) const
{
    const TChartAxis &axis = categoryAxis();
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
    // One label per category position, from the first series that labels it; labels that would
    // run into the one before are left out.
    QList<QPair<double, QString>> labels;
    QList<double> taken;
    for (TChartSeries *s : model.activeSeries()) {
        for (int i = 0; i < s->count(); ++i) {
            const double at = s->point(i).x;
            if (at < categories.minimum || at > categories.maximum)
                continue;
            const QString text = labelOf(*s, i);
            if (text.isEmpty() || taken.contains(at))
                continue;
            taken.append(at);
            labels.append({at, text});
        }
    }
    std::sort(labels.begin(), labels.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    QRectF last;
    const double separation = 1 + axis.labelSeparation / 100.0;
    for (const auto &[at, text] : labels) {
        const double pixel = categoryPixel(at);
        const double w = metrics.horizontalAdvance(text);
        const double h = metrics.height();
        if (horizontal) {
            const QPointF base = p(r.left(), pixel, 0);
            const QRectF box(base.x() - labelGap - w - 2, base.y() - h / 2, w + 2, h);
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
            const QRectF box(base.x() - h / 2, base.y() + labelGap, h, w);
            if (!last.isNull() && box.left() < last.right() + (separation - 1) * h)
                continue;
            last = box;
            if (axis.labels) {
                painter.save();
                painter.setPen(axis.labelColour);
                painter.translate(box.left(), box.top());
                painter.rotate(90);
                painter.drawText(QRectF(0, -h, w + 2, h), Qt::AlignLeft | Qt::AlignVCenter, text);
                painter.restore();
            }
            continue;
        }
        const QRectF box(base.x() - w / 2 - 1, base.y() + labelGap, w + 2, h);
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
                                      ? std::max(0.0, last.bottom() - p(0, r.bottom(), 0).y())
                                      : metrics.height() + labelGap;
        const QFontMetricsF titleMetrics(axis.titleFont);
        if (!horizontal) {
            const double y = p(r.left(), r.bottom(), 0).y() + labelsRoom + labelGap;
            painter.drawText(QRectF(r.left(), y, r.width(), titleMetrics.height()), Qt::AlignCenter,
                             axis.title);
        }
    }
    painter.restore();
}

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

    // Side-by-side bars share their slot; count them per kind.
    std::vector<const TBarSeries *> sideBars;
    for (TChartSeries *s : active)
        if (const auto *bar = dynamic_cast<const TBarSeries *>(s))
            if (bar->multiBar() == MultiBar::Side)
                sideBars.push_back(bar);
    const std::vector<const TBarSeries *> layered = layeredBars();

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
            const auto [z0, z1] = barDepth(bar, layered, d);
            box.z0 = z0;
            box.z1 = z1;
            box.colour = bar->pointColour(i);
            box.pen = bar->barPenColour().isValid() ? bar->barPenColour() : QColor(Qt::black);
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
        auto draw = [&painter, &view, points, colour, z0, z1, this] {
            painter.save();
            const QRectF clip = QRectF(view.map(plot.left(), plot.top(), view.depth()),
                                       view.map(plot.right(), plot.bottom(), 0))
                                    .normalized()
                                    .adjusted(-1, -1, 1, 1);
            painter.setClipRect(clip.united(plot));
            if (z1 - z0 >= 1) {
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
            painter.setPen(QPen(colour, 2));
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
    const std::vector<const TBarSeries *> layered = layeredBars();
    for (TChartSeries *s : model.activeSeries()) {
        const auto *bar = dynamic_cast<const TBarSeries *>(s);
        if (!bar || !bar->marks().visible)
            continue;
        const SeriesMarks &marks = bar->marks();
        for (int i = 0; i < bar->count(); ++i) {
            const double c = bar->point(i).x;
            if (c < categories.minimum || c > categories.maximum)
                continue;
            const QString text = bar->markText(i);
            if (text.isEmpty())
                continue;
            const double end =
                std::clamp(model.stackBase(bar, i) + bar->value(i), values.minimum, values.maximum);
            const double length = marks.arrowLength;
            const auto [z0, z1] = barDepth(bar, layered, view.depth());
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
                const double base =
                    std::clamp(model.stackBase(bar, i), values.minimum, values.maximum);
                const double floor = view.map(categoryPixel(c), valuePixel(base), z).y();
                if (length < 0 && box.bottom() > floor)
                    box.moveBottom(floor);
            }
            // Keep every mark whole inside the chart.
            box.moveLeft(std::clamp(box.left(), bounds.left(), bounds.right() - box.width()));
            box.moveTop(std::clamp(box.top(), bounds.top(), bounds.bottom() - box.height()));
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
