#pragma once

#include "model/Collection.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// The history seen over time: each collection's summary figures, the trend of each drive's used
// space and how long until it is full, and which types and folders grew.

// One drive of a collection, in short.
struct TrendDrive
{
    QChar letter;
    QString mountPoint; // where its folders lie
    std::uint64_t capacity = 0;
    std::uint64_t freeBytes = 0;
    std::int64_t files = 0; // what the walk counted on it
    std::uint64_t bytes = 0;
    bool accessDates = true; // the drive updates access dates
    std::uint64_t usedBytes() const { return capacity > freeBytes ? capacity - freeBytes : 0; }
    bool operator==(const TrendDrive &) const = default;
};

struct TrendType
{
    QString extension;
    std::int64_t files = 0;
    std::uint64_t bytes = 0;
    bool operator==(const TrendType &) const = default;
};

struct TrendFolder
{
    QChar letter;
    QByteArray path; // below the drive's root, as FolderTotal keeps it
    std::int64_t files = 0;
    std::uint64_t bytes = 0;
    bool operator==(const TrendFolder &) const = default;
};

// The summary of one collection that the trends are drawn from.
struct TrendPoint
{
    QString fileName; // the collection's file name in the history folder
    QString host;     // the machine that ran it
    QDateTime started;
    std::vector<TrendDrive> drives;
    std::vector<TrendType> types;
    std::array<double, 13> sizeBytes{};
    std::array<double, 10> ageModifiedBytes{};
    std::array<double, 10> ageAccessedBytes{};
    std::array<double, 10> ageCreatedBytes{};

    QString driveSet() const; // "cd"
    bool operator==(const TrendPoint &) const = default;
};

TrendPoint trendPointOf(const Collection &collection, const QString &fileName);
// The kept folders' totals of a collection. They outweigh the rest of its summary by far and are
// wanted of two collections at a time, so they are kept and read apart from the points.
std::vector<TrendFolder> trendFoldersOf(const Collection &collection);

// Every collection of a history folder as trend points, oldest first, read from the files
// themselves. Files that are not readable collections are passed over.
std::vector<TrendPoint> readTrendPoints(const QString &folder);

// The points of one drive set (all when empty) that started at since or later.
std::vector<TrendPoint> trendPointsOf(const std::vector<TrendPoint> &points,
                                      const QString &driveSet, const QDateTime &since);

// The share of the bytes of a point (0 to 1) whose files were not modified (or not accessed) for
// more than a year; nothing when the point counted no bytes, or its drives keep no access dates.
std::optional<double> coldModifiedShare(const TrendPoint &point);
std::optional<double> coldAccessedShare(const TrendPoint &point);

// One drive's used bytes at the start of each collection.
struct UsedSample
{
    QDateTime at;
    double usedBytes = 0;
};
std::vector<UsedSample> usedSamples(const std::vector<TrendPoint> &points, QChar letter);

// The least-squares growth in bytes a week of the samples, when there are at least two apart in
// time.
std::optional<double> growthPerWeek(const std::vector<UsedSample> &samples);

// How a drive fills: the line through the used bytes of the last 90 days' collections (at least
// three, spread over at least 7 days), and where it meets the capacity.
inline constexpr int forecastDays = 90;
inline constexpr int forecastMinimumRuns = 3;
inline constexpr int forecastMinimumSpanDays = 7;

struct Forecast
{
    enum class State
    {
        TooFew,
        NotGrowing,
        Growing
    } state = State::TooFew;
    double bytesPerWeek = 0;
    QDateTime lineStart;    // the fitted line: used bytes lineUsed at lineStart, rising by
    double lineUsed = 0;    // bytesPerWeek
    QDateTime full;         // where the line meets the capacity
    QDateTime fullEarliest; // the same for the line moved up and down by the samples' spread
    QDateTime fullLatest;
};
Forecast forecastOf(const std::vector<UsedSample> &samples, std::uint64_t capacity);

// "D: grows by 1.2 GB a week; full in about 7 months (June 2027)", "D: is not growing" or "D: too
// few collections for a forecast", the distance counted from today; and how sure it is, as the
// dates the line moved up and down by the spread of the collections around it meets the capacity:
// "full between March and August 2027", "full between 3 and 17 March 2027".
QString forecastText(QChar letter, const Forecast &forecast, const QDate &today);
QString forecastRangeText(const Forecast &forecast);

// Bytes as "1.2 GB" (units of 1024).
QString bytesText(double bytes);

// A row of the growth tables: a type or a folder, its bytes at the first and the latest point
// that has it (0 where it is missing), and the change, also per month of the period.
struct GrowthRow
{
    QString name;
    QChar letter; // the folder's drive; none for a type
    QByteArray path;
    std::uint64_t first = 0;
    std::uint64_t latest = 0;
    double change() const { return double(latest) - double(first); }
    double perMonth = 0;
};
// Largest growers first.
std::vector<GrowthRow> typeGrowth(const std::vector<TrendPoint> &points);
// The folders of the first and the latest point of a period.
std::vector<GrowthRow> folderGrowth(const std::vector<TrendFolder> &first,
                                    const std::vector<TrendFolder> &latest, const QDateTime &from,
                                    const QDateTime &to);
// The extensions with the most bytes in the latest point, at most count of them.
QStringList topTypes(const std::vector<TrendPoint> &points, int count);
