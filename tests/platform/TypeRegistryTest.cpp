#include "platform/TypeRegistry.h"

#include "platform/ShellOpen.h"
#include "support/TestSupport.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace platform;

TEST(TypeRegistry, MimeDatabaseGivesClassesAndDescriptions)
{
    korvel::test::LocaleGuard locale(korvel::test::commaLocale());
    const MimeTypeRegistry registry;
    EXPECT_EQ(registry.className(".txt"), "text/plain");
    EXPECT_EQ(registry.className(".TXT"), "text/plain"); // any case when no glob has this case
    EXPECT_EQ(registry.className(".doc"), "application/msword");
    EXPECT_EQ(registry.description("application/msword"), "Word document");
    EXPECT_FALSE(registry.description("text/plain").isEmpty());
    EXPECT_EQ(registry.className(".xyz"), "");
    EXPECT_EQ(registry.className(".dll"), "");
    EXPECT_EQ(registry.description(""), "");
    EXPECT_EQ(registry.description("no/such-type"), "");

    const QStringList keys = registry.extensionKeys();
    QSet<QString> lower;
    for (const QString &key : keys) {
        ASSERT_TRUE(key.startsWith(u'.') && key.size() >= 2) << key.toStdString();
        ASSERT_FALSE(key.contains(u'*') || key.contains(u'?') || key.contains(u'['));
        lower.insert(key.toLower());
    }
    EXPECT_EQ(lower.size(), keys.size()); // each extension once, whatever its case
    EXPECT_TRUE(lower.contains(".txt"));
}

TEST(ShellOpen, TheTestOpenerStandsInForTheBrowser)
{
    QUrl seen;
    setUrlOpener([&](const QUrl &url) {
        seen = url;
        return false;
    });
    EXPECT_FALSE(openUrl(QUrl("https://example.com/korvel")));
    EXPECT_EQ(seen, QUrl("https://example.com/korvel"));
    setUrlOpener(nullptr);
}
