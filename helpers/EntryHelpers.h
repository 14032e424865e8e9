#pragma once

#include "platform/DirectorySearch.h"

#include <cstdint>

// What the walk and the classification ask of one directory entry.

// 1 for the entries "." and "..", 0 for a directory, 2 for anything else (a file).
int entryKind(const platform::DirectoryEntry &entry);

// The entry's times as packed local date-times; 0 when the time is not kept or falls outside the
// years 1980 to 2107.
std::uint32_t accessDosTime(const platform::DirectoryEntry &entry);
std::uint32_t createDosTime(const platform::DirectoryEntry &entry);
std::uint32_t writeDosTime(const platform::DirectoryEntry &entry);
