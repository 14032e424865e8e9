#include "reports/NoteButton.h"

#include "controls/VectorGlyph.h"

#include <QToolButton>

namespace {

constexpr QSize buttonSize(23, 22);

} // namespace

QToolButton *makeNoteButton(const QString &name, const QPoint &at, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setIcon(vectorGlyph(glyphs::information)); // the page has something to tell
    button->setGeometry(QRect(at, buttonSize));
    return button;
}
