#include "platform/MountTable.h"

#include "platform/FolderDriveSource.h"
#include "support/ServerStandIn.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/sysmacros.h>

using namespace platform;

namespace {

QByteArray fixture(const QString &name)
{
    QFile file(korvel::test::testDataPath("platform/fixtures/" + name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

// Options that ask nothing of this machine: every mount point is a folder unless named, and
// only the given devices sit on removable disks.
MountTableOptions fixtureOptions(const QStringList &removable = {}, const QStringList &files = {})
{
    MountTableOptions options;
    options.isRemovable = [removable](const QString &source) { return removable.contains(source); };
    options.isDirectory = [files](const QString &mountPoint) {
        return !files.contains(mountPoint);
    };
    options.probe = [](const QString &) { return VolumeFacts(); };
    return options;
}

QStringList entries(const QList<Drive> &drives)
{
    QStringList list;
    for (const Drive &drive : drives)
        list.append(drive.entry);
    return list;
}

} // namespace

TEST(MountTable, ParsingUndoesEscapesAndSkipsBrokenLines)
{
    const QByteArray text =
        "38 22 8:17 / /media/alice/USB\\040STICK rw - vfat /dev/sdb1 rw\n"
        "garbage line\n"
        "39 22 x / /bad rw - ext4 /dev/sda1 rw\n"
        "40 22 8:1 / /no-dash rw ext4 /dev/sda1\n"
        "41 22 8:2 /sub /with\\134slash ro shared:3 master:1 - ext4 /dev/sda2 rw";
    const QList<MountEntry> mounts = parseMountInfo(text);
    ASSERT_EQ(mounts.size(), 2);
    EXPECT_EQ(mounts[0].mountPoint, "/media/alice/USB STICK");
    EXPECT_EQ(mounts[0].major, 8u);
    EXPECT_EQ(mounts[0].minor, 17u);
    EXPECT_EQ(mounts[0].fsType, "vfat");
    EXPECT_EQ(mounts[0].source, "/dev/sdb1");
    EXPECT_FALSE(mounts[0].readOnly);
    EXPECT_EQ(mounts[1].mountPoint, "/with\\slash");
    EXPECT_EQ(mounts[1].root, "/sub");
    EXPECT_TRUE(mounts[1].readOnly);
}

// Only blanks part the fields: every other byte of a mount point, control characters too, is its
// own, and each escape stands for exactly its one byte. The line after such a mount is kept.
TEST(MountTable, MountPointsKeepEveryByteAndEachEscape)
{
    const std::pair<QByteArray, QString> cases[] = {
        {"/m\rx", "/m\rx"},        {"/m\vx", "/m\vx"},
        {"/m\fx", "/m\fx"},        {"/m\x01\x1fx", "/m\x01\x1fx"},
        {"/a\\040b", "/a b"},      {"/a\\011b", "/a\tb"},
        {"/a\\012b", "/a\nb"},     {"/a\\134b", "/a\\b"},
        {"/a\\134040", "/a\\040"},
    };
    for (const auto &[field, mountPoint] : cases) {
        const QByteArray text = "1 0 8:1 / " + field + " rw,noatime - ext4 /dev/sda1 rw\n" +
                                "2 0 8:2 / /next rw - ext4 /dev/sda2 rw\n";
        const QList<MountEntry> mounts = parseMountInfo(text);
        ASSERT_EQ(mounts.size(), 2) << field.toStdString();
        EXPECT_EQ(mounts[0].mountPoint, mountPoint) << field.toStdString();
        EXPECT_EQ(mounts[0].fsType, "ext4") << field.toStdString();
        EXPECT_EQ(mounts[1].mountPoint, "/next");
    }
}

TEST(MountTable, DesktopListsRealFileSystemsWithTheirTypesAndEntries)
{
    const QList<Drive> drives = drivesFromMountTable(
        parseMountInfo(fixture("mountinfo-desktop.txt")), fixtureOptions({"/dev/sdb1"}));
    // Left out: proc, sys, dev trees, tmpfs under /run, snaps, the gvfs helper and the bind of
    // the root file system at /var/snap/bind.
    EXPECT_EQ(entries(drives), QStringList({
                                   "c: [/]",
                                   "d: [/boot/efi]",
                                   "e: [/home]",
                                   "f: [/media/alice/photos_2019]",
                                   "g:",
                                   "h: nas.local:/export/Media",
                                   "i: [/mnt/ramdisk]",
                                   "j: //fileserver/Public",
                                   "k: [/srv/projects]",
                                   "l: [/tmp]",
                               }));
    QList<int> types;
    for (const Drive &drive : drives)
        types.append(drive.type);
    EXPECT_EQ(types,
              QList<int>({DriveFixed, DriveFixed, DriveFixed, DriveCdRom, DriveRemovable,
                          DriveRemote, DriveRamDisk, DriveRemote, DriveFixed, DriveRamDisk}));
    EXPECT_EQ(drives[0].fsType, "ext4");
    EXPECT_EQ(drives[0].source, "/dev/nvme0n1p2");
    EXPECT_EQ(drives[4].mountPoint, "/media/alice/USB STICK");
    EXPECT_EQ(drives[1].device, makedev(259, 1));
}

TEST(MountTable, ContainerKeepsOverlayRootAndDropsBoundFilesAndReadOnlyTmpfs)
{
    const QList<Drive> drives = drivesFromMountTable(
        parseMountInfo(fixture("mountinfo-container.txt")),
        fixtureOptions({}, {"/etc/resolv.conf", "/etc/hostname", "/etc/hosts"}));
    EXPECT_EQ(entries(drives), QStringList({"c: [/]", "d: [/data]"}));
    EXPECT_EQ(drives[0].fsType, "overlay");
}

TEST(MountTable, BtrfsLaptopListsSubvolumesFuseDisksAndSshfs)
{
    const QList<Drive> drives =
        drivesFromMountTable(parseMountInfo(fixture("mountinfo-btrfs.txt")), fixtureOptions());
    EXPECT_EQ(entries(drives),
              QStringList({"c: [/]", "d: [/boot]", "e: [/home]", "f: bob@server.example:/srv",
                           "g: [/run/media/bob/backup]"}));
    EXPECT_EQ(drives[3].type, DriveRemote);
}

TEST(MountTable, StackedMountsBindsAndLetterLimits)
{
    QByteArray text = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                      "2 1 8:2 / /data rw - ext4 /dev/sda2 rw\n"
                      "3 1 8:3 / /data rw - xfs /dev/sda3 rw\n"        // hides the one before
                      "4 1 8:2 / /again rw - ext4 /dev/sda2 rw\n"      // sda2 is hidden, so listed
                      "5 1 8:1 / /bind rw - ext4 /dev/sda1 rw\n"       // the root once more
                      "6 1 0:40 / /cd rw - ext4 /dev/sr1 rw\n"         // a disc drive's device
                      "7 1 0:41 / /ro-ram ro - tmpfs tmpfs rw\n"       // read-only RAM disk
                      "8 1 0:42 / /odd rw - fuse.unknown helper rw\n"; // no disk behind it
    QList<Drive> drives = drivesFromMountTable(parseMountInfo(text), fixtureOptions());
    EXPECT_EQ(entries(drives), QStringList({"c: [/]", "d: [/again]", "e: [/cd]", "f: [/data]"}));
    EXPECT_EQ(drives[2].type, DriveCdRom);
    EXPECT_EQ(drives[3].fsType, "xfs");

    // Thirty more disks: letters end at z, and the root keeps c: although it comes last.
    text.clear();
    for (int i = 0; i < 30; ++i)
        text += QStringLiteral("%1 1 9:%1 / /m%2 rw - ext4 /dev/md%1 rw\n")
                    .arg(i + 10)
                    .arg(i, 2, 10, QChar(u'0'))
                    .toUtf8();
    text += "99 1 8:1 / / rw - ext4 /dev/sda1 rw\n";
    drives = drivesFromMountTable(parseMountInfo(text), fixtureOptions());
    ASSERT_EQ(drives.size(), 24);
    EXPECT_EQ(drives.first().entry, "c: [/]");
    EXPECT_EQ(drives[1].entry, "d: [/m00]");
    EXPECT_EQ(drives.last().entry, "z: [/m22]");
}

// The drive source proper, with mount points led to temporary folders and the volumes answered
// by a stand-in probe.
class MountTableSourceTest : public ::testing::Test
{
protected:
    QTemporaryDir temp;

    MountTableOptions mapped(const QByteArray &text, VolumeProbe probe)
    {
        MountTableOptions options = fixtureOptions({"/dev/sdb1"});
        const QString base = temp.path();
        options.folderOf = [base](const QString &mountPoint) {
            return base + (mountPoint == u"/" ? QString("/root") : mountPoint);
        };
        for (const MountEntry &mount : parseMountInfo(text))
            QDir().mkpath(options.folderOf(mount.mountPoint));
        options.probe = std::move(probe);
        return options;
    }
};

TEST_F(MountTableSourceTest, CapacityIsSixtyFourBitAndAnUnmountedDriveIsNotReady)
{
    const QByteArray text = fixture("mountinfo-desktop.txt");
    std::uint64_t homeDevice = 77;
    const QString home = temp.path() + "/home";
    auto probe = [&](const QString &folder) {
        VolumeFacts facts;
        facts.answered = true;
        facts.device = folder == home ? homeDevice : 1;
        facts.totalBytes = 6ull << 40; // 6 TB
        facts.freeBytes = (5ull << 40) + 3;
        facts.clusterSize = 4096;
        facts.usedEntries = 300;
        return facts;
    };
    MountTableDriveSource source(text, mapped(text, probe));

    EXPECT_EQ(source.mountPoint('e'), home);
    EXPECT_EQ(source.find('E')->device, 77u);
    std::uint64_t freeBytes = 0, totalBytes = 0;
    ASSERT_TRUE(source.space('e', freeBytes, totalBytes));
    EXPECT_EQ(totalBytes, 6ull << 40);
    EXPECT_EQ(freeBytes, (5ull << 40) + 3);
    EXPECT_EQ(source.clusterSize('e'), 4096u);
    EXPECT_EQ(source.usedEntries('e'), 300u);
    EXPECT_TRUE(source.isReady('e'));

    // Unmounted: the folder now answers for the file system around it.
    homeDevice = 78;
    EXPECT_FALSE(source.isReady('e'));
    EXPECT_FALSE(source.space('e', freeBytes, totalBytes));
    EXPECT_EQ(source.clusterSize('e'), 0u);
    EXPECT_EQ(source.usedEntries('e'), 0u);

    EXPECT_FALSE(source.isReady('y'));
    EXPECT_EQ(source.driveType('y'), DriveNoRoot);
    EXPECT_EQ(source.mountPoint('y'), "");
}

TEST_F(MountTableSourceTest, ARemoteDriveThatHangsIsNotReadyAndDoesNotBlock)
{
    const QByteArray text = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                            "2 1 0:45 / /mnt/nas rw - nfs4 nas.local:/export rw\n";
    korvel::test::ServerStandIn server; // down
    MountTableOptions options = mapped(text, [](const QString &) { return VolumeFacts{true}; });
    options.remote.command = server.command();
    options.remote.timeLimit = std::chrono::milliseconds(1);
    MountTableDriveSource source(text, options);

    EXPECT_TRUE(source.isReady('c'));
    EXPECT_FALSE(source.isReady('d'));
    std::uint64_t freeBytes = 0, totalBytes = 0;
    EXPECT_FALSE(source.space('d', freeBytes, totalBytes));
}

TEST_F(MountTableSourceTest, CurrentDriveHasTheLongestMountPointAboveTheWorkingFolder)
{
    const QByteArray text = fixture("mountinfo-desktop.txt");
    MountTableDriveSource source(text, mapped(text, [](const QString &) { return VolumeFacts(); }));
    const QString saved = QDir::currentPath();
    ASSERT_TRUE(QDir().mkpath(temp.path() + "/home/alice/docs"));
    ASSERT_TRUE(QDir().mkpath(temp.path() + "/root/homework"));

    QDir::setCurrent(temp.path() + "/home/alice/docs");
    EXPECT_EQ(source.currentEntry(), "e: [/home]");
    QDir::setCurrent(temp.path() + "/root/homework");
    EXPECT_EQ(source.currentEntry(), "c: [/]");
    QDir::setCurrent(temp.path() + "/boot/efi");
    EXPECT_EQ(source.currentEntry(), "d: [/boot/efi]");
    QDir::setCurrent(saved);
}
