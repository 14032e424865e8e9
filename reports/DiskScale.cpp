#include "reports/DiskScale.h"

#include "drives/Drives.h"

namespace {

constexpr double bytesPerStep = 1024;
// A total of this many kilobytes or more is shown in megabytes.
constexpr double megabyteThreshold = 10000;

} // namespace

QString unitText(SpaceUnit unit)
{
    return unit == SpaceUnit::KB ? "KB" : "MB";
}

SpaceUnit unitFor(double totalBytes)
{
    return totalBytes / bytesPerStep < megabyteThreshold ? SpaceUnit::KB : SpaceUnit::MB;
}

void scaleTo(SpaceUnit unit, double &freeValue, double &totalValue)
{
    const double divisor = unit == SpaceUnit::KB ? bytesPerStep : bytesPerStep * bytesPerStep;
    freeValue /= divisor;
    totalValue /= divisor;
}

SpaceUnit scaleToUnits(double &freeValue, double &totalValue)
{
    const SpaceUnit unit = unitFor(totalValue);
    scaleTo(unit, freeValue, totalValue);
    return unit;
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

SpaceChart spaceChart(const QList<DriveSpace> &drives, BarUnits units, TotalBar totalBar)
{
    SpaceChart chart;
    for (const DriveSpace &drive : drives) {
        if (drive.totalBytes >= 0) {
            chart.freeSum += drive.freeBytes;
            chart.totalSum += drive.totalBytes;
        }
    }
    const SpaceUnit summedUnit = unitFor(chart.totalSum);
    // The free value of the last drive that answered, as far as it got: in its bar's unit when
    // it was plotted, in bytes when its total was negative.
    double lastFree = 0;
    for (const DriveSpace &drive : drives) {
        double freeValue = drive.freeBytes, totalValue = drive.totalBytes;
        lastFree = freeValue;
        if (totalValue < 0)
            continue;
        if (units == BarUnits::OwnTotal)
            scaleToUnits(freeValue, totalValue);
        else
            scaleTo(summedUnit, freeValue, totalValue);
        lastFree = freeValue;
        chart.bars << SpaceBar{drive.label, freeValue, totalValue - freeValue};
    }
    chart.unit = scaleToUnits(chart.freeSum, chart.totalSum);
    const bool withTotal = totalBar == TotalBar::ForSeveralDrives ? chart.bars.size() >= 2
                           : totalBar == TotalBar::WhenSumDiffers ? chart.freeSum != lastFree
                                                                  : false;
    if (withTotal) {
        chart.bars << SpaceBar{"Total", chart.freeSum, chart.totalSum - chart.freeSum};
        chart.hasTotal = true;
    }
    return chart;
}
