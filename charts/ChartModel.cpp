#include "charts/ChartModel.h"

#include "charts/BarSeries.h"

#include <algorithm>
#include <cmath>

ChartModel::ChartModel()
{
    right.visible = false;
    left.minorTicks = bottom.minorTicks = false;
}

ChartModel::~ChartModel() = default;

void ChartModel::adopt(std::unique_ptr<TChartSeries> series)
{
    series->setOwner(this);
    allSeries.push_back(std::move(series));
    changed();
}

void ChartModel::removeAllSeries()
{
    allSeries.clear();
    changed();
}

std::vector<TChartSeries *> ChartModel::activeSeries() const
{
    std::vector<TChartSeries *> out;
    for (const auto &s : allSeries)
        if (s->Active())
            out.push_back(s.get());
    return out;
}

void ChartModel::setChart3DPercent(int percent)
{
    depthPercent = qBound(1, percent, 100);
    changed();
}

void ChartModel::setView3D(bool value)
{
    view3D = value;
    changed();
}

void ChartModel::setZoom(int percent)
{
    view.Zoom = qMax(1, percent);
    changed();
}

void ChartModel::setRotation(int degrees)
{
    view.Rotation = degrees;
    changed();
}

void ChartModel::setElevation(int degrees)
{
    view.Elevation = degrees;
    changed();
}

void ChartModel::setOrthogonal(bool value)
{
    view.Orthogonal = value;
    changed();
}

void ChartModel::setTitleLine0(const QString &text)
{
    if (title.lines.isEmpty())
        title.lines.append(text);
    else
        title.lines[0] = text;
    changed();
}

void ChartModel::setTitleText(const QString &text)
{
    title.lines = QStringList{text};
    changed();
}

void ChartModel::setMaxPointsPerPage(int points)
{
    pointsPerPage = qMax(0, points);
    currentPage = qBound(1, currentPage, pageCount());
    changed();
}

int ChartModel::pageCount() const
{
    const int n = categoryCount();
    if (pointsPerPage <= 0 || n == 0)
        return 1;
    return (n + pointsPerPage - 1) / pointsPerPage;
}

void ChartModel::setPage(int page)
{
    currentPage = qBound(1, page, pageCount());
    changed();
}

// Asked for every axis and every bar while painting, so it walks the series in place instead of
// building the list of active ones.
bool ChartModel::anyActive(std::initializer_list<SeriesKind> kinds) const
{
    for (const auto &s : allSeries)
        if (s->Active() && std::find(kinds.begin(), kinds.end(), s->kind()) != kinds.end())
            return true;
    return false;
}

bool ChartModel::horizontal() const
{
    return anyActive({SeriesKind::HorizBar});
}

int ChartModel::categoryCount() const
{
    int n = 0;
    for (TChartSeries *s : activeSeries())
        n = qMax(n, s->count());
    return n;
}

double ChartModel::stackBase(const TChartSeries *series, int index) const
{
    const auto *bar = dynamic_cast<const TBarSeries *>(series);
    if (!bar || bar->multiBar() != MultiBar::Stacked)
        return 0;
    double base = 0;
    for (const auto &s : allSeries) {
        if (!s->Active())
            continue;
        if (s.get() == series)
            break;
        if (s->kind() == series->kind() && index < s->count())
            base += s->value(index);
    }
    return base;
}

TChartAxis &ChartModel::valueAxis()
{
    return horizontal() ? bottom : left;
}

TChartAxis &ChartModel::categoryAxis()
{
    return horizontal() ? left : bottom;
}

const TChartAxis &ChartModel::valueAxis() const
{
    return horizontal() ? bottom : left;
}

const TChartAxis &ChartModel::categoryAxis() const
{
    return horizontal() ? left : bottom;
}

AxisRange ChartModel::valueRange() const
{
    const TChartAxis &axis = valueAxis();
    if (!axis.Automatic)
        return {axis.Minimum, axis.Maximum};
    bool any = false;
    double low = 0, high = 0;
    for (TChartSeries *s : activeSeries()) {
        if (s->kind() == SeriesKind::Pie)
            continue;
        for (int i = 0; i < s->count(); ++i) {
            const double base = stackBase(s, i);
            const double end = base + s->value(i);
            if (!any)
                low = high = end;
            low = std::min({low, end, base});
            high = std::max({high, end, base});
            any = true;
        }
    }
    // Bars grow from zero, so zero is always in the range of a bar chart.
    if (anyActive({SeriesKind::Bar, SeriesKind::HorizBar})) {
        low = std::min(low, 0.0);
        high = std::max(high, 0.0);
    }
    if (high <= low)
        high = low + 1;
    return {low, high};
}

