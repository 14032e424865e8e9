#include "platform/DirectorySearch.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <sys/xattr.h>
#include <system_error>
#include <thread>
#include <unistd.h>

namespace platform {

namespace {

// File systems that keep DOS attributes of their own.
constexpr long fatMagic = 0x4d44;       // vfat, msdos
constexpr long ntfsMagic = 0x5346544e;  // the old ntfs driver
constexpr long ntfs3Magic = 0x7366746e; // ntfs3
constexpr long fuseMagic = 0x65735546;  // fuseblk, which is how ntfs-3g mounts

constexpr std::uint32_t dosBits = AttrReadOnly | AttrHidden | AttrSystem | AttrArchive;

std::function<bool(const std::string &)> listingHook;

// Where a record of struct linux_dirent64 keeps its length (d_reclen) and its name.
constexpr long recordLengthAt = 16;
constexpr long recordNameAt = 19;

unsigned short recordLength(const char *record)
{
    unsigned short length;
    std::memcpy(&length, record + recordLengthAt, sizeof length);
    return length;
}

// Hands every name of an open directory to named(), "." and ".." included, a batch of the
// kernel's records at a time; before each batch, batch() learns the most bytes its names take
// with their terminating zeros. What the last getdents64 call gave: 0 at the end, below 0 on an
// error (errno tells which).
template <typename Named, typename Batch>
long forEachName(int fd, const Named &named, const Batch &batch)
{
    alignas(8) char buffer[32768];
    for (;;) {
        const long got = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer);
        if (got <= 0)
            return got;
        std::size_t most = 0;
        for (long at = 0; at < got; at += recordLength(buffer + at))
            most += recordLength(buffer + at) - std::size_t(recordNameAt);
        batch(most);
        for (long at = 0; at < got; at += recordLength(buffer + at))
            named(static_cast<const char *>(buffer + at + recordNameAt));
    }
}

template <typename Named> long forEachName(int fd, const Named &named)
{
    return forEachName(fd, named, [](std::size_t) {});
}

struct Fd
{
    int fd = -1;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

// Opens a directory by a path of any length: paths beyond PATH_MAX are opened piece by piece,
// each piece relative to the one before, closing each as soon as the next is open.
int openDirectory(const std::string &path, bool followLink, int mode = O_RDONLY)
{
    const int flags = mode | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW);
    constexpr std::size_t piece = PATH_MAX - 2;
    if (path.size() <= piece)
        return ::open(path.c_str(), flags);

