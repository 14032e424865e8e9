#include "controls/KeyboardMenu.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>

bool openContextMenuByKeys(QAbstractItemView &view, QKeyEvent &event)
{
    if (event.key() != Qt::Key_F10 ||
        (event.modifiers() & ~Qt::KeypadModifier) != Qt::ShiftModifier)
        return false;
    event.accept();
    const QRect entry = view.visualRect(view.currentIndex());
    const QPoint at =
        entry.isValid() ? view.viewport()->mapTo(&view, entry.center()) : view.rect().center();
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, view.mapToGlobal(at));
    QApplication::sendEvent(&view, &menu);
    return true;
}
