#include "controls/TabbedText.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

int nextTabStop(int x, const TabStopRule &rule, int blankWidth)
{
    const int relative = x - rule.origin;
    // A stop of zero or less would never move the pen: such a list gives no columns at all and
    // the tab reads as a blank, never as an endless search for the next stop.
    if (rule.positions.size() <= 1) {
        const int interval = rule.positions.isEmpty() ? rule.defaultInterval : rule.positions[0];
        if (interval <= 0)
            return x + blankWidth;
        return rule.origin + (relative / interval + 1) * interval;
    }
    for (int stop : rule.positions) {
        if (stop > relative)
            return rule.origin + stop;
    }
    return x + blankWidth;
}

int drawTabbedText(QPainter &painter, int x, int top, const QString &text, const TabStopRule &rule,
                   int right)
{
    const QFontMetrics metrics(painter.font());
    const int baseline = top + metrics.ascent();
    const int blank = metrics.horizontalAdvance(QLatin1Char(' '));
    const QStringList pieces = text.split(QLatin1Char('\t'));
    for (qsizetype i = 0; i < pieces.size() && x < right; ++i) {
        if (i > 0)
            x = nextTabStop(x, rule, blank);
        if (pieces[i].isEmpty())
            continue;
        const int width = metrics.horizontalAdvance(pieces[i]);
        // A piece that runs past the right end ends in an ellipsis, not inside a word.
        if (x + width > right) {
            painter.drawText(QPoint(x, baseline),
                             metrics.elidedText(pieces[i], Qt::ElideRight, right - x));
            return right;
        }
        painter.drawText(QPoint(x, baseline), pieces[i]);
        x += width;
    }
    return x;
}

void drawPlainText(QPainter &painter, int x, int top, const QString &text)
{
    // The painter would expand tabs on its own; here a tab is only a gap of one blank.
    const QFontMetrics metrics(painter.font());
    QString shown = text;
    shown.replace(QLatin1Char('\t'), QLatin1Char(' '));
    painter.drawText(QPoint(x, top + metrics.ascent()), shown);
}
