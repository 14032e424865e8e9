#include "EngineTestSupport.h"
#include "engine/ReadAhead.h"

#include <unistd.h>

namespace {

using korvel::test::Tree;

// Keeps every file the classification counted (it passed the filter): its folder and its size.
class CountingEngine : public StatisticsEngine
{
public:
    using StatisticsEngine::StatisticsEngine;
    void crunchNumbers(const QString &directoryText, const platform::DirectoryEntry &entry) override
    {
        const std::int64_t before = filesFound;
        StatisticsEngine::crunchNumbers(directoryText, entry);
        if (filesFound != before)
            counted.push_back({directoryText.toUtf8(), entry.size});
    }
    std::vector<std::pair<QByteArray, std::uint64_t>> counted;
};

using FolderTotals = korvel::test::EngineTest;

// Every kept folder holds exactly the files the classification counted in it and below it; hidden
// folders are not walked, a hidden file is counted, a file with two names counts as the walk
// counts it, and a folder below the third level stays only when it holds 1 % of the drive.
TEST_F(FolderTotals, EachFolderHoldsTheFilesTheWalkCountedBelowIt)
{
    Tree tree;
    tree.file("a.txt", 1000);
    tree.file(".dotfile", 100);
    tree.file(".hidden/x.doc", 500000);
    tree.file("d1/b.doc", 2000);
    tree.file("d1/d2/d3/c.doc", 3000);
    tree.file("d1/d2/d3/big/deep/f.doc", 60000);
    tree.file("d1/d2/d3/small/g.doc", 10);
    ASSERT_EQ(::link(tree.path("d1/b.doc").toUtf8(), tree.path("d1/d2/twin.doc").toUtf8()), 0);

    for (const bool onlyDocs : {false, true}) {
        CountingEngine counting(drives);
        counting.clock = engine.clock;
        counting.filter = onlyDocs ? Filter(Filter::Mode::Include, {"*.doc\tWord"}) : Filter();
        useDrives({tree.root()});
        counting.PickList1 = engine.PickList1;
        counting.collectDrives();

        ASSERT_EQ(counting.folderTotals.size(), 1u);
        const DriveFolders &drive = counting.folderTotals.front();
        EXPECT_EQ(drive.letter, u'c');
        QList<QByteArray> paths;
        for (const FolderTotal &folder : drive.folders)
            paths << folder.path;
        EXPECT_EQ(paths, (QList<QByteArray>{"", "d1", "d1/d2", "d1/d2/d3", "d1/d2/d3/big",
                                            "d1/d2/d3/big/deep"}));
        for (const FolderTotal &folder : drive.folders) {
            const QByteArray place =
                folder.path.isEmpty() ? tree.root().toUtf8() : tree.path(folder.path).toUtf8();
            FolderTotal expected{folder.path};
            for (const auto &[directory, size] : counting.counted) {
                if (directory == place) {
                    ++expected.ownFiles;
                    expected.ownBytes += size;
                }
                if (directory == place || directory.startsWith(place + '/')) {
                    ++expected.files;
                    expected.bytes += size;
                }
            }
            EXPECT_EQ(folder, expected) << folder.path.toStdString() << " docs only " << onlyDocs;
        }
        EXPECT_EQ(drive.countedFiles(), counting.filesFound);
    }
}

// Deep folders each above 1 % of the count so far, but most of them below 1 % of the final count:
// weeding as the count grows keeps the list short and ends with exactly the 1 % rule.
TEST(FolderTally, DeepFoldersAreWeededToOnePercentOfTheFinalCount)
{
    Folder root(nullptr, "/drive", 0), a(&root, "a", 1), b(&a, "b", 2), c(&b, "c", 3);
    FolderTally tally;
    tally.driveStarting();
    std::vector<FolderTally::Marks> open;
    for (int level = 0; level < 4; ++level)
        open.push_back({tally.mark(), tally.mark()});
    std::vector<std::uint64_t> sizes;
    std::uint64_t size = 1000, total = 0;
    for (int i = 0; i < 600; ++i) {
        const Folder deep(&c, "k" + std::to_string(i), std::uint64_t(10 + i));
        const FolderTally::Marks marks{tally.mark(), tally.mark()};
        tally.count(size);
        tally.left(deep, 4, marks);
        sizes.push_back(size);
        total += size;
        size += size / 50; // 2 % more each time: each is 2 % of the count when it is left
    }
    const Folder *chain[] = {&c, &b, &a, &root};
    for (int level = 3; level >= 0; --level)
        tally.left(*chain[3 - level], level, open[std::size_t(level)]);
    const DriveFolders drive = tally.driveEnded(QChar('c'));

    QList<QByteArray> deepKept, expected;
    for (const FolderTotal &folder : drive.folders)
        if (folder.depth() == 4)
            deepKept << folder.path;
    for (std::size_t i = 0; i < sizes.size(); ++i)
        if (sizes[i] * 100 >= total)
            expected << "a/b/c/k" + QByteArray::number(qulonglong(i));
    std::sort(expected.begin(), expected.end()); // one parent: plain byte order
    EXPECT_EQ(deepKept, expected);
    EXPECT_GT(expected.size(), 10);
    EXPECT_EQ(drive.countedBytes(), total);
}

// A deep folder stays with 1 % of the drive's bytes or more, the share rounded up, never empty.
TEST(FolderTally, DeepFoldersNeedOnePercentRoundedUp)
{
    const struct
    {
        std::uint64_t folder, drive;
        bool kept;
    } cases[] = {
        {1, 100, true}, {1, 101, false}, {2, 101, true},
        {0, 0, false},  {0, 50, false},  {UINT64_MAX / 100 + 1, UINT64_MAX, true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(keepsDeepFolder(c.folder, c.drive), c.kept) << c.folder << " of " << c.drive;
}

// Folders in their listed order: a folder's subfolders right after it, before any name that
// merely begins with its name, whatever byte follows; bytes compare unsigned.
TEST(FolderTally, FolderOrderPutsSubfoldersFirst)
{
    const QList<QByteArray> ordered = {"",    "a",  "a/b", "a/b/c", "a!", "a-b",
                                       "a.b", "a0", "ab",  "a\xff", "b"};
    for (qsizetype i = 0; i < ordered.size(); ++i)
        for (qsizetype j = 0; j < ordered.size(); ++j)
            EXPECT_EQ(folderPathBefore(ordered[i], ordered[j]), i < j)
                << ordered[i].toStdString() << " / " << ordered[j].toStdString();
}

} // namespace
