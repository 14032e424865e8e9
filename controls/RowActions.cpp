#include "controls/RowActions.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

RowActions::RowActions(QAbstractItemView *view) : QObject(view), view(view)
{
    view->installEventFilter(this);
    view->viewport()->installEventFilter(this);
}

bool RowActions::eventFilter(QObject *watched, QEvent *event)
{
    // The view is asked only about the events acted on: others also arrive while it is being
    // taken down, when it is no longer a whole view.
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const bool menu = key->key() == Qt::Key_Menu ||
                          (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
        const QModelIndex current = view->currentIndex();
        if (watched != view || !(enter || menu) || !current.isValid())
            return false;
        if (enter)
            emit openRequested(current);
        else
            emit menuRequested(current, view->visualRect(current).center());
        return true;
    }
    case QEvent::ContextMenu: {
        const auto *menu = static_cast<QContextMenuEvent *>(event);
        const bool byKeys = menu->reason() == QContextMenuEvent::Keyboard;
        const QModelIndex index = byKeys ? view->currentIndex() : view->indexAt(menu->pos());
        if (index.isValid())
            emit menuRequested(index, byKeys ? view->visualRect(index).center() : menu->pos());
        return true;
    }
    case QEvent::MouseButtonDblClick: {
        if (watched != view->viewport())
            return false;
        const QModelIndex index =
            view->indexAt(static_cast<QMouseEvent *>(event)->position().toPoint());
        if (!index.isValid())
            return false;
        view->setCurrentIndex(index);
        emit openRequested(index);
        return true;
    }
    default:
        return false;
    }
}
