#pragma once

#include "model/DiskScale.h"
#include "model/ReportTable.h"
#include "model/RunFacts.h"
#include "model/TypeListing.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

struct Accumulators;

// The report model: every figure the ten report pages show, worked out from a run's accumulators
// and the drives' space, without any widget. Figures are numbers (bytes and counts as 64-bit
// integers, shares in percent); the pages, the exports and the command line make their texts
// from them, and sort, total and slice on the numbers.
//
// Each page has its figures in a plain struct, made by a free function from the accumulators
// (the pages use these), and the same figures as a ReportTable for anything that walks pages
// alike (ReportModel::table). ReportModel gathers all of them for one run.
//
//   Types      TypeListing (model/TypeListing.h): rows in the run table's order, totals, sorts,
//              the pies' twelve largest and "Other", the line about longer extensions
//   Sizes      sizeClasses: the twelve size classes
//   Access ... ageClasses: the ten age classes of one date; the Combined page puts the three
//              side by side
//   Overhang   overhangFigures: slack per cluster size, its share, the drive's own cluster size
//   Attribute  attributeFigures: counts, bytes and their shares of the four attributes
//   Time       timeFigures: files per half hour of the three times
//   Space      spaceFigures: capacity, free and used bytes per drive and in sum; the bar chart's
//              scaling to KB or MB is spaceChart (model/DiskScale.h)

// Files and bytes of one class of a listing, with its label.
struct ClassFigures
{
    QString label;
    std::uint64_t bytes = 0;
    std::uint64_t files = 0;
};

// Size classes 1 to 12 ("0 - 16K" to "Over 16MB"), smallest first.
QString sizeClassLabel(int sizeClass);
std::vector<ClassFigures> sizeClasses(const Accumulators &results);

// The three dates a file carries; the age classes 0 to 9 ("Not recorded" to "Over 4 years").
enum class DateKind
{
    Accessed,
    Created,
    Modified
};
QString ageClassLabel(int ageClass);
// The heading of a date's listing: "Accessed Date", "Created Date", "Modified Date".
QString dateCaption(DateKind date);
// Age classes 0 to 9 of one date, in class order.
std::vector<ClassFigures> ageClasses(const Accumulators &results, DateKind date);

// Cluster slack of a one-drive run for the cluster sizes 4K, 8K, 16K, 32K and 64K (rows 0 to 4).
struct OverhangFigures
{
    bool filled = false; // the run classified files with some bytes; else the page has nothing
    std::uint64_t totalBytes = 0;
    std::uint64_t filesFound = 0;
    std::array<std::uint64_t, 5> wasted{};
    // The share of slack in the space the files would take with clusters of the row's size.
    std::array<double, 5> percentWasted{};
    int clusterRow = -1; // the row of the drive's own cluster size; -1 for any other size

    // The files' bytes and the slack of the drive's own cluster size; the total alone when its
    // cluster size is not one of the five.
    std::uint64_t spaceUsed() const;
};
// The row of a cluster size in bytes, 0 for 4096 to 4 for 65536; -1 for any other size.
int clusterRowOf(std::int64_t clusterSize);
// The cluster size the Overhang page points at for a drive: above 2 GiB the FAT32 default for
// its capacity, whatever its file system; up to 2 GiB the volume's own.
std::int64_t clusterSizeFor(std::uint64_t capacity, std::uint64_t volumeCluster);
// Whether clusterSizeFor reads the volume's own cluster size for a drive of this capacity; a live
// drive is asked for it only then.
bool usesVolumeCluster(std::uint64_t capacity);
// The cluster size the Overhang page points at for a drive as a run's facts keep it.
std::int64_t clusterSizeOf(const DriveFacts &drive);
// The same for a run: its one drive's; 0 for a run of several drives, which has no Overhang page.
std::int64_t runClusterSize(const std::vector<DriveFacts> &drives);
OverhangFigures overhangFigures(const Accumulators &results, std::int64_t clusterSize);
// The bytes of every file that passed the filter: exact, and held at the largest 64-bit number
// rather than wrapped past it.
std::uint64_t totalBytes(const Accumulators &results);
// Bytes in the unit of the index: 0 KB, 1 MB, 2 GB, 3 TB, 4 PB, 5 EB: "5 KB", "3 MB".
QString bytesInUnit(double bytes, std::size_t unit);
constexpr std::size_t byteUnitCount = 6;
// Bytes in kilobytes, or in megabytes when unitChooser is a megabyte or more: "5 KB", "3 MB".
QString kilobytesOrMegabytes(double bytes, double unitChooser);
// "Actual space used 8 KB": the files' bytes with the slack of the drive's own cluster size, in
// the unit of the index.
QString actualSpaceUsedText(const OverhangFigures &figures, std::size_t unit);

