#include "EngineTestSupport.h"
#include "support/TestSupport.h"

#include <cerrno>
#include <cstring>
#include <sys/mount.h>

namespace {

using korvel::test::Tree;
using korvel::test::utc;

class Run : public korvel::test::EngineTest
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        engine.hooks.driveStarting = [this] { steps << "starting " + engine.currentDrive; };
        engine.hooks.refillPages = [this] { steps << "refill"; };
        engine.hooks.driveFinished = [this] { steps << "finished"; };
    }
    QStringList steps;
};

TEST_F(Run, OneDriveFillsTheOverhangAndReportsTheCount)
{
    korvel::test::LocaleGuard locale(korvel::test::commaLocale());
    Tree tree;
    for (int i = 0; i < 1234; ++i)
        tree.file(QString("f%1/%2.txt").arg(i % 7).arg(i), 5000);
    useDrives({tree.root()});
    engine.collectDrives();

    EXPECT_TRUE(engine.overhangPageEnabled);
    EXPECT_EQ(engine.overhang4K, 1234 * 3192.0);
    EXPECT_EQ(statusTexts.first(), "");
    EXPECT_EQ(statusTexts.last(), "Finished - 1,234 files processed");
    EXPECT_EQ(captions, QStringList{"Statistics completed for drives C: "});
    const QString entry = engine.PickList1.first();
    EXPECT_EQ(steps, (QStringList{"starting " + entry, "refill", "finished"}));
    EXPECT_TRUE(engine.collected);
    EXPECT_FALSE(engine.scanning);
    expectInvariants();
}

// The walk never moves the process into a drive, which would keep it busy; the drive walked last
// is still the current one that the next run offers first.
TEST_F(Run, WorkingFolderStaysWhereItWas)
{
    Tree tree;
    tree.file("sub/a", 1);
    auto &drives = useDrives({tree.root()});
    const QString before = QDir::currentPath();
    engine.collectDrives();
    EXPECT_EQ(QDir::currentPath(), before);
    EXPECT_EQ(drives.currentEntry(), engine.PickList1.first());
}

// A drive walked by a run can be unmounted at once while the program goes on: nothing of the walk
// (working folder, open folders of the read-ahead) holds it. Mounting needs root.
TEST_F(Run, AWalkedDriveCanBeUnmountedRightAfterTheRun)
{
    Tree tree;
    const QByteArray root = tree.root().toLocal8Bit();
    if (::mount("korvel98-test", root, "tmpfs", 0, "size=4m") != 0)
        GTEST_SKIP() << "no tmpfs may be mounted here: " << std::strerror(errno);
    for (int i = 0; i < 60; ++i)
        tree.file(QString("d%1/e%2/f%3").arg(i % 3).arg(i % 5).arg(i), 1);
    useDrives({tree.root()});
    engine.readAheadThreads = 2;
    engine.collectDrives();
    EXPECT_EQ(engine.filesProcessed, 60);
    const bool unmounted = ::umount2(root, 0) == 0;
    const int error = errno;
    if (!unmounted)
        ::umount2(root, MNT_DETACH);
    EXPECT_TRUE(unmounted) << std::strerror(error);
}

TEST_F(Run, SeveralDrivesAddUpWithoutOverhang)
{
    Tree first, second;
    first.file("a.doc", 5000);
    second.file("b.doc", 5000);
    second.file("sub/c.txt", 1);
    auto &drives = useDrives({first.root(), second.root(), second.root()});
    drives.setReady(QChar('e'), false);
    engine.collectDrives();

    EXPECT_FALSE(engine.overhangPageEnabled);
    EXPECT_EQ(engine.overhang4K + engine.overhang64K, 0.0);
    EXPECT_EQ(engine.filesProcessed, 3) << "the drive that is not ready is passed over";
    EXPECT_EQ(engine.lbTypes.rows(), (QStringList{".DOC\t2\t10000", ".TXT\t1\t1"}));
    EXPECT_EQ(captions, (QStringList{"Statistics completed for drives C: ",
                                     "Statistics completed for drives C: D: "}));
    EXPECT_EQ(steps.filter("refill").size(), 2);
}

TEST_F(Run, FilteredRunTellsFilesFound)
{
    Tree tree;
    tree.file("REPORT.DOC", 1);
    tree.file("notes.txt", 1);
    tree.file("README", 1);
    useDrives({tree.root()});
    engine.filter = Filter(Filter::Mode::Include, {"*.doc\tWord document"});
    engine.collectDrives();
    EXPECT_EQ(statusTexts.last(), "Finished - 3 files processed 1 files found");
}

TEST_F(Run, DriveWhoseRootCannotBeEnteredShowsTheError)
{
    Tree tree;
    auto &drives = useDrives({tree.root() + "/missing"});
    drives.setReady(QChar('c'), true);
    engine.collectDrives();
    EXPECT_EQ(errors, QStringList{"Can't open drive " + engine.PickList1.first()});
    EXPECT_EQ(statusTexts.last(), "Finished - 0 files processed");
    EXPECT_EQ(captions, QStringList{"Statistics completed for drives C: "});
}

TEST_F(Run, TotalOfThePickedReadyDrives)
{
    Tree tree;
    auto &drives = useDrives({tree.root(), tree.root(), tree.root()});
    drives.setSpace(QChar('c'), 1, 3'000'000'000'000ull);
    drives.setSpace(QChar('d'), 1, 5'000'000'000ull);
    drives.setSpace(QChar('e'), 1, 7);
    drives.setReady(QChar('e'), false);
    EXPECT_EQ(engine.computePickListTotal(), 3'005'000'000'000.0L);
    engine.PickList1.clear();
    EXPECT_EQ(engine.computePickListTotal(), 0.0L);
}

// A second run starts from nothing: every slot of every table holds only its own files.
TEST_F(Run, SecondRunKeepsOnlyItsOwnFiles)
{
    Tree busy, quiet;
    for (int slot = 0; slot < 48; ++slot) {
        const std::int64_t at = utc(2026, 11, 2, slot / 2, slot % 2 ? 45 : 15);
        busy.file(QString("f%1.%2").arg(slot).arg(slot % 5 ? "txt" : "c"), qint64(slot) << 17, at,
                  at + 86400);
    }
    useDrives({busy.root()});
    engine.collectDrives();
    EXPECT_EQ(engine.hourModified[47], 1.0);
    EXPECT_EQ(engine.hourAccessed[1], 1.0);

    quiet.file("only.doc", 100, utc(2026, 12, 1, 10, 40), utc(2026, 12, 1, 10, 40));
    useDrives({quiet.root()});
    engine.collectDrives();

    EXPECT_EQ(engine.filesProcessed, 1);
    EXPECT_EQ(engine.lbTypes.rows(), QStringList{".DOC\t1\t100"});
    for (int slot = 0; slot < 48; ++slot) {
        EXPECT_EQ(engine.hourModified[slot], slot == 21 ? 1.0 : 0.0) << slot;
        EXPECT_EQ(engine.hourAccessed[slot], slot == 21 ? 1.0 : 0.0) << slot;
        EXPECT_LE(engine.hourCreated[slot], 1.0) << slot;
    }
    EXPECT_EQ(engine.sizeBytes[1], 100.0);
    EXPECT_EQ(engine.ageModifiedFiles[1], 1.0);
    EXPECT_EQ(engine.overhang4K, 3996.0);
    expectInvariants();
}

} // namespace
