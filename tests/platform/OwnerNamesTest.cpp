#include "platform/OwnerNames.h"

#include <gtest/gtest.h>

namespace {

// Ids the user database names give their names, asked again from the cache alike; an id it does
// not know gives no name (the caller shows the number).
TEST(OwnerNames, NamesComeFromTheUserDatabaseAndUnknownIdsHaveNone)
{
    const struct
    {
        QString (*lookUp)(std::uint32_t);
        std::uint32_t id;
        const char *name;
    } cases[] = {{platform::userName, 0, "root"},
                 {platform::groupName, 0, "root"},
                 {platform::userName, 3'999'999'999u, ""},
                 {platform::groupName, 3'999'999'999u, ""}};
    for (const auto &c : cases)
        for (int ask = 0; ask < 2; ++ask)
            EXPECT_EQ(c.lookUp(c.id), QString::fromLatin1(c.name)) << c.id;
}

} // namespace
