#include "model/FileComparison.h"

#include "helpers/NameText.h"
#include "model/Comparison.h"
#include "model/FileReport.h"
#include "model/FolderReport.h"

#include <algorithm>
#include <map>

namespace {

// The kept files of one run's drive, by location.
struct KeptFiles
{
    std::map<QByteArray, std::uint64_t> sizes;
    bool complete = false; // every file the drive counted is listed
};

const DriveFiles *filesOf(const Collection &run, QChar letter)
{
    for (const DriveFiles &drive : run.figures.driveFiles)
        if (drive.letter == letter)
            return &drive;
    return nullptr;
}

KeptFiles keptFiles(const QString &mountPoint, const DriveFiles &drive)
{
    KeptFiles kept;
    kept.complete = drive.counted == std::int64_t(drive.largest.size());
    for (const LargeFile &file : drive.largest)
        kept.sizes.emplace(folderLocation(mountPoint, {file.path}), file.size);
    return kept;
}

// Figures of a file on one side: listed, known absent, or unknown.
void fill(ChangeFigures &figures, bool isNow, const KeptFiles &side, const QByteArray &location)
{
    const auto it = side.sizes.find(location);
    const bool listed = it != side.sizes.end();
    (isNow ? figures.filesNow : figures.filesThen) = listed ? 1 : 0;
    (isNow ? figures.bytesNow : figures.bytesThen) = listed ? it->second : 0;
    (isNow ? figures.nowKnown : figures.thenKnown) = listed || side.complete;
}

} // namespace

QString fileRule()
{
    return QStringLiteral("Only the largest files each run kept are compared: a file below both "
                          "lists is not, and a file that left a full list may only have fallen "
                          "below it (\u2013).");
}

std::vector<ChangeRow> largestFileChanges(const Collection &then, const Collection &now)
{
    std::vector<ChangeRow> grown, gone;
    for (const DriveFacts &driveNow : now.facts.drives) {
        const auto sameDrive = [&](const DriveFacts &d) {
            return d.walked && d.mountPoint == driveNow.mountPoint;
        };
        const auto driveThen =
            std::find_if(then.facts.drives.begin(), then.facts.drives.end(), sameDrive);
        const DriveFiles *filesNow = filesOf(now, driveNow.letter);
        if (!driveNow.walked || driveThen == then.facts.drives.end() || !filesNow)
            continue;
        const DriveFiles *filesThen = filesOf(then, driveThen->letter);
        if (!filesThen)
            continue;
        const KeptFiles keptThen = keptFiles(driveThen->mountPoint, *filesThen);
        const KeptFiles keptNow = keptFiles(driveNow.mountPoint, *filesNow);
        for (const auto &[location, size] : keptNow.sizes) {
            ChangeRow row{escapedName(location), QString(), {}};
            fill(row.figures, false, keptThen, location);
            fill(row.figures, true, keptNow, location);
            if (row.figures.filesThen == 0 || row.figures.bytesThen < size)
                grown.push_back(std::move(row));
        }
        for (const auto &[location, size] : keptThen.sizes) {
            if (keptNow.sizes.count(location))
                continue;
            ChangeRow row{escapedName(location), QString(), {}};
            fill(row.figures, false, keptThen, location);
            fill(row.figures, true, keptNow, location);
            gone.push_back(std::move(row));
        }
    }
    const auto by = [](std::uint64_t ChangeFigures::*bytes) {
        return [bytes](const ChangeRow &a, const ChangeRow &b) {
            return a.figures.*bytes != b.figures.*bytes ? a.figures.*bytes > b.figures.*bytes
                                                        : a.label < b.label;
        };
    };
    std::sort(grown.begin(), grown.end(), by(&ChangeFigures::bytesNow));
    std::sort(gone.begin(), gone.end(), by(&ChangeFigures::bytesThen));
    grown.insert(grown.end(), std::make_move_iterator(gone.begin()),
                 std::make_move_iterator(gone.end()));
    return grown;
}

std::vector<ChangeRow> ownerChanges(const Collection &then, const Collection &now)
{
    if (then.figures.driveFiles.empty() || now.figures.driveFiles.empty())
        return {};
    std::map<std::uint32_t, ChangeRow> byId;
    for (const auto &[run, isNow] : {std::pair{&then, false}, std::pair{&now, true}}) {
        for (const OwnerRow &owner : ownerRows(run->figures.driveFiles, OwnerKind::Users)) {
            ChangeRow &row = byId[owner.id];
            if (row.label.isEmpty() || (isNow && owner.name != QString::number(owner.id)))
                row.label = owner.name;
            (isNow ? row.figures.filesNow : row.figures.filesThen) = std::uint64_t(owner.files);
            (isNow ? row.figures.bytesNow : row.figures.bytesThen) = owner.bytes;
        }
    }
    std::vector<ChangeRow> rows;
    for (auto &[id, row] : byId)
        rows.push_back(std::move(row));
    std::stable_sort(rows.begin(), rows.end(), [](const ChangeRow &a, const ChangeRow &b) {
        const auto size = [](std::int64_t change) {
            return change < 0 ? ~std::uint64_t(change) + 1 : std::uint64_t(change);
        };
        return size(a.figures.byteChange()) > size(b.figures.byteChange());
    });
    return rows;
}
