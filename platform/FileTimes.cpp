#include "platform/FileTimes.h"

#include <QDateTime>
#include <QFileInfo>
#include <algorithm>
#include <atomic>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <time.h>

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

// The zone files the C library reads a TZ path or name from.
QString zoneFolder()
{
    const QString folder = qEnvironmentVariable("TZDIR");
    return folder.isEmpty() ? QStringLiteral("/usr/share/zoneinfo") : folder;
}

// The zone Qt knows under the name of a zone file, if any. The "right" files count leap seconds,
// which Qt's zones never do.
QTimeZone zoneOfFile(const QString &path)
{
    const QString file = QFileInfo(path).canonicalFilePath();
    const QString folder = QFileInfo(zoneFolder()).canonicalFilePath() + u'/';
    if (file.isEmpty() || folder.size() <= 1 || !file.startsWith(folder))
        return QTimeZone();
    QString id = file.mid(folder.size());
    if (id.startsWith(QStringLiteral("right/")))
        return QTimeZone();
    if (id.startsWith(QStringLiteral("posix/")))
        id = id.mid(6);
    return QTimeZone(id.toUtf8());
}

// The Qt zone that matches what TZ tells the C library, when there is one. Qt reads a plain zone
// name as the C library does, but neither a path nor the ":" in front of either.
QTimeZone zoneOfTz()
{
    if (!qEnvironmentVariableIsSet("TZ"))
        return zoneOfFile(QStringLiteral("/etc/localtime"));
    QString tz = qEnvironmentVariable("TZ");
    if (tz.startsWith(u':'))
        tz = tz.mid(1);
    if (tz.isEmpty())
        return QTimeZone(QTimeZone::utc());
    if (tz.startsWith(u'/'))
        return zoneOfFile(tz);
    if (!tz.contains(QStringLiteral("..")) && QFileInfo::exists(zoneFolder() + u'/' + tz))
        return zoneOfFile(zoneFolder() + u'/' + tz);
    return QTimeZone(); // a rule, or a name no file has: only the C library knows
}

LocalTimeCache &threadCache()
{
    thread_local std::unique_ptr<LocalTimeCache> cache;
    thread_local int generation = -1;
    const int now = zoneGeneration.load(std::memory_order_acquire);
    if (!cache || generation != now) {
        std::lock_guard lock(zoneMutex);
        cache = std::make_unique<LocalTimeCache>(
            chosenZone.isValid() ? LocalTimeCache(chosenZone)
                                 : LocalTimeCache::followingCLibrary(zoneOfTz()));
        generation = now;
    }
    return *cache;
}

// Whether a zone names no transition within the moments converted: one offset serves them all.
bool hasFixedOffset(const QTimeZone &zone)
{
    if (!zone.isValid() || !zone.hasTransitions())
        return true;
    const auto utc = [](std::int64_t t) {
        return QDateTime::fromSecsSinceEpoch(t, QTimeZone::utc());
    };
    return !zone.nextTransition(utc(-zoneLimit)).atUtc.isValid() &&
           !zone.previousTransition(utc(zoneLimit)).atUtc.isValid();
}

