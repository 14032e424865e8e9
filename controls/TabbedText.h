#pragma once

#include <QList>
#include <QString>
#include <limits>

class QPainter;

// Text with tab characters drawn in columns, the way the list controls show "pattern<TAB>name".
// Tab positions are pixels measured from a tab origin (an x in the painter's coordinates):
//  - no positions: a tab stop every defaultInterval pixels;
//  - one position: it repeats, so tabs fall on every multiple of it;
//  - several: the positions in order; a tab past the last one advances like a blank.
// A tab always moves the pen to the first stop strictly to the right of it.

struct TabStopRule
{
    QList<int> positions; // pixels from the origin
    int origin = 0;
    int defaultInterval = 0; // used when positions is empty
};

// The x at which the text after a tab starts, for a pen standing at x.
int nextTabStop(int x, const TabStopRule &rule, int blankWidth);

// Draws text with its top-left corner at (x, top) and returns the x after the last character.
// Text past right ends in an ellipsis.
int drawTabbedText(QPainter &painter, int x, int top, const QString &text, const TabStopRule &rule,
                   int right = std::numeric_limits<int>::max());

// Draws text at (x, top) without columns: a tab shows as one blank.
void drawPlainText(QPainter &painter, int x, int top, const QString &text);