// The four attributes, each file counted under every one it carries.
struct AttributeFigures
{
    enum Row
    {
        Hidden,
        ReadOnly,
        System,
        Archive
    };
    std::array<std::uint64_t, 4> files{};
    std::array<std::uint64_t, 4> bytes{};
    // Shares of the sums over the four rows (not of all files): a file with two attributes
    // counts twice. All 0 while the sum is 0.
    std::array<double, 4> fileShare{};
    std::array<double, 4> byteShare{};
    bool fileSharesShown = false; // the sum of files is above 0
    bool byteSharesShown = false;
};
QString attributeLabel(int row); // "Hidden", "Read-only", "System", "Archive"
AttributeFigures attributeFigures(const Accumulators &results);

// Files per half hour of the day (slot 0 is 00:00 to 00:29) for each of the three times.
struct TimeFigures
{
    std::array<std::uint64_t, 48> modified{};
    std::array<std::uint64_t, 48> created{};
    std::array<std::uint64_t, 48> accessed{};
    // File systems that keep only the day of the last access give no access times at all.
    bool accessShown = false;
};
// The start of a slot in the locale's short time format, without seconds.
QString slotLabel(int slot);
TimeFigures timeFigures(const Accumulators &results);

// Capacity of drives in bytes, each and in sum.
struct SpaceDriveFigures
{
    QString label; // the drive letter as the drive list gives it
    QString mountPoint;
    std::uint64_t capacity = 0;
    std::uint64_t freeBytes = 0;

    std::uint64_t usedBytes() const { return capacity > freeBytes ? capacity - freeBytes : 0; }
    double freePercent() const; // 0 without capacity
};
struct SpaceFigures
{
    std::vector<SpaceDriveFigures> drives;
    SpaceDriveFigures total; // labelled "Total"
};
// From the drives a run walked, or from drives measured now (model/DiskScale.h); drives that did
// not answer are left out.
SpaceFigures spaceFigures(const std::vector<DriveFacts> &drives);
SpaceFigures spaceFigures(const QList<DriveSpace> &drives);

// Every page's figures of one run.
class ReportModel
{
public:
    // The drives are those the run walked, with the space they had; clusterSize is the one the
    // Overhang page pointed at for a one-drive run (0 when not known).
    explicit ReportModel(const Accumulators &results, const std::vector<DriveFacts> &drives = {},
                         std::int64_t clusterSize = 0);

    std::uint64_t filesProcessed = 0; // files met, whatever their type
    std::uint64_t filesFound = 0;     // files that passed the type filter

    const TypeListing &types() const { return typeListing; }
    const std::vector<ClassFigures> &sizes() const { return sizeList; }
    const std::vector<ClassFigures> &ages(DateKind date) const { return ageLists[int(date)]; }
    const OverhangFigures &overhang() const { return slack; }
    const AttributeFigures &attributes() const { return attributeList; }
    const TimeFigures &times() const { return timeList; }
    const SpaceFigures &space() const { return spaceList; }

    // A page's figures as its listing shows them (the Space page: one row per drive and the
    // total; the Overhang page: its five rows; the Time page: the 48 slots), numbers unformatted.
    ReportTable table(ReportPageId page) const;

private:
    ReportTable classTable(ReportPageId page, const QString &caption,
                           const std::vector<ClassFigures> &classes, bool lastClassFirst) const;
    ReportTable combinedTable() const;
    ReportTable overhangTable() const;
    ReportTable attributeTable() const;
    ReportTable timeTable() const;
    ReportTable spaceTable() const;

    TypeListing typeListing;
    std::vector<ClassFigures> sizeList;
    std::array<std::vector<ClassFigures>, 3> ageLists;
    OverhangFigures slack;
    AttributeFigures attributeList;
    TimeFigures timeList;
    SpaceFigures spaceList;
};
