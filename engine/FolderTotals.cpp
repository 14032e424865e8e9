#include "engine/FolderTotals.h"

#include "engine/ReadAhead.h"

#include <algorithm>

namespace {

constexpr std::size_t firstWeeding = 256;

// The folder's path below the drive's root: the names on the way down, the root's own left out.
QByteArray pathBelowRoot(const Folder &folder)
{
    std::vector<const Folder *> chain;
    for (const Folder *f = &folder; f->parent; f = f->parent)
        chain.push_back(f);
    QByteArray path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!path.isEmpty())
            path += '/';
        path.append((*it)->name.data(), qsizetype((*it)->name.size()));
    }
    return path;
}

} // namespace

int FolderTotal::depth() const
{
    return path.isEmpty() ? 0 : int(path.count('/')) + 1;
}

QByteArray FolderTotal::name() const
{
    return path.mid(path.lastIndexOf('/') + 1);
}

QByteArray FolderTotal::parentPath() const
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray() : path.left(slash);
}

bool keepsDeepFolder(std::uint64_t folderBytes, std::uint64_t driveBytes)
{
    // folderBytes * 100 >= driveBytes, without the product.
    return folderBytes > 0 && folderBytes >= driveBytes / 100 + (driveBytes % 100 != 0);
}

// Byte by byte, with the slash below every other byte: a folder's subfolders follow it before any
// folder whose name merely begins with its name ("a", "a/b", "a-b").
bool folderPathBefore(const QByteArray &a, const QByteArray &b)
{
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i) {
        const auto x = uchar(a[i]), y = uchar(b[i]);
        if (x == y)
            continue;
        if (x == '/' || y == '/')
            return x == '/';
        return x < y;
    }
    return a.size() < b.size();
}

void FolderTally::driveStarting()
{
    now = {};
    kept.clear();
    deepKept = 0;
    weedAt = firstWeeding;
}

void FolderTally::left(const Folder &folder, int depth, const Marks &marks)
{
    if (keeps(depth, marks))
        keep(pathBelowRoot(folder), marks);
}

void FolderTally::left(std::string_view path, int depth, const Marks &marks)
{
    if (keeps(depth, marks))
        keep(QByteArray(path.data(), qsizetype(path.size())), marks);
}

bool FolderTally::keeps(int depth, const Marks &marks)
{
    if (depth <= keptDepth)
        return true;
    if (!keepsDeepFolder(now.bytes - marks.entered.bytes, now.bytes))
        return false;
    if (++deepKept >= weedAt) {
        weed(now.bytes);
        weedAt = std::max(firstWeeding, 2 * deepKept);
    }
    return true;
}

void FolderTally::keep(QByteArray path, const Marks &marks)
{
    kept.push_back({std::move(path), now.files - marks.entered.files,
                    now.bytes - marks.entered.bytes, now.files - marks.ownFiles.files,
                    now.bytes - marks.ownFiles.bytes});
}

void FolderTally::weed(std::uint64_t driveBytes)
{
    const auto small = [&](const FolderTotal &folder) {
        return folder.depth() > keptDepth && !keepsDeepFolder(folder.bytes, driveBytes);
    };
    const auto gone = std::remove_if(kept.begin(), kept.end(), small);
    deepKept -= std::size_t(kept.end() - gone);
    kept.erase(gone, kept.end());
}

DriveFolders FolderTally::driveEnded(QChar letter)
{
    weed(now.bytes);
    std::sort(kept.begin(), kept.end(), [](const FolderTotal &a, const FolderTotal &b) {
        return folderPathBefore(a.path, b.path);
    });
    DriveFolders drive{letter, std::move(kept)};
    kept = {};
    deepKept = 0;
    // A walk stopped before it left the root has no totals of the drive to hang the rest on.
    if (drive.folders.empty() || !drive.folders.front().path.isEmpty())
        drive.folders.clear();
    return drive;
}
