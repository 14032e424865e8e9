#include "selection/TypeNames.h"

#include "support/PlatformFakes.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

// A fixed registration table for one test.
class FakeRegistry : public ::testing::Test
{
protected:
    void SetUp() override
    {
        table->addExtension(".doc", "Word.Document");
        table->addClass("Word.Document", "Word document");
        table->addExtension(".bare", "BareClass"); // a class without a description
        table->addExtension(".noclass", "");
        table->addExtension(".Zip", "ZipFolder");
        table->addExtension(".a", "A");
        table->addExtension(".tiff5", "Long");
        table->addExtension(".mp3", "Audio");
    }

    korvel::test::InstalledTypeTable table;
};

} // namespace

TEST_F(FakeRegistry, TypeNameFallsBackFromDescriptionToClassToExtension)
{
    EXPECT_EQ(getTypeName(".doc"), "Word document");
    EXPECT_EQ(getTypeName(".DOC"), "Word document");
    EXPECT_EQ(getTypeName(".bare"), "BareClass");
    EXPECT_EQ(getTypeName(".noclass"), "NOCLASS File");
    EXPECT_EQ(getTypeName(".xyz"), "XYZ File");
    EXPECT_EQ(getTypeName("."), "File");
    EXPECT_EQ(getTypeName("*."), "No extension");
    EXPECT_EQ(getTypeName(""), "");
    EXPECT_EQ(getTypeName("*.xyz"), ""); // a pattern is no extension
    EXPECT_EQ(getTypeName("*"), "");
}

TEST_F(FakeRegistry, RegisteredExtensionsAreShortSortedAndOptionallyLedByAllFiles)
{
    QStringList list{"left over"};
    listRegisteredExtensions(list, false);
    EXPECT_EQ(list, QStringList({"*.a", "*.bare", "*.doc", "*.mp3", "*.Zip"}));
    listRegisteredExtensions(list, true);
    EXPECT_EQ(list, QStringList({"*.*", "*.a", "*.bare", "*.doc", "*.mp3", "*.Zip"}));
}

TEST(TypeNames, TheMimeDatabaseNamesCommonTypes)
{
    korvel::test::LocaleGuard locale(korvel::test::commaLocale());
    EXPECT_FALSE(getTypeName(".txt").isEmpty());
    EXPECT_NE(getTypeName(".txt"), "TXT File");
    EXPECT_EQ(getTypeName(".xyz"), "XYZ File");
    EXPECT_EQ(getTypeName("."), "File");
    EXPECT_EQ(getTypeName(".dll"), "DLL File");
    EXPECT_EQ(getTypeName("*."), "No extension");

    QStringList list;
    listRegisteredExtensions(list, true);
    ASSERT_GT(list.size(), 100);
    EXPECT_EQ(list.first(), "*.*");
    EXPECT_TRUE(list.contains("*.txt"));
    for (const QString &pattern : list)
        EXPECT_LE(pattern.size(), 6) << pattern.toStdString();
    for (qsizetype i = 2; i < list.size(); ++i)
        ASSERT_LE(list[i - 1].compare(list[i], Qt::CaseInsensitive), 0);
}
