#include "engine/Classification.h"

#include "helpers/NameText.h"
#include "platform/FileTimes.h"

#include <cstdlib>

namespace {

struct Unpacked
{
    int year, month, day, hour, minute, second;
};

bool isLeap(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Whether the time half of a packed date-time is a time of day: hour, minute, two-second count.
bool hasValidTime(std::uint32_t packed)
{
    return (packed >> 11 & 31) <= 23 && (packed >> 5 & 63) <= 59 && (packed & 31) <= 29;
}

// Whether the date half of a packed date-time names a day of the calendar. The leap year rule
// only for 29 February: every stamp of a walk comes through here.
bool hasValidDate(std::uint32_t packed)
{
    static constexpr unsigned monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const unsigned month = packed >> 21 & 15, day = packed >> 16 & 31;
    if (month < 1 || month > 12 || day < 1)
        return false;
    return day <= monthDays[month - 1] ||
           (month == 2 && day == 29 && isLeap(int(packed >> 25) + 1980));
}

// The fields of a packed date-time; any field out of its range makes it 1 January 1980, 00:00.
Unpacked unpack(std::uint32_t packed)
{
    if (!hasValidDate(packed) || !hasValidTime(packed))
        return {1980, 1, 1, 0, 0, 0};
    return {int(packed >> 25) + 1980, int(packed >> 21 & 15), int(packed >> 16 & 31),
            int(packed >> 11 & 31),   int(packed >> 5 & 63),  int(packed & 31) * 2};
}

} // namespace

int sizeClass(std::uint64_t size)
{
    std::uint64_t bound = 16384;
    for (int index = 1; index < 12; ++index, bound *= 2)
        if (size <= bound)
            return index;
    return 12;
}

int ageToIndex(std::int64_t days)
{
    if (days < 0)
        return 0;
    static constexpr std::int64_t upper[] = {7, 30, 60, 120, 365, 730, 1095, 1460};
    for (int i = 0; i < 8; ++i)
        if (days <= upper[i])
            return i + 1;
    return 9;
}

std::int64_t fileAgeDays(std::uint32_t packed, std::int64_t today)
{
    if (packed == 0)
        return -1;
    const Unpacked u = unpack(packed);
    return std::llabs(platform::daysFromCivil(u.year, u.month, u.day) - today);
}

int AgeClasses::indexOf(std::uint32_t packed, std::int64_t today)
{
    // An invalid time makes the whole stamp 1 January 1980: only valid times leave the age to the
    // date alone.
    if (packed == 0 || !hasValidTime(packed))
        return ageToIndex(fileAgeDays(packed, today));
    if (today != knownFor) {
        byDate.assign(std::size_t(1) << 16, -1);
        knownFor = today;
    }
    std::int8_t &known = byDate[packed >> 16];
    if (known < 0)
        known = std::int8_t(ageToIndex(fileAgeDays(packed, today)));
    return known;
}

int halfHourSlot(std::uint32_t packed)
{
    if (packed == 0)
        return -1;
    if (!hasValidDate(packed) || !hasValidTime(packed))
        return 0;
    return int(2 * (packed >> 11 & 31) + ((packed >> 5 & 63) >= 30 ? 1 : 0));
}

QString extractExtension(const QString &row)
{
    const qsizetype tab = row.indexOf(u'\t');
    if (tab < 1)
        return QString();
    return escapedName(lowerName(nameBytes(QStringView(row).mid(1, tab - 1))));
}

std::string_view fileExtension(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}
