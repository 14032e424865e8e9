#pragma once

class QAbstractItemView;

// The arrows of a list or tree as the program draws them: a heading's sort arrow points down on a
// column sorted largest (or last) first and up on one sorted smallest first, and a branch's arrow
// on a selected row takes the selection's text colour, so that it stands out on the navy.
void useListArrows(QAbstractItemView *view);
