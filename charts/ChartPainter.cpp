#include "charts/ChartPainter.h"

#include "charts/BarSeries.h"
#include "charts/ChartShapes.h"
#include "charts/PieSeries.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <algorithm>
#include <cmath>

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
    area = placeLegend(area, legend);

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

std::vector<const TBarSeries *> ChartPainter::barsSharing(MultiBar multi) const
{
    std::vector<const TBarSeries *> out;
    for (TChartSeries *s : model.activeSeries())
        if (const auto *bar = dynamic_cast<const TBarSeries *>(s))
            if (bar->multiBar() == multi)
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

void ChartPainter::paintCartesian(QPainter &painter, const QRectF &area)
{
    horizontal = model.horizontal();
    values = model.valueRange();
    categories = model.categoryRange();
    const TChartAxis &vAxis = model.valueAxis();
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
    // Labels along the category axis; where they are values (lines without point labels),
    // as many as the length holds.
    const TChartAxis &cAxis = model.categoryAxis();
    const QFontMetricsF categoryMetrics(cAxis.labelFont);
    const double categorySeparation = 1 + cAxis.labelSeparation / 100.0;
    const double categoryLabelSize =
        horizontal || cAxis.labelAngle == 90
            ? categoryMetrics.height() * categorySeparation
            : categoryMetrics.horizontalAdvance(cAxis.valueLabel(categories.maximum)) *
                  categorySeparation;
    categoryLabels =
        model.categoryLabels(horizontal ? area.height() : area.width(), categoryLabelSize);
    QStringList categoryTexts;
    for (const CategoryLabel &label : categoryLabels)
        categoryTexts.append(label.text);
    auto titleRoom = [](const TChartAxis &axis) {
        return axis.title.isEmpty() ? 0.0 : QFontMetricsF(axis.titleFont).height() + 4;
    };
    auto shows = [axes](const TChartAxis &axis) { return axes && axis.visible; };
    auto across = [&](const TChartAxis &axis, const QStringList &texts) {
        // Room that labels beside a vertical axis take.
        return shows(axis) && axis.labels ? labelWidth(axis, texts) + axisLabelGap * 2 : 0.0;
    };
    auto below = [&](const TChartAxis &axis, const QStringList &texts) {
        // Room that labels under the bottom axis take.
        if (!shows(axis) || !axis.labels)
            return 0.0;
        if (axis.labelAngle == 90)
            return labelWidth(axis, texts) + axisLabelGap * 2;
        return QFontMetricsF(axis.labelFont).height() + axisLabelGap * 2;
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
    if (vAxis.Automatic)
        leaveRoomForMarks();
    const Projection3D view(plot, depth, model.View3DOptions());

    paintWalls(painter, view);
    if (axes) {
        paintValueAxes(painter, view);
        paintCategoryAxis(painter, view);
    }
    paintSeries(painter, view);
    paintBarMarks(painter, view);
}

void ChartPainter::leaveRoomForMarks()
{
    double room = 0;
    for (TChartSeries *s : model.activeSeries()) {
        const SeriesMarks &marks = s->marks();
        if (!dynamic_cast<TBarSeries *>(s) || !marks.visible || marks.arrowLength < 0)
            continue;
        for (int i = 0; i < s->count(); ++i) {
            const QSizeF size = markSize(marks, s->markText(i));
            room = std::max(room, marks.arrowLength + (horizontal ? size.width() : size.height()));
        }
    }
    const double length = horizontal ? plot.width() : plot.height();
    room = std::min(room, length / 2);
    if (room > 0)
        values.maximum += (values.maximum - values.minimum) * room / (length - room);
}

void ChartPainter::paintWalls(QPainter &painter, const Projection3D &view) const
{
    const QRectF &r = plot;
    const double d = view.depth();
    auto wall = [&](const ChartWall &w, const ChartFace &face) {
        if (!w.visible)
            return;
        painter.setPen(w.pen ? QPen(Qt::gray, 0) : QPen(Qt::NoPen));
        painter.setBrush(w.transparent ? QBrush(Qt::NoBrush) : QBrush(w.colour));
        painter.drawPolygon(facePolygon(face));
    };
    auto p = [&view](double x, double y, double z) { return view.map(x, y, z); };
    const ChartFace back{p(r.left(), r.top(), d), p(r.right(), r.top(), d),
                         p(r.right(), r.bottom(), d), p(r.left(), r.bottom(), d)};
    wall(model.backWall, back);
    // The frame outlines the plot at the back also where no back wall is shown.
    if (model.frame && !(model.backWall.visible && model.backWall.pen)) {
        painter.setPen(QPen(Qt::gray, 0));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolygon(facePolygon(back));
    }
    if (d <= 0)
        return;
    wall(model.leftWall, {p(r.left(), r.top(), 0), p(r.left(), r.top(), d),
                          p(r.left(), r.bottom(), d), p(r.left(), r.bottom(), 0)});
    wall(model.bottomWall, {p(r.left(), r.bottom(), 0), p(r.right(), r.bottom(), 0),
                            p(r.right(), r.bottom(), d), p(r.left(), r.bottom(), d)});
}
