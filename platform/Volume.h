#pragma once

#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>

namespace platform {

// What the file system under a folder says about itself at one moment.
struct VolumeFacts
{
    bool answered = false;         // stat and statvfs both succeeded
    std::uint64_t device = 0;      // st_dev of the folder
    std::uint64_t totalBytes = 0;  // f_blocks x f_frsize
    std::uint64_t freeBytes = 0;   // f_bfree x f_frsize: every free block, root's reserve included
    std::uint64_t clusterSize = 0; // f_bsize
    std::uint64_t usedEntries = 0; // f_files - f_ffree; 0 where the file system counts no inodes
};

using VolumeProbe = std::function<VolumeFacts(const QString &folder)>;

// Asks the system about a folder. May block for minutes on a network mount whose server is gone.
VolumeFacts probeVolume(const QString &folder);

// Runs a probe on a worker thread and waits at most `limit` for it. A probe that does not answer
// in time counts as not answered; it is left to finish on its own, and while it hangs, further
// probes of the same folder give up at once instead of piling up more blocked threads.
VolumeFacts probeVolumeWithin(const QString &folder, std::chrono::milliseconds limit,
                              const VolumeProbe &probe = probeVolume);

} // namespace platform
