#include "platform/FileTimes.h"

#include <QDateTime>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <optional>
#include <random>
#include <string>

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

namespace {

// The C library's conversion, which every other program on the machine uses, under a TZ value.
class CLibraryZone
{
public:
    explicit CLibraryZone(const char *tz)
    {
        if (const char *old = std::getenv("TZ"))
            saved = old;
        ::setenv("TZ", tz, 1);
        ::tzset();
        platform::setLocalTimeZone(QTimeZone()); // the conversions follow the system anew
    }
    ~CLibraryZone()
    {
        if (saved)
            ::setenv("TZ", saved->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
        platform::setLocalTimeZone(QTimeZone());
    }
    static std::uint32_t pack(std::int64_t t, std::int64_t &day)
    {
        const time_t moment = time_t(t);
        struct tm local;
        ::localtime_r(&moment, &local);
        const int year = local.tm_year + 1900;
        day = platform::daysFromCivil(year, local.tm_mon + 1, local.tm_mday);
        if (year < 1980 || year > 2107)
            return 0;
        return packed(year, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                      local.tm_sec);
    }

private:
    std::optional<std::string> saved;
};

// Random moments from 1970 to 2107 in random order, after the last second a signed 32-bit count
// can hold, which is where a zone's own list of transitions ends.
std::vector<std::int64_t> hostileMoments()
{
    std::vector<std::int64_t> moments{std::int64_t(INT32_MAX)};
    std::mt19937_64 random(98);
    std::uniform_int_distribution<std::int64_t> moment(0, utcOf("UTC", 2107, 12, 30, 0, 0, 0));
    for (int i = 0; i < 3000; ++i)
        moments.push_back(moment(random));
    return moments;
}

TEST(FileTimes, CachedZonesAgreeWithTheCLibraryAfter2037)
{
    for (const char *id : {"Australia/Lord_Howe", "America/Santiago", "Atlantic/Azores",
                           "Pacific/Chatham", "Antarctica/Troll", "Pacific/Easter", "America/Nuuk",
                           "America/Scoresbysund", "Asia/Kolkata"}) {
        const CLibraryZone reference(id);
        platform::LocalTimeCache cache{QTimeZone(id)};
        for (const std::int64_t t : hostileMoments()) {
            std::int64_t day;
            ASSERT_EQ(cache.pack(t), CLibraryZone::pack(t, day)) << id << " at " << t;
            ASSERT_EQ(cache.dayNumber(t), day) << id << " at " << t;
        }
    }
}

// Whatever form TZ takes, the program's local time is the C library's: a zone file by path, the
// machine's own, a rule, a name Qt does not know (UTC to the C library).
TEST(FileTimes, EveryFormOfTzConvertsAsTheCLibraryDoes)
{
    for (const char *tz :
         {":/usr/share/zoneinfo/Europe/Berlin", "/usr/share/zoneinfo/Pacific/Chatham",
          "/etc/localtime", ":Australia/Lord_Howe", "No/Such_Zone", "CET-1CEST,M3.5.0,M10.5.0/3",
          "<+0330>-3:30", "EST5EDT"}) {
        const CLibraryZone reference(tz);
        for (const std::int64_t t : hostileMoments()) {
            std::int64_t day;
            ASSERT_EQ(platform::packLocalTime(t), CLibraryZone::pack(t, day)) << tz << " at " << t;
            ASSERT_EQ(platform::localDayNumber(t), day) << tz << " at " << t;
        }
    }
}

} // namespace
