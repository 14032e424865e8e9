#pragma once

#include "platform/DriveSource.h"

#include <QChar>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// One drive of a run as it stood when the run walked it: a saved collection shows the space of
// that time, not of the day it is opened.
struct DriveFacts
{
    QChar letter; // lower case, as the drive table gives it
    QString mountPoint;
    QString fileSystem;
    std::uint64_t capacity = 0;
    std::uint64_t freeBytes = 0;
    std::uint64_t clusterSize = 0;
    std::uint64_t usedEntries = 0; // files and folders the file system counted (used inodes)
    bool walked = false;           // the run reached the drive and it was ready
    std::uint64_t entriesMet = 0;  // files and folders the walk met on it (hidden ones included)
    // How the drive updates access dates, by its mount options.
    platform::AccessTimes accessTimes = platform::AccessTimes::Unknown;
    // Whether the drive keeps creation dates: some entry of its walk had one. Unknown until a
    // walk met an entry.
    std::optional<bool> keepsCreationDates = std::nullopt;

    std::uint64_t usedBytes() const { return capacity > freeBytes ? capacity - freeBytes : 0; }
    bool operator==(const DriveFacts &) const = default;
};

// What a run's figures need beside them to be read later or elsewhere: when and where it ran,
// which drives it walked and how it ended. The filter and the figures are the accumulators'.
struct RunFacts
{
    QString programVersion;
    QDateTime started; // local time with its offset from UTC
    QDateTime ended;
    QString timeZone; // the IANA name, such as "Europe/Berlin"
    QString hostName;
    std::vector<DriveFacts> drives;
    bool complete = false; // no abort: every drive that was ready walked to its end
    bool operator==(const RunFacts &) const = default;
};

// The facts of one drive read from a drive table now; a drive that does not answer has only its
// letter, mount point and file system.
DriveFacts driveFacts(const platform::DriveSource &source, QChar letter);

// The drives of a run as a caption names them: "C: D:".
QString drivesText(const RunFacts &facts);
