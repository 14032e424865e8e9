#pragma once

#include "model/ReportTable.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

// The machines overview: the collection files of a folder and the folders below it (the history,
// or a folder into which collections from several machines were copied) gathered by the host
// that ran them, one row per host with the figures of its newest collection.

struct MachineRow
{
    QString host;
    QString newestFile; // the path of the host's newest collection
    QString olderFile;  // of the one before it; empty when the host has one
    QDateTime newest;   // when the newest run started
    int drives = 0;
    QString driveSet; // the letters of the newest run's walked drives, "cd"
    std::uint64_t capacity = 0, usedBytes = 0, freeBytes = 0;
    std::uint64_t files = 0;
    QStringList largestTypes; // the three extensions with the most bytes, largest first
    // Bytes per week by which the used space grew (negative: shrank), over the host's collections
    // of the same drives as the newest; none with fewer than two such runs.
    std::optional<std::int64_t> growthPerWeek;
    bool stale = false; // the newest is older than two weeks
};

// The rows, in the order of the hosts' names; files that are no collection are passed over.
// now decides which newest runs are stale.
std::vector<MachineRow> machineRows(const QString &folder, const QDateTime &now);

// The growth per week of used space, from (when, used bytes) pairs in any order, by the line that
// fits them best (model/Trends.h); none with fewer than two distinct moments.
std::optional<std::int64_t>
hostGrowthPerWeek(const std::vector<std::pair<QDateTime, std::uint64_t>> &runs);

// The overview as a table (for text and CSV) and as JSON.
ReportTable machinesTable(const std::vector<MachineRow> &rows);
QByteArray machinesJson(const std::vector<MachineRow> &rows);

// "Older than two weeks": the warning of a stale row.
QString staleWarning();
