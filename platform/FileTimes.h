#pragma once

#include <QTimeZone>
#include <array>
#include <cstdint>
#include <limits>
#include <vector>

namespace platform {

// File times travel as whole seconds since 1 January 1970 UTC; 0 means the file system keeps no
// such time. Every moment before 1980 packs to 0 anyway, so 0 needs no flag of its own.

// Packed local date-time: the date in the upper 16 bits (year - 1980 in bits 9-15, month in 5-8,
// day in 0-4), the time in the lower 16 (hour in 11-15, minute in 5-10, seconds / 2 in 0-4).
// Years 1980 to 2107 only; any other moment gives 0, which means "not recorded".
std::uint32_t packLocalTime(std::int64_t utcSeconds);

// Days from 1 January 1970 to the local date of a moment (negative before it).
std::int64_t localDayNumber(std::int64_t utcSeconds);

class LocalTimeCache;
// The converter behind the two above for the calling thread: a caller with many moments in a row
// (the files of one folder) fetches it once. It serves until the thread next converts through
// the two above after the zone was changed.
LocalTimeCache &localTimes();

// The zone of the conversions above: the system's unless a test set another (an invalid zone puts
// the system's back, read afresh). The system's zone is the one the C library uses, for every
// form TZ may take, so that the program agrees with every other program on the machine.
void setLocalTimeZone(const QTimeZone &zone);

// Days from 1 January 1970 to a date of the proleptic Gregorian calendar.
constexpr std::int64_t daysFromCivil(int year, int month, int day)
{
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The date of a day number (the inverse of daysFromCivil).
void civilFromDays(std::int64_t days, int &year, int &month, int &day);

// Converts moments to local time the cheap way: the offset is fetched from the zone once per
// stretch between two of its transitions and then reused, which is exact because the offset
// cannot change inside such a stretch. Only a stretch the zone vouches for at both ends is kept;
// a moment it cannot place so is converted on its own. One instance per thread.
class LocalTimeCache
{
public:
    explicit LocalTimeCache(const QTimeZone &zone);
    // Following the C library: the zone (invalid when Qt knows none that matches) only suggests
    // the stretches, each of which must agree with the C library at the moment asked and at both
    // of its ends; otherwise the C library converts that moment alone.
    static LocalTimeCache followingCLibrary(const QTimeZone &zone);

    std::uint32_t pack(std::int64_t utcSeconds);
    std::int64_t dayNumber(std::int64_t utcSeconds);

private:
    int offsetAt(std::int64_t utcSeconds);
    struct Stretch
    {
        std::int64_t begin; // first second with this offset
        std::int64_t end;   // first second after it
        int offset;
    };
    const Stretch &stretchAt(std::int64_t utcSeconds);
    Stretch zoneStretch(std::int64_t utcSeconds) const;
    bool agreesWithCLibrary(const Stretch &stretch, std::int64_t utcSeconds) const;

    QTimeZone zone;
    bool fixedOffset; // the zone reports no transition at all, from the first moment to the last
    bool followCLibrary = false;
    Stretch single{0, 0, 0};        // a moment converted on its own, never kept
    std::vector<Stretch> stretches; // sorted by begin, never overlapping
    std::size_t last = 0;           // the stretch of the previous call
    Stretch recent{0, 0, 0};        // a copy of the last kept stretch asked for
    // Dates of recent days: the three times of one file, and files of one run, share few days
    // (a few years of days in all).
    struct Day
    {
        std::int64_t number = std::numeric_limits<std::int64_t>::min();
        int year = 0, month = 0, day = 0;
    };
    std::array<Day, 1024> days;
};

} // namespace platform
