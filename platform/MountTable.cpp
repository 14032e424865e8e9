#include "platform/MountTable.h"

#include "platform/FolderDriveSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <sys/sysmacros.h>

namespace platform {

namespace {

// Kernel and helper file systems that hold no user files.
const QSet<QString> &pseudoTypes()
{
    static const QSet<QString> types = {u"proc"_qs,       u"sysfs"_qs,           u"cgroup"_qs,
                                        u"cgroup2"_qs,    u"devpts"_qs,          u"devtmpfs"_qs,
                                        u"mqueue"_qs,     u"debugfs"_qs,         u"tracefs"_qs,
                                        u"securityfs"_qs, u"pstore"_qs,          u"bpf"_qs,
                                        u"configfs"_qs,   u"fusectl"_qs,         u"hugetlbfs"_qs,
                                        u"autofs"_qs,     u"binfmt_misc"_qs,     u"efivarfs"_qs,
                                        u"nsfs"_qs,       u"rpc_pipefs"_qs,      u"squashfs"_qs,
                                        u"selinuxfs"_qs,  u"fuse.gvfsd-fuse"_qs, u"fuse.portal"_qs,
                                        u"fuse.lxcfs"_qs, u"fuse.snapfuse"_qs};
    return types;
}

// File systems that hold user files on a disk or a disc.
const QSet<QString> &diskTypes()
{
    static const QSet<QString> types = {
        u"ext2"_qs,    u"ext3"_qs,     u"ext4"_qs,    u"xfs"_qs,     u"btrfs"_qs, u"f2fs"_qs,
        u"overlay"_qs, u"zfs"_qs,      u"vfat"_qs,    u"msdos"_qs,   u"exfat"_qs, u"ntfs"_qs,
        u"ntfs3"_qs,   u"fuseblk"_qs,  u"iso9660"_qs, u"udf"_qs,     u"jfs"_qs,   u"reiserfs"_qs,
        u"hfsplus"_qs, u"bcachefs"_qs, u"nilfs2"_qs,  u"virtiofs"_qs};
    return types;
}

const QSet<QString> &remoteTypes()
{
    static const QSet<QString> types = {u"nfs"_qs,       u"nfs4"_qs,       u"cifs"_qs, u"smb3"_qs,
                                        u"smbfs"_qs,     u"fuse.sshfs"_qs, u"9p"_qs,   u"ceph"_qs,
                                        u"glusterfs"_qs, u"fuse.davfs"_qs};
    return types;
}

bool isMemoryType(const QString &fsType)
{
    return fsType == u"tmpfs" || fsType == u"ramfs";
}

bool isSystemTree(const QString &path)
{
    return isPathBelow(path, u"/run") || isPathBelow(path, u"/dev") || isPathBelow(path, u"/sys") ||
           isPathBelow(path, u"/proc");
}

// Undoes the kernel's escapes of blanks, tabs, newlines and backslashes ("\040").
QString unescape(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field[i];
        if (c == '\\' && i + 3 < field.size()) {
            const char a = field[i + 1], b = field[i + 2], d = field[i + 3];
            if (a >= '0' && a <= '3' && b >= '0' && b <= '7' && d >= '0' && d <= '7') {
                out += char((a - '0') * 64 + (b - '0') * 8 + (d - '0'));
                i += 3;
                continue;
            }
        }
        out += c;
    }
    return QString::fromUtf8(out);
}

bool parseDevice(const QByteArray &field, MountEntry &entry)
{
    const qsizetype colon = field.indexOf(':');
    if (colon < 0)
        return false;
    bool okMajor = false, okMinor = false;
    entry.major = field.left(colon).toUInt(&okMajor);
    entry.minor = field.mid(colon + 1).toUInt(&okMinor);
    return okMajor && okMinor;
}

bool hasReadOnlyOption(const QByteArray &options)
{
    return options.split(',').contains("ro");
}

// The kernel names noatime and relatime among a mount's options; strict access times are what is
// left when it names neither.
AccessTimes accessTimesOf(const QByteArray &options)
{
    const QList<QByteArray> names = options.split(',');
    if (names.contains("noatime"))
        return AccessTimes::Never;
    return names.contains("relatime") ? AccessTimes::Daily : AccessTimes::Always;
}

// Whether a path lies strictly below one of the folders, by whole path components. Costs one
// look-up per component, so a table with thousands of network mounts is still read in linear time.
bool liesBelowAny(const QString &path, const QSet<QString> &folders)
{
    if (folders.isEmpty())
        return false;
    if (folders.contains(QStringLiteral("/")) && path != u"/")
        return true;
    for (qsizetype slash = path.indexOf(u'/', 1); slash > 0; slash = path.indexOf(u'/', slash + 1))
        if (folders.contains(path.left(slash)))
            return true;
    return false;
}

QSet<QString> networkMountPoints(const QList<MountEntry> &mounts)
{
    QSet<QString> points;
    for (const MountEntry &mount : mounts)
        if (remoteTypes().contains(mount.fsType))
            points.insert(mount.mountPoint);
    return points;
}

bool isListed(const MountEntry &mount, const MountTableOptions &options, bool belowNetwork)
{
    // Never touch a path on or below a network mount here: its server may be gone, and stat would
    // hang. Such a mount point counts as a folder; its probe tells later whether it is one.
    const auto isDirectory = [&] { return belowNetwork || options.isDirectory(mount.mountPoint); };
    const QString &type = mount.fsType;
    if (pseudoTypes().contains(type))
        return false;
    if (isMemoryType(type))
        return !mount.readOnly && !isSystemTree(mount.mountPoint) && isDirectory();
    if (remoteTypes().contains(type))
        return true;
    const bool holdsFiles = diskTypes().contains(type) || mount.source.startsWith(u"/dev/");
    return holdsFiles && isDirectory();
}

int typeOf(const MountEntry &mount, const MountTableOptions &options)
{
    if (remoteTypes().contains(mount.fsType))
        return DriveRemote;
    if (mount.fsType == u"iso9660" || mount.fsType == u"udf" || mount.source.startsWith(u"/dev/sr"))
        return DriveCdRom;
    if (isMemoryType(mount.fsType))
        return DriveRamDisk;
    if (mount.source.startsWith(u"/dev/") && options.isRemovable(mount.source))
        return DriveRemovable;
    return DriveFixed;
}

// The mounts a user can see: when several are stacked on one mount point, the last one hides the
// others.
QList<MountEntry> visibleMounts(const QList<MountEntry> &mounts)
{
    QHash<QString, qsizetype> last;
    for (qsizetype i = 0; i < mounts.size(); ++i)
        last[mounts[i].mountPoint] = i;
    QList<MountEntry> visible;
    for (qsizetype i = 0; i < mounts.size(); ++i)
        if (last.value(mounts[i].mountPoint) == i)
            visible.append(mounts[i]);
    return visible;
}

MountTableOptions withMachineDefaults(MountTableOptions options)
{
    if (!options.folderOf)
        options.folderOf = [](const QString &mountPoint) { return mountPoint; };
    if (!options.isRemovable)
        options.isRemovable = isRemovableDevice;
    if (!options.isDirectory) {
        options.isDirectory = [folderOf = options.folderOf](const QString &mountPoint) {
            return QFileInfo(folderOf(mountPoint)).isDir();
        };
    }
    if (!options.probe)
        options.probe = probeVolume;
    return options;
}

} // namespace

