#pragma once

#include <QColor>
#include <array>

// The twelve chart colours of the statistics window (indexes 1 to 12). The chart pages colour
// their bars and slices from it; each page sets it just before it fills a chart and keeps no copy.
class ColourTable
{
public:
    ColourTable();

    // The fixed table when multicolour is set; otherwise every entry gets the one colour.
    void initAColors(bool multicolour, const QColor &colour = QColor());

    // Entry 1 to 12.
    QColor operator[](int index) const { return aColors.at(std::size_t(index)); }

    // Index 0 is never used, so that the indexes read as the chart pages count them.
    std::array<QColor, 13> aColors;
};
