#include "controls/VectorGlyph.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

namespace {

// Draws the shapes afresh for every size and pixel ratio: no picture is ever scaled.
class GlyphEngine : public QIconEngine
{
public:
    GlyphEngine(GlyphShapes shapes, QSize design) : shapes(std::move(shapes)), design(design) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        // Centred in the rectangle, as large as it holds while keeping the glyph's shape.
        const QSizeF size = QSizeF(design).scaled(rect.size(), Qt::KeepAspectRatio);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(QRectF(rect).center() - QPointF(size.width(), size.height()) / 2);
        painter->scale(size.width() / design.width(), size.height() / design.height());
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.4);
        shapes(*painter);
        painter->restore();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap picture(size);
        picture.fill(Qt::transparent);
        QPainter painter(&picture);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return picture;
    }

    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        return design.scaled(size, Qt::KeepAspectRatio);
    }

    QIconEngine *clone() const override { return new GlyphEngine(shapes, design); }

private:
    GlyphShapes shapes;
    QSize design;
};

} // namespace

QIcon vectorGlyph(GlyphShapes shapes, QSize design)
{
    return QIcon(new GlyphEngine(std::move(shapes), design));
}

namespace glyphs {

// Lines one unit wide lie on half units, so that at the design size they fill whole pixels.

void information(QPainter &painter)
{
    painter.setPen(QPen(QColor(0, 0, 128), 1));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 255));
    painter.drawRect(QRectF(7, 3, 2, 2)); // the dot
    painter.drawRect(QRectF(6, 6, 3, 1)); // the stem with its serifs
    painter.drawRect(QRectF(7, 7, 2, 4));
    painter.drawRect(QRectF(6, 11, 4, 1));
}

void printer(QPainter &painter)
{
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(4.5, 1.5, 7, 5)); // the paper waiting at the back
    painter.setBrush(QColor(192, 192, 192));
    painter.drawRect(QRectF(1.5, 6.5, 13, 6)); // the body
    painter.setBrush(Qt::white);
    painter.drawRect(QRectF(4.5, 10.5, 7, 4)); // the printed sheet
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 128, 0));
    painter.drawRect(QRectF(12, 8, 1, 1)); // the power light
}

void diskBars(QPainter &painter)
{
    struct Bar
    {
        double left, freeTop, usedTop;
    };
    painter.setPen(Qt::NoPen);
    for (const Bar &bar : {Bar{2, 5, 9}, Bar{7, 2, 7}, Bar{12, 8, 11}}) {
        painter.setBrush(QColor(255, 0, 255));
        painter.drawRect(QRectF(bar.left, bar.freeTop, 3, bar.usedTop - bar.freeTop));
        painter.setBrush(QColor(0, 0, 255));
        painter.drawRect(QRectF(bar.left, bar.usedTop, 3, 14 - bar.usedTop));
    }
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(QPointF(1, 14.5), QPointF(15, 14.5));
}

void exitDoor(QPainter &painter)
{
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(QColor(192, 128, 64));
    painter.drawRect(QRectF(1.5, 1.5, 7, 13)); // the door
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawRect(QRectF(3, 8, 1, 1)); // its handle
    painter.setBrush(QColor(0, 128, 0));
    painter.drawRect(QRectF(6, 7, 5, 2)); // the arrow's shaft, then its head
    painter.setRenderHint(QPainter::Antialiasing);
    painter.drawPolygon(QPolygonF({QPointF(10, 4), QPointF(15, 8), QPointF(10, 12)}));
}

} // namespace glyphs
