#include "model/DiskScale.h"

#include "drives/Drives.h"

namespace {

constexpr double bytesPerStep = 1024;
// A total of this many kilobytes or more is shown in megabytes.
constexpr double megabyteThreshold = 10000;

// The unit a total in bytes is shown in.
SpaceUnit unitFor(double totalBytes)
{
    return totalBytes / bytesPerStep < megabyteThreshold ? SpaceUnit::KB : SpaceUnit::MB;
}

// Divides a pair of byte counts down to a unit.
void scaleTo(SpaceUnit unit, double &freeValue, double &totalValue)
{
    const double divisor = unit == SpaceUnit::KB ? bytesPerStep : bytesPerStep * bytesPerStep;
    freeValue /= divisor;
    totalValue /= divisor;
}

} // namespace

QString unitText(SpaceUnit unit)
{
    return unit == SpaceUnit::KB ? "KB" : "MB";
}

QList<DriveSpace> measureDrives(const QStringList &entries)
{
    QList<DriveSpace> drives;
    for (const QString &entry : entries) {
        if (entry.isEmpty() || !isDriveReady(entry[0]))
            continue;
        DriveSpace drive{entry.left(1)};
        getDriveSpace(drive.label + ":\\", drive.freeBytes, drive.totalBytes);
        drives << drive;
    }
    return drives;
}

SpaceChart spaceChart(const QList<DriveSpace> &drives, bool withTotal)
{
    SpaceChart chart;
    for (const DriveSpace &drive : drives) {
        if (drive.totalBytes >= 0) {
            chart.freeSum += drive.freeBytes;
            chart.totalSum += drive.totalBytes;
        }
    }
    chart.unit = unitFor(chart.totalSum);
    for (const DriveSpace &drive : drives) {
        double freeValue = drive.freeBytes, totalValue = drive.totalBytes;
        if (totalValue < 0)
            continue;
        scaleTo(chart.unit, freeValue, totalValue);
        chart.bars << SpaceBar{drive.label, freeValue, totalValue - freeValue};
    }
    scaleTo(chart.unit, chart.freeSum, chart.totalSum);
    if (withTotal && chart.bars.size() >= 2) {
        chart.bars << SpaceBar{"Total", chart.freeSum, chart.totalSum - chart.freeSum};
        chart.hasTotal = true;
    }
    return chart;
}
