#include "platform/FileLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace platform {

// The lock is asked for without blocking and asked again after short pauses, so that a program
// stopped while holding it (a frozen process, a debugger) delays a save by the patience at most.
FileLock::FileLock(const QString &path, std::chrono::milliseconds patience)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return;
    fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW,
                0600);
    if (fd < 0)
        return;
    const auto giveUp = std::chrono::steady_clock::now() + patience;
    while (true) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            held = Held;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR)
            return;
        if (std::chrono::steady_clock::now() >= giveUp) {
            held = Busy;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

FileLock::~FileLock()
{
    // Closing the only descriptor of the open file lets the lock go.
    if (fd >= 0)
        ::close(fd);
}

} // namespace platform
