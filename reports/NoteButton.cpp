#include "reports/NoteButton.h"

#include "controls/VectorGlyph.h"

#include <QToolButton>

namespace {

constexpr QSize buttonSize(23, 22);

} // namespace

QToolButton *makeNoteButton(const QString &name, const QPoint &at, QWidget *parent,
                            const QString &explains)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(name);
    button->setAccessibleName(QStringLiteral("Note"));
    button->setAccessibleDescription(explains);
    button->setIcon(vectorGlyph(glyphs::information)); // the page has something to tell
    button->setGeometry(QRect(at, buttonSize));
    return button;
}
