#include "selection/ExtensionLists.h"

#include "support/PlatformFakes.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A settings file in a temporary folder and a fixed type table, so descriptions are known.
class ExtensionLists : public ::testing::Test
{
protected:
    void SetUp() override
    {
        table->addExtension(".doc", "Word.Document");
        table->addClass("Word.Document", "Word document");
        table->addExtension(".txt", "txtfile");
        table->addClass("txtfile", "Text Document");
        path = temp.filePath("korvel98.ini");
        setSettingsFilePath(path);
    }
    void TearDown() override { setSettingsFilePath(QString()); }

    korvel::test::InstalledTypeTable table;

    void writeFile(const QByteArray &content)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QByteArray fileContent() const { return korvel::test::fileBytes(path); }
    QStringList read(const QString &section)
    {
        QStringList list{"stale entry"};
        ReadStatFilesFromDisk(list, section);
        return list;
    }

    const QStringList defaults{"*.doc\tWord document", "*.exe\tEXE File", "*.dll\tDLL File"};
    QTemporaryDir temp;
    QString path;
};

} // namespace

TEST_F(ExtensionLists, WithoutAFileBothListsAreTheDefaultsAndNothingIsWritten)
{
    EXPECT_EQ(read("Include"), defaults);
    EXPECT_EQ(read("Exclude"), defaults);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(ExtensionLists, AWrittenListReadsBackWithFreshDescriptions)
{
    WriteStatFilesToDisk({"*.txt\tan old description", "*.doc", "notes", "*.tar.gz\tx"}, "Include");
    EXPECT_EQ(read("Include"), QStringList({"*.txt\tText Document", "*.doc\tWord document",
                                            "notes\t", "*.tar.gz\tGZ File"}));
    EXPECT_EQ(read("Exclude"), defaults);
    EXPECT_EQ(fileContent(),
              "[Include]\nNumber=4\nFile1=*.txt\nFile2=*.doc\nFile3=notes\nFile4=*.tar.gz\n");

    // Saving one section leaves the other alone.
    WriteStatFilesToDisk({"*.doc"}, "Exclude");
    EXPECT_EQ(read("Include").size(), 4);
    EXPECT_EQ(read("Exclude"), QStringList({"*.doc\tWord document"}));
}

TEST_F(ExtensionLists, AnEmptyListStaysEmptyAndAShorterOneLeavesOldKeysUnread)
{
    WriteStatFilesToDisk({}, "Include");
    EXPECT_EQ(read("Include"), QStringList());

    WriteStatFilesToDisk({"*.a", "*.b", "*.c", "*.d", "*.e"}, "Exclude");
    WriteStatFilesToDisk({"*.x", "*.y", "*.z"}, "Exclude");
    EXPECT_EQ(read("Exclude"), QStringList({"*.x\tX File", "*.y\tY File", "*.z\tZ File"}));
    EXPECT_TRUE(fileContent().contains("File4=*.d\nFile5=*.e\n"));
}

TEST_F(ExtensionLists, NumberDecidesWhatIsRead)
{
    // A missing or empty File2 is passed over.
    writeFile("[include]\nNUMBER=4\nfile1=*.doc\nFile3=*.txt\nFile4=*.pdf\n"
              "[Exclude]\nNumber=3\nFile1=*.doc\nFile2=\nFile3=*.txt\n");
    EXPECT_EQ(read("Include"),
              QStringList({"*.doc\tWord document", "*.txt\tText Document", "*.pdf\tPDF File"}));
    EXPECT_EQ(read("Exclude"), QStringList({"*.doc\tWord document", "*.txt\tText Document"}));

    writeFile("[Include]\nNumber=-1\nFile1=*.txt\n[Exclude]\nNumber=many\nFile1=*.txt\n");
    EXPECT_EQ(read("Include"), defaults);
    EXPECT_EQ(read("Exclude"), defaults);

    writeFile("[Include]\nNumber=0x2\nFile1=*.txt\nFile2=*.doc\nFile3=*.pdf\nFile02=*.no\n");
    EXPECT_EQ(read("Include"), QStringList({"*.txt\tText Document", "*.doc\tWord document"}));

    // A number far beyond the keys present reads just the keys there are.
    writeFile("[Include]\nNumber=2147483647\nFile1=*.txt\nFile70000=*.doc\n");
    EXPECT_EQ(read("Include"), QStringList({"*.txt\tText Document", "*.doc\tWord document"}));
}

TEST_F(ExtensionLists, AGarbageFileReadsAsFarAsItMakesSense)
{
    QByteArray garbage(100000, '\xfe');
    garbage += "\n\x01\x02[Include\n" + QByteArray(3000, '=') + "\n\0\0\n";
    writeFile(garbage);
    EXPECT_EQ(read("Include"), defaults);

    WriteStatFilesToDisk({"*.txt"}, "Include");
    EXPECT_EQ(read("Include"), QStringList({"*.txt\tText Document"}));
}

TEST_F(ExtensionLists, ARefusedWriteRaisesAndLeavesTheFileAlone)
{
    QFile blocker(temp.filePath("not-a-folder"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    setSettingsFilePath(temp.filePath("not-a-folder/korvel98.ini"));
    try {
        WriteStatFilesToDisk({"*.txt"}, "Include");
        FAIL() << "the write was not refused";
    } catch (const SettingsWriteError &error) {
        EXPECT_STREQ(error.what(), "Unable to write to korvel98.ini");
    }
    QStringList list;
    ReadStatFilesFromDisk(list, "Include");
    EXPECT_EQ(list, defaults);
}

// A long list, written over a file that already holds one, reads back whole and in order.
TEST_F(ExtensionLists, ALongListIsRewrittenWhole)
{
    QStringList list;
    for (int i = 0; i < 30000; ++i)
        list << QStringLiteral("*.e%1\t").arg(i);
    WriteStatFilesToDisk(list.mid(0, 20000), "Include");
    WriteStatFilesToDisk(list, "Include");
    const QStringList back = read("Include");
    ASSERT_EQ(back.size(), list.size());
    EXPECT_EQ(back.front(), "*.e0\tE0 File");
    EXPECT_EQ(back.back(), "*.e29999\tE29999 File");
}
