#pragma once

#include <QString>
#include <cstdint>
#include <string_view>
#include <vector>

// The rules that turn one file's size and time stamps into the indexes of the report tables.

// Size class 1 to 12: up to 16 KB is 1, each class up to twice the bound of the one before, over
// 16 MB is 12. Upper bounds belong to their class.
int sizeClass(std::uint64_t size);

// Age class 0 to 9 of an age in days; a negative age (not recorded) is 0.
int ageToIndex(std::int64_t days);

// Days between the date of a packed local date-time and today (a local day number, see
// platform::localDayNumber), either way round; -1 for 0 (not recorded). Fields that form no valid
// date and time count as 1 January 1980, 00:00.
std::int64_t fileAgeDays(std::uint32_t packed, std::int64_t today);

// The age class of packed stamps against one today, as ageToIndex(fileAgeDays(...)) gives it. A
// walk meets few dates and many files, so each date's class is worked out once per today.
class AgeClasses
{
public:
    int indexOf(std::uint32_t packed, std::int64_t today);

private:
    std::int64_t knownFor = INT64_MIN; // the today of the classes in byDate
    std::vector<std::int8_t> byDate;   // by the date half of a stamp; -1 not yet known
};

// Half-hour slot 0 to 47 of a packed local date-time: twice the hour, plus 1 from minute 30 on;
// -1 for 0 (not recorded). Invalid fields count as 00:00 and so land in slot 0.
int halfHourSlot(std::uint32_t packed);

// The extension of a picked row ("*.doc", a tab, a description) in lower case: ".doc". The row's
// text is read as nameBytes reads it and the extension given as escapedName shows it, so that
// ".\xFF" stays the one byte it names. A row without a tab gives the empty text.
QString extractExtension(const QString &row);

// The extension of a file name (its bytes): from its last "." to the end, dot included, or empty
// when it has none.
std::string_view fileExtension(std::string_view name);
