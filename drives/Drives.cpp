#include "drives/Drives.h"

#include "platform/DriveSource.h"

QString driveTypeText(int type)
{
    switch (type) {
    case platform::DriveRemovable:
        return QStringLiteral("(Removable disk)");
    case platform::DriveFixed:
        return QStringLiteral("(Fixed disk)");
    case platform::DriveRemote:
        return QStringLiteral("(Remote disk)");
    case platform::DriveCdRom:
        return QStringLiteral("(CD-ROM)");
    case platform::DriveRamDisk:
        return QStringLiteral("(RAM-Disk)");
    default:
        return QString();
    }
}

namespace {

bool isDriveLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

} // namespace

bool isDriveReady(QChar letter, const platform::DriveSource &source)
{
    return isDriveLetter(letter) && source.isReady(letter);
}

bool getDriveSpace(const QString &rootPath, double &freeBytes, double &totalBytes,
                   const platform::DriveSource &source)
{
    std::uint64_t free = 0, total = 0;
    if (!rootPath.isEmpty() && isDriveLetter(rootPath[0]) &&
        source.space(rootPath[0], free, total)) {
        freeBytes = double(free);
        totalBytes = double(total);
    } else {
        freeBytes = 0;
        totalBytes = -1;
    }
    return true;
}

DriveList buildDriveList(const platform::DriveSource &source)
{
    DriveList list;
    for (const platform::Drive &drive : source.drives()) {
        QString entry = drive.entry;
        if (entry.isEmpty())
            continue;
        const QChar first = entry[0].toUpper();
        if (first == u'A' || first == u'B')
            continue; // floppies are never listed
        if (entry.contains(QStringLiteral("[]"))) {
            entry.remove(QStringLiteral("[]"));
            if (drive.type == platform::DriveCdRom)
                continue; // a disc without a label
            entry = entry.trimmed() + u' ' + driveTypeText(drive.type);
        }
        list.entries.append(entry);
    }
    list.pick = list.entries.indexOf(source.currentEntry());
    return list;
}
