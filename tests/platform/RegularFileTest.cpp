#include "platform/RegularFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using platform::readRegularFile;

// A pipe nobody writes to is refused at once instead of waiting for a writer, as are devices and
// folders; a regular file is read up to one byte past the limit.
TEST(RegularFile, ReadsOnlyRegularFilesUpToOneBytePastTheLimit)
{
    QTemporaryDir temp;
    QFile small(temp.filePath("small"));
    ASSERT_TRUE(small.open(QIODevice::WriteOnly) && small.write("0123456789abc") == 13);
    small.close();
    ASSERT_EQ(::mkfifo(QFile::encodeName(temp.filePath("pipe")).constData(), 0600), 0);
    const struct
    {
        QString path;
        qint64 limit;
        std::optional<QByteArray> bytes;
        QString reason;
    } cases[] = {{temp.filePath("small"), 100, "0123456789abc", {}},
                 {temp.filePath("small"), 4, "01234", {}},
                 {temp.filePath("small"), 0, "0", {}},
                 {temp.filePath("pipe"), 100, std::nullopt, "it is not a regular file"},
                 {"/dev/zero", 100, std::nullopt, "it is not a regular file"},
                 {temp.path(), 100, std::nullopt, "it is not a regular file"},
                 {temp.filePath("none"), 100, std::nullopt, "No such file or directory"}};
    for (const auto &c : cases) {
        const platform::RegularFileRead read = readRegularFile(c.path, c.limit);
        EXPECT_EQ(read.bytes, c.bytes) << c.path.toStdString();
        EXPECT_EQ(read.reason, c.reason) << c.path.toStdString();
    }
    EXPECT_EQ(platform::readRegularFileEnd(temp.filePath("small"), 3).bytes, "abc");
    EXPECT_EQ(platform::readRegularFileEnd(temp.filePath("small"), 100).bytes, "0123456789abc");
    EXPECT_FALSE(platform::readRegularFileEnd(temp.filePath("pipe"), 3).bytes);
}
