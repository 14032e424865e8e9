#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace platform {
struct DirectoryEntry;
}

// The files with several names (hard links) that the walk of one drive has met, so that each
// counts once: under the first of its names in the walk's order. Only files with more than one
// name are kept, so the memory grows with the linked files of a drive and not with all its files:
// 16 bytes a slot, at most half the slots taken.
class LinkedFiles
{
public:
    // Whether this is the first name of its file the walk meets. A file with one name, or on a
    // file system that tells no link count or inode number, is always new, with no look-up.
    bool firstName(const platform::DirectoryEntry &entry);
    // Forgets every file and gives the memory back: each drive is counted on its own.
    void clear();
    // The files kept.
    std::size_t size() const { return count; }

private:
    struct Key
    {
        std::uint64_t device = 0, inode = 0; // both 0: a free slot
    };
    std::size_t slotOf(const Key &key) const;
    void grow();

    std::vector<Key> buckets; // a power of two of them, or none
    std::size_t count = 0;
};
