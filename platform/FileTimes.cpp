#include "platform/FileTimes.h"

#include <QDateTime>
#include <algorithm>
#include <atomic>
#include <limits>
#include <memory>
#include <mutex>

namespace platform {

namespace {

constexpr std::int64_t secondsPerDay = 86400;
// No zone is more than 26 hours away from UTC; moments further out than that from the packable
// years never need the zone at all.
constexpr std::int64_t widestOffset = 26 * 3600;
constexpr std::int64_t firstPackable = daysFromCivil(1980, 1, 1) * secondsPerDay - widestOffset;
constexpr std::int64_t lastPackable = daysFromCivil(2108, 1, 1) * secondsPerDay + widestOffset;
// Far enough out for any file time and still inside what QDateTime can hold.
constexpr std::int64_t zoneLimit = std::int64_t(1) << 40;

std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    const std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

std::mutex zoneMutex;
QTimeZone chosenZone; // invalid: the system's
std::atomic<int> zoneGeneration{0};

QTimeZone currentZone()
{
    std::lock_guard lock(zoneMutex);
    if (chosenZone.isValid())
        return chosenZone;
    const QTimeZone system = QTimeZone::systemTimeZone();
    return system.isValid() ? system : QTimeZone(QTimeZone::utc());
}

LocalTimeCache &threadCache()
{
    thread_local std::unique_ptr<LocalTimeCache> cache;
    thread_local int generation = -1;
    const int now = zoneGeneration.load(std::memory_order_acquire);
    if (!cache || generation != now) {
        cache = std::make_unique<LocalTimeCache>(currentZone());
        generation = now;
    }
    return *cache;
}

} // namespace

void civilFromDays(std::int64_t days, int &year, int &month, int &day)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    day = int(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = int(mp < 10 ? mp + 3 : mp - 9);
    year = int(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

LocalTimeCache::LocalTimeCache(const QTimeZone &zone) : zone(zone) {}

const LocalTimeCache::Stretch &LocalTimeCache::stretchAt(std::int64_t t)
{
    if (last < stretches.size() && stretches[last].begin <= t && t < stretches[last].end)
        return stretches[last];
    auto it = std::upper_bound(stretches.begin(), stretches.end(), t,
                               [](std::int64_t v, const Stretch &s) { return v < s.begin; });
    if (it != stretches.begin() && t < std::prev(it)->end) {
        last = std::size_t(std::prev(it) - stretches.begin());
        return stretches[last];
    }

    // Not seen yet: ask the zone for the offset and for the transitions around the moment.
    const QDateTime at = QDateTime::fromSecsSinceEpoch(t, QTimeZone::utc());
    Stretch fresh{std::numeric_limits<std::int64_t>::min(),
                  std::numeric_limits<std::int64_t>::max(), zone.offsetFromUtc(at)};
    if (zone.hasTransitions()) {
        // The transition at or before t starts the stretch, the first one after t ends it.
        const auto before = zone.previousTransition(at.addSecs(1));
        if (before.atUtc.isValid())
            fresh.begin = before.atUtc.toSecsSinceEpoch();
        const auto after = zone.nextTransition(at);
        if (after.atUtc.isValid())
            fresh.end = after.atUtc.toSecsSinceEpoch();
    }
    if (fresh.begin > t || fresh.end <= t) {
        // The zone's answers do not hold together: trust only this second.
        fresh.begin = t;
        fresh.end = t + 1;
    }
    // Keep the stretches apart even if the zone data disagree with an earlier answer.
    if (it != stretches.begin())
        fresh.begin = std::max(fresh.begin, std::prev(it)->end);
    if (it != stretches.end())
        fresh.end = std::min(fresh.end, it->begin);
    it = stretches.insert(it, fresh);
    last = std::size_t(it - stretches.begin());
    return *it;
}

int LocalTimeCache::offsetAt(std::int64_t utcSeconds)
{
    return stretchAt(std::clamp(utcSeconds, -zoneLimit, zoneLimit)).offset;
}

std::uint32_t LocalTimeCache::pack(std::int64_t utcSeconds)
{
    if (utcSeconds < firstPackable || utcSeconds > lastPackable)
        return 0;
    const std::int64_t local = utcSeconds + offsetAt(utcSeconds);
    const std::int64_t days = floorDiv(local, secondsPerDay);
    const int secondOfDay = int(local - days * secondsPerDay);
    Day &date = this->days[std::size_t(days) % this->days.size()];
    if (date.number != days) {
        civilFromDays(days, date.year, date.month, date.day);
        date.number = days;
    }
    const int year = date.year, month = date.month, day = date.day;
    if (year < 1980 || year > 2107)
        return 0;
    const int hour = secondOfDay / 3600;
    const int minute = secondOfDay / 60 % 60;
    const int second = secondOfDay % 60;
    return std::uint32_t(year - 1980) << 25 | std::uint32_t(month) << 21 |
           std::uint32_t(day) << 16 | std::uint32_t(hour) << 11 | std::uint32_t(minute) << 5 |
           std::uint32_t(second / 2);
}

std::int64_t LocalTimeCache::dayNumber(std::int64_t utcSeconds)
{
    return floorDiv(utcSeconds + offsetAt(utcSeconds), secondsPerDay);
}

std::uint32_t packLocalTime(std::int64_t utcSeconds)
{
    return threadCache().pack(utcSeconds);
}

std::int64_t localDayNumber(std::int64_t utcSeconds)
{
    return threadCache().dayNumber(utcSeconds);
}

void setLocalTimeZone(const QTimeZone &zone)
{
    std::lock_guard lock(zoneMutex);
    chosenZone = zone;
    zoneGeneration.fetch_add(1, std::memory_order_release);
}

} // namespace platform
