#include "platform/FileWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QString reason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QByteArray encoded(const QString &path)
{
    return QFile::encodeName(path);
}

// Where a path leads, or why it may not be written.
struct Target
{
    QString path;
    struct stat info = {};
    bool exists = false;
    QString refusal;
};

bool protectedLink(const QString &link, const struct stat &linkInfo)
{
    struct stat folder = {};
    if (::stat(encoded(QFileInfo(link).absolutePath()).constData(), &folder) != 0)
        return false;
    const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
    return shared && linkInfo.st_uid != ::geteuid() && linkInfo.st_uid != folder.st_uid;
}

Target resolve(const QString &path)
{
    Target target;
    target.path = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    for (int hops = 0; hops < 40; ++hops) {
        if (::lstat(encoded(target.path).constData(), &target.info) != 0) {
            if (errno != ENOENT)
                target.refusal = reason(errno);
            return target;
        }
        target.exists = true;
        if (!S_ISLNK(target.info.st_mode))
            return target;
        if (protectedLink(target.path, target.info)) {
            target.refusal = QStringLiteral("it is a symbolic link in a folder everyone may write "
                                            "to, and it belongs to someone else");
            return target;
        }
        char buffer[PATH_MAX + 1];
        const ssize_t size =
            ::readlink(encoded(target.path).constData(), buffer, sizeof buffer - 1);
        if (size < 0) {
            target.refusal = reason(errno);
            return target;
        }
        const QString next = QFile::decodeName(QByteArray(buffer, size));
        target.path = QDir::cleanPath(QDir::isAbsolutePath(next)
                                          ? next
                                          : QFileInfo(target.path).absolutePath() + u'/' + next);
        target.exists = false;
    }
    target.refusal = reason(ELOOP);
    return target;
}

QString kindRefused(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("it is a folder");
    if (S_ISBLK(mode))
        return QStringLiteral("it is a block device, which is never written to");
    if (S_ISSOCK(mode))
        return QStringLiteral("it is a socket");
    return QStringLiteral("it is not a file that can be written");
}

std::optional<QString> finish(QFile &file, bool written)
{
    if (!written || file.error() != QFileDevice::NoError || !file.flush())
        return file.error() != QFileDevice::NoError ? file.errorString()
                                                    : QStringLiteral("it could not be made");
    return std::nullopt;
}

// A pipe or a character device: what it is given is all there is.
std::optional<QString> writeInto(const Target &target, const WriteBody &body)
{
    // Without blocking, so that a pipe nobody reads is said at once rather than waited for.
    const int fd = ::open(encoded(target.path).constData(),
                          O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return errno == ENXIO ? QStringLiteral("it is a pipe that no program reads")
                              : reason(errno);
    struct stat opened = {};
    if (::fstat(fd, &opened) != 0 || !(S_ISFIFO(opened.st_mode) || S_ISCHR(opened.st_mode))) {
        ::close(fd);
        return QStringLiteral("it changed while it was opened");
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    QFile file;
    file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle);
    return finish(file, body(file));
}

// A new file beside the name, written whole and synced; its path, or the reason.
struct Written
{
    QString path;
    QString failure;
};

QString folderReason(const QString &folder, int error)
{
    if (error == ENOENT)
        return QFileInfo(folder).isDir()
                   ? QStringLiteral("the folder %1 does not take new files").arg(folder)
                   : QStringLiteral("the folder %1 does not exist").arg(folder);
    return reason(error);
}

Written writeBeside(const QString &folder, const QString &name, const WriteBody &body,
                    std::optional<mode_t> mode)
{
    Written result;
    int fd = -1;
    for (int tries = 0; fd < 0 && tries < 100; ++tries) {
        result.path = QStringLiteral("%1/.%2.%3.part")
                          .arg(folder, name)
                          .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        fd = ::open(encoded(result.path).constData(),
                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return {QString(), folderReason(folder, errno)};
    }
    if (fd < 0)
        return {QString(), reason(EEXIST)};
    if (mode)
        ::fchmod(fd, *mode);
    QFile file;
    file.open(fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle);
    std::optional<QString> failure = finish(file, body(file));
    // Synced before it takes the name: a crash afterwards leaves the old file or the new one.
    if (!failure && ::fsync(fd) != 0)
        failure = reason(errno);
    file.close();
    ::close(fd);
    if (failure) {
        ::unlink(encoded(result.path).constData());
        return {QString(), *failure};
    }
    return result;
}

} // namespace

std::optional<QString> writeFile(const QString &path, const WriteBody &body)
{
    const Target target = resolve(path);
    if (!target.refusal.isEmpty())
        return target.refusal;
    if (target.exists && (S_ISFIFO(target.info.st_mode) || S_ISCHR(target.info.st_mode)))
        return writeInto(target, body);
    if (target.exists && !S_ISREG(target.info.st_mode))
        return kindRefused(target.info.st_mode);
    const QFileInfo at(target.path);
    const Written written = writeBeside(
        at.absolutePath(), at.fileName(), body,
        target.exists ? std::optional<mode_t>(target.info.st_mode & 07777) : std::nullopt);
    if (!written.failure.isEmpty())
        return written.failure;
    // rename() puts a regular file in place of whatever holds the name by then; the check above
    // is repeated against a name swapped for something else in between.
    struct stat now = {};
    if (::lstat(encoded(target.path).constData(), &now) == 0 && !S_ISREG(now.st_mode)) {
        ::unlink(encoded(written.path).constData());
        return QStringLiteral("it changed while it was written");
    }
    if (::rename(encoded(written.path).constData(), encoded(target.path).constData()) != 0) {
        const int error = errno;
        ::unlink(encoded(written.path).constData());
        return reason(error);
    }
    return std::nullopt;
}

Outcome<QString> writeNewFile(const QString &folder, const std::function<QString(int n)> &nameFor,
                              const WriteBody &body)
{
    const Written written = writeBeside(folder, nameFor(1), body, std::nullopt);
    if (!written.failure.isEmpty())
        return Outcome<QString>::failure(written.failure);
    QString message;
    for (int n = 1; n < 10000; ++n) {
        const QString path = QDir(folder).filePath(nameFor(n));
        // link() fails when the name exists, where rename() would replace it.
        if (::link(encoded(written.path).constData(), encoded(path).constData()) == 0) {
            ::unlink(encoded(written.path).constData());
            return path;
        }
        if (errno != EEXIST) {
            message = reason(errno);
            break;
        }
    }
    if (message.isEmpty())
        message = reason(EEXIST);
    ::unlink(encoded(written.path).constData());
    return Outcome<QString>::failure(message);
}

} // namespace platform
