#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The figures behind a drive-space bar chart, without any widget: the main window's chart and the
// statistics window's Space page build their bars from the same rules.

// The unit a pair of byte counts is shown in: kilobytes for a total under 10000 KB, megabytes
// otherwise.
enum class SpaceUnit
{
    KB,
    MB
};

// "KB" or "MB".
QString unitText(SpaceUnit unit);

// What one drive answered: its label on the chart (the drive letter as the list spells it) and
// its capacity in bytes. A negative total means the drive did not answer.
struct DriveSpace
{
    QString label;
    double freeBytes = 0;
    double totalBytes = 0;
};

// The drives of a list of drive entries that pass the readiness test, each with its capacity, in
// list order. An entry that does not start with a letter names no drive and is passed over.
QList<DriveSpace> measureDrives(const QStringList &entries);

// One stacked bar: the free part on top of the used part, both in the chart's units.
struct SpaceBar
{
    QString label;
    double freeValue = 0;
    double usedValue = 0;
};

// The bars of a chart: one per drive that answered, each in the unit of the summed capacity like
// the axis and the figures, so that a small drive beside large ones is drawn to the same scale;
// then, when asked for, a "Total" bar as soon as two or more drives answered (also when all the
// free space lies on the last one, such as a full drive or a disc picked before a data drive).
struct SpaceChart
{
    QList<SpaceBar> bars;
    bool hasTotal = false;
    // The sums of the drives that answered, in their unit.
    SpaceUnit unit = SpaceUnit::KB;
    double freeSum = 0;
    double totalSum = 0;
};

SpaceChart spaceChart(const QList<DriveSpace> &drives, bool withTotal);
