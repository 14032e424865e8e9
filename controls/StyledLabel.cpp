#include "controls/StyledLabel.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QTextLayout>

StyledLabel::StyledLabel(QWidget *parent) : StyledLabel(QString(), parent) {}

StyledLabel::StyledLabel(const QString &text, QWidget *parent) : QWidget(parent), caption(text) {}

void StyledLabel::setText(const QString &text)
{
    caption = text;
    updateGeometry();
    update();
}

void StyledLabel::setTextColor(const QColor &colour)
{
    faceColour = colour;
    update();
}

void StyledLabel::setAlignment(Qt::Alignment alignment)
{
    align = alignment;
    update();
}

void StyledLabel::setHighlightColor(const QColor &colour)
{
    highlight = colour;
    update();
}

void StyledLabel::setShadow(const QColor &colour, int shadowDepth)
{
    shadow = colour;
    depth = qMax(0, shadowDepth);
    update();
}

void StyledLabel::setGraduateFrom(const QColor &colour)
{
    graduation = colour;
    update();
}

QColor StyledLabel::shadowStepColor(int step) const
{
    if (!graduation.isValid() || depth <= 1)
        return shadow;
    // Step 1 has the graduation colour, the last step the shadow colour, linear in between.
    const double f = static_cast<double>(qBound(1, step, depth) - 1) / (depth - 1);
    auto mix = [f](int from, int to) { return qRound(from + (to - from) * f); };
    return QColor(mix(graduation.red(), shadow.red()), mix(graduation.green(), shadow.green()),
                  mix(graduation.blue(), shadow.blue()));
}

void StyledLabel::setDock(Dock dock)
{
    if (docking == Dock::None && dock != Dock::None && parentWidget())
        parentWidget()->installEventFilter(this);
    docking = dock;
    followParent();
}

QSize StyledLabel::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int extra = depth + (highlight.isValid() ? 1 : 0);
    return QSize(metrics.horizontalAdvance(caption) + extra, metrics.height() + extra);
}

// The caption as it is laid out: one line, or with Qt::TextWordWrap in the alignment as many as
// the width needs, each line placed by the alignment inside the block the lines take together.
QList<StyledLabel::Line> StyledLabel::layoutLines(const QRect &face) const
{
    QStringList texts;
    if (align & Qt::TextWordWrap) {
        QTextLayout layout(caption, font());
        QTextOption option;
        option.setWrapMode(QTextOption::WordWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(face.width());
            texts << caption.mid(line.textStart(), line.textLength()).trimmed();
        }
        layout.endLayout();
    } else {
        texts << caption;
    }
    const QFontMetrics metrics(font());
    const int lineHeight = metrics.height();
    const QRect block = QStyle::alignedRect(
        Qt::LeftToRight, align, QSize(face.width(), lineHeight * int(texts.size())), face);
    QList<Line> lines;
    for (int i = 0; i < texts.size(); ++i) {
        const QRect row(block.left(), block.top() + i * lineHeight, block.width(), lineHeight);
        const QRect textRect = QStyle::alignedRect(
            Qt::LeftToRight, align, QSize(metrics.horizontalAdvance(texts[i]), lineHeight), row);
        lines.append({texts[i], QPointF(textRect.left(), textRect.top() + metrics.ascent())});
    }
    return lines;
}

void StyledLabel::paintEvent(QPaintEvent *)
{
    if (caption.isEmpty())
        return;
    QPainter painter(this);
    painter.setFont(font());
    // The extrusion and the highlight stick out of the face; keep room for them so that the
    // whole figure honours the alignment and nothing is cut at the label's edges.
    const int lead = highlight.isValid() ? 1 : 0;
    const QList<Line> lines = layoutLines(rect().adjusted(lead, lead, -depth, -depth));
    // Each step of the extrusion is one solid shape: anti-aliased copies would let the lighter
    // edge of one step show through the next as thin diagonal seams.
    if (depth > 0) {
        QPainterPath letters;
        for (const Line &line : lines)
            letters.addText(line.baseline, font(), line.text);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        for (int step = depth; step >= 1; --step)
            painter.fillPath(letters.translated(step, step), shadowStepColor(step));
    }
    for (const Line &line : lines) {
        if (highlight.isValid()) {
            painter.setPen(highlight);
            painter.drawText(line.baseline - QPointF(1, 1), line.text);
        }
        painter.setPen(faceColour);
        painter.drawText(line.baseline, line.text);
    }
}

bool StyledLabel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        followParent();
    return QWidget::eventFilter(watched, event);
}

void StyledLabel::followParent()
{
    QWidget *owner = parentWidget();
    if (!owner || docking == Dock::None)
        return;
    const int h = height();
    const int top = docking == Dock::Top ? 0 : owner->height() - h;
    setGeometry(0, top, owner->width(), h);
}
