#include "engine/LargestFiles.h"

#include "engine/ReadAhead.h"
#include "platform/DirectorySearch.h"
#include "platform/OwnerNames.h"

#include <algorithm>

namespace {

QByteArray filePath(const Folder *folder, std::string_view name)
{
    std::vector<const Folder *> chain;
    for (const Folder *f = folder; f && f->parent; f = f->parent)
        chain.push_back(f);
    QByteArray path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        path.append((*it)->name.data(), qsizetype((*it)->name.size()));
        path += '/';
    }
    path.append(name.data(), qsizetype(name.size()));
    return path;
}

} // namespace

bool largeFileBefore(const LargeFile &a, const LargeFile &b)
{
    return a.size != b.size ? a.size > b.size : a.path < b.path;
}

void FileTally::Ids::add(std::uint32_t id, std::uint64_t bytes)
{
    if (last >= totals.size() || totals[last].id != id) {
        auto at = std::lower_bound(totals.begin(), totals.end(), id,
                                   [](const OwnerTotal &t, std::uint32_t v) { return t.id < v; });
        if (at == totals.end() || at->id != id)
            at = totals.insert(at, OwnerTotal{id, 0, 0, {}});
        last = std::size_t(at - totals.begin());
    }
    ++totals[last].files;
    totals[last].bytes += bytes;
}

void FileTally::driveStarting()
{
    heap.clear();
    counted = 0;
    users = {};
    groups = {};
}

void FileTally::count(const Folder *folder, const platform::DirectoryEntry &entry)
{
    ++counted;
    users.add(entry.owner, entry.size);
    groups.add(entry.group, entry.size);
    // The heap's top is the entry the list would drop first: the smallest, and among equal sizes
    // the last path.
    const bool full = heap.size() >= largestFilesKept;
    if (full && entry.size < heap.front().size)
        return;
    LargeFile file{filePath(folder, entry.rawName), entry.size, entry.writeTime, entry.owner,
                   entry.group};
    if (full) {
        if (!largeFileBefore(file, heap.front()))
            return;
        std::pop_heap(heap.begin(), heap.end(), largeFileBefore);
        heap.back() = std::move(file);
    } else {
        heap.push_back(std::move(file));
    }
    std::push_heap(heap.begin(), heap.end(), largeFileBefore);
}

DriveFiles FileTally::driveEnded(QChar letter)
{
    DriveFiles kept{letter, std::move(heap), counted, std::move(users.totals),
                    std::move(groups.totals)};
    std::sort(kept.largest.begin(), kept.largest.end(), largeFileBefore);
    for (OwnerTotal &user : kept.users)
        user.name = platform::userName(user.id);
    for (OwnerTotal &group : kept.groups)
        group.name = platform::groupName(group.id);
    driveStarting();
    return kept;
}
