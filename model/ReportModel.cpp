#include "model/ReportModel.h"

#include "engine/Accumulators.h"
#include "helpers/Helpers.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTime>
#include <cmath>

namespace {

constexpr double KB = 1024;
constexpr double MB = 1048576;
constexpr std::uint64_t GiB = 1073741824;
constexpr std::int64_t smallestCluster = 4096;

// A sum the accumulators keep as a double (always a whole number) as an integer.
std::uint64_t whole(double value)
{
    if (!(value > 0))
        return 0;
    if (value >= 18446744073709551616.0)
        return UINT64_MAX;
    return std::uint64_t(std::round(value));
}

using AgeTable = std::array<double, 10>;

const AgeTable &ageFiles(const Accumulators &r, DateKind date)
{
    return date == DateKind::Accessed  ? r.ageAccessedFiles
           : date == DateKind::Created ? r.ageCreatedFiles
                                       : r.ageModifiedFiles;
}

const AgeTable &ageBytes(const Accumulators &r, DateKind date)
{
    return date == DateKind::Accessed  ? r.ageAccessedBytes
           : date == DateKind::Created ? r.ageCreatedBytes
                                       : r.ageModifiedBytes;
}

template <std::size_t N> std::array<std::uint64_t, N> wholes(const std::array<double, N> &values)
{
    std::array<std::uint64_t, N> result{};
    for (std::size_t i = 0; i < N; ++i)
        result[i] = whole(values[i]);
    return result;
}

ReportCell text(const QString &value)
{
    return ReportCell::ofText(value);
}

ReportCell integer(std::uint64_t value)
{
    return ReportCell::ofInteger(value);
}

ReportCell percentage(double value)
{
    return ReportCell::ofPercentage(value);
}

} // namespace

QString sizeClassLabel(int sizeClass)
{
    static const QStringList labels{"0 - 16K",     "16K - 32K",   "32K - 64K",  "64K - 128K",
                                    "128K - 256K", "256K - 512K", "512K - 1MB", "1MB - 2MB",
                                    "2MB - 4MB",   "4MB - 8MB",   "8MB - 16MB", "Over 16MB"};
    return labels.value(sizeClass - 1);
}

std::vector<ClassFigures> sizeClasses(const Accumulators &results)
{
    std::vector<ClassFigures> classes;
    for (std::size_t k = 1; k <= 12; ++k)
        classes.push_back(
            {sizeClassLabel(int(k)), whole(results.sizeBytes[k]), whole(results.sizeFiles[k])});
    return classes;
}

QString ageClassLabel(int ageClass)
{
    static const QStringList labels{
        "Not recorded",   "<= 7 days",   "8 - 30 days", "31 - 60 days", "61 - 120 days",
        "121 - 365 days", "1 - 2 years", "2 - 3 years", "3 - 4 years",  "Over 4 years"};
    return labels.value(ageClass);
}

QString dateCaption(DateKind date)
{
    return date == DateKind::Accessed  ? QStringLiteral("Accessed Date")
           : date == DateKind::Created ? QStringLiteral("Created Date")
                                       : QStringLiteral("Modified Date");
}

std::vector<ClassFigures> ageClasses(const Accumulators &results, DateKind date)
{
    std::vector<ClassFigures> classes;
    for (std::size_t k = 0; k < 10; ++k)
        classes.push_back({ageClassLabel(int(k)), whole(ageBytes(results, date)[k]),
                           whole(ageFiles(results, date)[k])});
    return classes;
}

std::uint64_t OverhangFigures::spaceUsed() const
{
    if (clusterRow < 0)
        return totalBytes;
    // Near the largest total a walk can count, the sum stays there rather than wrap to nothing.
    const std::uint64_t slack = wasted[std::size_t(clusterRow)];
    return slack > UINT64_MAX - totalBytes ? UINT64_MAX : totalBytes + slack;
}

int clusterRowOf(std::int64_t clusterSize)
{
    for (int row = 0; row < 5; ++row)
        if (clusterSize == smallestCluster << row)
            return row;
    return -1;
}

