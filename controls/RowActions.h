#pragma once

#include <QModelIndex>
#include <QObject>
#include <QPoint>

class QAbstractItemView;

// Enter, a double click and the context menu (mouse, menu key or Shift+F10) on a row of a list,
// as two signals, so that the list's window acts on the row instead of its default button.
class RowActions : public QObject
{
    Q_OBJECT

public:
    explicit RowActions(QAbstractItemView *view);

signals:
    void openRequested(const QModelIndex &index);
    // at: a place in the view's viewport.
    void menuRequested(const QModelIndex &index, const QPoint &at);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAbstractItemView *view;
};
