#pragma once

#include <QPoint>
#include <QString>

class QToolButton;
class QWidget;

// The small glyph button at the bottom right of a page that shows the page's note.
QToolButton *makeNoteButton(const QString &name, const QPoint &at, QWidget *parent);
