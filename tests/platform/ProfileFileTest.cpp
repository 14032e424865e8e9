#include "platform/ProfileFile.h"

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using korvel::test::fileBytes;
using platform::ProfileFile;

namespace {

void writeAll(const QString &path, const QByteArray &content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

} // namespace

TEST(ProfileFile, NamesIgnoreCaseAndValuesAreTrimmed)
{
    QTemporaryDir temp;
    const QString path = temp.filePath("k.ini");
    writeAll(path, "\xEF\xBB\xBF[Include]\r\n"
                   "  number =  3 \r\n"
                   "File1=\"*.doc\"\r\n"
                   "file1=second one is never read\r\n"
                   "[include]\r\n"
                   "File2=a later section of the same name is never read\r\n");
    const ProfileFile file(path);
    EXPECT_EQ(file.value("INCLUDE", "Number"), "3");
    EXPECT_EQ(file.value("include", "FILE1"), "*.doc");
    EXPECT_EQ(file.value("Include", "File2"), std::nullopt);
    EXPECT_EQ(file.value("Exclude", "Number"), std::nullopt);
    const QList<std::pair<QString, QString>> entries = file.entries("Include");
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[2], std::make_pair(QString("file1"), QString("second one is never read")));
}

TEST(ProfileFile, WritesReplaceOrAppendAndKeepEveryOtherLine)
{
    QTemporaryDir temp;
    const QString path = temp.filePath("k.ini");
    const QByteArray before = "; written by hand\n"
                              "stray text before any section\n"
                              "[Include]\n"
                              "Number=1\n"
                              "File1=*.txt\n"
                              "\n"
                              "[Other]\n"
                              "Key=\xff\xfe binary \x01 stays\n";
    writeAll(path, before);
    // A second name for the old file: a file rewritten in place would change under it too.
    ASSERT_EQ(::link(QFile::encodeName(path).constData(),
                     QFile::encodeName(temp.filePath("old.ini")).constData()),
              0);

    ProfileFile file(path);
    file.setValue("include", "NUMBER", "2");
    file.setValue("Include", "File2", "*.pdf");
    file.setValue("Exclude", "Number", "0\n[Include]\nNumber=99"); // no value adds lines
    ASSERT_TRUE(file.save());

    EXPECT_EQ(fileBytes(path), "; written by hand\n"
                               "stray text before any section\n"
                               "[Include]\n"
                               "NUMBER=2\n"
                               "File1=*.txt\n"
                               "File2=*.pdf\n"
                               "\n"
                               "[Other]\n"
                               "Key=\xff\xfe binary \x01 stays\n"
                               "[Exclude]\n"
                               "Number=0\n");
    const ProfileFile again(path);
    EXPECT_EQ(again.value("Include", "File2"), "*.pdf");
    EXPECT_EQ(again.value("Exclude", "Number"), "0");
    // The new file took the old one's place whole; the old one was never opened for writing.
    EXPECT_EQ(fileBytes(temp.filePath("old.ini")), before);
}

TEST(ProfileFile, LongValuesAreCutAndGarbageNeverStopsReading)
{
    QTemporaryDir temp;
    const QString path = temp.filePath("k.ini");
    QByteArray garbage;
    for (int i = 0; i < 256; ++i)
        garbage += char(i);
    garbage += '\n' + QByteArray(200000, 'x') +
               "\n=no name\n[unclosed\nkey=v\n[S]\nLong=" + QByteArray(5000, 'y') + "\n";
    writeAll(path, garbage);

    ProfileFile file(path);
    EXPECT_EQ(file.value("S", "Long")->size(), ProfileFile::maxValueLength);
    EXPECT_EQ(file.value("unclosed", "key"), "v");
    file.setValue("S", "New", "1");
    ASSERT_TRUE(file.save());
    EXPECT_TRUE(fileBytes(path).startsWith(garbage.left(garbage.size() - 1)));
}

