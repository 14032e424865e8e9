#include "EngineTestSupport.h"
#include "engine/ReadAhead.h"

#include <cerrno>
#include <condition_variable>
#include <fcntl.h>
#include <functional>
#include <map>
#include <mutex>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using korvel::test::Tree;

// Records every file the classification is handed, in order, with the folder it came from.
class RecordingEngine : public StatisticsEngine
{
public:
    using StatisticsEngine::StatisticsEngine;
    void crunchNumbers(const QString &directoryText, const platform::DirectoryEntry &entry) override
    {
        seen << directoryText + u'/' + entry.name();
        StatisticsEngine::crunchNumbers(directoryText, entry);
    }
    QStringList seen;
};

// The order a walk must hand the files over in: below each folder first its subfolders, each
// whole, in the order the folder lists them, then its own files in that order.
void expectedOrder(const QString &folder, QStringList &out)
{
    const platform::DirectoryListing listing = platform::listDirectory(folder);
    for (const auto &entry : listing.entries())
        if (entry.isDirectory() && !(entry.attributes & platform::AttrHidden))
            expectedOrder(folder + u'/' + entry.name(), out);
    for (const auto &entry : listing.entries())
        if (!entry.isDirectory())
            out << folder + u'/' + entry.name();
}

// Every walk test runs with folders read ahead by two helpers and with none.
class Walk : public korvel::test::EngineTest, public ::testing::WithParamInterface<int>
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        recorder.clock = engine.clock;
        recorder.filter = Filter();
        recorder.readAheadThreads = GetParam();
        engine.readAheadThreads = GetParam();
    }
    // Walks one folder as drive c: with the recording engine.
    void walk(const QString &folder)
    {
        useDrives({folder});
        recorder.PickList1 = engine.PickList1;
        recorder.collectDrives();
    }

    RecordingEngine recorder{drives};
    Tree tree;
};

TEST_P(Walk, SubfoldersComeBeforeTheFolderOwnFilesInListingOrder)
{
    for (const char *name : {"a.txt", "b.txt", "sub1/x.doc", "sub1/deep/y.pdf", "sub1/deep/z.pdf",
                             "sub2/w.png", "sub2/v/u.png", "sub3/t", "zz.txt"})
        tree.file(name, 1);
    tree.folder("empty");
    walk(tree.root());

    QStringList expected;
    expectedOrder(tree.root(), expected);
    EXPECT_EQ(recorder.seen, expected);
    EXPECT_EQ(recorder.filesProcessed, 9);
    EXPECT_LT(recorder.seen.indexOf(tree.path("sub1/deep/y.pdf")),
              recorder.seen.indexOf(tree.path("sub1/x.doc")));
    EXPECT_EQ(recorder.seen.mid(6).filter("/sub").size(), 0) << "the root's files come last";
}

TEST_P(Walk, HiddenFoldersAreSkippedHiddenFilesCounted)
{
    tree.file(".cache/a", 1);
    tree.file(".cache/sub/b", 1);
    tree.file(".profile", 10);
    tree.file("visible/.hidden", 100);
    tree.file("visible/shown", 1000);
    walk(tree.root());
    EXPECT_EQ(recorder.filesProcessed, 3);
    EXPECT_EQ(recorder.nHidden, 2);
    EXPECT_EQ(recorder.szHidden, 110.0);
}

TEST_P(Walk, SymbolicLinksAreFilesAndNeverEntered)
{
    tree.file("real/f", 5);
    ASSERT_EQ(::symlink("real", tree.path("link").toLocal8Bit()), 0);
    ASSERT_EQ(::symlink(".", tree.path("loop").toLocal8Bit()), 0);
    ASSERT_EQ(::symlink("..", tree.path("real/back").toLocal8Bit()), 0);
    walk(tree.root());
    EXPECT_EQ(recorder.filesProcessed, 4) << recorder.seen.join(' ').toStdString();
    EXPECT_TRUE(recorder.seen.contains(tree.path("link")));
}