QList<MountEntry> parseMountInfo(const QByteArray &text)
{
    QList<MountEntry> mounts;
    qsizetype begin = 0;
    while (begin < text.size()) {
        qsizetype end = text.indexOf('\n', begin);
        if (end < 0)
            end = text.size();
        // Only blanks part the fields: the kernel escapes blanks, tabs, newlines and backslashes
        // in a path, and passes every other byte through, control characters included.
        QList<QByteArray> fields = text.mid(begin, end - begin).split(' ');
        fields.removeAll(QByteArray());
        begin = end + 1;

        // id parent major:minor root mount-point options [optional fields...] - type source ...
        const qsizetype dash = fields.indexOf(QByteArray("-"), 6);
        MountEntry mount;
        if (dash < 6 || dash + 2 >= fields.size() || !parseDevice(fields[2], mount))
            continue;
        mount.root = unescape(fields[3]);
        mount.mountPoint = unescape(fields[4]);
        mount.fsType = unescape(fields[dash + 1]);
        mount.source = unescape(fields[dash + 2]);
        const QByteArray superOptions = dash + 3 < fields.size() ? fields[dash + 3] : QByteArray();
        mount.readOnly = hasReadOnlyOption(fields[5]) || hasReadOnlyOption(superOptions);
        mount.accessTimes = accessTimesOf(fields[5]);
        mounts.append(mount);
    }
    return mounts;
}

bool isRemovableDevice(const QString &source)
{
    // /dev/disk/by-label/... and /dev/mapper/... are links to the kernel's own name.
    const QString device = QFileInfo(source).canonicalFilePath();
    if (device.isEmpty())
        return false;
    const QString block = QStringLiteral("/sys/class/block/") + QFileInfo(device).fileName();
    QString disk = QFileInfo(block).fileName();
    if (QFileInfo::exists(block + QStringLiteral("/partition")))
        disk = QFileInfo(QFileInfo(block).canonicalFilePath()).dir().dirName();
    QFile removable(QStringLiteral("/sys/block/") + disk + QStringLiteral("/removable"));
    return removable.open(QIODevice::ReadOnly) && removable.readAll().trimmed() == "1";
}

