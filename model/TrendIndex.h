#pragma once

#include "model/Trends.h"

#include <QString>
#include <vector>

// The trend index: an SQLite database in the history folder with one row per collection file,
// holding the summary the trends are drawn from, so that the trends open without reading every
// collection again. The collection files stay the record: a file added, replaced or removed is
// taken in at the next opening, and an index that is damaged or of another layout is made again
// from the files.

inline constexpr char trendIndexName[] = "trends.sqlite";
inline constexpr int trendIndexVersion = 2;

struct TrendRead
{
    std::vector<TrendPoint> points; // oldest first
    // Said once when the index could not be used (locked by another program, a folder that
    // cannot be written): the points then come from the files themselves.
    QString message;
    bool rebuilt = false; // the index was made again from every file
};

TrendRead readTrends(const QString &folder);

// The kept folders of one collection of the history, from the index when it can be used, else
// from the file itself; none when neither can be read.
std::vector<TrendFolder> readTrendFolders(const QString &folder, const QString &fileName);