// The listing hook stands in for a folder without read permission, which root could still read,
// and for a disk that fails while a folder is read. Neither stops the walk, and neither is silent.
TEST_P(Walk, FoldersThatCannotBeReadAreCountedWithTheirReasons)
{
    tree.file("open/a", 1);
    tree.file("closed/b", 1);
    tree.file("closed/inner/c", 1);
    tree.file("broken/d", 1);
    platform::setListingHook([](const std::string &path) {
        if (path.ends_with("broken"))
            errno = EIO;
        return !path.ends_with("closed") && !path.ends_with("broken");
    });
    walk(tree.root());
    EXPECT_EQ(recorder.seen, QStringList{tree.path("open/a")});
    EXPECT_EQ(recorder.filesProcessed, 1);
    EXPECT_FALSE(recorder.aborted);
    EXPECT_EQ(recorder.foldersUnreadable, 2);
    std::map<QString, QString> reasons;
    for (const UnreadableFolder &folder : recorder.unreadableFolders)
        reasons[QString::fromUtf8(folder.path)] = folder.reason;
    EXPECT_EQ(reasons, (std::map<QString, QString>{{tree.path("broken"), "Input/output error"},
                                                   {tree.path("closed"), "Permission denied"}}));
}

TEST_P(Walk, FileDeletedDuringTheWalkIsPassedOver)
{
    tree.file("first/a", 1);
    tree.file("second/gone", 1);
    tree.file("second/stays", 1);
    platform::setListingHook([&](const std::string &path) {
        if (path == "second" || path.ends_with("/second"))
            QFile::remove(tree.path("second/gone"));
        return true;
    });
    walk(tree.root());
    EXPECT_EQ(recorder.filesProcessed, 2);
    EXPECT_FALSE(recorder.seen.contains(tree.path("second/gone")));
}

// A drive table whose drives claim another device than their folders are on: to the walk every
// subfolder then looks like the root of another file system mounted inside the drive.
class ForeignDeviceDrives : public platform::FolderDriveSource
{
public:
    QList<platform::Drive> drives() const override
    {
        QList<platform::Drive> table = FolderDriveSource::drives();
        for (platform::Drive &drive : table)
            drive.device += 1;
        return table;
    }
};

TEST_P(Walk, FoldersOfAnotherDeviceAreNotEntered)
{
    tree.file("own", 1);
    tree.file("mounted/elsewhere", 1);
    ForeignDeviceDrives foreignDrives;
    foreignDrives.addDrive(QChar('c'), platform::DriveFixed, QString(), tree.root());
    RecordingEngine foreign(foreignDrives);
    foreign.clock = engine.clock;
    foreign.filter = Filter();
    foreign.readAheadThreads = GetParam();
    foreign.PickList1 = {foreignDrives.drives().front().entry};
    foreign.collectDrives();
    EXPECT_EQ(foreign.seen, QStringList{tree.path("own")});
}

TEST_P(Walk, AbortStopsWithinOneEntryAndKeepsWhatWasCounted)
{
    for (int folder = 0; folder < 4; ++folder)
        for (int file = 0; file < 10; ++file)
            tree.file(QString("f%1/file%2.txt").arg(folder).arg(file), 100 * file + 1, 0, 0);
    Tree other;
    other.file("never", 1);
    useDrives({tree.root(), other.root()});
    recorder.PickList1 = engine.PickList1;

    recorder.dispatchInterval = std::chrono::milliseconds(0);
    std::int64_t countedAtAbort = -1;
    recorder.hooks.dispatchMessages = [&] {
        // Messages are also let through while the walk waits for a folder; abort in the middle
        // of the files, whatever the timing.
        if (countedAtAbort < 0 && recorder.filesProcessed >= 14) {
            EXPECT_TRUE(recorder.abortScan());
            countedAtAbort = recorder.filesProcessed;
        }
    };
    QStringList status, captions;
    recorder.hooks.statusText = [&](const QString &text) { status << text; };
    recorder.hooks.caption = [&](const QString &text) { captions << text; };
    int drivesStarted = 0;
    recorder.hooks.driveStarting = [&] { ++drivesStarted; };
    recorder.collectDrives();

    ASSERT_GT(countedAtAbort, 0);
    EXPECT_EQ(recorder.filesProcessed, countedAtAbort) << "not one more file after the abort";
    EXPECT_LT(recorder.filesProcessed, 40);
    EXPECT_EQ(drivesStarted, 1) << "the second drive is not walked";
    EXPECT_FALSE(recorder.seen.contains(other.path("never")));
    EXPECT_TRUE(status.last().endsWith(" INCOMPLETE ... ABORTED"));
    EXPECT_EQ(captions, QStringList{"File Statistics for drive(s) incomplete ... aborted."});
    // What was counted is counted completely.
    EXPECT_EQ(std::accumulate(recorder.sizeFiles.begin(), recorder.sizeFiles.end(), 0.0),
              double(countedAtAbort));
    EXPECT_EQ(recorder.lbTypes.filesAt(0), countedAtAbort);
    EXPECT_TRUE(recorder.collected);
    EXPECT_FALSE(recorder.scanning);
    EXPECT_FALSE(recorder.abortScan()) << "no walk: Close hides the window instead";
}

