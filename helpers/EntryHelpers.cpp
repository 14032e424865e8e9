#include "helpers/EntryHelpers.h"

#include "platform/FileTimes.h"

int entryKind(const platform::DirectoryEntry &entry)
{
    if (entry.rawName == "." || entry.rawName == "..")
        return 1;
    return entry.isDirectory() ? 0 : 2;
}

std::uint32_t accessDosTime(const platform::DirectoryEntry &entry)
{
    return platform::packLocalTime(entry.accessTime);
}

std::uint32_t createDosTime(const platform::DirectoryEntry &entry)
{
    return platform::packLocalTime(entry.creationTime);
}

std::uint32_t writeDosTime(const platform::DirectoryEntry &entry)
{
    return platform::packLocalTime(entry.writeTime);
}
