#include "drives/Drives.h"

#include "support/PlatformFakes.h"
#include "support/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// A drive table of temporary folders for one test.
class DrivesTest : public ::testing::Test
{
protected:
    QTemporaryDir temp;
    korvel::test::InstalledFolderDrives source;
};

} // namespace

TEST(Drives, EachTypeHasItsText)
{
    EXPECT_EQ(driveTypeText(DriveRemovable), "(Removable disk)");
    EXPECT_EQ(driveTypeText(DriveFixed), "(Fixed disk)");
    EXPECT_EQ(driveTypeText(DriveRemote), "(Remote disk)");
    EXPECT_EQ(driveTypeText(DriveCdRom), "(CD-ROM)");
    EXPECT_EQ(driveTypeText(DriveRamDisk), "(RAM-Disk)");
    for (int type : {-1, 0, 1, 7})
        EXPECT_EQ(driveTypeText(type), "") << type;
}

TEST_F(DrivesTest, TheListSkipsFloppiesAndRewritesEntriesWithoutALabel)
{
    source->addDrive('a', DriveRemovable, "a:", temp.path());
    source->addDrive('B', DriveRemovable, "B:", temp.path());
    source->addDrive('c', DriveFixed, "c: [system]", temp.path());
    source->addDrive('d', DriveFixed, "d: []", temp.path());
    source->addDrive('e', DriveCdRom, "e: [photos]", temp.path());
    source->addDrive('f', DriveCdRom, "f: []", temp.path());
    source->addDrive('g', DriveRemovable, "g:", temp.path());
    source->addDrive('h', DriveRamDisk, "h: []", temp.path());
    source->addDrive('i', DriveUnknown, "i: []", temp.path());
    source->addDrive('x', DriveRemote, "x: //server/share", temp.path());
    source->setCurrentEntry("c: [system]");

    DriveList list = buildDriveList();
    EXPECT_EQ(list.entries, QStringList({"c: [system]", "d: (Fixed disk)", "e: [photos]",
                                         "g:", "h: (RAM-Disk)", "i: ", "x: //server/share"}));
    EXPECT_EQ(list.pick, 0);

    source->setCurrentEntry("x: //server/share");
    EXPECT_EQ(buildDriveList().pick, 6);
    // A current drive without a label was rewritten, so no entry equals it: every entry is picked.
    source->setCurrentEntry("d: []");
    EXPECT_EQ(buildDriveList().pick, -1);
    source->setCurrentEntry("");
    EXPECT_EQ(buildDriveList().pick, -1);
}

TEST_F(DrivesTest, AnEmptyTableGivesAnEmptyList)
{
    const DriveList list = buildDriveList();
    EXPECT_TRUE(list.entries.isEmpty());
    EXPECT_EQ(list.pick, -1);
}

TEST_F(DrivesTest, ReadinessNeedsALetterWithADriveThatAnswers)
{
    source->addDrive('c', DriveFixed, "", temp.path());
    source->addDrive('d', DriveFixed, "", temp.path() + "/gone");
    EXPECT_TRUE(isDriveReady('c'));
    EXPECT_TRUE(isDriveReady('C'));
    EXPECT_FALSE(isDriveReady('d'));
    EXPECT_FALSE(isDriveReady('e'));
    for (QChar odd : {QChar(u'1'), QChar(u' '), QChar(u'['), QChar(0x00E4)})
        EXPECT_FALSE(isDriveReady(odd));
    source->setReady('c', false);
    EXPECT_FALSE(isDriveReady('c'));
}

TEST_F(DrivesTest, SpaceIsExactBeyondFourGigabytesAndMinusOneWithoutAnAnswer)
{
    source->addDrive('c', DriveFixed, "", temp.path());
    source->addDrive('d', DriveFixed, "", temp.path());
    source->addDrive('e', DriveFixed, "", temp.path() + "/gone");
    source->setSpace('d', (3ull << 40) + 1, 12ull << 40); // beyond any 32-bit product

    double freeBytes = 0, totalBytes = 0;
    EXPECT_TRUE(getDriveSpace("d:\\", freeBytes, totalBytes));
    EXPECT_EQ(totalBytes, double(12ull << 40));
    EXPECT_EQ(freeBytes, double((3ull << 40) + 1));

    EXPECT_TRUE(getDriveSpace("C:\\", freeBytes, totalBytes));
    EXPECT_GT(totalBytes, 0.0);
    EXPECT_LE(freeBytes, totalBytes);

    for (const char *root : {"e:\\", "q:\\", "", "1:\\"}) {
        freeBytes = 5;
        EXPECT_TRUE(getDriveSpace(root, freeBytes, totalBytes));
        EXPECT_EQ(totalBytes, -1.0) << root;
        EXPECT_EQ(freeBytes, 0.0) << root;
    }
}