// A folder whose reading never ends (a network drive whose server went away) must not keep Abort
// from ending the walk: helpers read it while the walk lets messages through. Reading alone, the
// walk waits in the folder itself and sees the Abort at the first dispatch after it.
TEST_P(Walk, AbortIsNotHeldUpByAFolderThatHangs)
{
    tree.file("stuck/never.txt", 1);
    tree.file("fine.txt", 1);
    struct Gate
    {
        std::mutex lock;
        std::condition_variable opened;
        bool open = false;
        std::atomic<bool> entered = false;
    };
    auto gate = std::make_shared<Gate>();
    const bool helpers = GetParam() > 0;
    platform::setListingHook([gate, helpers](const std::string &path) {
        if (path != "stuck" && !path.ends_with("/stuck"))
            return true;
        gate->entered = true;
        if (helpers) { // the walk's own thread must not wait here: nobody would open the gate
            std::unique_lock guard(gate->lock);
            gate->opened.wait(guard, [&] { return gate->open; });
        }
        return true;
    });
    recorder.dispatchInterval = std::chrono::milliseconds(0);
    recorder.hooks.dispatchMessages = [&] {
        if (gate->entered)
            recorder.abortScan();
    };
    walk(tree.root());
    {
        std::lock_guard guard(gate->lock);
        gate->open = true;
    }
    gate->opened.notify_all();
    EXPECT_TRUE(recorder.aborted);
    EXPECT_EQ(recorder.seen, helpers ? QStringList() : QStringList{tree.path("stuck/never.txt")})
        << "and never the root's own files, which come last";
}

TEST_P(Walk, ReadAheadChangesNeitherFiguresNorOrder)
{
    // A tree of uneven shape: wide and deep parts, hidden parts, many extensions.
    for (int i = 0; i < 600; ++i) {
        QString folder;
        for (int level = 0, n = i; level < (i * 7) % 6; ++level, n /= 3)
            folder += QString("%1%2/").arg(level == 2 && i % 11 == 0 ? "." : "d").arg(n % 3);
        tree.file(folder + QString("f%1.%2").arg(i).arg(QChar('a' + i % 9)), (i * 7919) % 70000,
                  korvel::test::testToday - i * 86400 * 3, korvel::test::testToday - i * 3600);
    }
    walk(tree.root());
    RecordingEngine single(drives);
    single.clock = recorder.clock;
    single.filter = Filter();
    single.readAheadThreads = 0;
    single.PickList1 = recorder.PickList1;
    single.collectDrives();

    EXPECT_EQ(recorder.seen, single.seen);
    EXPECT_EQ(recorder.filesProcessed, single.filesProcessed);
    EXPECT_EQ(recorder.lbTypes.rows(), single.lbTypes.rows());
    EXPECT_EQ(recorder.sizeBytes, single.sizeBytes);
    EXPECT_EQ(recorder.ageModifiedFiles, single.ageModifiedFiles);
    EXPECT_EQ(recorder.hourAccessed, single.hourAccessed);
    EXPECT_EQ(recorder.overhang64K, single.overhang64K);
    QStringList expected;
    expectedOrder(tree.root(), expected);
    EXPECT_EQ(single.seen, expected);
}

void link(const Tree &tree, const QString &from, const QString &to)
{
    QDir().mkpath(QFileInfo(tree.path(to)).path());
    ASSERT_EQ(::link(tree.path(from).toLocal8Bit(), tree.path(to).toLocal8Bit()), 0);
}

