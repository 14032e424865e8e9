#pragma once

#include "model/ReportTable.h"
#include "model/TrendIndex.h"
#include "model/Trends.h"

#include <QByteArray>
#include <QDate>
#include <vector>

// The trends of one drive set over a period as tables, the same for the trends window, its
// exports and the command line.

enum class TrendPeriod
{
    All,
    TwoYears,
    OneYear,
    Days90,
    Days30
};
inline constexpr int trendPeriodCount = 5;
QString trendPeriodTitle(TrendPeriod period); // "All", "Two years", ...
// The points of a drive set within the period, counted back from its newest collection.
std::vector<TrendPoint> pointsInPeriod(const std::vector<TrendPoint> &all, const QString &driveSet,
                                       TrendPeriod period);

// The drive sets of the points, newest first ("cd", "c").
QStringList trendDriveSets(const std::vector<TrendPoint> &points);

// One forecast per drive of the newest point.
struct DriveForecast
{
    QChar letter;
    std::uint64_t capacity = 0;
    Forecast forecast;
};
std::vector<DriveForecast> driveForecasts(const std::vector<TrendPoint> &points);

enum class TrendTab
{
    Space,
    Types,
    Folders,
    Ages,
    Forecast
};
inline constexpr int trendTabCount = 5;
QString trendTabName(TrendTab tab);  // "space", ... as a command line names them
QString trendTabTitle(TrendTab tab); // "Space", ...

// The Folders table reads the folders of the first and the latest point from the history folder.
ReportTable trendTable(TrendTab tab, const std::vector<TrendPoint> &points, const QDate &today,
                       const QString &historyFolder);

// Every table as one JSON object, keyed by the tables' names, each an array of rows keyed by the
// headings; numbers stay numbers.
QByteArray trendJson(const std::vector<TrendPoint> &points, const QDate &today,
                     const QString &historyFolder);
