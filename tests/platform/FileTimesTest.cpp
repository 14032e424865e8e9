#include "platform/FileTimes.h"

#include <QDateTime>
#include <gtest/gtest.h>
#include <random>

namespace {

using platform::packLocalTime;

// Runs one test in a given zone and puts the system's back afterwards.
class ZoneGuard
{
public:
    explicit ZoneGuard(const char *id) { platform::setLocalTimeZone(QTimeZone(id)); }
    ~ZoneGuard() { platform::setLocalTimeZone(QTimeZone()); }
};

std::uint32_t packed(int year, int month, int day, int hour, int minute, int second)
{
    return std::uint32_t(year - 1980) << 25 | std::uint32_t(month) << 21 |
           std::uint32_t(day) << 16 | std::uint32_t(hour) << 11 | std::uint32_t(minute) << 5 |
           std::uint32_t(second / 2);
}

std::int64_t utcOf(const char *zone, int year, int month, int day, int hour, int minute, int second)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second), QTimeZone(zone))
        .toSecsSinceEpoch();
}

TEST(FileTimes, PackedBoundsAreTheYears1980To2107)
{
    ZoneGuard zone("Europe/Berlin");
    EXPECT_EQ(packLocalTime(0), 0u) << "1 January 1970 is before the packable years";
    EXPECT_EQ(packLocalTime(-86400 * 400), 0u);
    const char *berlin = "Europe/Berlin";
    EXPECT_EQ(packLocalTime(utcOf(berlin, 1979, 12, 31, 23, 59, 59)), 0u);
    EXPECT_EQ(packLocalTime(utcOf(berlin, 1980, 1, 1, 0, 0, 0)), packed(1980, 1, 1, 0, 0, 0));
    EXPECT_EQ(packLocalTime(utcOf(berlin, 1980, 1, 1, 0, 0, 0)), 0x00210000u);
    EXPECT_EQ(packLocalTime(utcOf(berlin, 2107, 12, 31, 23, 59, 59)),
              packed(2107, 12, 31, 23, 59, 59));
    EXPECT_EQ(packLocalTime(utcOf(berlin, 2108, 1, 1, 0, 0, 0)), 0u);
    EXPECT_EQ(packLocalTime(std::int64_t(1) << 50), 0u);
}

TEST(FileTimes, OddSecondsRoundDownToTheEvenSecond)
{
    ZoneGuard zone("UTC");
    const std::int64_t t = utcOf("UTC", 2021, 6, 15, 13, 45, 58);
    EXPECT_EQ(packLocalTime(t) & 31, 29u);
    EXPECT_EQ(packLocalTime(t + 1) & 31, 29u) << "59 seconds keep 29 twice-seconds";
    EXPECT_EQ(packLocalTime(t + 2), packed(2021, 6, 15, 13, 46, 0));
}

TEST(FileTimes, DaylightSavingChangesAreExact)
{
    ZoneGuard zone("Europe/Berlin");
    // Spring: 02:00 local does not exist, the clock jumps from 01:59:59 to 03:00:00.
    const std::int64_t spring = utcOf("UTC", 2021, 3, 28, 1, 0, 0);
    EXPECT_EQ(packLocalTime(spring - 1), packed(2021, 3, 28, 1, 59, 59));
    EXPECT_EQ(packLocalTime(spring), packed(2021, 3, 28, 3, 0, 0));
    // Autumn: 02:00 to 02:59:59 local happen twice.
    const std::int64_t autumn = utcOf("UTC", 2021, 10, 31, 1, 0, 0);
    EXPECT_EQ(packLocalTime(autumn - 1), packed(2021, 10, 31, 2, 59, 59));
    EXPECT_EQ(packLocalTime(autumn), packed(2021, 10, 31, 2, 0, 0));
    // Back across the change again: the cached stretches must not leak into each other.
    EXPECT_EQ(packLocalTime(spring - 1), packed(2021, 3, 28, 1, 59, 59));
    EXPECT_EQ(platform::localDayNumber(utcOf("UTC", 2021, 3, 27, 23, 30, 0)),
              platform::daysFromCivil(2021, 3, 28));
}

// The cached offsets against the zone asked afresh for each moment, in random order so that the
// cache sees jumps back and forth, in a zone with a half-hour daylight-saving shift too.
TEST(FileTimes, CachedConversionMatchesTheZoneEverywhere)
{
    for (const char *id : {"Europe/Berlin", "Australia/Lord_Howe", "America/Sao_Paulo"}) {
        const QTimeZone tz(id);
        platform::LocalTimeCache cache(tz);
        std::mt19937_64 random(42);
        std::uniform_int_distribution<std::int64_t> moment(utcOf("UTC", 1980, 1, 2, 0, 0, 0),
                                                           utcOf("UTC", 2107, 12, 30, 0, 0, 0));
        for (int i = 0; i < 20000; ++i) {
            const std::int64_t t = moment(random);
            const QDateTime local = QDateTime::fromSecsSinceEpoch(t, tz);
            const QDate d = local.date();
            const QTime h = local.time();
            ASSERT_EQ(cache.pack(t),
                      packed(d.year(), d.month(), d.day(), h.hour(), h.minute(), h.second()))
                << id << " at " << t;
        }
    }
}

} // namespace
