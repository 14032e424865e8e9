#pragma once

#include "engine/Filter.h"
#include "engine/FolderTotals.h"
#include "engine/LargestFiles.h"
#include "engine/TypeTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

// A folder a run could not read, or not whole: the files in it are not counted.
struct UnreadableFolder
{
    QByteArray path; // the bytes the system names it by
    QString reason;  // in the system's words: "Permission denied"
};

// Everything a collection run leaves behind: its parameters, its flags, and the counters, sums and
// tables the report pages read. Sizes are bytes; counts kept in doubles are whole numbers. The
// size tables use the indexes 1 to 12 (0 is never written), the age tables 0 to 9, the half-hour
// tables 0 to 47.
struct Accumulators
{
    // Run parameters, set before a run.
    QStringList PickList1; // the drives of the run; an entry starts with its drive letter
    Filter filter;         // which files count: all, or the picked types in or out
    QString currentDrive;  // the entry of PickList1 being walked
    long double totalDiskBytes = 0;

    // Run flags.
    bool scanning = false;  // a drive walk is under way
    bool aborted = false;   // the user asked to stop
    bool collected = false; // a drive walk has finished since the program started

    // Files met on the run's drives, and those of them that passed the type filter.
    std::int64_t filesProcessed = 0;
    std::int64_t filesFound = 0;
    // Further names of files met under another name before on the same drive: counted nowhere.
    std::int64_t linkedNamesSkipped = 0;

    TypeTable lbTypes;

    std::array<double, 13> sizeFiles{};
    std::array<double, 13> sizeBytes{};

    std::array<double, 10> ageAccessedFiles{};
    std::array<double, 10> ageAccessedBytes{};
    std::array<double, 10> ageCreatedFiles{};
    std::array<double, 10> ageCreatedBytes{};
    std::array<double, 10> ageModifiedFiles{};
    std::array<double, 10> ageModifiedBytes{};

    std::array<double, 48> hourModified{};
    std::array<double, 48> hourCreated{};
    std::array<double, 48> hourAccessed{};

    std::int64_t nReadOnly = 0;
    std::int64_t nHidden = 0;
    std::int64_t nSystem = 0;
    std::int64_t nArchive = 0;
    double szReadOnly = 0;
    double szHidden = 0;
    double szSystem = 0;
    double szArchive = 0;

    // Bytes the found files would leave unused in their last cluster; one-drive runs only.
    double overhang4K = 0;
    double overhang8K = 0;
    double overhang16K = 0;
    double overhang32K = 0;
    double overhang64K = 0;

    // Folders the run could not read, and the first unreadableFoldersKept of them.
    std::int64_t foldersUnreadable = 0;
    std::vector<UnreadableFolder> unreadableFolders;
    static constexpr std::size_t unreadableFoldersKept = 1000;
    // The folders kept of each drive walked, in the run's order (engine/FolderTotals.h). A drive
    // whose root the walk never entered (not ready, or stopped before) has none.
    std::vector<DriveFolders> folderTotals;
    // The largest files and the owners' totals of each drive walked, in the run's order.
    std::vector<DriveFiles> driveFiles;

    // Resets every counter, sum and table before a run. The run parameters, the flags, the drive
    // list and the filter stay as they are.
    void clearVariables();
};
