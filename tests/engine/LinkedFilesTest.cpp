#include "engine/LinkedFiles.h"

#include "platform/DirectorySearch.h"

#include <gtest/gtest.h>

namespace {

platform::DirectoryEntry named(std::uint32_t links, std::uint64_t device, std::uint64_t inode)
{
    platform::DirectoryEntry entry;
    entry.links = links;
    entry.device = device;
    entry.inode = inode;
    return entry;
}

// Link counts of 0 (not told) and 1 never make a name a repeat, and are never kept; above 1 a
// file is known by device and inode together, and a drive's end forgets them all.
TEST(LinkedFiles, OnlyFilesWithSeveralNamesAreKeptByDeviceAndInode)
{
    LinkedFiles seen;
    const struct
    {
        platform::DirectoryEntry entry;
        bool first;
    } names[] = {
        {named(0, 5, 7), true}, {named(0, 5, 7), true}, {named(1, 5, 7), true},
        {named(1, 5, 7), true}, {named(2, 5, 7), true}, {named(2, 5, 7), false},
        {named(3, 6, 7), true}, {named(3, 5, 8), true}, {named(3, 6, 7), false},
    };
    for (const auto &[entry, first] : names)
        EXPECT_EQ(seen.firstName(entry), first)
            << entry.links << " " << entry.device << ":" << entry.inode;
    EXPECT_EQ(seen.size(), 3u);
    seen.clear();
    EXPECT_TRUE(seen.firstName(named(2, 5, 7)));
}

// The table grows past its first size without losing a file.
TEST(LinkedFiles, ManyFilesAreEachFoundAgain)
{
    LinkedFiles seen;
    for (std::uint64_t inode = 1; inode <= 5000; ++inode)
        ASSERT_TRUE(seen.firstName(named(2, 1, inode)));
    for (std::uint64_t inode = 1; inode <= 5000; ++inode)
        ASSERT_FALSE(seen.firstName(named(2, 1, inode)));
    EXPECT_EQ(seen.size(), 5000u);
}

} // namespace
