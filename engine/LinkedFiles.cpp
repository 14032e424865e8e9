#include "engine/LinkedFiles.h"

#include "platform/DirectorySearch.h"

namespace {

// Inode numbers come in runs; a full mix spreads neighbours over the table.
std::uint64_t mix(std::uint64_t x)
{
    x ^= x >> 30;
    x *= 0xbf58476d1ce4e5b9ULL;
    x ^= x >> 27;
    x *= 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

} // namespace

bool LinkedFiles::firstName(const platform::DirectoryEntry &entry)
{
    if (entry.links <= 1 || (entry.device == 0 && entry.inode == 0))
        return true;
    if (2 * (count + 1) > buckets.size())
        grow();
    const Key key{entry.device, entry.inode};
    const std::size_t mask = buckets.size() - 1;
    for (std::size_t at = slotOf(key);; at = (at + 1) & mask) {
        Key &slot = buckets[at];
        if (slot.device == key.device && slot.inode == key.inode)
            return false;
        if (slot.device == 0 && slot.inode == 0) {
            slot = key;
            ++count;
            return true;
        }
    }
}

void LinkedFiles::clear()
{
    std::vector<Key>().swap(buckets);
    count = 0;
}

std::size_t LinkedFiles::slotOf(const Key &key) const
{
    return mix(key.inode ^ mix(key.device)) & (buckets.size() - 1);
}

void LinkedFiles::grow()
{
    std::vector<Key> old(buckets.empty() ? 1024 : 2 * buckets.size());
    old.swap(buckets);
    const std::size_t mask = buckets.size() - 1;
    for (const Key &key : old) {
        if (key.device == 0 && key.inode == 0)
            continue;
        std::size_t at = slotOf(key);
        while (buckets[at].device != 0 || buckets[at].inode != 0)
            at = (at + 1) & mask;
        buckets[at] = key;
    }
}
