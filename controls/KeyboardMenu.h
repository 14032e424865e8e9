#pragma once

class QAbstractItemView;
class QKeyEvent;

// Shift+F10 opens a list's or a grid's context menu as the Menu key does, beside the current
// entry. Answers whether the key was Shift+F10 (the event is then used up).
bool openContextMenuByKeys(QAbstractItemView &view, QKeyEvent &event);
