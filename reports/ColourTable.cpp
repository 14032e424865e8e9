#include "reports/ColourTable.h"

namespace {

// The chart colours in the order the pages hand them out: red, maroon, blue, yellow, green,
// lime, fuchsia, teal, navy, aqua, white, gray.
constexpr std::array<QRgb, 12> fixedTable = {
    qRgb(255, 0, 0), qRgb(128, 0, 0),   qRgb(0, 0, 255),     qRgb(255, 255, 0),
    qRgb(0, 128, 0), qRgb(0, 255, 0),   qRgb(255, 0, 255),   qRgb(0, 128, 128),
    qRgb(0, 0, 128), qRgb(0, 255, 255), qRgb(255, 255, 255), qRgb(128, 128, 128)};

} // namespace

ColourTable::ColourTable()
{
    initAColors(true);
}

void ColourTable::initAColors(bool multicolour, const QColor &colour)
{
    for (std::size_t index = 1; index < aColors.size(); ++index)
        aColors[index] = multicolour ? QColor(fixedTable[index - 1]) : colour;
}
