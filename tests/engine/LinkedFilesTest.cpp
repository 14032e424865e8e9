#include "engine/LinkedFiles.h"

#include "platform/DirectorySearch.h"

#include <gtest/gtest.h>

namespace {

platform::DirectoryEntry file(std::uint32_t links, std::uint64_t device, std::uint64_t inode)
{
    platform::DirectoryEntry entry;
    entry.links = links;
    entry.device = device;
    entry.inode = inode;
    return entry;
}

// Link counts of 0 (not told) and 1 never make a name a repeat and are never kept; above 1 a
// file is known by device and inode together, however many files there are, until the drive's
// end forgets them all.
TEST(LinkedFiles, OnlyFilesWithSeveralNamesAreKeptByDeviceAndInode)
{
    LinkedFiles seen;
    const struct
    {
        std::uint32_t links;
        std::uint64_t device, inode;
        bool first;
    } names[] = {{0, 5, 7, true}, {0, 5, 7, true},  {1, 5, 7, true}, {1, 5, 7, true},
                 {2, 5, 7, true}, {2, 5, 7, false}, {3, 6, 7, true}, {3, 5, 8, true}};
    for (const auto &n : names)
        EXPECT_EQ(seen.firstName(file(n.links, n.device, n.inode)), n.first)
            << n.links << " " << n.device << ":" << n.inode;
    EXPECT_EQ(seen.size(), 3u);

    for (std::uint64_t inode = 100; inode < 5000; ++inode)
        ASSERT_TRUE(seen.firstName(file(2, 1, inode)));
    for (std::uint64_t inode = 100; inode < 5000; ++inode)
        ASSERT_FALSE(seen.firstName(file(2, 1, inode)));
    seen.clear();
    EXPECT_TRUE(seen.firstName(file(2, 5, 7)));
}

} // namespace
