#include "platform/TypeRegistry.h"

#include "platform/ShellOpen.h"
#include "support/TestSupport.h"

#include <QHash>
#include <QMimeDatabase>
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

// The database lists its types in a different order in each process; an extension that several
// types claim must still name the same type every time: the first of them by name.
TEST(TypeRegistry, SharedExtensionGoesToTheFirstClaimantByName)
{
    QHash<QString, QStringList> claimants;
    for (const QMimeType &type : QMimeDatabase().allMimeTypes())
        for (const QString &glob : type.globPatterns())
            if (glob.startsWith(QStringLiteral("*.")) && !glob.mid(2).contains(u'*') &&
                !glob.contains(u'?') && !glob.contains(u'['))
                claimants[glob.mid(1)].append(type.name());
    const MimeTypeRegistry registry;
    int shared = 0;
    for (auto it = claimants.cbegin(); it != claimants.cend(); ++it) {
        if (it.value().size() < 2)
            continue;
        ++shared;
        EXPECT_EQ(registry.className(it.key()), *std::min_element(it->begin(), it->end()))
            << it.key().toStdString();
    }
    EXPECT_GT(shared, 0) << "the database has no shared extension to try";
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
