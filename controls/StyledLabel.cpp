#include "controls/StyledLabel.h"

#include "controls/AccessibleControls.h"

#include <QAccessible>
#include <QEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QStyle>
#include <algorithm>
#include <cmath>

StyledLabel::StyledLabel(QWidget *parent) : StyledLabel(QString(), parent) {}

StyledLabel::StyledLabel(const QString &text, QWidget *parent) : QWidget(parent), caption(text)
{
    installControlsAccessibility();
}

void StyledLabel::setText(const QString &text)
{
    const bool changed = text != caption;
    caption = text;
    updateGeometry();
    update();
    // A screen reader that shows the label reads the new caption.
    if (changed && QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
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

// The caption's lines: the caption itself, or with Qt::TextWordWrap as many lines as it takes
// to fit the width, broken at blanks (a word wider than the width keeps a line of its own). The
// blanks between the words of a line stay as the caption spells them.
QStringList StyledLabel::lines(const QFontMetrics &metrics, int width) const
{
    if (!(align & Qt::TextWordWrap))
        return {caption};
    static const QRegularExpression blanksAndWord(QStringLiteral(" *[^ ]+"));
    QStringList result;
    QString line;
    for (const QRegularExpressionMatch &match : blanksAndWord.globalMatch(caption)) {
        const QString piece = match.captured();
        if (!line.isEmpty() && metrics.horizontalAdvance(line + piece) > width) {
            result << line;
            line = piece.trimmed();
        } else {
            line += line.isEmpty() ? piece.trimmed() : piece;
        }
    }
    result << line;
    return result;
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
    const QRect face = rect().adjusted(lead, lead, -depth, -depth);
    const QFontMetrics metrics(font());
    const QStringList texts = lines(metrics, face.width());
    const int lineHeight = metrics.height();
    const QRect block =
        QStyle::alignedRect(Qt::LeftToRight, align & Qt::AlignVertical_Mask,
                            QSize(face.width(), lineHeight * int(texts.size())), face);
    for (int i = 0; i < texts.size(); ++i) {
        const QRect band(block.left(), block.top() + i * lineHeight, block.width(), lineHeight);
        const QRect textRect = QStyle::alignedRect(
            Qt::LeftToRight, (align & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter,
            QSize(metrics.horizontalAdvance(texts[i]), lineHeight), band);
        paintLine(painter, QPointF(textRect.left(), textRect.top() + metrics.ascent()), texts[i]);
    }
}

void StyledLabel::paintLine(QPainter &painter, const QPointF &baseline, const QString &text) const
{
    // Each step of the extrusion is one solid shape: anti-aliased copies would let the lighter
    // edge of one step show through the next as thin diagonal seams. On a denser screen a step
    // of one point covers several of the screen's pixels; the copies go one screen pixel apart,
    // so that thin strokes leave no gaps between them, and each takes its step's colour.
    if (depth > 0) {
        QPainterPath letters;
        letters.addText(baseline, font(), text);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(Qt::NoPen);
        const double scale = std::max(1.0, std::abs(painter.deviceTransform().m11()));
        const int pixels = int(std::ceil(depth * scale - 1e-6));
        for (int pixel = pixels; pixel >= 1; --pixel) {
            const double shift = pixel / scale;
            painter.fillPath(letters.translated(shift, shift),
                             shadowStepColor(int(std::ceil(shift - 1e-6))));
        }
        painter.restore();
    }
    if (highlight.isValid()) {
        painter.setPen(highlight);
        painter.drawText(baseline - QPointF(1, 1), text);
    }
    painter.setPen(faceColour);
    painter.drawText(baseline, text);
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
