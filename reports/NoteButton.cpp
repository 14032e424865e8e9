#include "reports/NoteButton.h"

#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace {

constexpr QSize buttonSize(23, 22);

// A blue "i" in a white disc: the page has something to tell.
QPixmap noteGlyph()
{
    QPixmap glyph(16, 16);
    glyph.fill(Qt::transparent);
    QPainter painter(&glyph);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(0, 0, 128));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(0.5, 0.5, 15, 15));
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(13);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(0, 0, 255));
    painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("i"));
    return glyph;
}

} // namespace

QToolButton *makeNoteButton(const QString &name, const QPoint &at, QWidget *parent,
                            const QString &explains)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setAccessibleName(QStringLiteral("Note"));
    button->setAccessibleDescription(explains);
    button->setIcon(noteGlyph());
    button->setGeometry(QRect(at, buttonSize));
    return button;
}
