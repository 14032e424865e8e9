#include "model/FolderReport.h"

#include "helpers/NameText.h"

#include <algorithm>

QByteArray folderLocation(const QString &mountPoint, const FolderTotal &folder)
{
    QByteArray location = mountPoint.toUtf8();
    if (folder.path.isEmpty())
        return location;
    if (!location.endsWith('/'))
        location += '/';
    return location + folder.path;
}

QString shownFolderLocation(const QString &mountPoint, const FolderTotal &folder)
{
    return escapedName(folderLocation(mountPoint, folder));
}

QString mountPointOf(const RunFacts &facts, QChar letter)
{
    for (const DriveFacts &drive : facts.drives)
        if (drive.letter == letter)
            return drive.mountPoint;
    return QString();
}

double driveShare(std::uint64_t bytes, const DriveFolders &drive)
{
    const std::uint64_t all = drive.countedBytes();
    return all == 0 ? 0.0 : double(bytes) / double(all);
}

std::vector<FolderRow> largestFolders(const RunFacts &facts,
                                      const std::vector<DriveFolders> &drives)
{
    std::vector<FolderRow> rows;
    for (const DriveFolders &drive : drives) {
        const QString mountPoint = mountPointOf(facts, drive.letter);
        for (const FolderTotal &folder : drive.folders)
            rows.push_back({drive.letter, shownFolderLocation(mountPoint, folder), folder,
                            driveShare(folder.bytes, drive)});
    }
    std::sort(rows.begin(), rows.end(), [](const FolderRow &a, const FolderRow &b) {
        if (a.totals.bytes != b.totals.bytes)
            return a.totals.bytes > b.totals.bytes;
        if (a.totals.files != b.totals.files)
            return a.totals.files > b.totals.files;
        return a.location < b.location;
    });
    return rows;
}
