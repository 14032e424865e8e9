#pragma once

#include <QString>
#include <chrono>

namespace platform {

// An advisory lock (flock) on a file of its own, held while the object lives. Programs that take
// the same lock around a read-change-write of a shared file never interleave their changes. The
// lock file and its folder are made when missing and the lock file is never removed: a removed
// lock file would let a second program lock a new file while the first still holds the old one.
class FileLock
{
public:
    enum State
    {
        Held,
        Busy,
        Failed
    };

    // Waits up to patience for a program that holds the lock to let it go.
    explicit FileLock(const QString &path,
                      std::chrono::milliseconds patience = std::chrono::seconds(10));
    ~FileLock();
    FileLock(const FileLock &) = delete;
    FileLock &operator=(const FileLock &) = delete;

    // Held; Busy when another program kept it all the while; Failed when the lock file could not
    // be made or opened.
    State state() const { return held; }

private:
    int fd = -1;
    State held = Failed;
};

} // namespace platform
