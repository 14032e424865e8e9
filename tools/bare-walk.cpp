// The floor under any walk of a tree on this system: two threads that list folders with
// getdents64 and ask statx about each entry, and nothing else. The walk benchmark times
// korvel98-scan against it, so that what the scan tool adds to the system's own work shows.
//
//   korvel98-bare-walk FOLDER    prints the entries met and the bytes of their blocks
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::mutex lock;
std::condition_variable work;
std::vector<std::string> waiting; // folders not yet taken
int busy = 0;                     // threads reading a folder
std::uint64_t entries = 0, bytes = 0;
dev_t device = 0;

// Lists one folder and examines each entry; its subfolders on the same file system are handed
// back for reading.
void readFolder(const std::string &path, std::vector<std::string> &subfolders, std::uint64_t &met,
                std::uint64_t &blocks)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return;
    alignas(8) char buffer[32768];
    long got;
    while ((got = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer)) > 0) {
        for (long at = 0; at < got;) {
            unsigned short length;
            std::memcpy(&length, buffer + at + 16, sizeof length);
            const char *name = buffer + at + 19;
            at += length;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                continue;
            struct statx st;
            if (::statx(fd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT,
                        STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_BLOCKS | STATX_ATIME |
                            STATX_MTIME | STATX_BTIME | STATX_NLINK | STATX_INO | STATX_UID |
                            STATX_GID,
                        &st) != 0)
                continue;
            ++met;
            blocks += st.stx_blocks * 512;
            if (S_ISDIR(st.stx_mode) && makedev(st.stx_dev_major, st.stx_dev_minor) == device)
                subfolders.push_back(path + '/' + name);
        }
    }
    ::close(fd);
}

void helper()
{
    std::vector<std::string> subfolders;
    std::uint64_t met = 0, blocks = 0;
    std::unique_lock guard(lock);
    for (;;) {
        work.wait(guard, [] { return !waiting.empty() || busy == 0; });
        if (waiting.empty())
            break;
        const std::string path = std::move(waiting.back());
        waiting.pop_back();
        ++busy;
        guard.unlock();
        subfolders.clear();
        readFolder(path, subfolders, met, blocks);
        guard.lock();
        --busy;
        for (std::string &folder : subfolders)
            waiting.push_back(std::move(folder));
        if (!subfolders.empty() || busy == 0)
            work.notify_all();
    }
    entries += met;
    bytes += blocks;
    work.notify_all();
}

} // namespace

int main(int argc, char **argv)
{
    struct stat root;
    if (argc != 2 || ::stat(argv[1], &root) != 0 || !S_ISDIR(root.st_mode)) {
        std::fprintf(stderr, "usage: korvel98-bare-walk FOLDER\n");
        return 2;
    }
    device = root.st_dev;
    waiting.push_back(argv[1]);
    std::thread other(helper);
    helper();
    other.join();
    std::printf("%llu entries, %llu bytes\n", static_cast<unsigned long long>(entries),
                static_cast<unsigned long long>(bytes));
    return 0;
}
