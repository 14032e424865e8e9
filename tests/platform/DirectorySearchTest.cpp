#include "platform/DirectorySearch.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimeZone>
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using platform::DirectoryEntry;
using platform::DirectoryListing;

void writeFile(const QString &path, int size)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(size, 'x'));
}

std::map<std::string, DirectoryEntry> byName(const DirectoryListing &listing)
{
    std::map<std::string, DirectoryEntry> result;
    for (const DirectoryEntry &entry : listing.entries())
        result[std::string(entry.rawName)] = entry;
    return result;
}

class DirectorySearch : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    void TearDown() override
    {
        platform::setListingHook({});
        // Names that are not UTF-8 and paths beyond PATH_MAX are beyond QDir's own removal.
        QProcess::execute("rm", {"-rf", dir.path()});
    }
    QString path(const QString &name) const { return dir.filePath(name); }
    std::string root() const { return dir.path().toStdString(); }

    QTemporaryDir dir;
};

TEST_F(DirectorySearch, AttributesFollowTheEntryKinds)
{
    writeFile(path("plain.txt"), 1234);
    writeFile(path(".hidden"), 10);
    writeFile(path("locked.doc"), 5);
    ASSERT_EQ(::chmod(path("locked.doc").toLocal8Bit(), 0444), 0);
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(".config"));
    ASSERT_EQ(::symlink("folder", path("link").toLocal8Bit()), 0);
    ASSERT_EQ(::mkfifo(path("pipe").toLocal8Bit(), 0644), 0);
    const std::int64_t written = 1'600'000'000, accessed = 1'700'000'000;
    const timespec times[2] = {{accessed, 0}, {written, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path("plain.txt").toLocal8Bit(), times, 0), 0);

    DirectoryListing listing;
    ASSERT_TRUE(listing.read(root()));
    auto entries = byName(listing);
    ASSERT_EQ(entries.size(), 7u) << "no '.' or '..', nothing else";

    EXPECT_EQ(entries["plain.txt"].attributes, 0u);
    EXPECT_EQ(entries["plain.txt"].size, 1234u);
    EXPECT_EQ(entries["plain.txt"].writeTime, written);
    EXPECT_EQ(entries["plain.txt"].accessTime, accessed);
    const std::int64_t born = entries["plain.txt"].creationTime; // 0 where it is not kept
    EXPECT_TRUE(born == 0 || std::abs(born - QDateTime::currentSecsSinceEpoch()) < 3600) << born;
    EXPECT_EQ(entries[".hidden"].attributes, unsigned(platform::AttrHidden));
    EXPECT_EQ(entries["locked.doc"].attributes, unsigned(platform::AttrReadOnly));
    EXPECT_EQ(entries["folder"].attributes, unsigned(platform::AttrDirectory));
    EXPECT_EQ(entries[".config"].attributes,
              unsigned(platform::AttrDirectory | platform::AttrHidden));
    EXPECT_EQ(entries["pipe"].attributes, unsigned(platform::AttrSystem));
    // A link to a folder is an entry of its own, never the folder it points to.
    EXPECT_FALSE(entries["link"].isDirectory());
    EXPECT_EQ(entries["link"].size, 6u) << "the length of the link's own text";
    for (const auto &[name, entry] : entries) {
        EXPECT_EQ(entry.device, platform::deviceOf(root())) << name;
        EXPECT_EQ(entry.attributes & platform::AttrArchive, 0u) << "no DOS attributes here";
    }
}

TEST_F(DirectorySearch, InvalidUtf8NamesKeepTheirBytes)
{
    const std::string raw = root() + "/bad\xff\xfe.txt";
    const int fd = ::open(raw.c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);

    DirectoryListing listing;
    ASSERT_TRUE(listing.read(root()));
    ASSERT_EQ(listing.size(), 1u);
    const DirectoryEntry &entry = listing.entries().front();
    EXPECT_EQ(entry.rawName, "bad\xff\xfe.txt");
    EXPECT_TRUE(entry.name().startsWith("bad"));
    EXPECT_TRUE(entry.name().endsWith(".txt"));
    EXPECT_TRUE(entry.name().contains(QChar(0xFFFD))) << "invalid bytes replaced";
}

