#include "platform/RegularFile.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// Reads until the end of the file or until more than limit bytes are in.
RegularFileRead readOpened(int fd, qint64 size, qint64 limit)
{
    QByteArray bytes;
    bytes.resize(qsizetype(std::min(size, limit) + 1));
    qsizetype got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, std::size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return {std::nullopt, systemReason(errno)};
        if (n == 0)
            break;
        got += n;
        // A file that grew since it was looked at is followed up to one byte past the limit.
        if (got == bytes.size() && got <= limit)
            bytes.resize(qsizetype(std::min<qint64>(2 * qint64(got), limit + 1)));
    }
    bytes.truncate(got);
    return {std::move(bytes), QString()};
}

// Opens a regular file and hands it with its size to read; nothing is read from anything else.
template <typename Read> RegularFileRead withRegularFile(const QString &path, Read read)
{
    // Opening a pipe without a writer would wait for one for good; without blocking it opens at
    // once, and what was opened is looked at before a byte is read.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return {std::nullopt, systemReason(errno)};
    struct stat st;
    RegularFileRead result;
    if (::fstat(fd, &st) != 0)
        result = {std::nullopt, systemReason(errno)};
    else if (!S_ISREG(st.st_mode))
        result = {std::nullopt, QStringLiteral("it is not a regular file")};
    else
        result = read(fd, qint64(st.st_size));
    ::close(fd);
    return result;
}

} // namespace

RegularFileRead readRegularFile(const QString &path, qint64 limit)
{
    return withRegularFile(path, [limit](int fd, qint64 size) {
        return readOpened(fd, size, std::max<qint64>(limit, 0));
    });
}

RegularFileRead readRegularFileEnd(const QString &path, qint64 count)
{
    return withRegularFile(path, [count](int fd, qint64 size) {
        const qint64 start = std::max<qint64>(0, size - std::max<qint64>(count, 0));
        if (::lseek(fd, off_t(start), SEEK_SET) < 0)
            return RegularFileRead{std::nullopt, systemReason(errno)};
        RegularFileRead read = readOpened(fd, size - start, size - start);
        if (read.bytes)
            read.bytes->truncate(qsizetype(size - start)); // not what grew since
        return read;
    });
}

} // namespace platform