AxisRange ChartModel::categoryRange() const
{
    const TChartAxis &axis = categoryAxis();
    if (!axis.Automatic)
        return {axis.Minimum, axis.Maximum};
    bool lines = false, margins = false;
    double low = 0, high = 0;
    bool any = false;
    for (TChartSeries *s : activeSeries()) {
        if (s->kind() == SeriesKind::Line) {
            lines = true;
            for (int i = 0; i < s->count(); ++i) {
                const double x = s->point(i).x;
                low = any ? std::min(low, x) : x;
                high = any ? std::max(high, x) : x;
                any = true;
            }
        } else if (const auto *bar = dynamic_cast<const TBarSeries *>(s)) {
            margins = margins || bar->sideMargins();
        }
    }
    if (lines && !horizontal()) {
        if (high <= low)
            high = low + 1;
        return {low, high};
    }
    const int n = std::max(1, categoryCount());
    int first = 0, last = n - 1;
    if (pointsPerPage > 0) {
        first = (currentPage - 1) * pointsPerPage;
        last = std::min(n, first + pointsPerPage) - 1;
    }
    const double pad = margins ? 1.0 : 0.5;
    return {first - pad, last + pad};
}

QList<CategoryLabel> ChartModel::categoryLabels(double lengthPixels, double labelPixels) const
{
    const AxisRange range = categoryRange();
    QList<CategoryLabel> labels;
    QList<double> taken;
    bool lines = false;
    for (TChartSeries *s : activeSeries()) {
        lines = lines || s->kind() == SeriesKind::Line;
        for (int i = 0; i < s->count(); ++i) {
            const double at = s->point(i).x;
            const QString text = s->shownLabel(i);
            if (at < range.minimum || at > range.maximum || text.isEmpty() || taken.contains(at))
                continue;
            taken.append(at);
            labels.append({at, text});
        }
    }
    if (labels.isEmpty() && lines) {
        const TChartAxis &axis = categoryAxis();
        for (double at : axis.labelPositions(range, lengthPixels, labelPixels))
            labels.append({at, axis.valueLabel(at)});
    }
    std::sort(labels.begin(), labels.end(),
              [](const CategoryLabel &a, const CategoryLabel &b) { return a.at < b.at; });
    return labels;
}

QList<LegendEntry> ChartModel::legendEntries() const
{
    QList<LegendEntry> entries;
    const auto active = activeSeries();
    if (active.empty())
        return entries;
    const bool byPoints = legend.style == LegendStyle::Points ||
                          (legend.style == LegendStyle::Auto &&
                           (active.size() == 1 || active.front()->kind() == SeriesKind::Pie));
    if (byPoints) {
        const TChartSeries &s = *active.front();
        for (int i = 0; i < s.count(); ++i) {
            QString text = s.shownLabel(i);
            if (legend.text == LegendText::Value)
                text = s.formattedValue(i) + (text.isEmpty() ? QString() : " " + text);
            entries.append({text, s.pointColour(i)});
        }
    } else {
        for (TChartSeries *s : active)
            entries.append({s->title(), s->colour()});
    }
    if (legend.inverted)
        std::reverse(entries.begin(), entries.end());
    return entries;
}

void ChartModel::zoomTo(const AxisRange &values, const AxisRange &categories)
{
    if (!savedAxes)
        savedAxes = SavedAxes{left, right, bottom};
    valueAxis().setMinMax(values.minimum, values.maximum);
    if (!horizontal())
        right.setMinMax(values.minimum, values.maximum);
    categoryAxis().setMinMax(categories.minimum, categories.maximum);
    changed();
}

void ChartModel::undoZoom()
{
    if (savedAxes) {
        left = savedAxes->left;
        right = savedAxes->right;
        bottom = savedAxes->bottom;
        savedAxes.reset();
    }
    changed();
}

ChartModel::FieldSnapshot ChartModel::fieldSnapshot() const
{
    FieldSnapshot fields{backWall,   leftWall, bottomWall,  gradient, margins,
                         backColour, frame,    axesVisible, title,    legend,
                         left,       right,    bottom,      view,     {}};
    for (const auto &series : allSeries)
        fields.marks.append(series->marks());
    return fields;
}

void ChartModel::changed()
{
    if (onChange)
        onChange();
}
