#pragma once

#include <QString>
#include <cstdint>

struct WalkCounters;

// What a drive holds, to measure a walk against: the entries its last complete walk met (scaled
// to the drive of today), otherwise its used entries (inodes) where the file system counts them,
// otherwise its used bytes. The walk passes hidden folders by, so the used entries are too many.
struct DriveUsage
{
    std::uint64_t usedEntries = 0;
    std::uint64_t usedBytes = 0;
    std::uint64_t expectedEntries = 0; // 0: no walk of the drive known
};

// The share of the drive walked so far, 0 to 100. Hard links and a drive that fills up while it
// is walked can make the counters run past what the drive said it held; the share stops at 99
// until the walk is really done.
int walkPercent(const WalkCounters &counters, const DriveUsage &usage);

// "about 2 min left": the time the rest of the walk would take at the pace so far. Empty until
// the walk has run a few seconds and measured some share, when a guess would mislead.
QString timeLeftText(double elapsedSeconds, int percent);
