#include "platform/FolderDriveSource.h"

#include "platform/MountTable.h"
#include "platform/Volume.h"

#include <QDir>
#include <QFile>
#include <algorithm>

namespace platform {

namespace {

// How the file system holding a folder updates access dates, by the machine's mount table: the
// mount whose point is the longest leading part of the folder's real path (of mounts stacked on
// one point, the last, which hides the others).
AccessTimes accessTimesOfFolder(const QString &folder)
{
    const QString path = QFileInfo(folder).canonicalFilePath();
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (path.isEmpty() || !table.open(QIODevice::ReadOnly))
        return AccessTimes::Unknown;
    AccessTimes way = AccessTimes::Unknown;
    qsizetype longest = -1;
    for (const MountEntry &mount : parseMountInfo(table.readAll())) {
        const bool holds = mount.mountPoint == u"/" || isPathBelow(path, mount.mountPoint);
        if (holds && mount.mountPoint.size() >= longest) {
            longest = mount.mountPoint.size();
            way = mount.accessTimes;
        }
    }
    return way;
}

} // namespace

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

bool isPathBelow(QStringView path, QStringView folder)
{
    return path == folder || (path.startsWith(folder) && path.at(folder.size()) == u'/');
}

const Drive *driveHoldingPath(const QList<Drive> &drives, const QString &path)
{
    const Drive *best = nullptr;
    qsizetype bestLength = -1;
    for (const Drive &drive : drives) {
        QString root = drive.mountPoint;
        while (root.size() > 1 && root.endsWith(u'/'))
            root.chop(1);
        const bool holds = root == u"/" || isPathBelow(path, root);
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
    if (drive.accessTimes == AccessTimes::Unknown)
        drive.accessTimes = accessTimesOfFolder(drive.mountPoint);
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

void FolderDriveSource::setUsedEntries(QChar letter, std::uint64_t entries)
{
    pretences[letter.toLower()].usedEntries = entries;
}

QList<Drive> FolderDriveSource::drives() const
{
    return table;
}

QString FolderDriveSource::currentEntry() const
{
    if (current)
        return *current;
    const Drive *drive = driveHoldingPath(table, currentFolder());
    return drive ? drive->entry : QString();
}

bool FolderDriveSource::answers(QChar letter, Pretence &pretence, VolumeFacts &facts) const
{
    const Drive *drive = find(letter);
    if (!drive)
        return false;
    pretence = pretences.value(drive->letter);
    facts = probeVolume(drive->mountPoint);
    return pretence.ready.value_or(facts.answered);
}

bool FolderDriveSource::isReady(QChar letter) const
{
    Pretence pretence;
    VolumeFacts facts;
    return answers(letter, pretence, facts);
}

bool FolderDriveSource::space(QChar letter, std::uint64_t &freeBytes,
                              std::uint64_t &totalBytes) const
{
    Pretence pretence;
    VolumeFacts facts;
    if (!answers(letter, pretence, facts))
        return false;
    if (pretence.totalBytes) {
        freeBytes = pretence.freeBytes.value_or(0);
        totalBytes = *pretence.totalBytes;
        return true;
    }
    if (!facts.answered)
        return false;
    freeBytes = facts.freeBytes;
    totalBytes = facts.totalBytes;
    return true;
}

std::uint64_t FolderDriveSource::figure(QChar letter, PretendedFigure pretended,
                                        MeasuredFigure measured) const
{
    Pretence pretence;
    VolumeFacts facts;
    if (!answers(letter, pretence, facts))
        return 0;
    return (pretence.*pretended).value_or(facts.*measured);
}

std::uint64_t FolderDriveSource::clusterSize(QChar letter) const
{
    return figure(letter, &Pretence::clusterSize, &VolumeFacts::clusterSize);
}

std::uint64_t FolderDriveSource::usedEntries(QChar letter) const
{
    return figure(letter, &Pretence::usedEntries, &VolumeFacts::usedEntries);
}

} // namespace platform
