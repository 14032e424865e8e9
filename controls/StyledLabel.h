#pragma once

#include <QColor>
#include <QWidget>

class QFontMetrics;
class QPainter;

// A caption drawn for effect: the face in the font's colour, an optional one-pixel highlight
// above and to the left of it, and an optional extruded shadow that steps down and to the right,
// graduating from one colour next to the face to the shadow colour at its far end. The label
// paints no background, so a gradient or chart behind it shows through.
class StyledLabel : public QWidget
{
    Q_OBJECT

public:
    // Where the label keeps itself in its parent: nowhere in particular, or across the whole
    // width of the parent's top or bottom edge at its own height.
    enum class Dock
    {
        None,
        Top,
        Bottom
    };

    explicit StyledLabel(QWidget *parent = nullptr);
    StyledLabel(const QString &text, QWidget *parent = nullptr);

    QString text() const { return caption; }
    void setText(const QString &text);

    QColor textColor() const { return faceColour; }
    void setTextColor(const QColor &colour);

    // Horizontal and vertical placement of the text inside the label; with Qt::TextWordWrap a
    // caption wider than the label is broken into lines at its blanks.
    Qt::Alignment alignment() const { return align; }
    void setAlignment(Qt::Alignment alignment);

    // An invalid colour switches the highlight off (the default).
    QColor highlightColor() const { return highlight; }
    void setHighlightColor(const QColor &colour);

    // Depth 0 switches the shadow off (the default). Without a graduation start every step of the
    // shadow has the shadow colour.
    QColor shadowColor() const { return shadow; }
    int shadowDepth() const { return depth; }
    void setShadow(const QColor &colour, int depth);
    QColor graduateFrom() const { return graduation; }
    void setGraduateFrom(const QColor &colour);

    // Colour of shadow step k (1 = next to the face, shadowDepth() = farthest).
    QColor shadowStepColor(int step) const;

    Dock dock() const { return docking; }
    // Docking to an edge follows the parent's width from then on; the height stays the label's.
    void setDock(Dock dock);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void followParent();
    QStringList lines(const QFontMetrics &metrics, int width) const;
    void paintLine(QPainter &painter, const QPointF &baseline, const QString &text) const;

    QString caption;
    QColor faceColour = Qt::black;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    QColor highlight;
    QColor shadow;
    int depth = 0;
    QColor graduation;
    Dock docking = Dock::None;
};