QList<Drive> drivesFromMountTable(const QList<MountEntry> &mounts, const MountTableOptions &given)
{
    const MountTableOptions options = withMachineDefaults(given);
    const QList<MountEntry> visible = visibleMounts(mounts);
    const QSet<QString> networkFolders = networkMountPoints(visible);
    QList<MountEntry> listed;
    for (const MountEntry &mount : visible)
        if (isListed(mount, options, liesBelowAny(mount.mountPoint, networkFolders)))
            listed.append(mount);

    // The root file system first, then the others by the path of their mount point.
    std::sort(listed.begin(), listed.end(), [](const MountEntry &a, const MountEntry &b) {
        const bool aRoot = a.mountPoint == u"/", bRoot = b.mountPoint == u"/";
        if (aRoot != bRoot)
            return aRoot;
        return a.mountPoint < b.mountPoint;
    });

    QList<Drive> drives;
    QSet<QString> seen; // device and root of every drive so far: a bind of one is no new drive
    char16_t next = u'd';
    for (const MountEntry &mount : listed) {
        const QString identity =
            QStringLiteral("%1:%2:%3").arg(mount.major).arg(mount.minor).arg(mount.root);
        if (seen.contains(identity))
            continue;
        const bool isRoot = mount.mountPoint == u"/";
        if (!isRoot && next > u'z')
            break;
        seen.insert(identity);
        Drive drive;
        drive.letter = isRoot ? QChar(u'c') : QChar(next++);
        drive.type = typeOf(mount, options);
        drive.entry = driveEntryText(drive.letter, drive.type, mount.mountPoint, mount.source);
        drive.mountPoint = options.folderOf(mount.mountPoint);
        drive.source = mount.source;
        drive.fsType = mount.fsType;
        drive.device = makedev(mount.major, mount.minor);
        drive.accessTimes = mount.accessTimes;
        drives.append(drive);
    }
    return drives;
}

MountTableDriveSource::MountTableDriveSource(const QByteArray &mountInfo, MountTableOptions given)
    : options(withMachineDefaults(std::move(given)))
{
    const QList<MountEntry> mounts = parseMountInfo(mountInfo);
    table = drivesFromMountTable(mounts, options);
    // Every network mount counts, also one that got no letter.
    QSet<QString> networkFolders;
    for (const QString &mountPoint : networkMountPoints(visibleMounts(mounts)))
        networkFolders.insert(options.folderOf(mountPoint));
    // The walk tells a drive's own folders by the device that stat reports on its root. That is
    // the mount table's major:minor except on a few disk file systems (btrfs subvolumes); drives
    // that may hang are left as they are, so that a server that is gone cannot hold up the start.
    for (Drive &drive : table) {
        if (drive.type == DriveRemote || liesBelowAny(drive.mountPoint, networkFolders)) {
            remoteFolders.append(drive.mountPoint);
            continue;
        }
        const VolumeFacts facts = options.probe(drive.mountPoint);
        if (facts.answered)
            drive.device = facts.device;
    }
    remoteVolumes::probeInBackground(remoteFolders, options.remote);
}

std::unique_ptr<MountTableDriveSource> MountTableDriveSource::fromMachine()
{
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    QByteArray text;
    if (file.open(QIODevice::ReadOnly))
        text = file.readAll(); // a proc file has no size; readAll reads to its end
    return std::make_unique<MountTableDriveSource>(text);
}

QList<Drive> MountTableDriveSource::drives() const
{
    return table;
}

QString MountTableDriveSource::currentEntry() const
{
    const Drive *drive = driveHoldingPath(table, currentFolder());
    return drive ? drive->entry : QString();
}

VolumeFacts MountTableDriveSource::ask(QChar letter) const
{
    const Drive *drive = find(letter);
    if (!drive)
        return VolumeFacts();
    VolumeFacts facts = remoteFolders.contains(drive->mountPoint)
                            ? remoteVolumes::ask(drive->mountPoint, remoteFolders, options.remote)
                            : options.probe(drive->mountPoint);
    // After an unmount the folder is still there, but on the file system around it.
    if (facts.answered && facts.device != drive->device)
        facts.answered = false;
    return facts;
}

bool MountTableDriveSource::isReady(QChar letter) const
{
    return ask(letter).answered;
}

bool MountTableDriveSource::space(QChar letter, std::uint64_t &freeBytes,
                                  std::uint64_t &totalBytes) const
{
    const VolumeFacts facts = ask(letter);
    if (!facts.answered)
        return false;
    freeBytes = facts.freeBytes;
    totalBytes = facts.totalBytes;
    return true;
}

std::uint64_t MountTableDriveSource::clusterSize(QChar letter) const
{
    const VolumeFacts facts = ask(letter);
    return facts.answered ? facts.clusterSize : 0;
}

std::uint64_t MountTableDriveSource::usedEntries(QChar letter) const
{
    // An unmounted drive's folder answers for the file system around it: not this drive's count.
    const VolumeFacts facts = ask(letter);
    return facts.answered ? facts.usedEntries : 0;
}

} // namespace platform
