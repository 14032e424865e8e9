#include "engine/LargestFiles.h"

#include "EngineTestSupport.h"
#include "platform/OwnerNames.h"

#include <algorithm>
#include <unistd.h>

namespace {

using korvel::test::Tree;
using LargestFiles = korvel::test::EngineTest;

// Files of three owners and two groups, a hard link and a file the filter leaves out: the list and
// the tables hold the counted files only, the linked file once under the name it was counted by.
TEST_F(LargestFiles, TheWalkKeepsCountedFilesAndTheirOwners)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving files to other owners needs root";
    Tree tree;
    struct Made
    {
        const char *path;
        std::uint64_t size;
        uid_t owner;
        gid_t group;
    };
    const std::vector<Made> made = {{"a.doc", 5000, 0, 0},
                                    {"d/b.doc", 7000, 1001, 100},
                                    {"d/e/c.doc", 5000, 1002, 100},
                                    {"skip.txt", 90000, 1001, 0}};
    for (const Made &m : made) {
        tree.file(m.path, m.size);
        ASSERT_EQ(::chown(tree.path(m.path).toUtf8(), m.owner, m.group), 0);
    }
    ASSERT_EQ(::link(tree.path("d/b.doc").toUtf8(), tree.path("d/twin.doc").toUtf8()), 0);
    engine.allTypes = false;
    engine.includeSelected = true;
    engine.PickList2 = QStringList{"*.doc\tWord"};
    useDrives({tree.root()});
    engine.collectDrives();

    ASSERT_EQ(engine.driveFiles.size(), 1u);
    const DriveFiles &drive = engine.driveFiles.front();
    ASSERT_EQ(drive.largest.size(), 3u);
    EXPECT_TRUE(drive.largest[0].path == "d/b.doc" || drive.largest[0].path == "d/twin.doc");
    EXPECT_EQ(drive.largest[0].owner, 1001u);
    EXPECT_EQ(drive.largest[1], (LargeFile{"a.doc", 5000, drive.largest[1].writeTime, 0, 0}));
    EXPECT_EQ(drive.largest[2].path, "d/e/c.doc");
    EXPECT_EQ(drive.counted, 3);
    using platform::groupName, platform::userName;
    EXPECT_EQ(drive.users, (std::vector<OwnerTotal>{{0, 1, 5000, userName(0)},
                                                    {1001, 1, 7000, userName(1001)},
                                                    {1002, 1, 5000, userName(1002)}}));
    EXPECT_EQ(drive.groups, (std::vector<OwnerTotal>{{0, 1, 5000, groupName(0)},
                                                     {100, 2, 12000, groupName(100)}}));
    EXPECT_EQ(userName(0), "root");
}

// More files than the list keeps, many of one size: the list is the first of all of them in
// size order, equal sizes by path, whatever order the walk met them in.
TEST(FileTallyTest, KeepsTheLargestInOrderWithTies)
{
    std::vector<std::string> names;
    std::vector<LargeFile> all;
    for (int i = 0; i < 2500; ++i)
        names.push_back("f" + std::to_string((i * 7919) % 2500));
    FileTally tally;
    tally.driveStarting();
    for (const std::string &name : names) {
        platform::DirectoryEntry entry;
        entry.rawName = name;
        entry.size = std::uint64_t(std::stoi(name.substr(1)) % 40) * 100;
        entry.owner = 7;
        tally.count(nullptr, entry);
        all.push_back({QByteArray::fromStdString(name), entry.size, 0, 7, 0});
    }
    std::sort(all.begin(), all.end(), largeFileBefore);
    all.resize(largestFilesKept);
    const DriveFiles drive = tally.driveEnded(u'c');
    EXPECT_EQ(drive.largest, all);
    EXPECT_EQ(drive.counted, 2500);
    ASSERT_EQ(drive.users.size(), 1u);
}

} // namespace
