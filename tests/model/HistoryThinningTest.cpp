#include "model/HistoryThinning.h"

#include <QTimeZone>
#include <gtest/gtest.h>
#include <set>
#include <tuple>

namespace {

// Ten years of a daily timer at 03:00, thinned after every run as the history is: the last 14
// days whole, then one a day for 60 days, one a week for two years and one a month before.
TEST(HistoryThinning, TenYearsOfDailyRunsKeepOnePerPeriod)
{
    const QDateTime first(QDate(2016, 12, 8), QTime(3, 0), QTimeZone::utc());
    std::vector<HistoryRun> kept;
    for (int day = 0; day < 3653; ++day) {
        kept.push_back({first.addDays(day), "c"});
        const auto verdicts = thinHistory(kept, kept.back().started);
        std::vector<HistoryRun> staying;
        for (std::size_t i = 0; i < kept.size(); ++i)
            if (verdicts[i].keep)
                staying.push_back(kept[i]);
        kept = staying;
    }
    const QDateTime now = kept.back().started;
    std::set<std::tuple<int, qint64>> periods; // (0 daily, 1 weekly, 2 monthly, period)
    int recent = 0;
    for (std::size_t i = 0; i < kept.size(); ++i) {
        const QDate date = kept[i].started.date();
        const qint64 age = kept[i].started.daysTo(now);
        if (age < keepAllDays)
            ++recent;
        else if (age < keepDailyDays)
            EXPECT_TRUE(periods.insert({0, date.toJulianDay()}).second);
        else if (age < keepWeeklyDays)
            EXPECT_TRUE(periods.insert({1, date.toJulianDay() / 7}).second) << age;
        else
            EXPECT_TRUE(periods.insert({2, date.year() * 12 + date.month()}).second) << age;
        // No period goes without a run: the gap to the next one is at most two periods.
        if (i + 1 < kept.size()) {
            EXPECT_LE(kept[i].started.daysTo(kept[i + 1].started), age < keepDailyDays    ? 1
                                                                   : age < keepWeeklyDays ? 14
                                                                                          : 62)
                << date.toString(Qt::ISODate).toStdString();
        }
    }
    EXPECT_EQ(recent, keepAllDays);
    EXPECT_EQ(kept.size(), 14u + 46u + 96u + 97u);
    // December 2016 keeps the newest run that was left of it when it turned two years old: the
    // last Sunday, as its last week had kept the first of January.
    EXPECT_EQ(kept.front().started.date(), QDate(2016, 12, 25));
}

// Each drive set thins on its own, and a dropped run names the one that stays for it.
TEST(HistoryThinning, DriveSetsThinApartAndReasonsNameTheKeeper)
{
    const QDateTime now(QDate(2026, 12, 8), QTime(12, 0));
    const QDateTime old = now.addDays(-30);
    const std::vector<HistoryRun> runs = {
        {old, "c"}, {old.addSecs(3600), "c"}, {old.addSecs(60), "cd"}, {now.addDays(-1), "c"}};
    const auto verdicts = thinHistory(runs, now);
    const std::vector<bool> keep = {false, true, true, true};
    for (std::size_t i = 0; i < runs.size(); ++i)
        EXPECT_EQ(verdicts[i].keep, keep[i]) << i;
    EXPECT_EQ(verdicts[0].reason, "a newer run of its day stays (2026-11-08 13:00)");
}

} // namespace
