#include "selection/ExtensionLists.h"

#include "support/PlatformFakes.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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

// A relative XDG_CONFIG_HOME would follow the working folder to whatever drive was walked last:
// such a value is no folder at all and the usual place stands instead.
TEST(SettingsPath, ARelativeConfigHomeIsIgnored)
{
    const struct
    {
        const char *configHome;
        const char *expected;
    } cases[] = {
        {"/etc/cfg", "/etc/cfg/korvel98.ini"},     {"", "/home/u/.config/korvel98.ini"},
        {"cfg", "/home/u/.config/korvel98.ini"},   {"./cfg", "/home/u/.config/korvel98.ini"},
        {"~/cfg", "/home/u/.config/korvel98.ini"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(settingsFileFor(c.configHome, "/home/u"), QString(c.expected)) << c.configHome;
}

// Once known, the place stays where it is, whatever the environment does later.
TEST(SettingsPath, IsFixedOnceKnown)
{
    setSettingsFilePath(QString());
    const QString first = settingsFilePath();
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", "/somewhere/else");
    EXPECT_EQ(settingsFilePath(), first);
    qputenv("XDG_CONFIG_HOME", saved);
    EXPECT_TRUE(QFileInfo(first).isAbsolute());
}

// A file the program has not read whole may hold more than the two lists: saving refuses and
// leaves it exactly as it was.
TEST_F(ExtensionLists, AFileNotReadWholeIsNeverOverwritten)
{
    const QByteArray huge = "[Other]\nKey=kept\n" + QByteArray(5 << 20, ';') + "\n";
    writeFile(huge);
    try {
        WriteStatFilesToDisk({"*.txt"}, "Include");
        ADD_FAILURE() << "a file over 4 MB was replaced";
    } catch (const SettingsWriteError &error) {
        const std::string message = error.what();
        EXPECT_TRUE(message.starts_with("Unable to write to korvel98.ini: ")) << message;
        EXPECT_NE(message.find("larger than 4 MB"), std::string::npos) << message;
    }
    EXPECT_EQ(fileContent(), huge);
}

// Each save reads, changes and writes the whole file; two programs saving different lists at once
// must not put back each other's old list.
TEST_F(ExtensionLists, TwoProgramsSavingAtOnceKeepBothLists)
{
    const auto listOf = [](int program, int round) {
        QStringList list;
        for (int i = 0; i < 200; ++i)
            list << QStringLiteral("*.p%1r%2e%3").arg(program).arg(round).arg(i);
        return list;
    };
    const auto patterns = [](const QString &section) {
        QStringList list;
        ReadStatFilesFromDisk(list, section);
        for (QString &entry : list)
            entry = entry.left(entry.indexOf(u'\t'));
        return list;
    };
    const QString sections[] = {"Include", "Exclude"};
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    pid_t children[2];
    for (int program = 0; program < 2; ++program) {
        children[program] = ::fork();
        if (children[program] != 0)
            continue;
        char go;
        int lost = ::read(start[0], &go, 1) == 1 ? 0 : 100;
        try {
            for (int round = 1; round <= 40; ++round) {
                // Nobody else writes this section: it holds what this program saved last.
                if (round > 1 && patterns(sections[program]) != listOf(program, round - 1))
                    ++lost;
                WriteStatFilesToDisk(listOf(program, round), sections[program]);
            }
        } catch (const SettingsWriteError &) {
            lost = 101;
        }
        ::_exit(lost);
    }
    ASSERT_EQ(::write(start[1], "go", 2), 2);
    for (pid_t child : children) {
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 0) << "lists lost or saves refused";
    }
    EXPECT_EQ(patterns("Include"), listOf(0, 40));
    EXPECT_EQ(patterns("Exclude"), listOf(1, 40));
}