    int dir = AT_FDCWD;
    std::size_t pos = 0;
    while (path.size() - pos > piece) {
        std::size_t cut = path.rfind('/', pos + piece);
        if (cut == std::string::npos || cut < pos) {
            if (dir != AT_FDCWD)
                ::close(dir);
            errno = ENAMETOOLONG;
            return -1;
        }
        const std::string part = cut == pos ? std::string("/") : path.substr(pos, cut - pos);
        // The folders on the way are only passed through: searching them is all it takes.
        const int next = ::openat(dir, part.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (dir != AT_FDCWD)
            ::close(dir);
        if (next < 0)
            return -1;
        dir = next;
        pos = cut + 1;
    }
    const int fd = ::openat(dir, path.c_str() + pos, flags);
    ::close(dir);
    return fd;
}

std::uint32_t attributesOf(const struct statx &st, std::string_view name)
{
    std::uint32_t attributes = 0;
    const mode_t mode = st.stx_mode;
    if (S_ISDIR(mode))
        attributes |= AttrDirectory;
    else if (S_ISCHR(mode) || S_ISBLK(mode) || S_ISFIFO(mode) || S_ISSOCK(mode))
        attributes |= AttrSystem;
    if ((mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        attributes |= AttrReadOnly;
    if (!name.empty() && name.front() == '.')
        attributes |= AttrHidden;
    return attributes;
}

// The FAT driver hands out the attribute byte through an ioctl on the open entry.
std::uint32_t fatAttributes(int dirFd, const char *name)
{
    Fd entry{::openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
    std::uint32_t attributes = 0;
    if (entry.fd < 0 || ::ioctl(entry.fd, FAT_IOCTL_GET_ATTRIBUTES, &attributes) != 0)
        return 0;
    return attributes & dosBits;
}

// Both NTFS drivers show the attribute word as a little-endian extended attribute.
std::uint32_t ntfsAttributes(int dirFd, const char *name)
{
    const std::string path = "/proc/self/fd/" + std::to_string(dirFd) + "/" + name;
    unsigned char value[4] = {};
    if (::lgetxattr(path.c_str(), "system.ntfs_attrib", value, sizeof value) != sizeof value)
        return 0;
    const std::uint32_t word =
        value[0] | value[1] << 8 | value[2] << 16 | std::uint32_t(value[3]) << 24;
    return word & dosBits;
}

// FUSE serves many file systems; only ask every entry when the folder itself answers, so that a
// network file system is not asked once per file for something it never has.
bool keepsNtfsAttributes(int dirFd)
{
    const std::string path = "/proc/self/fd/" + std::to_string(dirFd);
    unsigned char value[4];
    return ::getxattr(path.c_str(), "system.ntfs_attrib", value, sizeof value) == sizeof value;
}

// Where a name of a listing lives in its buffer.
struct Name
{
    std::size_t offset;
    std::size_t length;
};

enum class Examined
{
    Kept,
    Gone,    // since it was listed
    Refused, // the system would not tell (no permission to search the folder, a failing disk)
    NoMemory
};

// Errors that mean a folder or entry went away (or was replaced) after it was listed: that is no
// failure to read it.
bool goneError(int error)
{
    return error == ENOENT || error == ENOTDIR || error == ELOOP;
}

// Looks at one entry of an open directory.
struct Examiner
{
    int fd;
    const char *names;
    bool fat, ntfs;

    // error: the system's error number when the entry was refused.
    Examined operator()(const Name &n, DirectoryEntry &entry, int &error) const
    {
        const char *name = names + n.offset;
        struct statx st;
        if (::statx(fd, name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT,
                    STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_BLOCKS | STATX_ATIME |
                        STATX_MTIME | STATX_BTIME | STATX_NLINK | STATX_INO | STATX_UID | STATX_GID,
                    &st) != 0) {
            error = errno;
            return error == ENOMEM    ? Examined::NoMemory
                   : goneError(error) ? Examined::Gone
                                      : Examined::Refused;
        }
        entry = describeEntry(st, std::string_view(name, n.length));
        if (fat)
            entry.attributes |= fatAttributes(fd, name);
        else if (ntfs && !S_ISLNK(st.stx_mode))
            entry.attributes |= ntfsAttributes(fd, name);
        return Examined::Kept;
    }
};

constexpr std::size_t namesPerThread = 4096;
constexpr std::size_t mostExaminers = 8;
constexpr long plentyOfDescriptors = 256;

// A big folder's entries are examined by several threads at once, each taking one stretch of the
// listing: one thread alone would leave the other cores idle for the whole folder, and a cold disk
// with one read in flight. Entries keep their listing order. False when memory ran out; refused
// tells why an entry was refused, when one was.
bool examineShared(const Examiner &examine, const std::vector<Name> &found,
                   std::vector<DirectoryEntry> &list, int &refused)
{
    list.resize(found.size());
    std::vector<Examined> outcomes(found.size());
    const std::size_t parts = std::min(found.size() / namesPerThread, mostExaminers);
    std::vector<int> errors(parts);
    // Threads that share one open directory would all count its uses on one spot of memory; each
    // opens its own, unless descriptors are scarce: the walk's own reckoning leaves these out.
    const bool ownDescriptors = descriptorsToSpare() >= plentyOfDescriptors;
    auto examinePart = [&](std::size_t part) {
        Fd own{part == 0 || !ownDescriptors
                   ? -1
                   : ::openat(examine.fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
        Examiner mine = examine;
        if (own.fd >= 0)
            mine.fd = own.fd;
        const std::size_t last = found.size() * (part + 1) / parts;
        for (std::size_t i = found.size() * part / parts; i < last; ++i)
            outcomes[i] = mine(found[i], list[i], errors[part]);
    };
    std::vector<std::thread> threads;
    for (std::size_t part = 1; part < parts; ++part) {
        try {
            threads.emplace_back(examinePart, part);
        } catch (const std::system_error &) {
            examinePart(part); // no thread to be had: this one does it
        }
    }
    examinePart(0);
    for (std::thread &thread : threads)
        thread.join();
    // Entries gone in between leave their places; the others close up in order.
    std::size_t kept = 0;
    for (std::size_t i = 0; i < found.size(); ++i) {
        if (outcomes[i] == Examined::NoMemory)
            return false;
        if (outcomes[i] == Examined::Kept)
            list[kept++] = list[i];
    }
    for (std::size_t part = 0; part < parts && !refused; ++part)
        refused = errors[part];
    list.resize(kept);
    return true;
}

} // namespace

DirectoryEntry describeEntry(const struct ::statx &st, std::string_view name)
{
    DirectoryEntry entry;
    entry.rawName = name;
    entry.attributes = attributesOf(st, name);
    entry.size = st.stx_size;
    entry.allocated = st.stx_blocks * 512;
    entry.accessTime = st.stx_atime.tv_sec;
    entry.writeTime = st.stx_mtime.tv_sec;
    entry.creationTime = (st.stx_mask & STATX_BTIME) ? st.stx_btime.tv_sec : 0;
    entry.device = makedev(st.stx_dev_major, st.stx_dev_minor);
    entry.owner = st.stx_uid;
    entry.group = st.stx_gid;
    if ((st.stx_mask & (STATX_NLINK | STATX_INO)) == (STATX_NLINK | STATX_INO)) {
        entry.links = st.stx_nlink;
        entry.inode = st.stx_ino;
    }
    return entry;
}

void DirectoryListing::clear()
{
    shortOfResources = false;
    failure = 0;
    std::vector<char>().swap(names);
    std::vector<DirectoryEntry>().swap(list);
}

DirectoryHandle::~DirectoryHandle()
{
    if (fd >= 0)
        ::close(fd);
}

DirectoryHandle &DirectoryHandle::operator=(DirectoryHandle &&other) noexcept
{
    if (this != &other) {
        if (fd >= 0)
            ::close(fd);
        fd = other.fd;
        other.fd = -1;
    }
    return *this;
}

bool DirectoryListing::read(const std::string &path, bool followLink, DirectoryHandle *keep,
                            FileSystemKind kind)
{
    clear();
    const int fd = openDirectory(path, followLink);
    return fd < 0 ? failed(errno) : readOpen(fd, path, keep, kind);
}

bool DirectoryListing::readAt(const DirectoryHandle &parent, const std::string &name,
                              DirectoryHandle *keep, FileSystemKind kind)
{
    clear();
    const int fd =
        ::openat(parent.fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    return fd < 0 ? failed(errno) : readOpen(fd, name, keep, kind);
}

// A directory the process lacks the means to read is not an empty one: the caller must learn the
// difference, or the files in it would go uncounted without a word.
bool DirectoryListing::failed(int error)
{
    clear();
    shortOfResources = error == EMFILE || error == ENFILE || error == ENOMEM;
    if (!shortOfResources && !goneError(error))
        failure = error;
    return false;
}

bool DirectoryListing::readOpen(int fd, const std::string &path, DirectoryHandle *keep,
                                FileSystemKind kind)
{
    Fd dir{fd};
    const bool ok = readEntries(fd, path, kind);
    if (keep) {
        *keep = DirectoryHandle();
        keep->fd = dir.fd;
        dir.fd = -1;
    }
    return ok;
}

bool DirectoryListing::readEntries(int fd, const std::string &path, FileSystemKind kind)
{
    // First every name, so that the buffer the names live in is final before they are looked at.
    // Kept from folder to folder, so that a thread allocates it once; a huge folder's is not kept.
    thread_local std::vector<Name> found;
    if (found.capacity() > 65536)
        std::vector<Name>().swap(found);
    found.clear();
    // The names' buffer grows once per batch of records, not by doubling from a few bytes.
    const long end = forEachName(
        fd,
        [&](const char *name) {
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
                return;
            const std::size_t size = std::strlen(name);
            found.push_back({names.size(), size});
            names.insert(names.end(), name, name + size + 1); // kept with its 0 for statx
        },
        [&](std::size_t most) { names.reserve(names.size() + most); });
    // Any other error (a failing disk) ends the listing with the names read so far.
    const int listError = end < 0 ? errno : 0;
    if (listError == ENOMEM)
        return failed(ENOMEM);
    if (listingHook) {
        const auto hook = listingHook; // a test may put another in while this one runs
        errno = 0;
        if (!hook(path))
            return failed(errno ? errno : EACCES);
    }

    long fsType = kind.type;
    struct statfs fs;
    if (fsType == 0 && ::fstatfs(fd, &fs) == 0)
        fsType = long(fs.f_type);
    const bool fat = fsType == fatMagic;
    const bool ntfs = (fsType == ntfsMagic || fsType == ntfs3Magic || fsType == fuseMagic) &&
                      keepsNtfsAttributes(fd);
    const Examiner examine{fd, names.data(), fat, ntfs};

    // DOS attributes cost a descriptor or a path per entry: those folders are examined by one
    // thread, so that the walk's share of descriptors holds.
    int refused = 0;
    if (found.size() >= 2 * namesPerThread && !fat && !ntfs) {
        if (!examineShared(examine, found, list, refused))
            return failed(ENOMEM);
    } else {
        list.reserve(found.size());
        for (const Name &n : found) {
            DirectoryEntry entry;
            int error = 0;
            const Examined outcome = examine(n, entry, error);
            if (outcome == Examined::NoMemory)
                return failed(ENOMEM);
            if (outcome == Examined::Kept)
                list.push_back(entry);
            else if (outcome == Examined::Refused && !refused)
                refused = error;
        }
    }
    failure = listError ? listError : refused;
    return true;
}

HeldFolder::HeldFolder(const std::string &path)
{
    handle.fd = openDirectory(path, true, O_PATH);
    failure = handle.isOpen() ? 0 : errno;
}

QString HeldFolder::path() const
{
    return isOpen() ? QStringLiteral("/proc/self/fd/%1").arg(handle.fd) : QString();
}

DirectoryListing listDirectory(const QString &path)
{
    DirectoryListing listing;
    listing.read(path.toStdString(), true);
    return listing;
}

FileSystemKind fileSystemKindOf(const std::string &path)
{
    struct statfs fs;
    return {::statfs(path.c_str(), &fs) == 0 ? long(fs.f_type) : 0};
}

std::uint64_t deviceOf(const std::string &path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return 0;
    return st.st_dev;
}

bool folderExists(const std::string &path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

QString errorText(int error)
{
    char buffer[256];
    return QString::fromLocal8Bit(::strerror_r(error, buffer, sizeof buffer));
}

ThreadUsage threadUsage()
{
    rusage usage{};
    ::getrusage(RUSAGE_THREAD, &usage);
    auto time = [](const timeval &t) {
        return std::chrono::seconds(t.tv_sec) + std::chrono::microseconds(t.tv_usec);
    };
    return {time(usage.ru_utime) + time(usage.ru_stime), usage.ru_nvcsw};
}

// A descriptor takes the lowest free number, and only numbers below the soft limit can be had:
// what is to spare is the free numbers below it.
long descriptorsToSpare()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 0;
    const long below = limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur > LONG_MAX / 2
                           ? LONG_MAX / 2
                           : long(limit.rlim_cur);
    // Counting the entries of /proc/self/fd takes one descriptor of its own, given back after.
    const int dir = ::open("/proc/self/fd", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return 0;
    long used = 0;
    forEachName(dir, [&](const char *name) {
        if (name[0] >= '0' && name[0] <= '9') {
            const long number = std::strtol(name, nullptr, 10);
            used += number < below && number != dir;
        }
    });
    ::close(dir);
    return std::max(0L, below - used);
}

void raiseDescriptorLimit()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

void setListingHook(std::function<bool(const std::string &path)> hook)
{
    listingHook = std::move(hook);
}

} // namespace platform