// Four names of one file, in different folders and with different extensions: only the first
// the walk meets is classified, so every figure holds the file once, under that name.
TEST_P(Walk, AFileWithSeveralNamesCountsOnceUnderTheFirstMet)
{
    tree.file("a/report.doc", 5000);
    tree.file("plain.txt", 100);
    for (const char *name : {"b/copy.txt", "c/deep/x.pdf", ".top"})
        link(tree, "a/report.doc", name);
    walk(tree.root());

    QStringList order;
    expectedOrder(tree.root(), order);
    EXPECT_EQ(recorder.seen, QStringList({order.first(), tree.path("plain.txt")}));
    EXPECT_EQ(recorder.filesProcessed, 2);
    EXPECT_EQ(recorder.sizeBytes[1], 5100.0);
    EXPECT_EQ(recorder.linkedNamesSkipped, 3);
}

// Each drive counts a file once, whatever names it has elsewhere: outside the drive, or on
// another drive of the same run (drives are reported each on its own).
TEST_P(Walk, EachDriveCountsALinkedFileOnce)
{
    tree.file("c/file", 10);
    link(tree, "c/file", "outside/file");
    link(tree, "c/file", "d/one");
    link(tree, "c/file", "d/two");
    useDrives({tree.path("c"), tree.path("d")});
    recorder.PickList1 = engine.PickList1;
    recorder.collectDrives();
    EXPECT_EQ(recorder.filesProcessed, 2);
    EXPECT_EQ(recorder.sizeBytes[1], 20.0);
    EXPECT_EQ(recorder.linkedNamesSkipped, 1);
}

INSTANTIATE_TEST_SUITE_P(ReadAhead, Walk, ::testing::Values(2, 0),
                         [](const auto &info) { return info.param ? "helpers" : "alone"; });

// A bound smaller than most listings and more helpers than there is work for: the helpers must
// still hand the walk every folder it enters, none waiting for a wake that never comes.
TEST(ReadAheadBound, TinyBoundAndManyHelpersStillReadEveryFolder)
{
    Tree tree;
    for (int i = 0; i < 105; ++i) // 7 x 5 x 3 folders below the root
        tree.file(QString("d%1/e%2/f%3/x%4.txt").arg(i % 7).arg(i % 5).arg(i % 3).arg(i));
    const auto reader = std::make_shared<FolderReader>(tree.root().toStdString(), 0, 4);
    reader->start(8);
    int walked = 0;
    std::function<void(Folder &)> walk = [&](Folder &folder) {
        ASSERT_TRUE(reader->waitFor(
            folder, [] { return true; }, std::chrono::milliseconds(1)));
        reader->entered(folder);
        ++walked;
        for (auto &sub : folder.subfolders)
            walk(*sub);
    };
    walk(reader->root());
    reader->stop();
    EXPECT_EQ(walked, 1 + 7 + 35 + 105);
}

// Trees that break walks which recurse or hold a directory open per level.
class HardTrees : public korvel::test::EngineTest
{
};

TEST_F(HardTrees, FiveThousandFoldersDeep)
{
    Tree tree(true);
    int fd = ::open(tree.root().toLocal8Bit(), O_RDONLY | O_DIRECTORY);
    for (int level = 0; level < 5000; ++level) {
        ::close(::openat(fd, "f.txt", O_CREAT | O_WRONLY, 0644));
        ASSERT_EQ(::mkdirat(fd, "d", 0755), 0);
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        ASSERT_GE(next, 0);
        fd = next;
    }
    ::close(::openat(fd, "bottom.doc", O_CREAT | O_WRONLY, 0644));
    ::close(fd);

    useDrives({tree.root()});
    QString firstFolder;
    engine.hooks.walking = [&](const QString &folder) {
        if (firstFolder.isEmpty())
            firstFolder = folder;
    };
    engine.collectDrives();
    EXPECT_EQ(engine.filesProcessed, 5001);
    EXPECT_EQ(engine.lbTypes.rows(), (QStringList{".DOC\t1\t0", ".TXT\t5000\t0"}));
    EXPECT_TRUE(firstFolder.endsWith("/d/d/d/d/d/d")) << "the deepest folder comes first";
    EXPECT_GT(firstFolder.size(), 10000);
    expectInvariants();
}