TEST_F(DirectorySearch, EntryDeletedBeforeItIsExaminedIsPassedOver)
{
    writeFile(path("stays"), 1);
    writeFile(path("goes"), 1);
    platform::setListingHook([&](const std::string &) {
        QFile::remove(path("goes"));
        return true;
    });

    DirectoryListing listing;
    ASSERT_TRUE(listing.read(root()));
    ASSERT_EQ(listing.size(), 1u);
    EXPECT_EQ(listing.entries().front().rawName, "stays");
}

// A big folder is examined by several threads: its entries still come in listing order, each with
// its own figures, and those gone in between are passed over wherever they stood.
TEST_F(DirectorySearch, BigFolderKeepsListingOrder)
{
    const int fd = ::open(root().c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < 20000; ++i) {
        const int file = ::openat(fd, std::to_string(i).c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_EQ(::ftruncate(file, i % 977), 0);
        ::close(file);
    }
    ::close(fd);
    platform::setListingHook([&](const std::string &) {
        for (int i = 0; i < 20000; i += 7)
            ::unlink(path(QString::number(i)).toLocal8Bit());
        return true;
    });
    DirectoryListing listing;
    ASSERT_TRUE(listing.read(root()));

    std::vector<std::string> expected; // what stays, in the order the system lists it
    DIR *stream = ::opendir(root().c_str());
    while (const dirent *entry = ::readdir(stream))
        if (entry->d_name[0] != '.')
            expected.push_back(entry->d_name);
    ::closedir(stream);
    ASSERT_EQ(listing.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const DirectoryEntry &entry = listing.entries()[i];
        ASSERT_EQ(entry.rawName, expected[i]);
        EXPECT_EQ(entry.size, std::stoul(expected[i]) % 977) << expected[i];
    }
}

TEST_F(DirectorySearch, WhatCannotBeListedIsEmpty)
{
    writeFile(path("file"), 1);
    DirectoryListing listing;
    EXPECT_FALSE(listing.read(root() + "/missing"));
    EXPECT_TRUE(listing.empty());
    EXPECT_FALSE(listing.read(root() + "/file")) << "a file is no directory";

    // A link to a folder is not followed unless asked for.
    ASSERT_TRUE(QDir(dir.path()).mkdir("folder"));
    writeFile(path("folder/inside"), 1);
    ASSERT_EQ(::symlink("folder", path("link").toLocal8Bit()), 0);
    EXPECT_FALSE(listing.read(root() + "/link"));
    EXPECT_TRUE(listing.read(root() + "/link", true));
    EXPECT_EQ(listing.size(), 1u);

    // A folder whose reading fails midway keeps none of the names it had read.
    platform::setListingHook([](const std::string &) { return false; });
    EXPECT_FALSE(listing.read(root() + "/folder"));
    EXPECT_TRUE(listing.empty());
}

// Paths longer than PATH_MAX exist in deep trees; they must still be listed.
TEST_F(DirectorySearch, PathsBeyondPathMaxAreListed)
{
    const std::string name(100, 'd');
    std::string deep = root();
    int fd = ::open(deep.c_str(), O_RDONLY | O_DIRECTORY);
    for (int level = 0; level < 60; ++level) { // about 6,000 bytes
        ASSERT_EQ(::mkdirat(fd, name.c_str(), 0755), 0);
        const int next = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(fd);
        ASSERT_GE(next, 0);
        fd = next;
        deep += "/" + name;
    }
    ::close(::openat(fd, "leaf", O_CREAT | O_WRONLY, 0644));
    ::close(fd);
    ASSERT_GT(deep.size(), std::size_t(PATH_MAX));

    DirectoryListing listing;
    ASSERT_TRUE(listing.read(deep));
    ASSERT_EQ(listing.size(), 1u);
    EXPECT_EQ(listing.entries().front().rawName, "leaf");
}

TEST_F(DirectorySearch, NamesSurviveMovingTheListing)
{
    writeFile(path("a"), 1); // short names live in the smallest buffers
    DirectoryListing listing;
    ASSERT_TRUE(listing.read(root()));
    DirectoryListing moved = std::move(listing);
    ASSERT_EQ(moved.size(), 1u);
    EXPECT_EQ(moved.entries().front().rawName, "a");
}

} // namespace
