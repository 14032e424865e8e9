#pragma once

#include <QByteArray>
#include <QChar>
#include <QString>
#include <cstdint>
#include <vector>

struct Folder;

namespace platform {
struct DirectoryEntry;
}

// One of the largest files the walk counted on a drive.
struct LargeFile
{
    QByteArray path; // below the drive's root, bytes as the file system holds them
    std::uint64_t size = 0;
    std::int64_t writeTime = 0; // seconds since 1970 UTC
    std::uint32_t owner = 0;    // user id
    std::uint32_t group = 0;    // group id

    bool operator==(const LargeFile &) const = default;
};

// Files and bytes counted for one user or group id, and the id's name where the walk ran (empty
// when it had none), so that a run read back elsewhere still shows the names.
struct OwnerTotal
{
    std::uint32_t id = 0;
    std::int64_t files = 0;
    std::uint64_t bytes = 0;
    QString name;

    bool operator==(const OwnerTotal &) const = default;
};

// What one drive's walk kept of its files: the largest ones, largest first (equal sizes in the
// byte order of their paths), how many were counted in all, and the counted files of each owner
// and group, in the order of their ids.
struct DriveFiles
{
    QChar letter;
    std::vector<LargeFile> largest;
    std::int64_t counted = 0;
    std::vector<OwnerTotal> users;
    std::vector<OwnerTotal> groups;

    bool operator==(const DriveFiles &) const = default;
};

// The largest files kept per drive.
inline constexpr std::size_t largestFilesKept = 1000;

// Whether a sorts before b in DriveFiles::largest.
bool largeFileBefore(const LargeFile &a, const LargeFile &b);

// Gathers a drive's DriveFiles while it is walked. Each counted file costs a size comparison and
// two id look-ups; a path is made only for a file that gets into the list.
class FileTally
{
public:
    void driveStarting();
    // A file the walk counted, in folder (none: the drive's root).
    void count(const Folder *folder, const platform::DirectoryEntry &entry);
    DriveFiles driveEnded(QChar letter);

private:
    struct Ids
    {
        std::vector<OwnerTotal> totals;
        std::size_t last = 0; // files of one folder mostly share their owner
        void add(std::uint32_t id, std::uint64_t bytes);
    };
    std::vector<LargeFile> heap; // the smallest kept file on top, once full
    std::int64_t counted = 0;
    Ids users, groups;
};
