#include "model/Machines.h"

#include "model/Collection.h"

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
constexpr double secondsPerWeek = 7 * 86400.0;

struct Found
{
    QString path;
    RunFacts facts;
};

std::optional<RunFacts> factsOf(const QString &path)
{
    QFile file(path);
    if (file.size() > collectionFileLimit || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parseRunFacts(file.readAll());
}

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

MachineRow rowOf(std::vector<Found> &runs, const QDateTime &now)
{
    std::sort(runs.begin(), runs.end(),
              [](const Found &a, const Found &b) { return a.facts.started > b.facts.started; });
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
        row.capacity += drive.capacity;
        row.freeBytes += drive.freeBytes;
    }
    row.usedBytes = usedOf(newest.facts);
    row.stale = newest.facts.started.secsTo(now) > twoWeeks;
    std::vector<std::pair<QDateTime, std::uint64_t>> used;
    for (const Found &run : runs)
        if (mountPoints(run.facts) == mountPoints(newest.facts))
            used.emplace_back(run.facts.started, usedOf(run.facts));
    row.growthPerWeek = growthPerWeek(used);
    if (const CollectionRead read = readCollectionFile(newest.path)) {
        row.files = std::uint64_t(std::max<std::int64_t>(read.collection->figures.filesFound, 0));
        row.largestTypes = largestTypes(read.collection->figures);
    }
    return row;
}

} // namespace

QString staleWarning()
{
    return QStringLiteral("Older than two weeks");
}

std::optional<std::int64_t>
growthPerWeek(const std::vector<std::pair<QDateTime, std::uint64_t>> &runs)
{
    if (runs.size() < 2)
        return std::nullopt;
    // Least squares on seconds from the first run, so the sums stay small.
    const qint64 origin = runs.front().first.toSecsSinceEpoch();
    double meanT = 0, meanU = 0;
    for (const auto &[when, used] : runs) {
        meanT += double(when.toSecsSinceEpoch() - origin);
        meanU += double(used);
    }
    meanT /= double(runs.size());
    meanU /= double(runs.size());
    double spread = 0, together = 0;
    for (const auto &[when, used] : runs) {
        const double t = double(when.toSecsSinceEpoch() - origin) - meanT;
        spread += t * t;
        together += t * (double(used) - meanU);
    }
    if (spread <= 0)
        return std::nullopt;
    return std::int64_t(std::llround(together / spread * secondsPerWeek));
}

std::vector<MachineRow> machineRows(const QString &folder, const QDateTime &now)
{
    std::map<QString, std::vector<Found>> byHost;
    QDirIterator files(folder, {QStringLiteral("*.korvel98.json")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        if (std::optional<RunFacts> facts = factsOf(path))
            byHost[facts->hostName].push_back({path, std::move(*facts)});
    }
    std::vector<MachineRow> rows;
    for (auto &[host, runs] : byHost)
        rows.push_back(rowOf(runs, now));
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