// The C library's offset from UTC at a moment, in seconds.
std::optional<int> cLibraryOffset(std::int64_t utcSeconds)
{
    const time_t moment = time_t(utcSeconds);
    struct tm local;
    if (!::localtime_r(&moment, &local))
        return std::nullopt;
    return int(local.tm_gmtoff);
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

LocalTimeCache::LocalTimeCache(const QTimeZone &zone)
    : zone(zone), fixedOffset(hasFixedOffset(zone))
{}

LocalTimeCache LocalTimeCache::followingCLibrary(const QTimeZone &zone)
{
    ::tzset(); // TZ may have changed since the C library last looked
    LocalTimeCache cache(zone);
    cache.followCLibrary = true;
    return cache;
}

// The stretch around a moment as the zone tells it. A zone that reports no next transition has
// not said there is none: its list may just end there, or it may have failed at that moment. What
// it did say, that none came between the last one and this moment, is all the stretch holds; it
// grows as later moments are asked. A single second when the zone names no transition at all.
LocalTimeCache::Stretch LocalTimeCache::zoneStretch(std::int64_t t) const
{
    const QDateTime at = QDateTime::fromSecsSinceEpoch(t, QTimeZone::utc());
    Stretch fresh{std::numeric_limits<std::int64_t>::min(),
                  std::numeric_limits<std::int64_t>::max(), zone.offsetFromUtc(at)};
    if (fixedOffset)
        return fresh;
    // The transition at or before t starts the stretch, the first one after t ends it.
    const auto before = zone.previousTransition(at.addSecs(1));
    const auto after = zone.nextTransition(at);
    if (!before.atUtc.isValid() && !after.atUtc.isValid())
        return {t, t + 1, fresh.offset};
    if (before.atUtc.isValid())
        fresh.begin = before.atUtc.toSecsSinceEpoch();
    fresh.end = after.atUtc.isValid() ? after.atUtc.toSecsSinceEpoch() : t + 1;
    const bool consistent = !before.atUtc.isValid() || before.offsetFromUtc == fresh.offset;
    if (fresh.begin > t || fresh.end <= t || !consistent)
        return {t, t + 1, fresh.offset}; // the zone's answers do not hold together
    return fresh;
}

bool LocalTimeCache::agreesWithCLibrary(const Stretch &stretch, std::int64_t t) const
{
    for (const std::int64_t probe : {t, stretch.begin, stretch.end - 1}) {
        if (probe == std::numeric_limits<std::int64_t>::min() ||
            probe == std::numeric_limits<std::int64_t>::max() - 1)
            continue;
        if (cLibraryOffset(probe) != stretch.offset)
            return false;
    }
    return true;
}

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
    Stretch fresh = zone.isValid() ? zoneStretch(t) : Stretch{t, t + 1, 0};
    if (followCLibrary && (!zone.isValid() || !agreesWithCLibrary(fresh, t)))
        fresh = {t, t + 1, cLibraryOffset(t).value_or(0)};
    if (fresh.end == fresh.begin + 1) {
        single = fresh; // not kept: kept, such moments would cost memory per file
        return single;
    }
    // Keep the stretches apart even if the zone data disagree with an earlier answer.
    if (it != stretches.begin())
        fresh.begin = std::max(fresh.begin, std::prev(it)->end);
    if (it != stretches.end())
        fresh.end = std::min(fresh.end, it->begin);
    // A stretch that only grows an earlier one with the same offset joins it, so that moments
    // after a zone's last transition cost one stretch, not one each.
    if (it != stretches.begin() && std::prev(it)->end == fresh.begin &&
        std::prev(it)->offset == fresh.offset) {
        std::prev(it)->end = fresh.end;
        last = std::size_t(std::prev(it) - stretches.begin());
        return stretches[last];
    }
    it = stretches.insert(it, fresh);
    last = std::size_t(it - stretches.begin());
    return *it;
}

int LocalTimeCache::offsetAt(std::int64_t utcSeconds)
{
    const Stretch &stretch = stretchAt(std::clamp(utcSeconds, -zoneLimit, zoneLimit));
    // A moment converted on its own vouches for no stretch around it.
    if (&stretch != &single)
        recent = stretch;
    return stretch.offset;
}

std::uint32_t LocalTimeCache::pack(std::int64_t utcSeconds)
{
    if (utcSeconds < firstPackable || utcSeconds > lastPackable)
        return 0;
    // The stretch of the moment before is asked first: a walk's times fall mostly in one.
    const int offset = utcSeconds >= recent.begin && utcSeconds < recent.end ? recent.offset
                                                                             : offsetAt(utcSeconds);
    const std::int64_t local = utcSeconds + offset;
    const std::int64_t days = floorDiv(local, secondsPerDay);
    const auto secondOfDay = unsigned(local - days * secondsPerDay);
    Day &date = this->days[std::size_t(days) % this->days.size()];
    if (date.number != days) {
        civilFromDays(days, date.year, date.month, date.day);
        date.number = days;
    }
    const int year = date.year, month = date.month, day = date.day;
    if (year < 1980 || year > 2107)
        return 0;
    const unsigned minutes = secondOfDay / 60;
    const unsigned hour = minutes / 60;
    const unsigned minute = minutes - 60 * hour;
    const unsigned second = secondOfDay - 60 * minutes;
    return std::uint32_t(year - 1980) << 25 | std::uint32_t(month) << 21 |
           std::uint32_t(day) << 16 | hour << 11 | minute << 5 | second / 2;
}

std::int64_t LocalTimeCache::dayNumber(std::int64_t utcSeconds)
{
    return floorDiv(utcSeconds + offsetAt(utcSeconds), secondsPerDay);
}

LocalTimeCache &localTimes()
{
    return threadCache();
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
