#include "platform/FolderDriveSource.h"

#include "platform/Volume.h"

#include <QDir>
#include <algorithm>

namespace platform {

QString driveEntryText(QChar letter, int type, const QString &mountPoint, const QString &source)
{
    const QString head = QString(letter.toLower()) + u':';
    switch (type) {
    case DriveRemovable:
        return head;
    case DriveRemote:
        return head + u' ' + source;
    default:
        return head + QStringLiteral(" [") + mountPoint.toLower() + u']';
    }
}

const Drive *driveHoldingPath(const QList<Drive> &drives, const QString &path)
{
    const Drive *best = nullptr;
    qsizetype bestLength = -1;
    for (const Drive &drive : drives) {
        QString root = drive.mountPoint;
        while (root.size() > 1 && root.endsWith(u'/'))
            root.chop(1);
        const bool holds =
            path == root || root == u"/" || (path.startsWith(root) && path.at(root.size()) == u'/');
        if (holds && !root.isEmpty() && root.size() > bestLength) {
            best = &drive;
            bestLength = root.size();
        }
    }
    return best;
}

void FolderDriveSource::addDrive(QChar letter, int type, const QString &entry,
                                 const QString &folder)
{
    Drive drive;
    drive.letter = letter.toLower();
    drive.type = type;
    drive.mountPoint = folder;
    drive.source = folder;
    drive.entry = entry.isEmpty() ? driveEntryText(letter, type, folder, folder) : entry;
    addDrive(drive);
}

void FolderDriveSource::addDrive(const Drive &given)
{
    Drive drive = given;
    drive.letter = drive.letter.toLower();
    drive.device = probeVolume(drive.mountPoint).device;
    table.removeIf([&](const Drive &d) { return d.letter == drive.letter; });
    const auto at =
        std::lower_bound(table.begin(), table.end(), drive,
                         [](const Drive &a, const Drive &b) { return a.letter < b.letter; });
    table.insert(at, drive);
}

void FolderDriveSource::setCurrentEntry(const QString &entry)
{
    current = entry;
}

void FolderDriveSource::setReady(QChar letter, bool ready)
{
    pretences[letter.toLower()].ready = ready;
}

void FolderDriveSource::setSpace(QChar letter, std::uint64_t freeBytes, std::uint64_t totalBytes)
{
    Pretence &p = pretences[letter.toLower()];
    p.freeBytes = freeBytes;
    p.totalBytes = totalBytes;
}

void FolderDriveSource::setClusterSize(QChar letter, std::uint64_t bytes)
{
    pretences[letter.toLower()].clusterSize = bytes;
}

QList<Drive> FolderDriveSource::drives() const
{
    return table;
}

QString FolderDriveSource::currentEntry() const
{
    if (current)
        return *current;
    const Drive *drive = driveHoldingPath(table, QDir::currentPath());
    return drive ? drive->entry : QString();
}

bool FolderDriveSource::isReady(QChar letter) const
{
    const Drive *drive = find(letter);
    if (!drive)
        return false;
    const Pretence p = pretences.value(drive->letter);
    if (p.ready)
        return *p.ready;
    return probeVolume(drive->mountPoint).answered;
}

bool FolderDriveSource::space(QChar letter, std::uint64_t &freeBytes,
                              std::uint64_t &totalBytes) const
{
    if (!isReady(letter))
        return false;
    const Drive *drive = find(letter);
    const Pretence p = pretences.value(drive->letter);
    VolumeFacts facts;
    if (!p.totalBytes) {
        facts = probeVolume(drive->mountPoint);
        if (!facts.answered)
            return false;
    }
    freeBytes = p.freeBytes.value_or(facts.freeBytes);
    totalBytes = p.totalBytes.value_or(facts.totalBytes);
    return true;
}

std::uint64_t FolderDriveSource::clusterSize(QChar letter) const
{
    if (!isReady(letter))
        return 0;
    const Drive *drive = find(letter);
    const Pretence p = pretences.value(drive->letter);
    return p.clusterSize ? *p.clusterSize : probeVolume(drive->mountPoint).clusterSize;
}

} // namespace platform
