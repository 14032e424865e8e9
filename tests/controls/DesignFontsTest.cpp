#include "controls/DesignFonts.h"

#include <QFont>
#include <QFontInfo>
#include <gtest/gtest.h>

// The test program maps the fonts at start, as the program does; the windows' layouts rely on
// the classic names reaching fonts of the same widths.
TEST(DesignFonts, ClassicNamesReachMetricCompatibleFonts)
{
    installDesignFonts(); // a second call changes nothing
    const std::pair<const char *, const char *> mapped[] = {
        {"Arial", "Liberation Sans"},
        {"MS Sans Serif", "Liberation Sans"},
        {"Times New Roman", "Liberation Serif"}};
    for (const auto &[name, family] : mapped) {
        QFont font(name);
        font.setPixelSize(16);
        EXPECT_EQ(QFontInfo(font).family(), family) << name;
    }
}
