#pragma once

#include <QPoint>
#include <QString>

class QToolButton;
class QWidget;

// The small glyph button at the bottom right of a page that shows the page's note. Having no
// caption, it tells a screen reader its name, "Note", and what the note explains.
QToolButton *makeNoteButton(const QString &name, const QPoint &at, QWidget *parent,
                            const QString &explains);
