#include "reports/ColourTable.h"

#include "reports/PageLook.h"

namespace {

using namespace chartColour;

// The chart colours in the order the pages hand them out.
constexpr std::array<QColor, 12> fixedTable = {red,     maroon, blue, yellow, green, lime,
                                               fuchsia, teal,   navy, aqua,   white, gray};

} // namespace

ColourTable::ColourTable()
{
    initAColors(true);
}

void ColourTable::initAColors(bool multicolour, const QColor &colour)
{
    for (std::size_t index = 1; index < aColors.size(); ++index)
        aColors[index] = multicolour ? fixedTable[index - 1] : colour;
}
