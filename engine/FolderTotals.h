#pragma once

#include <QByteArray>
#include <QChar>
#include <cstdint>
#include <string_view>
#include <vector>

struct Folder;

// What the walk counted in one folder of a drive: the files that passed the filter, as the Types
// listing counts them, in the folder itself and in all of the folders below it that the walk
// entered.
struct FolderTotal
{
    // Below the drive's root, bytes as the file system holds them, parts joined by "/": "" for
    // the root itself, "home/ann/Music".
    QByteArray path;
    std::int64_t files = 0; // in the folder and below it
    std::uint64_t bytes = 0;
    std::int64_t ownFiles = 0; // in the folder itself
    std::uint64_t ownBytes = 0;

    // In its subfolders, counted ones or not.
    std::int64_t subfolderFiles() const { return files - ownFiles; }
    std::uint64_t subfolderBytes() const { return bytes - ownBytes; }
    // 0 for the root, 1 for the folders in it, and so on.
    int depth() const;
    // The last part of the path: the folder's own name ("" for the root).
    QByteArray name() const;
    // The path of the folder it lies in ("" for a folder in the root); only for a folder that is
    // not the root.
    QByteArray parentPath() const;

    bool operator==(const FolderTotal &) const = default;
};

// The folders kept of one drive walked: every folder down to keptDepth below its root, and each
// deeper one that holds at least 1 % of the drive's counted bytes. Parents come before the folders
// in them, the root first; folders of one parent in the byte order of their names.
struct DriveFolders
{
    QChar letter; // lower case, as the drive table gives it
    std::vector<FolderTotal> folders;

    // What the walk counted on the whole drive: the root's totals.
    std::int64_t countedFiles() const { return folders.empty() ? 0 : folders.front().files; }
    std::uint64_t countedBytes() const { return folders.empty() ? 0 : folders.front().bytes; }

    bool operator==(const DriveFolders &) const = default;
};

// Folders this deep below a drive's root, or less deep, are always kept.
inline constexpr int keptDepth = 3;

// Whether a folder deeper than keptDepth with these bytes is kept on a drive whose counted bytes
// are driveBytes: it holds 1 % of them or more, and is not empty.
bool keepsDeepFolder(std::uint64_t folderBytes, std::uint64_t driveBytes);

// Whether path a sorts before path b in the order of DriveFolders::folders.
bool folderPathBefore(const QByteArray &a, const QByteArray &b);

// Gathers the folder totals of one drive while the walk goes, at the cost of a few additions per
// folder. The walk marks each folder when it enters it and when it starts on the folder's own
// files, counts every file that passes the filter, and hands the marks back when it leaves the
// folder, by which time everything below it is counted. A folder deeper than keptDepth whose bytes
// are below 1 % of what the drive has counted so far can never reach 1 % of the final count: it is
// dropped at once, so memory grows with the folders kept and not with the files or the folders
// walked.
class FolderTally
{
public:
    // Files and bytes counted on the drive up to some moment.
    struct Mark
    {
        std::int64_t files = 0;
        std::uint64_t bytes = 0;
    };
    // One folder's two marks.
    struct Marks
    {
        Mark entered;  // when the walk entered it
        Mark ownFiles; // when it started on the folder's own files
    };

    void driveStarting();
    void count(std::uint64_t bytes)
    {
        ++now.files;
        now.bytes += bytes;
    }
    Mark mark() const { return now; }
    // The walk leaves a folder at this depth below the root (0 for the root).
    void left(const Folder &folder, int depth, const Marks &marks);
    // The same for a folder known by its path below the root alone (a dump read back).
    void left(std::string_view path, int depth, const Marks &marks);
    // The drive's walk is over, complete or stopped: its kept folders, in their order.
    DriveFolders driveEnded(QChar letter);

private:
    bool keeps(int depth, const Marks &marks);
    void keep(QByteArray path, const Marks &marks);
    void weed(std::uint64_t driveBytes);

    Mark now;
    std::vector<FolderTotal> kept;
    std::size_t deepKept = 0;
    // When this many deep folders are kept, those below 1 % of the running count go; the next
    // weeding comes at twice what is left, so weeding costs little per folder and the deep
    // folders kept stay near what the final 1 % allows.
    std::size_t weedAt = 0;
};