std::int64_t clusterSizeFor(std::uint64_t capacity, std::uint64_t volumeCluster)
{
    if (capacity >= 32 * GiB)
        return 32768;
    if (capacity > 16 * GiB)
        return 16384;
    if (capacity > 8 * GiB)
        return 8192;
    if (capacity > 2 * GiB)
        return 4096;
    return std::int64_t(volumeCluster);
}

bool usesVolumeCluster(std::uint64_t capacity)
{
    return capacity <= 2 * GiB;
}

std::int64_t clusterSizeOf(const DriveFacts &drive)
{
    return clusterSizeFor(drive.capacity, drive.clusterSize);
}

std::int64_t runClusterSize(const std::vector<DriveFacts> &drives)
{
    return drives.size() == 1 ? clusterSizeOf(drives.front()) : 0;
}

std::uint64_t totalBytes(const Accumulators &results)
{
    std::uint64_t total = 0;
    for (std::size_t k = 1; k <= 12; ++k)
        total = addCapped(total, whole(results.sizeBytes[k]));
    return total;
}

OverhangFigures overhangFigures(const Accumulators &results, std::int64_t clusterSize)
{
    OverhangFigures figures;
    // The sums in the order and the precision the accumulators keep them.
    double total = 0;
    for (std::size_t k = 1; k <= 12; ++k)
        total += results.sizeBytes[k];
    const std::array<double, 5> slack{results.overhang4K, results.overhang8K, results.overhang16K,
                                      results.overhang32K, results.overhang64K};
    figures.filled = total != 0;
    figures.totalBytes = totalBytes(results);
    figures.filesFound = std::uint64_t(std::max<std::int64_t>(results.filesFound, 0));
    figures.wasted = wholes(slack);
    for (std::size_t row = 0; row < 5; ++row)
        figures.percentWasted[row] = figures.filled ? slack[row] * 100 / (total + slack[row]) : 0;
    figures.clusterRow = clusterRowOf(clusterSize);
    return figures;
}

QString bytesInUnit(double bytes, std::size_t unit)
{
    static const std::array<const char *, byteUnitCount> units{" KB", " MB", " GB",
                                                               " TB", " PB", " EB"};
    return floatToGrouped(bytes / std::pow(KB, double(unit + 1))) + QLatin1String(units[unit]);
}

QString kilobytesOrMegabytes(double bytes, double unitChooser)
{
    return bytesInUnit(bytes, unitChooser < MB ? 0 : 1);
}

QString actualSpaceUsedText(const OverhangFigures &figures, std::size_t unit)
{
    return QStringLiteral("Actual space used ") + bytesInUnit(double(figures.spaceUsed()), unit);
}

QString attributeLabel(int row)
{
    static const QStringList labels{"Hidden", "Read-only", "System", "Archive"};
    return labels.value(row);
}

AttributeFigures attributeFigures(const Accumulators &results)
{
    AttributeFigures figures;
    const std::array<double, 4> files{double(results.nHidden), double(results.nReadOnly),
                                      double(results.nSystem), double(results.nArchive)};
    const std::array<double, 4> bytes{results.szHidden, results.szReadOnly, results.szSystem,
                                      results.szArchive};
    figures.files = wholes(files);
    figures.bytes = wholes(bytes);
    const double fileSum = files[0] + files[1] + files[2] + files[3];
    const double byteSum = bytes[0] + bytes[1] + bytes[2] + bytes[3];
    figures.fileSharesShown = fileSum > 0;
    figures.byteSharesShown = byteSum > 0;
    for (std::size_t row = 0; row < 4; ++row) {
        figures.fileShare[row] = figures.fileSharesShown ? files[row] * 100 / fileSum : 0;
        figures.byteShare[row] = figures.byteSharesShown ? bytes[row] * 100 / byteSum : 0;
    }
    return figures;
}

QString slotLabel(int slot)
{
    // Slots start on the hour or the half hour, so seconds would only ever read ":00"; where the
    // locale's short format carries them (the C locale's "HH:mm:ss"), they go with their separator.
    static const QRegularExpression seconds(QStringLiteral("[^hHmaApPt']*s+"));
    const QString format = QLocale().timeFormat(QLocale::ShortFormat).remove(seconds);
    return QLocale().toString(QTime(slot / 2, slot % 2 ? 30 : 0), format);
}