TEST_F(HardTrees, TwoHundredThousandFilesInOneFolder)
{
    Tree tree(true);
    tree.folder("wide");
    const int fd = ::open(tree.path("wide").toLocal8Bit(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < 200000; ++i)
        ::close(::openat(fd, ("file" + std::to_string(i) + (i % 2 ? ".a" : ".b")).c_str(),
                         O_CREAT | O_WRONLY, 0644));
    ::close(fd);
    useDrives({tree.root()});
    engine.collectDrives();
    EXPECT_EQ(engine.filesProcessed, 200000);
    EXPECT_EQ(engine.lbTypes.rows(), (QStringList{".A\t100000\t0", ".B\t100000\t0"}));
    expectInvariants();
}

// However many folders fail, the count is whole and the list keeps the first thousand; the next
// run starts from none.
TEST_F(HardTrees, ThousandsOfUnreadableFoldersKeepTheFirstThousandPaths)
{
    Tree tree(true);
    for (int i = 0; i < 1003; ++i)
        tree.folder(QString("d%1").arg(i));
    platform::setListingHook(
        [](const std::string &path) { return path.substr(path.rfind('/') + 1)[0] != 'd'; });
    useDrives({tree.root()});
    engine.collectDrives();
    EXPECT_EQ(engine.foldersUnreadable, 1003);
    EXPECT_EQ(engine.unreadableFolders.size(), 1000u);
    platform::setListingHook({});
    engine.collectDrives();
    EXPECT_EQ(engine.foldersUnreadable, 0);
    EXPECT_TRUE(engine.unreadableFolders.empty());
}

} // namespace

namespace {

// Lowers the soft limit of open descriptors so that only a few more can be opened (or none at
// all), and puts it back.
class FewDescriptors
{
public:
    explicit FewDescriptors(int spare)
    {
        ::getrlimit(RLIMIT_NOFILE, &saved);
        rlimit lowered = saved;
        lowered.rlim_cur =
            spare == 0 ? 0 : rlim_t(long(saved.rlim_cur) - platform::descriptorsToSpare() + spare);
        ::setrlimit(RLIMIT_NOFILE, &lowered);
    }
    ~FewDescriptors() { ::setrlimit(RLIMIT_NOFILE, &saved); }

private:
    rlimit saved{};
};

class Descriptors : public korvel::test::EngineTest
{
protected:
    // 2,400 files in 300 folders, a third of them with subfolders of their own.
    void SetUp() override
    {
        EngineTest::SetUp();
        QStringList paths{"d0"};
        for (int i = 1; i < 300; ++i)
            paths << paths[(i - 1) / 3] + QString("/d%1").arg(i);
        for (const QString &path : paths)
            for (int j = 0; j < 8; ++j)
                tree.file(path + QString("/f%1.txt").arg(j));
        useDrives({tree.root()});
    }
    Tree tree{true};
};

// However many helpers the engine is given, running short of descriptors never loses a file.
TEST_F(Descriptors, AFewSpareAreEnoughForExactFigures)
{
    for (const int helpers : {0, 2, 64}) {
        engine.readAheadThreads = helpers;
        {
            FewDescriptors few(12);
            engine.collectDrives();
        }
        EXPECT_EQ(engine.filesProcessed, 2400) << helpers;
        EXPECT_FALSE(engine.aborted);
    }
    EXPECT_TRUE(errors.isEmpty());
}

// With none to spare the walk cannot go on: it says so and the run counts as aborted; with
// descriptors again, the next run counts every file. A full run comes first for the sanitized
// build too: its type check needs a pipe, except for types it has already met.
TEST_F(Descriptors, NoneToSpareStopsTheRunWithAMessage)
{
    for (const int helpers : {0, 4}) {
        engine.readAheadThreads = helpers;
        engine.collectDrives();
        EXPECT_EQ(engine.filesProcessed, 2400) << helpers;
        errors.clear();
        {
            FewDescriptors few(0);
            engine.collectDrives();
        }
        EXPECT_TRUE(engine.aborted) << helpers;
        EXPECT_EQ(errors.size(), 1);
        EXPECT_TRUE(captions.back().contains("aborted"));
    }
}

} // namespace
