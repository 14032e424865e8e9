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

// An extension that several types claim names the type the database itself prefers for a file
// of that name ("*.html": HTML, not XHTML), the same in every process.
TEST(TypeRegistry, SharedExtensionGoesToTheTypeTheDatabasePrefers)
{
    const QMimeDatabase database;
    QHash<QString, QStringList> claimants;
    for (const QMimeType &type : database.allMimeTypes())
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
        const QString preferred =
            database.mimeTypeForFile(u'x' + it.key(), QMimeDatabase::MatchExtension).name();
        if (it.value().contains(preferred)) {
            EXPECT_EQ(registry.className(it.key()), preferred) << it.key().toStdString();
        }
    }
    EXPECT_GT(shared, 0) << "the database has no shared extension to try";
    EXPECT_EQ(registry.className(".html"), "text/html");
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