TimeFigures timeFigures(const Accumulators &results)
{
    TimeFigures figures;
    figures.modified = wholes(results.hourModified);
    figures.created = wholes(results.hourCreated);
    figures.accessed = wholes(results.hourAccessed);
    double accessSum = 0;
    for (const double count : results.hourAccessed)
        accessSum += count;
    figures.accessShown = accessSum > 0;
    return figures;
}

double SpaceDriveFigures::freePercent() const
{
    return capacity > 0 ? double(freeBytes) * 100 / double(capacity) : 0;
}

namespace {

SpaceFigures summed(std::vector<SpaceDriveFigures> drives)
{
    SpaceFigures figures;
    figures.total.label = QStringLiteral("Total");
    for (const SpaceDriveFigures &drive : drives) {
        figures.total.capacity += drive.capacity;
        figures.total.freeBytes += drive.freeBytes;
    }
    figures.drives = std::move(drives);
    return figures;
}

} // namespace

SpaceFigures spaceFigures(const std::vector<DriveFacts> &drives)
{
    std::vector<SpaceDriveFigures> list;
    for (const DriveFacts &drive : drives)
        if (drive.capacity > 0)
            list.push_back(
                {QString(drive.letter), drive.mountPoint, drive.capacity, drive.freeBytes});
    return summed(std::move(list));
}

SpaceFigures spaceFigures(const QList<DriveSpace> &drives)
{
    std::vector<SpaceDriveFigures> list;
    for (const DriveSpace &drive : drives)
        if (drive.totalBytes >= 0)
            list.push_back(
                {drive.label, QString(), whole(drive.totalBytes), whole(drive.freeBytes)});
    return summed(std::move(list));
}

ReportModel::ReportModel(const Accumulators &results, const std::vector<DriveFacts> &drives,
                         std::int64_t clusterSize)
    : filesProcessed(std::uint64_t(std::max<std::int64_t>(results.filesProcessed, 0))),
      filesFound(std::uint64_t(std::max<std::int64_t>(results.filesFound, 0))),
      typeListing(results),
      sizeList(sizeClasses(results)), ageLists{ageClasses(results, DateKind::Accessed),
                                               ageClasses(results, DateKind::Created),
                                               ageClasses(results, DateKind::Modified)},
      slack(overhangFigures(results, clusterSize)), attributeList(attributeFigures(results)),
      timeList(timeFigures(results)), spaceList(spaceFigures(drives))
{}

ReportTable ReportModel::table(ReportPageId page) const
{
    switch (page) {
    case ReportPageId::Space:
        return spaceTable();
    case ReportPageId::Types:
        return typeListing.table();
    case ReportPageId::Sizes:
        return classTable(page, QStringLiteral("File size"), sizeList, true);
    case ReportPageId::Overhang:
        return overhangTable();
    case ReportPageId::Access:
        return classTable(page, dateCaption(DateKind::Accessed), ages(DateKind::Accessed), true);
    case ReportPageId::Created:
        return classTable(page, dateCaption(DateKind::Created), ages(DateKind::Created), true);
    case ReportPageId::Modified:
        return classTable(page, dateCaption(DateKind::Modified), ages(DateKind::Modified), true);
    case ReportPageId::Combined:
        return combinedTable();
    case ReportPageId::Attribute:
        return attributeTable();
    case ReportPageId::Time:
        return timeTable();
    }
    return {};
}

// The size and date listings show their last class (the largest files, the oldest dates) first.
ReportTable ReportModel::classTable(ReportPageId page, const QString &caption,
                                    const std::vector<ClassFigures> &classes,
                                    bool lastClassFirst) const
{
    ReportTable table;
    table.title = reportPageTitle(page);
    table.headings = {caption, "Total file size", "Number of files"};
    for (std::size_t i = 0; i < classes.size(); ++i) {
        const ClassFigures &c = classes[lastClassFirst ? classes.size() - 1 - i : i];
        table.rows.push_back({text(c.label), integer(c.bytes), integer(c.files)});
    }
    return table;
}

