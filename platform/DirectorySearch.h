#pragma once

#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct statx;

namespace platform {

// The attribute word of a directory entry, bit for bit as the reports count them.
enum Attribute : std::uint32_t
{
    AttrReadOnly = 1,
    AttrHidden = 2,
    AttrSystem = 4,
    AttrVolume = 8,
    AttrDirectory = 16,
    AttrArchive = 32,
};

// One entry of a directory listing. Times are seconds since 1970 UTC, 0 when not kept.
struct DirectoryEntry
{
    std::string_view rawName; // the bytes the file system stores; lives as long as its listing
    std::uint32_t attributes = 0;
    // The names the file has (its link count); 0 when the file system tells no link count or no
    // inode number, so that its names cannot be told to be one file.
    std::uint32_t links = 0;
    std::uint64_t size = 0;        // of the entry itself: a symbolic link's own size
    std::uint64_t allocated = 0;   // bytes of the blocks the entry takes on its drive
    std::int64_t creationTime = 0; // birth time where the file system keeps one
    std::int64_t accessTime = 0;
    std::int64_t writeTime = 0;
    std::uint64_t device = 0; // st_dev: the file system the entry belongs to
    std::uint64_t inode = 0;  // with device, the file behind the name
    std::uint32_t owner = 0;  // the owning user's id
    std::uint32_t group = 0;  // the owning group's id

    // The name as text: UTF-8, with invalid bytes replaced.
    QString name() const { return QString::fromUtf8(rawName.data(), qsizetype(rawName.size())); }
    bool isDirectory() const { return attributes & AttrDirectory; }
};

// An entry as the system's answer about it describes it; what the answer leaves out (a birth
// time, a link count) counts as not kept. The name must outlive the entry.
DirectoryEntry describeEntry(const struct ::statx &answer, std::string_view name);

// An open directory, kept so that the folders below it can be opened by their names alone
// instead of their whole paths. Holders keep only a few at a time.
class DirectoryHandle
{
public:
    DirectoryHandle() = default;
    ~DirectoryHandle();
    DirectoryHandle(DirectoryHandle &&other) noexcept : fd(other.fd) { other.fd = -1; }
    DirectoryHandle &operator=(DirectoryHandle &&other) noexcept;
    DirectoryHandle(const DirectoryHandle &) = delete;
    DirectoryHandle &operator=(const DirectoryHandle &) = delete;

    bool isOpen() const { return fd >= 0; }

private:
    friend class DirectoryListing;
    friend class HeldFolder;
    int fd = -1;
};

// The kind of file system a walk reads (its statfs magic number), asked once for all its folders:
// it tells whether entries keep DOS attributes beyond the mode bits. 0: not known, ask each
// folder.
struct FileSystemKind
{
    long type = 0;
};
// The kind of the file system a folder lies on (following links); 0 when it cannot be asked.
FileSystemKind fileSystemKindOf(const std::string &path);

// One directory read whole and closed again, so that a deep walk never holds a directory open per
// level. "." and ".." are left out; symbolic links are never followed; an entry that vanishes
// before it can be examined is passed over.
class DirectoryListing
{
public:
    DirectoryListing() = default;
    DirectoryListing(DirectoryListing &&) = default;
    DirectoryListing &operator=(DirectoryListing &&) = default;
    DirectoryListing(const DirectoryListing &) = delete;
    DirectoryListing &operator=(const DirectoryListing &) = delete;

    // Reads the directory at a path (bytes as the system takes them; any length). A symbolic link
    // as the last part of the path is followed only when followLink is set. With keep given, the
    // directory stays open in it afterwards (when it could be read). False when it could not be
    // read: the listing is then empty. A directory read only in part keeps what was read, and
    // error() tells why the rest was not.
    // A kind given is taken as the directory's own (it must lie on that file system).
    bool read(const std::string &path, bool followLink = false, DirectoryHandle *keep = nullptr,
              FileSystemKind kind = {});
    // The same for a directory below an open one, by its name; never follows a link.
    bool readAt(const DirectoryHandle &parent, const std::string &name,
                DirectoryHandle *keep = nullptr, FileSystemKind kind = {});

    // Whether the last read failed for want of descriptors or memory, not because the directory
    // refuses to be read: then it is worth another try once some are free.
    bool lackedResources() const { return shortOfResources; }
    // Why the directory, or some of its entries, could not be read (no permission, an input/output
    // error): the system's error number; 0 when all of it was read, when it lacked resources, and
    // when it was gone before it could be read. The entries read before the failure are kept.
    int error() const { return failure; }

    const std::vector<DirectoryEntry> &entries() const { return list; }
    bool empty() const { return list.empty(); }
    std::size_t size() const { return list.size(); }

    // Frees the entries.
    void clear();

private:
    bool readOpen(int fd, const std::string &path, DirectoryHandle *keep, FileSystemKind kind);
    bool readEntries(int fd, const std::string &path, FileSystemKind kind);

    bool failed(int error);

    std::vector<char> names; // moving a vector keeps its buffer, so rawName stays valid
    std::vector<DirectoryEntry> list;
    bool shortOfResources = false;
    int failure = 0;
};

// What the calling thread has used so far: processor time, and how often it gave up the
// processor to wait (for the device above all; being pushed aside by other work does not count).
struct ThreadUsage
{
    std::chrono::microseconds busy{0};
    long waits = 0;
};
ThreadUsage threadUsage();

// Descriptors this process may still open: the soft limit less those open now.
long descriptorsToSpare();
// Lifts the soft limit of open descriptors to the hard one, so that a walk over many folders at
// once never runs short where the system would allow more. Called once at start.
void raiseDescriptorLimit();

// A folder named by bytes, held open so that it can be handed on as text however its name is
// spelled: a name that is no UTF-8, or a path longer than the system takes in one piece, still
// leads to it through path(), a short path through the process's own descriptors. It needs no
// permission to read the folder itself; the walk finds that out.
class HeldFolder
{
public:
    explicit HeldFolder(const std::string &path);
    HeldFolder(const HeldFolder &) = delete;
    HeldFolder &operator=(const HeldFolder &) = delete;

    bool isOpen() const { return handle.isOpen(); }
    QString path() const;
    // Why it could not be opened: the system's error number, 0 when it is open.
    int error() const { return failure; }

private:
    DirectoryHandle handle;
    int failure = 0;
};

// A listing by text path, for callers that do not care about raw bytes.
DirectoryListing listDirectory(const QString &path);

// The device (st_dev) of a path, following symbolic links; 0 when it cannot be examined.
std::uint64_t deviceOf(const std::string &path);

// Whether a folder can be reached at all (it exists and is a folder, or a link to one); it may
// still refuse to be read.
bool folderExists(const std::string &path);

// The system's words for an error number: "Permission denied".
QString errorText(int error);

// Tests only: called for every directory after its names were read and before its entries are
// examined, so that a test can remove an entry in between. It is given the path the directory was
// read by, or its name when it was read below an open directory. Answering false makes the
// directory one that could not be read, whoever runs the test (permissions do not bind root), for
// the reason the hook leaves in errno: permission denied when it leaves none. Empty: no call.
void setListingHook(std::function<bool(const std::string &path)> hook);

} // namespace platform
