#include "controls/EntryHelpers.h"

#include "platform/FileTimes.h"

#include <QDateTime>
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

TEST(EntryHelpers, EachTimeComesFromItsOwnStamp)
{
    platform::setLocalTimeZone(QTimeZone("UTC"));
    auto at = [](int year, int month, int day) {
        return QDateTime(QDate(year, month, day), QTime(10, 0), QTimeZone::utc())
            .toSecsSinceEpoch();
    };
    platform::DirectoryEntry entry = entryNamed("f", 0);
    entry.accessTime = at(2001, 1, 1);
    entry.creationTime = at(2002, 2, 2);
    entry.writeTime = 0; // 1 January 1970: not recorded
    EXPECT_EQ(accessDosTime(entry) >> 16, (21u << 9) | (1u << 5) | 1u);
    EXPECT_EQ(createDosTime(entry) >> 16, (22u << 9) | (2u << 5) | 2u);
    EXPECT_EQ(writeDosTime(entry), 0u);
    platform::setLocalTimeZone(QTimeZone());
}

} // namespace
