#include "platform/FileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QByteArray text = "written\n";

std::optional<QString> save(const QString &path)
{
    return platform::writeFile(path,
                               [](QIODevice &file) { return file.write(text) == text.size(); });
}

mode_t kind(const QString &path)
{
    struct stat info = {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info.st_mode & S_IFMT;
}

// Each kind of thing a name may hold: what a save leaves there, and what it answers.
TEST(FileWriter, EachKindOfTargetIsReplacedWrittenIntoOrRefused)
{
    QTemporaryDir folder;
    const QString file = folder.filePath("file");
    QFile(file).open(QIODevice::WriteOnly);
    ::chmod(QFile::encodeName(file).constData(), 0640);
    const QString pipe = folder.filePath("pipe");
    ::mkfifo(QFile::encodeName(pipe).constData(), 0600);
    const int reader = ::open(QFile::encodeName(pipe).constData(), O_RDONLY | O_NONBLOCK);
    const QString lonePipe = folder.filePath("lone-pipe");
    ::mkfifo(QFile::encodeName(lonePipe).constData(), 0600);
    const QString socket = folder.filePath("socket");
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(socket).constData(), sizeof address.sun_path);
    ::bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address);
    const QString link = folder.filePath("link");
    QFile::link(file, link);

    const struct
    {
        QString path;
        mode_t after;
        const char *failure; // nullptr: saved
    } cases[] = {
        {folder.filePath("new"), S_IFREG, nullptr},
        {file, S_IFREG, nullptr},
        {link, S_IFLNK, nullptr},
        {pipe, S_IFIFO, nullptr},
        {lonePipe, S_IFIFO, "it is a pipe that no program reads"},
        {"/dev/full", S_IFCHR, "No space left on device"},
        {folder.path(), S_IFDIR, "it is a folder"},
        {socket, S_IFSOCK, "it is a socket"},
        {folder.filePath("none/new"), 0, "the folder"},
    };
    for (const auto &c : cases) {
        const std::optional<QString> failure = save(c.path);
        EXPECT_EQ(failure.has_value(), c.failure != nullptr) << c.path.toStdString();
        if (failure && c.failure) {
            EXPECT_TRUE(failure->startsWith(c.failure)) << failure->toStdString();
        }
        EXPECT_EQ(kind(c.path), c.after) << c.path.toStdString();
    }
    char buffer[64] = {};
    EXPECT_EQ(::read(reader, buffer, sizeof buffer), text.size());
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), text);
    EXPECT_EQ(saved.permissions() & QFileDevice::ReadOther, 0);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Hidden | QDir::Files).filter(".part"),
              QStringList());
    ::close(reader);
    ::close(listener);
}

// In a shared folder with the sticky bit, a link someone else planted is not followed; the
// user's own link is.
TEST(FileWriter, ForeignLinksInStickySharedFoldersAreRefused)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "a link of another owner needs the administrator";
    QTemporaryDir folder;
    ::chmod(QFile::encodeName(folder.path()).constData(), 01777);
    const QString victim = folder.filePath("victim");
    QFile(victim).open(QIODevice::WriteOnly);
    const struct
    {
        uid_t owner;
        bool followed;
    } cases[] = {{65534, false}, {0, true}};
    for (const auto &c : cases) {
        const QString link = folder.filePath(QStringLiteral("link-%1").arg(c.owner));
        QFile::link(victim, link);
        ASSERT_EQ(::lchown(QFile::encodeName(link).constData(), c.owner, c.owner), 0);
        EXPECT_EQ(!save(link).has_value(), c.followed) << c.owner;
        EXPECT_EQ(QFileInfo(victim).size() > 0, c.followed) << c.owner;
    }
}

} // namespace