TEST(ProfileFile, MissingFilesReadEmptyAndUnwritablePlacesRefuse)
{
    QTemporaryDir temp;
    ProfileFile missing(temp.filePath("new/folder/k.ini"));
    EXPECT_EQ(missing.value("A", "B"), std::nullopt);
    missing.setValue("A", "B", "c");
    ASSERT_TRUE(missing.save()); // the configuration folder may not exist yet
    EXPECT_EQ(fileBytes(temp.filePath("new/folder/k.ini")), "[A]\nB=c\n");

    // A plain file where the folder should be stops even the superuser.
    writeAll(temp.filePath("plain"), "x");
    ProfileFile blocked(temp.filePath("plain/k.ini"));
    blocked.setValue("A", "B", "c");
    EXPECT_FALSE(blocked.save());
    EXPECT_EQ(fileBytes(temp.filePath("plain")), "x");

    // A folder without write permission, and a file made read-only in a writable folder, refuse
    // an ordinary user (the superuser may write anywhere, so it is not asked).
    if (::geteuid() == 0)
        return;
    const QString locked = temp.filePath("locked");
    ASSERT_TRUE(QDir().mkpath(locked));
    writeAll(locked + "/k.ini", "[A]\nB=old\n");
    writeAll(temp.filePath("readonly.ini"), "[A]\nB=old\n");
    ASSERT_TRUE(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner));
    ASSERT_TRUE(QFile::setPermissions(temp.filePath("readonly.ini"), QFile::ReadOwner));
    for (const QString &path : {locked + "/k.ini", temp.filePath("readonly.ini")}) {
        ProfileFile file(path);
        file.setValue("A", "B", "new");
        EXPECT_FALSE(file.save()) << path.toStdString();
        EXPECT_EQ(fileBytes(path), "[A]\nB=old\n");
    }
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// Only a regular file of a sane size is read: anything else would hang or exhaust memory.
TEST(ProfileFile, OnlyRegularFilesOfASaneSizeAreRead)
{
    QTemporaryDir temp;
    const QString fifo = temp.filePath("fifo.ini");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit(), 0600), 0);
    const QString zero = temp.filePath("zero.ini");
    ASSERT_TRUE(QFile::link("/dev/zero", zero));
    const QString huge = temp.filePath("huge.ini");
    QFile big(huge);
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write("[Include]\nNumber=1\n");
    ASSERT_TRUE(big.resize(std::int64_t(64) << 20));
    big.close();
    for (const QString &path : {fifo, zero, huge})
        EXPECT_TRUE(ProfileFile(path).entries("Include").isEmpty()) << path.toStdString();
    // What was not read whole is never replaced by the little that was.
    for (const QString &path : {fifo, huge}) {
        ProfileFile file(path);
        file.setValue("Include", "Number", "0");
        EXPECT_FALSE(file.save()) << path.toStdString();
    }
    EXPECT_FALSE(QFileInfo(fifo).isFile());
    EXPECT_EQ(QFileInfo(huge).size(), std::int64_t(64) << 20);
}

// Lines nobody changed go back byte for byte, whatever marks and line ends they carry.
TEST(ProfileFile, UnchangedLinesAreWrittenBackExactly)
{
    QTemporaryDir temp;
    const QString path = temp.filePath("k.ini");
    const QByteArray kept = "\xEF\xBB\xBF\xEF\xBB\xBF[Include]\r\nNumber=1\r\nFile1=*.doc\n";
    writeAll(path, kept);
    ProfileFile file(path);
    EXPECT_FALSE(file.value("Include", "Number").has_value());
    file.setValue("Exclude", "Number", "0");
    ASSERT_TRUE(file.save());
    EXPECT_EQ(fileBytes(path), kept + "[Exclude]\nNumber=0\n");
    EXPECT_FALSE(ProfileFile(path).value("Include", "Number").has_value());
}

// Only the file's first bytes can be a byte order mark: a value that begins with U+FEFF keeps it.
TEST(ProfileFile, AValueKeepsAByteOrderMarkAtItsStart)
{
    QTemporaryDir temp;
    const QString path = temp.filePath("k.ini");
    ProfileFile file(path);
    file.setValue("Include", "File1", u"\uFEFF*.doc"_qs);
    ASSERT_TRUE(file.save());
    EXPECT_EQ(ProfileFile(path).value("Include", "File1"), u"\uFEFF*.doc"_qs);
}
