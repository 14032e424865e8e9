#pragma once

#include <QImage>
#include <QRect>

// The leftmost column at or after from that holds a dark pixel within the rows of rect; -1 when
// none does. Where a column of text starts, give or take the glyph's own side bearing.
inline int firstInkColumn(const QImage &image, const QRect &rect, int from)
{
    for (int x = from; x < image.width(); ++x)
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            if (image.pixelColor(x, y).lightness() < 128)
                return x;
    return -1;
}