ReportTable ReportModel::combinedTable() const
{
    ReportTable table;
    table.title = reportPageTitle(ReportPageId::Combined);
    table.headings = {"Combined dates", "Access Size", "Access # files", "Create Size",
                      "Create # files", "Modify Size", "Modify # files"};
    for (int k = 9; k >= 0; --k) {
        std::vector<ReportCell> row{text(ageClassLabel(k))};
        for (const DateKind date : {DateKind::Accessed, DateKind::Created, DateKind::Modified}) {
            row.push_back(integer(ages(date)[std::size_t(k)].bytes));
            row.push_back(integer(ages(date)[std::size_t(k)].files));
        }
        table.rows.push_back(std::move(row));
    }
    return table;
}

ReportTable ReportModel::overhangTable() const
{
    static const QStringList fatSizes{"255 MB", "256 MB - 511 MB", "512 MB - 1023 MB",
                                      "1 GB - 2 GB", "2 GB - 4 GB"};
    static const QStringList fat32Sizes{"Less than 8GB", "Less than 16GB", "Less than 32GB",
                                        "32GB or more", ""};
    static const QStringList clusters{"4K", "8K", "16K", "32K", "64K"};
    ReportTable table;
    table.title = reportPageTitle(ReportPageId::Overhang);
    table.headings = {"FAT Partion size", "FAT 32 Size", "Cluster size", "Percent wasted",
                      "Wasted space"};
    for (int row = 0; row < 5; ++row)
        table.rows.push_back({text(fatSizes[row]), text(fat32Sizes[row]), text(clusters[row]),
                              percentage(slack.percentWasted[std::size_t(row)]),
                              integer(slack.wasted[std::size_t(row)])});
    if (!slack.filled)
        return table;
    const double total = double(slack.totalBytes);
    table.notes << QStringLiteral("Number of files scanned: ") + unsignedToGrouped(slack.filesFound)
                << QStringLiteral("Total file sizes: ") + kilobytesOrMegabytes(total, total);
    if (slack.clusterRow >= 0)
        table.notes << actualSpaceUsedText(slack, total < MB ? 0 : 1);
    else
        table.notes << QStringLiteral("Cluster overhang analysis is not applicable to this drive.");
    return table;
}

ReportTable ReportModel::attributeTable() const
{
    ReportTable table;
    table.title = reportPageTitle(ReportPageId::Attribute);
    table.headings = {"Attribute", "# Files", "% of total # files", "File Sizes",
                      "% of total size"};
    for (std::size_t row = 0; row < 4; ++row)
        table.rows.push_back({text(attributeLabel(int(row))), integer(attributeList.files[row]),
                              percentage(attributeList.fileShare[row]),
                              integer(attributeList.bytes[row]),
                              percentage(attributeList.byteShare[row])});
    return table;
}

ReportTable ReportModel::timeTable() const
{
    ReportTable table;
    table.title = reportPageTitle(ReportPageId::Time);
    table.headings = {"Time of day", "Modified time", "Created time", "Access Time"};
    for (std::size_t slot = 0; slot < 48; ++slot)
        table.rows.push_back({text(slotLabel(int(slot))), integer(timeList.modified[slot]),
                              integer(timeList.created[slot]), integer(timeList.accessed[slot])});
    return table;
}

namespace {

// The pies' titles round a free share to two decimals and then drop the second: a drive with a
// few bytes used reads 99.9, never 100.0, beside a pie that shows them. The table says the same.
double shownFreePercent(double percent)
{
    return std::floor(std::round(percent * 100) / 10) / 10;
}

} // namespace

ReportTable ReportModel::spaceTable() const
{
    ReportTable table;
    table.title = reportPageTitle(ReportPageId::Space);
    table.headings = {"Drive", "Mount point", "Total Capacity", "Free Space", "Used Space", "Free"};
    const auto row = [](const SpaceDriveFigures &drive, const QString &name) {
        return std::vector<ReportCell>{text(name),
                                       text(drive.mountPoint),
                                       integer(drive.capacity),
                                       integer(drive.freeBytes),
                                       integer(drive.usedBytes()),
                                       percentage(shownFreePercent(drive.freePercent()))};
    };
    for (const SpaceDriveFigures &drive : spaceList.drives)
        table.rows.push_back(row(drive, drive.label + u':'));
    table.rows.push_back(row(spaceList.total, spaceList.total.label));
    table.footerRows = 1;
    return table;
}
