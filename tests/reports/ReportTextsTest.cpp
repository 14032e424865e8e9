#include "reports/ReportTexts.h"

#include "engine/StatisticsEngine.h"
#include "reports/ColourTable.h"
#include "reports/WalkProgress.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

using korvel::test::LocaleGuard;

TEST(ReportTexts, StripCommasTakesOutTheLocalesSeparatorOnly)
{
    const struct
    {
        QLocale locale;
        QString text, expected;
    } cases[] = {{korvel::test::commaLocale(), "1,234,567", "1234567"},
                 {korvel::test::commaLocale(), "1234.5", "1234.5"},
                 {korvel::test::dotLocale(), "1.234.567", "1234567"},
                 {korvel::test::dotLocale(), "1,5", "1,5"}};
    for (const auto &c : cases) {
        LocaleGuard guard(c.locale);
        EXPECT_EQ(stripCommas(c.text), c.expected);
    }
}

TEST(ReportTexts, AverageTextIsGroupedAndZeroWithoutFiles)
{
    LocaleGuard guard(korvel::test::commaLocale());
    EXPECT_EQ(averageText(6000, 3), "2,000");
    EXPECT_EQ(averageText(5, 0), "0");
    EXPECT_EQ(averageText(5, -1), "0");
}

TEST(ColourTable, OneColourAndBackToTheTable)
{
    ColourTable table;
    const QColor first = table[1];
    table.initAColors(false, Qt::green);
    for (int index = 1; index <= 12; ++index)
        EXPECT_EQ(table[index], QColor(Qt::green));
    table.initAColors(true, Qt::green);
    EXPECT_EQ(table[1], first);
    EXPECT_NE(table[2], table[1]);
}

TEST(WalkProgress, ShareByEarlierWalkOrEntriesOrElseBytesAndNeverFullBeforeTheEnd)
{
    const struct
    {
        WalkCounters counters;
        DriveUsage usage;
        int percent;
    } cases[] = {{{50, 999}, {200, 1000}, 25},     // inodes counted: entries decide
                 {{50, 400}, {0, 1000}, 40},       // no inodes: bytes decide
                 {{300, 0}, {200, 1000}, 99},      // hard links run past the count
                 {{10, 10}, {0, 0}, 0},            // nothing known about the drive
                 {{50, 0}, {200, 1000, 100}, 50}}; // a walk of the drive before decides
    for (const auto &c : cases)
        EXPECT_EQ(walkPercent(c.counters, c.usage), c.percent);
}

TEST(WalkProgress, TimeLeftOnlyOnceThePaceIsKnown)
{
    EXPECT_EQ(timeLeftText(2, 50), "");
    EXPECT_EQ(timeLeftText(10, 0), "");
    EXPECT_EQ(timeLeftText(60, 25), "about 3 min left");
    EXPECT_EQ(timeLeftText(10, 50), "about 10 s left");
    EXPECT_EQ(timeLeftText(10, 99), "about 5 s left");
}

} // namespace
