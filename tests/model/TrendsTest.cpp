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
         "full on 11 April 2026", QDate(2026, 4, 11)},
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
    // A drive the spread may already have filled is full no earlier than its newest collection.
    EXPECT_EQ(forecastOf(samples, 52 * GiB).fullEarliest, samples.back().at);
}

// The range names what its ends do not share: the days of one month, the months of one year.
TEST(Trends, ForecastRangeSaysTheDatesOnce)
{
    const struct
    {
        QDate earliest, latest;
        QString text;
    } cases[] = {
        {{2027, 3, 3}, {2027, 3, 17}, "full between 3 and 17 March 2027"},
        {{2027, 3, 30}, {2027, 8, 2}, "full between March and August 2027"},
        {{2026, 11, 5}, {2027, 2, 1}, "full between November 2026 and February 2027"},
    };
    for (const auto &c : cases) {
        Forecast forecast;
        forecast.state = Forecast::State::Growing;
        forecast.fullEarliest = QDateTime(c.earliest, QTime(12, 0));
        forecast.fullLatest = QDateTime(c.latest, QTime(12, 0));
        EXPECT_EQ(forecastRangeText(forecast), c.text);
    }
}

} // namespace

namespace {

TrendPoint point(int day, std::vector<TrendType> types, const QString &drives = "c")
{
    TrendPoint p;
    p.started = QDateTime(QDate(2026, 1, 1), QTime(3, 0)).addDays(day);
    for (const QChar letter : drives)
        p.drives.push_back({letter, "/", 100, 50, 0, 0, true});
    p.types = std::move(types);
    return p;
}

// A type only one end of the period has counts as grown from or shrunk to nothing; the change per
// month spreads the change over the months between the ends; the largest growers come first.
TEST(Trends, TypeGrowthOrdersGrowersAndTakesMissingAsNothing)
{
    const auto rows =
        typeGrowth({point(0, {{".a", 1, 1000}, {".gone", 1, 500}}), point(10, {{".a", 1, 900}}),
                    point(61, {{".a", 2, 3000}, {".new", 1, 2000}})});
    const struct
    {
        QString name;
        std::uint64_t first, latest;
    } expected[] = {{".a", 1000, 3000}, {".new", 0, 2000}, {".gone", 500, 0}};
    ASSERT_EQ(rows.size(), std::size(expected));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].name, expected[i].name);
        EXPECT_EQ(rows[i].first, expected[i].first);
        EXPECT_EQ(rows[i].latest, expected[i].latest);
    }
    EXPECT_NEAR(rows[0].perMonth, 2000 / (61 / (365.2425 / 12)), 1e-6);
    EXPECT_EQ(topTypes({point(0, {{".s", 1, 5}, {".l", 1, 9}, {".m", 1, 7}})}, 2),
              (QStringList{".l", ".m"}));
}

// Cold shares count the classes of more than a year against every byte; drives that keep no
// access dates have no access share.
TEST(Trends, ColdSharesCountBytesOlderThanAYear)
{
    TrendPoint p = point(0, {});
    p.ageModifiedBytes = {0, 10, 0, 0, 0, 30, 20, 20, 10, 10}; // 60 of 100 over a year
    p.ageAccessedBytes = p.ageModifiedBytes;
    EXPECT_DOUBLE_EQ(*coldModifiedShare(p), 0.6);
    EXPECT_DOUBLE_EQ(*coldAccessedShare(p), 0.6);
    p.drives[0].accessDates = false;
    EXPECT_FALSE(coldAccessedShare(p));
    EXPECT_FALSE(coldModifiedShare(point(0, {})));
}

TEST(Trends, ForecastTextSaysTheDistanceInItsBestUnit)
{
    Forecast f;
    f.state = Forecast::State::Growing;
    f.bytesPerWeek = 1.2 * 1024 * 1024 * 1024;
    const QDate today(2026, 12, 8);
    const struct
    {
        int days;
        QString tail;
    } cases[] = {
        {0, "full now"},
        {1, "full in about 1 day (December 2026)"},
        {20, "full in about 3 weeks (December 2026)"},
        {205, "full in about 7 months (July 2027)"},
        {1100, "full in about 3 years (December 2029)"},
    };
    for (const auto &c : cases) {
        f.full = QDateTime(today.addDays(c.days), QTime(12, 0));
        EXPECT_EQ(forecastText('d', f, today), "D: grows by 1.2 GB a week; " + c.tail);
    }
    EXPECT_EQ(bytesText(999), "999 bytes");
    EXPECT_EQ(bytesText(-1536), "-1.5 KB");
}

} // namespace
