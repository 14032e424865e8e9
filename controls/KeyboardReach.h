#pragma once

#include <QList>

class QAbstractButton;
class QScrollBar;

// Controls that a mouse user clicks and a keyboard user reaches with Tab.

// A group of radio buttons is one stop in the Tab order, at its checked button (the first one
// while none is checked); the arrow keys move among the buttons and check them. Clicks reach
// every button as before.
void makeOneTabStop(const QList<QAbstractButton *> &buttons);

// A scroll bar that Tab reaches and the keys move: Right and Left (or Down and Up) by a step,
// Page Down and Page Up by a page, Home and End to its ends, in the direction the thumb moves.
void makeKeyboardScrollBar(QScrollBar *bar);
