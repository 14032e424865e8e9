#include "model/Machines.h"

#include "model/Collection.h"
#include "model/QuickFacts.h"
#include "model/Trends.h"

#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>
#include <map>

namespace {

constexpr qint64 twoWeeks = 14 * 86400;

struct Found
{
    QString path;
    RunFacts facts;
};

std::uint64_t usedOf(const RunFacts &facts)
{
    std::uint64_t used = 0;
    for (const DriveFacts &drive : facts.drives)
        used += drive.walked ? drive.usedBytes() : 0;
    return used;
}

QStringList mountPoints(const RunFacts &facts)
{
    QStringList points;
    for (const DriveFacts &drive : facts.drives)
        points << drive.mountPoint;
    return points;
}

QStringList largestTypes(const Accumulators &figures)
{
    std::vector<std::pair<std::uint64_t, QString>> types;
    for (int row = 0; row < figures.lbTypes.count(); ++row)
        if (figures.lbTypes.bytesAt(row) > 0)
            types.emplace_back(figures.lbTypes.bytesAt(row), figures.lbTypes.extensionAt(row));
    std::stable_sort(types.begin(), types.end(),
                     [](const auto &a, const auto &b) { return a.first > b.first; });
    QStringList names;
    for (std::size_t i = 0; i < types.size() && i < 3; ++i)
        names << (types[i].second.isEmpty() ? QStringLiteral("(none)") : types[i].second);
    return names;
}

// A host's row. Every collection's facts come from its first bytes, which tell the used space
// for the growth; only the newest is read whole, for its files and largest types. A newest whose
// figures do not read gives way to the one before it, so that a damaged file never shows as a host
// with no files. Nothing when none of the host's collections reads whole.
std::optional<MachineRow> rowOf(std::vector<Found> &runs, const QDateTime &now)
{
    std::sort(runs.begin(), runs.end(),
              [](const Found &a, const Found &b) { return a.facts.started > b.facts.started; });
    std::optional<Collection> whole;
    while (!runs.empty() && !whole) {
        CollectionRead read = readCollectionFile(runs.front().path);
        if (read)
            whole = std::move(read.collection);
        else
            runs.erase(runs.begin());
    }
    if (!whole)
        return std::nullopt;
    const Found &newest = runs.front();
    MachineRow row;
    row.host = newest.facts.hostName;
    row.newestFile = newest.path;
    row.olderFile = runs.size() > 1 ? runs[1].path : QString();
    row.newest = newest.facts.started;
    for (const DriveFacts &drive : newest.facts.drives) {
        if (!drive.walked)
            continue;
        ++row.drives;
        row.driveSet += drive.letter;
        row.capacity += drive.capacity;
        row.freeBytes += drive.freeBytes;
    }
    row.usedBytes = usedOf(newest.facts);
    row.stale = newest.facts.started.secsTo(now) > twoWeeks;
    std::vector<std::pair<QDateTime, std::uint64_t>> used;
    for (const Found &run : runs)
        if (mountPoints(run.facts) == mountPoints(newest.facts))
            used.emplace_back(run.facts.started, usedOf(run.facts));
    row.growthPerWeek = hostGrowthPerWeek(used);
    row.files = std::uint64_t(std::max<std::int64_t>(whole->figures.filesFound, 0));
    row.largestTypes = largestTypes(whole->figures);
    return row;
}

} // namespace

QString staleWarning()
{
    return QStringLiteral("Older than two weeks");
}

std::optional<std::int64_t>
hostGrowthPerWeek(const std::vector<std::pair<QDateTime, std::uint64_t>> &runs)
{
    std::vector<UsedSample> samples;
    for (const auto &[when, used] : runs)
        samples.push_back({when, double(used)});
    std::sort(samples.begin(), samples.end(),
              [](const UsedSample &a, const UsedSample &b) { return a.at < b.at; });
    const std::optional<double> growth = growthPerWeek(samples);
    return growth ? std::optional(std::int64_t(std::llround(*growth))) : std::nullopt;
}

std::vector<MachineRow> machineRows(const QString &folder, const QDateTime &now)
{
    std::map<QString, std::vector<Found>> byHost;
    QDirIterator files(folder, {QStringLiteral("*.korvel98.json")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        if (std::optional<RunFacts> facts = quickRunFacts(path))
            byHost[facts->hostName].push_back({path, std::move(*facts)});
    }
    std::vector<MachineRow> rows;
    for (auto &[host, runs] : byHost)
        if (std::optional<MachineRow> row = rowOf(runs, now))
            rows.push_back(std::move(*row));
    return rows;
}

ReportTable machinesTable(const std::vector<MachineRow> &rows)
{
    ReportTable table;
    table.title = QStringLiteral("Machines");
    table.headings = {
        "Host",  "Newest collection", "Drives",          "Capacity", "Used space", "Free space",
        "Files", "Largest types",     "Growth per week", "Warning"};
    for (const MachineRow &row : rows)
        table.rows.push_back(
            {ReportCell::ofText(row.host),
             ReportCell::ofText(row.newest.toString(QStringLiteral("yyyy-MM-dd HH:mm"))),
             ReportCell::ofInteger(std::uint64_t(row.drives)), ReportCell::ofInteger(row.capacity),
             ReportCell::ofInteger(row.usedBytes), ReportCell::ofInteger(row.freeBytes),
             ReportCell::ofInteger(row.files), ReportCell::ofText(row.largestTypes.join(u' ')),
             row.growthPerWeek ? ReportCell::ofChange(*row.growthPerWeek)
                               : ReportCell::ofText(QString()),
             ReportCell::ofText(row.stale ? staleWarning() : QString())});
    return table;
}

QByteArray machinesJson(const std::vector<MachineRow> &rows)
{
    QJsonArray list;
    for (const MachineRow &row : rows) {
        QJsonObject object{{"host", row.host},
                           {"newestCollection", row.newestFile},
                           {"started", row.newest.toString(Qt::ISODate)},
                           {"drives", row.drives},
                           {"capacity", qint64(row.capacity)},
                           {"usedBytes", qint64(row.usedBytes)},
                           {"freeBytes", qint64(row.freeBytes)},
                           {"files", qint64(row.files)},
                           {"largestTypes", QJsonArray::fromStringList(row.largestTypes)},
                           {"stale", row.stale}};
        object["growthPerWeek"] =
            row.growthPerWeek ? QJsonValue(qint64(*row.growthPerWeek)) : QJsonValue();
        list.append(object);
    }
    return QJsonDocument(list).toJson(QJsonDocument::Indented);
}
