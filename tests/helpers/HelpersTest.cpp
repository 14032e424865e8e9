#include "helpers/Helpers.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <limits>

using korvel::test::LocaleGuard;

TEST(Helpers, TextToIntAcceptsOnlyWholeThirtyTwoBitNumbers)
{
    EXPECT_EQ(textToInt("42"), 42);
    EXPECT_EQ(textToInt(" 42"), 42);
    EXPECT_EQ(textToInt("-17"), -17);
    EXPECT_EQ(textToInt("+5"), 5);
    EXPECT_EQ(textToInt("$1F"), 31);
    EXPECT_EQ(textToInt("-$10"), -16);
    EXPECT_EQ(textToInt("2147483647"), 2147483647);
    EXPECT_EQ(textToInt("-2147483648"), std::numeric_limits<int>::min());

    for (const char *bad : {"", " ", "12a", "42 ", "2147483648", "-2147483649",
                            "99999999999999999999999", "$", "$G", "1.5", "1,000", "--1", "0x10"})
        EXPECT_EQ(textToInt(bad), 0) << bad;
}

TEST(Helpers, TextToFloatFollowsTheLocaleAndRejectsGroupSeparators)
{
    {
        LocaleGuard locale(korvel::test::commaLocale());
        EXPECT_DOUBLE_EQ(textToFloat("1.5"), 1.5);
        EXPECT_DOUBLE_EQ(textToFloat("  2.25 "), 2.25);
        EXPECT_DOUBLE_EQ(textToFloat("-3"), -3.0);
        EXPECT_DOUBLE_EQ(textToFloat("1e3"), 1000.0);
        EXPECT_EQ(textToFloat("1,234"), 0.0);
        EXPECT_EQ(textToFloat("1,5"), 0.0);
        EXPECT_EQ(textToFloat("abc"), 0.0);
        EXPECT_EQ(textToFloat(""), 0.0);
        EXPECT_EQ(textToFloat("inf"), 0.0);
        EXPECT_EQ(textToFloat("nan"), 0.0);
    }
    {
        LocaleGuard locale(korvel::test::dotLocale());
        EXPECT_DOUBLE_EQ(textToFloat("1,5"), 1.5);
        EXPECT_EQ(textToFloat("1.234"), 0.0);
    }
}

TEST(Helpers, GroupedNumbersUseTheLocaleSeparator)
{
    {
        LocaleGuard locale(korvel::test::commaLocale());
        EXPECT_EQ(intToGrouped(1234567), "1,234,567");
        EXPECT_EQ(intToGrouped(-1234567), "-1,234,567");
        EXPECT_EQ(intToGrouped(0), "0");
        EXPECT_EQ(intToGrouped(999), "999");
        EXPECT_EQ(intToGrouped(5000000000LL), "5,000,000,000");
        EXPECT_EQ(intToGrouped(std::numeric_limits<std::int64_t>::min()),
                  "-9,223,372,036,854,775,808");

        EXPECT_EQ(floatToGrouped(2.5), "3");
        EXPECT_EQ(floatToGrouped(-2.5), "-3");
        EXPECT_EQ(floatToGrouped(1234.4), "1,234");
        EXPECT_EQ(floatToGrouped(0.4), "0");
        EXPECT_EQ(floatToGrouped(-0.4), "0");
        EXPECT_EQ(floatToGrouped(99999999999999.0), "99,999,999,999,999");
        EXPECT_EQ(floatToGrouped(std::numeric_limits<double>::quiet_NaN()), "");
        EXPECT_EQ(floatToGrouped(std::numeric_limits<double>::infinity()), "");
    }
    {
        LocaleGuard locale(korvel::test::dotLocale());
        EXPECT_EQ(intToGrouped(1234567), "1.234.567");
        EXPECT_EQ(floatToGrouped(1234567.5), "1.234.568");
    }
    {
        // A default locale that was told to leave out group separators still groups reports.
        QLocale plain = korvel::test::commaLocale();
        plain.setNumberOptions(QLocale::OmitGroupSeparator);
        LocaleGuard locale(plain);
        EXPECT_EQ(intToGrouped(1234), "1,234");
    }
}

TEST(Helpers, TabFieldSplitsAndTrims)
{
    const QString row = ".TXT\t12\t4096";
    EXPECT_EQ(tabField(row, 1), ".TXT");
    EXPECT_EQ(tabField(row, 2), "12");
    EXPECT_EQ(tabField(row, 3), "4096");
    EXPECT_EQ(tabField(row, 4), "");
    EXPECT_EQ(tabField(row, 0), "");
    EXPECT_EQ(tabField(row, -1), "");

    EXPECT_EQ(tabField("  whole text \r\n", 1), "whole text");
    EXPECT_EQ(tabField("whole text", 2), "");
    EXPECT_EQ(tabField("", 1), "");
    EXPECT_EQ(tabField("a\t\tc", 2), "");
    EXPECT_EQ(tabField("a\t\tc", 3), "c");
    EXPECT_EQ(tabField("*.doc\t Word document \x01", 2), "Word document");
}

// Byte sums of 91 TiB and more used to come out as "1E+14"; every whole number is written out and
// reads back as it was.
TEST(Helpers, WholeNumbersOfAnySizeAreWrittenInFullAndReadBackExactly)
{
    LocaleGuard locale(korvel::test::commaLocale());
    const struct
    {
        double value;
        const char *text;
    } floats[] = {{1e14, "100,000,000,000,000"},
                  {123456789012345678.0, "123,456,789,012,345,680"},
                  {18446744073709551616.0, "18,446,744,073,709,551,616"},
                  {-1e20, "-100,000,000,000,000,000,000"}};
    for (const auto &c : floats)
        EXPECT_EQ(floatToGrouped(c.value), c.text);

    for (const std::uint64_t value : {std::uint64_t(0), std::uint64_t(100000000000000),
                                      std::uint64_t(9007199254740993), UINT64_MAX}) {
        const QString text = unsignedToGrouped(value);
        std::uint64_t back = 1;
        EXPECT_TRUE(groupedToUnsigned(text, back)) << text.toStdString();
        EXPECT_EQ(back, value);
    }
    EXPECT_EQ(unsignedToGrouped(UINT64_MAX), "18,446,744,073,709,551,615");
    std::uint64_t untouched = 7;
    for (const char *bad : {"", "1.5", "-1", "18,446,744,073,709,551,616", "12a"})
        EXPECT_FALSE(groupedToUnsigned(bad, untouched)) << bad;
    EXPECT_EQ(untouched, 7u);
}
