#pragma once

#include <QList>
#include <QString>
#include <cstdint>
#include <memory>

namespace platform {

// Drive type codes as the drive box reports them.
enum DriveType : int
{
    DriveUnknown = 0,
    DriveNoRoot = 1,
    DriveRemovable = 2,
    DriveFixed = 3,
    DriveRemote = 4,
    DriveCdRom = 5,
    DriveRamDisk = 6,
};

// How a drive updates the access dates of its files, by the options it is mounted with.
enum class AccessTimes
{
    Unknown, // no mount options to go by: a folder standing in for a drive
    Never,   // noatime
    Daily,   // relatime: at most once a day, and only while older than the last change
    Always,  // strictatime
};

// One entry of the drive box: a mounted file system under a drive letter.
struct Drive
{
    QChar letter; // lower case, 'c' to 'z'
    int type = DriveUnknown;
    QString entry;            // as the drive box shows it: "c: [/]", "x: //server/share", "e:"
    QString mountPoint;       // where the letter's root path "c:\" leads
    QString source;           // the mount source: "/dev/sda2", "//server/share", "tmpfs"
    QString fsType;           // "ext4", "nfs4", ...
    std::uint64_t device = 0; // the st_dev of the mount point, to keep a walk on its drive
    AccessTimes accessTimes = AccessTimes::Unknown;
};

// Everything the program asks about drives. The program uses one instance (driveSource());
// tests install their own, built from mount-table text with letters mapped to temporary folders.
class DriveSource
{
public:
    virtual ~DriveSource() = default;

    // The drive box entries, in letter order.
    virtual QList<Drive> drives() const = 0;
    // The drive box's current entry: the drive holding currentFolder(); empty when none.
    virtual QString currentEntry() const = 0;

    // Looks a drive up by letter (either case); nullptr when no drive has it.
    const Drive *find(QChar letter) const;
    // Drive type of a letter; DriveNoRoot when no drive has it.
    int driveType(QChar letter) const;
    // Mount point of a letter; empty when no drive has it.
    QString mountPoint(QChar letter) const;

    // Still mounted and answering statvfs. Network drives, and drives mounted below them, are
    // asked under a time limit shared by all of them; one that did not answer in time is not ready
    // at once until it answers again.
    virtual bool isReady(QChar letter) const = 0;
    // Capacity in bytes, 64-bit: total = blocks x fragment size, free = all free blocks.
    // False when the drive does not answer.
    virtual bool space(QChar letter, std::uint64_t &freeBytes, std::uint64_t &totalBytes) const = 0;
    // Bytes per cluster (statvfs f_bsize); 0 when the drive does not answer.
    virtual std::uint64_t clusterSize(QChar letter) const = 0;
    // Files and folders the drive holds (its used inodes); 0 when its file system does not count
    // them or the drive does not answer.
    virtual std::uint64_t usedEntries(QChar letter) const = 0;
};

// The folder the program counts as its current one: the root of the drive walked last, so that
// the next run offers that drive first; until a walk, the process's working folder. The process
// itself never moves into a drive it walks, which would keep the drive busy: a stick could not be
// unmounted while the program runs. An empty path goes back to the working folder.
void setCurrentFolder(const QString &path);
QString currentFolder();

// The drive source of the program: the machine's mount table unless a test installed another.
DriveSource &driveSource();
// Installs a drive source (tests); nullptr puts the machine's back.
void setDriveSource(std::unique_ptr<DriveSource> source);

} // namespace platform
