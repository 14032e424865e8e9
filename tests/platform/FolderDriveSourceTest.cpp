#include "platform/FolderDriveSource.h"

#include "platform/Volume.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace platform;

TEST(FolderDriveSource, AFolderAnswersLikeADrive)
{
    QTemporaryDir temp;
    FolderDriveSource source;
    source.addDrive('E', DriveFixed, "", temp.path());
    source.addDrive('d', DriveRemovable, "", temp.path() + "/stick");
    source.addDrive('x', DriveRemote, "", "//server/share");
    source.addDrive('f', DriveCdRom, "f: []", temp.path());

    QStringList entries;
    for (const Drive &drive : source.drives())
        entries.append(drive.entry);
    EXPECT_EQ(entries, QStringList({"d:", "e: [" + temp.path().toLower() + "]", "f: []",
                                    "x: //server/share"}));

    struct stat st
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(temp.path()).constData(), &st), 0);
    EXPECT_EQ(source.find('e')->device, std::uint64_t(st.st_dev));
    // The mount that holds the folder tells how it keeps access dates; nothing holds a folder
    // that is not there.
    EXPECT_NE(source.find('e')->accessTimes, AccessTimes::Unknown);
    EXPECT_EQ(source.find('d')->accessTimes, AccessTimes::Unknown);

    EXPECT_TRUE(source.isReady('e'));
    EXPECT_FALSE(source.isReady('d')); // its folder does not exist
    EXPECT_FALSE(source.isReady('q'));
    std::uint64_t freeBytes = 0, totalBytes = 0;
    ASSERT_TRUE(source.space('e', freeBytes, totalBytes));
    EXPECT_GT(totalBytes, 0u);
    EXPECT_LE(freeBytes, totalBytes);
    EXPECT_GT(source.clusterSize('e'), 0u);
    EXPECT_FALSE(source.space('d', freeBytes, totalBytes));
    EXPECT_EQ(source.clusterSize('d'), 0u);

    source.setSpace('e', 123, 9ull << 40);
    source.setClusterSize('e', 65536);
    ASSERT_TRUE(source.space('e', freeBytes, totalBytes));
    EXPECT_EQ(totalBytes, 9ull << 40);
    EXPECT_EQ(freeBytes, 123u);
    EXPECT_EQ(source.clusterSize('e'), 65536u);

    source.setReady('e', false);
    EXPECT_FALSE(source.isReady('e'));
    EXPECT_FALSE(source.space('e', freeBytes, totalBytes));

    // A drive found by letter stays valid across later look-ups: it is the table's own entry,
    // not a copy that the next look-up throws away.
    const Drive *d = source.find('d');
    const Drive *x = source.find('X');
    EXPECT_EQ(source.find('e'), source.drives().constData() + 1);
    EXPECT_EQ(d, source.drives().constData());
    EXPECT_EQ(d->entry, "d:");
    EXPECT_EQ(x->entry, "x: //server/share");

    // Replacing a letter keeps one drive per letter.
    source.addDrive('e', DriveRamDisk, "e: [ram]", temp.path());
    EXPECT_EQ(source.drives().size(), 4);
    EXPECT_EQ(source.driveType('E'), DriveRamDisk);
}

TEST(FolderDriveSource, CurrentEntryFollowsTheWorkingFolderUntilSet)
{
    QTemporaryDir temp;
    ASSERT_TRUE(QDir().mkpath(temp.path() + "/a/inner"));
    ASSERT_TRUE(QDir().mkpath(temp.path() + "/ab"));
    FolderDriveSource source;
    source.addDrive('c', DriveFixed, "c: [outer]", temp.path());
    source.addDrive('d', DriveFixed, "d: [a]", temp.path() + "/a");

    const QString saved = QDir::currentPath();
    QDir::setCurrent(temp.path() + "/a/inner");
    EXPECT_EQ(source.currentEntry(), "d: [a]");
    QDir::setCurrent(temp.path() + "/ab"); // "/a" is no folder above "/ab"
    EXPECT_EQ(source.currentEntry(), "c: [outer]");
    QDir::setCurrent(saved);

    source.setCurrentEntry("");
    EXPECT_EQ(source.currentEntry(), "");
}
