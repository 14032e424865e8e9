#include "model/Trends.h"

#include "model/History.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

constexpr std::uint64_t GiB = 1024ull * 1024 * 1024;

// A history of daily runs of drive d: whose used space starts at 10 GiB and grows by a fixed
// amount a day, written through the collection writer.
QString writeHistory(const QTemporaryDir &folder, int runs, std::uint64_t growthPerDay,
                     std::uint64_t capacity)
{
    const QDateTime first(QDate(2026, 1, 1), QTime(3, 0));
    QString message;
    for (int day = 0; day < runs; ++day) {
        Collection c;
        c.facts.started = first.addDays(day);
        c.facts.ended = c.facts.started.addSecs(60);
        DriveFacts drive;
        drive.letter = 'd';
        drive.capacity = capacity;
        drive.freeBytes = capacity - 10 * GiB - day * growthPerDay;
        c.facts.drives = {drive};
        c.figures.allTypes = true;
        if (keepInHistory(c, folder.path(), message).isEmpty())
            return message;
    }
    return QString();
}

TEST(Trends, ForecastFromAHistoryOfKnownGrowth)
{
    const struct
    {
        int runs;
        std::uint64_t growthPerDay;
        QString text, range;
        QDate full;
    } cases[] = {
        // 100 GiB free at the start, 1 GiB more used each day: full 100 days after the first run.
        {10, GiB, "D: grows by 7.0 GB a week; full in about 3 months (April 2026)",
         "full in April 2026", QDate(2026, 4, 11)},
        {10, 0, "D: is not growing", "", QDate()},
        {2, GiB, "D: too few collections for a forecast", "", QDate()},
    };
    for (const auto &c : cases) {
        QTemporaryDir folder;
        ASSERT_EQ(writeHistory(folder, c.runs, c.growthPerDay, 110 * GiB), QString());
        const auto points = readTrendPoints(folder.path());
        ASSERT_EQ(points.size(), std::size_t(c.runs));
        const Forecast forecast = forecastOf(usedSamples(points, 'd'), 110 * GiB);
        EXPECT_EQ(forecastText('d', forecast, points.back().started.date()), c.text);
        EXPECT_EQ(forecastRangeText(forecast), c.range);
        EXPECT_EQ(forecast.full.date(), c.full);
    }
}

// The spread of the runs around the line widens the range of days the drive may be full on.
TEST(Trends, ForecastRangeWidensWithTheSpread)
{
    std::vector<UsedSample> samples;
    const QDateTime first(QDate(2026, 1, 1), QTime(3, 0));
    for (int day = 0; day < 30; ++day)
        samples.push_back({first.addDays(day), (day + (day % 2 ? 30.0 : 10.0)) * GiB});
    const Forecast forecast = forecastOf(samples, 400 * GiB);
    EXPECT_LT(forecast.fullEarliest, forecast.full);
    EXPECT_GT(forecast.fullLatest, forecast.full);
    EXPECT_TRUE(forecastRangeText(forecast).startsWith("full between "));
}

} // namespace
