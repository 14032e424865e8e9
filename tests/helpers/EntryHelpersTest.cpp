#include "helpers/EntryHelpers.h"

#include <gtest/gtest.h>

namespace {

platform::DirectoryEntry entryNamed(std::string_view name, std::uint32_t attributes)
{
    platform::DirectoryEntry entry;
    entry.rawName = name;
    entry.attributes = attributes;
    return entry;
}

TEST(EntryHelpers, EntryKindTellsDotsFoldersAndFiles)
{
    EXPECT_EQ(entryKind(entryNamed(".", platform::AttrDirectory)), 1);
    EXPECT_EQ(entryKind(entryNamed("..", platform::AttrDirectory)), 1);
    EXPECT_EQ(entryKind(entryNamed("...", platform::AttrDirectory)), 0);
    EXPECT_EQ(entryKind(entryNamed(".git", platform::AttrDirectory | platform::AttrHidden)), 0);
    EXPECT_EQ(entryKind(entryNamed(".profile", platform::AttrHidden)), 2);
    EXPECT_EQ(entryKind(entryNamed("pipe", platform::AttrSystem)), 2);
}

} // namespace
