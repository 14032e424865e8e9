// The legend side of the chart painter: what it lists, where it goes and how it looks.

#include "charts/ChartPainter.h"

#include <QFontMetricsF>
#include <algorithm>

namespace {

constexpr double textGap = 4; // between an entry's colour box and its text

// Room of one entry: its colour box, the gap and its text, with a pixel to spare for the text.
double entryWidth(const ChartLegend &style, const QFontMetricsF &metrics, const QString &text)
{
    return style.colourWidth + textGap + metrics.horizontalAdvance(text) + 2;
}

// Height of one entry: a line of the legend's font and a pixel above and below.
double rowHeight(const QFontMetricsF &metrics)
{
    return metrics.height() + 2;
}

} // namespace

QRectF ChartPainter::placeLegend(const QRectF &area, Legend &legend) const
{
    const ChartLegend &style = model.Legend();
    if (!style.visible)
        return area;
    legend.entries = model.legendEntries();
    if (legend.entries.isEmpty())
        return area;

    const QFontMetricsF metrics(style.font);
    const double row = rowHeight(metrics);
    double widest = 0;
    double across = 0;
    for (const LegendEntry &entry : legend.entries) {
        const double w = entryWidth(style, metrics, entry.text);
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
    const double row = rowHeight(metrics);
    const double swatch = std::max(4.0, metrics.height() - 6);
    QPointF at = legend.box.topLeft() + QPointF(style.horizMargin, 2);
    for (const LegendEntry &entry : legend.entries) {
        // The outline lies inside the box's width, one pixel at any scale of the screen.
        const QRectF box(at.x(), at.y() + (row - swatch) / 2, style.colourWidth, swatch);
        painter.fillRect(box, Qt::black);
        painter.fillRect(box.adjusted(1, 1, -1, -1), entry.colour);
        painter.setPen(style.fontColour);
        const double textX = at.x() + style.colourWidth + textGap;
        painter.drawText(QRectF(textX, at.y(), metrics.horizontalAdvance(entry.text) + 2, row),
                         Qt::AlignLeft | Qt::AlignVCenter, entry.text);
        if (legend.across)
            at.rx() += entryWidth(style, metrics, entry.text) + style.horizMargin * 2;
        else
            at.ry() += row;
    }
    painter.restore();
}
