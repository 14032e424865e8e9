#pragma once

#include "platform/DriveSource.h"
#include "platform/RemoteVolumes.h"
#include "platform/Volume.h"

#include <QByteArray>
#include <chrono>
#include <functional>

namespace platform {

// One line of /proc/self/mountinfo, with the kernel's octal escapes ("\040") undone and every
// other byte as it stands.
struct MountEntry
{
    quint32 major = 0;
    quint32 minor = 0;
    QString root; // the folder of the file system that is mounted ("/" or a bind's path)
    QString mountPoint;
    QString fsType;
    QString source;
    bool readOnly = false;
    AccessTimes accessTimes = AccessTimes::Always;
};

// Reads mountinfo text line by line; lines that do not have the fields of a mount are passed over.
QList<MountEntry> parseMountInfo(const QByteArray &text);

// What the drive table needs from the machine besides the mount table. Tests replace each part.
struct MountTableOptions
{
    // Whether the disk under a mount source ("/dev/sdb1") is removable.
    std::function<bool(const QString &source)> isRemovable;
    // Whether a mount point is a directory (bind-mounted single files are not). Never asked about
    // a mount point below a network mount: the path might lead through a server that is gone.
    std::function<bool(const QString &mountPoint)> isDirectory;
    // The folder that a drive's root leads to; the mount point itself on a real machine.
    std::function<QString(const QString &mountPoint)> folderOf;
    // How the folder of a local drive is asked about itself.
    VolumeProbe probe;
    // How network drives, and drives mounted below them, are asked: in child processes, under a
    // time limit.
    RemoteProbeSettings remote;
};

// Reads /sys/block/<disk>/removable for the disk that holds a device ("/dev/sdb1" -> sdb).
bool isRemovableDevice(const QString &source);

// The drives of a mount table: listing rules, letters, types and entry texts. The device of each
// drive is the mount table's major:minor; for local drives the drive source puts what stat says
// in its place, which differs for btrfs subvolumes.
QList<Drive> drivesFromMountTable(const QList<MountEntry> &mounts,
                                  const MountTableOptions &options);

// The drive table of a mount table, read once when it is made. Making it starts the probes of
// the drives that may hang, in the background, so that the first questions find their answers.
class MountTableDriveSource : public DriveSource
{
public:
    // Empty parts of options take the machine's own.
    explicit MountTableDriveSource(const QByteArray &mountInfo, MountTableOptions options = {});
    // The machine's mount table.
    static std::unique_ptr<MountTableDriveSource> fromMachine();

    QList<Drive> drives() const override;
    QString currentEntry() const override;
    bool isReady(QChar letter) const override;
    bool space(QChar letter, std::uint64_t &freeBytes, std::uint64_t &totalBytes) const override;
    std::uint64_t clusterSize(QChar letter) const override;
    std::uint64_t usedEntries(QChar letter) const override;

private:
    // The volume of a drive if it is still the one mounted there; drives that may hang within the
    // time limit, or at once when they are known not to answer.
    VolumeFacts ask(QChar letter) const;

    MountTableOptions options;
    QList<Drive> table;
    QStringList remoteFolders; // the folders of the drives that may hang
};

} // namespace platform
