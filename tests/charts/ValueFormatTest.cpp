#include "charts/ValueFormat.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

using korvel::test::commaLocale;
using korvel::test::dotLocale;

TEST(ValueFormat, PicturesOfThePagesInBothLocales)
{
    const QLocale comma = commaLocale(), dot = dotLocale();
    EXPECT_EQ(formatValue(1234567, "#,##0 MB", comma), "1,234,567 MB");
    EXPECT_EQ(formatValue(1234567, "#,##0 MB", dot), "1.234.567 MB");
    EXPECT_EQ(formatValue(9999.6, "#,##0 KB", comma), "10,000 KB");
    EXPECT_EQ(formatValue(45.27, "##0.# %", comma), "45.3 %");
    EXPECT_EQ(formatValue(45.27, "##0.# %", dot), "45,3 %");
    EXPECT_EQ(formatValue(45.0, "##0.# %", comma), "45 %");   // optional decimal dropped
    EXPECT_EQ(formatValue(38.96, "#,##0. %", comma), "39 %"); // no decimals: no separator
    EXPECT_EQ(formatValue(50, "#,##0.## %", comma), "50 %");
    EXPECT_EQ(formatValue(33.333, "#,##0.## %", dot), "33,33 %");
    EXPECT_EQ(formatValue(0, "#,##0 MB", comma), "0 MB");
    EXPECT_EQ(formatValue(0.4, "##0.# %", comma), "0.4 %");
}

TEST(ValueFormat, RoundsHalfAwayFromZeroAndKeepsTheSign)
{
    const QLocale comma = commaLocale();
    EXPECT_EQ(formatValue(0.5, "#,##0", comma), "1");
    EXPECT_EQ(formatValue(2.5, "#,##0", comma), "3");
    EXPECT_EQ(formatValue(-2.5, "#,##0", comma), "-3");
    EXPECT_EQ(formatValue(0.125, "0.00", comma), "0.13");
    EXPECT_EQ(formatValue(45.25, "##0.# %", comma), "45.3 %");
    EXPECT_EQ(formatValue(-1234.5, "#,##0 KB", comma), "-1,235 KB");
    EXPECT_EQ(formatValue(-0.2, "#,##0", comma), "0"); // no "-0"
    EXPECT_EQ(formatValue(7, "000", comma), "007");
}

// Labels of the largest figures a walk can count keep the digits of their value.
TEST(ValueFormat, HugeFiguresKeepTheirDigits)
{
    const QLocale comma = commaLocale();
    const struct
    {
        double value;
        const char *picture, *text;
    } cases[] = {{2e13, "#,##0", "20,000,000,000,000"},
                 {17592186044415.5, "#,##0 MB", "17,592,186,044,416 MB"},
                 {18446744073709551616.0, "#,##0", "18,446,744,073,709,551,616"},
                 {4503599627370495.5, "#,##0.#", "4,503,599,627,370,495.5"}};
    for (const auto &c : cases)
        EXPECT_EQ(formatValue(c.value, c.picture, comma), c.text) << c.text;
}

TEST(ValueFormat, TimeOfDay)
{
    EXPECT_EQ(formatTimeOfDay(0, "HH:MM"), "00:00");
    EXPECT_EQ(formatTimeOfDay(13.5 / 24, "HH:MM"), "13:30");
    EXPECT_EQ(formatTimeOfDay(1 + 9.25 / 24, "hh:nn"), "09:15"); // whole days fall away
    EXPECT_EQ(formatTimeOfDay(23.5 / 24, "h:mm"), "23:30");
}
