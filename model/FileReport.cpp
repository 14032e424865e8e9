#include "model/FileReport.h"

#include "engine/Classification.h"
#include "helpers/NameText.h"
#include "model/FolderReport.h"
#include "model/TypeNames.h"

#include <QDateTime>
#include <QLocale>
#include <QTimeZone>
#include <algorithm>
#include <map>

namespace {

QString fileTypeName(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray name = path.mid(slash + 1);
    const std::string_view extension = fileExtension(std::string_view(name.data(), name.size()));
    if (extension.empty())
        return getTypeName(QStringLiteral("*."));
    return getTypeName(escapedName(QByteArrayView(extension.data(), qsizetype(extension.size()))));
}

double shareOf(std::uint64_t part, std::uint64_t all)
{
    return all == 0 ? 0.0 : double(part) / double(all);
}

} // namespace

std::uint64_t countedBytes(const DriveFiles &drive)
{
    std::uint64_t bytes = 0;
    for (const OwnerTotal &user : drive.users)
        bytes += user.bytes;
    return bytes;
}

std::vector<FileRow> largestFileRows(const RunFacts &facts, const std::vector<DriveFiles> &drives)
{
    std::vector<FileRow> rows;
    for (const DriveFiles &drive : drives) {
        const QString mountPoint = mountPointOf(facts, drive.letter);
        const std::uint64_t all = countedBytes(drive);
        for (const LargeFile &file : drive.largest) {
            const QByteArray location = folderLocation(mountPoint, {file.path});
            rows.push_back({drive.letter, location, escapedName(location), file,
                            shareOf(file.size, all), fileTypeName(file.path)});
        }
    }
    std::stable_sort(rows.begin(), rows.end(), [](const FileRow &a, const FileRow &b) {
        return a.file.size != b.file.size ? a.file.size > b.file.size : a.location < b.location;
    });
    return rows;
}

QString filesNotKeptLine(const std::vector<DriveFiles> &drives)
{
    QStringList drivesOver;
    for (const DriveFiles &drive : drives)
        if (drive.counted > std::int64_t(drive.largest.size()))
            drivesOver << QStringLiteral("%1 files on %2:")
                              .arg(QLocale().toString(qlonglong(drive.counted)))
                              .arg(drive.letter);
    if (drivesOver.isEmpty())
        return QString();
    return QStringLiteral("The walk counted %1; the %2 largest of each drive are kept.")
        .arg(drivesOver.join(QStringLiteral(", ")), QLocale().toString(int(largestFilesKept)));
}

QString ownerName(const OwnerTotal &owner)
{
    return owner.name.isEmpty() ? QString::number(owner.id) : owner.name;
}

std::vector<OwnerRow> ownerRows(const std::vector<DriveFiles> &drives, OwnerKind kind)
{
    std::map<std::uint32_t, OwnerRow> byId;
    std::uint64_t all = 0;
    for (const DriveFiles &drive : drives) {
        for (const OwnerTotal &owner : kind == OwnerKind::Users ? drive.users : drive.groups) {
            OwnerRow &row = byId[owner.id];
            row.id = owner.id;
            if (row.name.isEmpty())
                row.name = owner.name;
            row.files += owner.files;
            row.bytes += owner.bytes;
            all += owner.bytes;
        }
    }
    std::vector<OwnerRow> rows;
    for (auto &[id, row] : byId) {
        row.share = shareOf(row.bytes, all);
        if (row.name.isEmpty())
            row.name = QString::number(id);
        rows.push_back(std::move(row));
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const OwnerRow &a, const OwnerRow &b) { return a.bytes > b.bytes; });
    return rows;
}

ReportTable largestFilesTable(const RunFacts &facts, const std::vector<DriveFiles> &drives,
                              std::size_t count)
{
    ReportTable table;
    table.title = QStringLiteral("Largest files");
    table.headings = {"File", "Size", "Share of counted bytes", "Modified (UTC)", "Type"};
    for (const FileRow &row : largestFileRows(facts, drives)) {
        if (table.rows.size() >= count)
            break;
        const QDateTime modified =
            QDateTime::fromSecsSinceEpoch(row.file.writeTime, QTimeZone::utc());
        table.rows.push_back({ReportCell::ofText(row.shown), ReportCell::ofInteger(row.file.size),
                              ReportCell::ofPercentage(row.share * 100),
                              ReportCell::ofText(modified.toString(Qt::ISODate)),
                              ReportCell::ofText(row.typeName)});
    }
    if (const QString line = filesNotKeptLine(drives); !line.isEmpty())
        table.notes << line;
    return table;
}

ReportTable ownersTable(const std::vector<DriveFiles> &drives)
{
    ReportTable table;
    table.title = QStringLiteral("Owners");
    table.headings = {"Kind", "Name", "Id", "Files", "Bytes", "Share of counted bytes"};
    for (const auto &[kind, word] :
         {std::pair{OwnerKind::Users, "user"}, std::pair{OwnerKind::Groups, "group"}})
        for (const OwnerRow &row : ownerRows(drives, kind))
            table.rows.push_back(
                {ReportCell::ofText(QLatin1String(word)), ReportCell::ofText(row.name),
                 ReportCell::ofInteger(row.id), ReportCell::ofInteger(std::uint64_t(row.files)),
                 ReportCell::ofInteger(row.bytes), ReportCell::ofPercentage(row.share * 100)});
    return table;
}
