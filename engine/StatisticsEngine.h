#pragma once

#include "engine/Accumulators.h"
#include "engine/Classification.h"
#include "engine/FolderTotals.h"
#include "engine/LinkedFiles.h"
#include "platform/DirectorySearch.h"

#include <QString>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class FolderReader;
struct Folder;
namespace platform {
class DriveSource;
class LocalTimeCache;
} // namespace platform

// How far the walk of the current drive has come: every entry met (folders too) and the bytes
// their blocks take. A file with several names counts at the first only.
struct WalkCounters
{
    std::uint64_t entries = 0;
    std::uint64_t bytes = 0;
    std::uint64_t withCreationTime = 0; // entries whose file system told their creation time
};

// How the engine reaches the statistics window. Every hook may be left empty.
struct EngineHooks
{
    std::function<void(const QString &)> statusText; // the status bar's simple text
    std::function<void(const QString &)> caption;    // the window caption
    std::function<void(const QString &)> errorBox;   // an error the user must acknowledge
    // The walk has gone on into another folder: its full path as the walk names it. Handed over
    // at most every third file, and only when the folder changed.
    std::function<void(const QString &folder)> walking;
    // The walk pauses for pending window messages: about every dispatchInterval it lets them
    // through here (a synchronous run), or it returns from advanceRun so that the window's own
    // message loop handles them. Without it a run goes from start to end in one call.
    std::function<void()> dispatchMessages;
    // Just before pending messages are let through: the walk's counters, for a progress bar.
    std::function<void(const WalkCounters &)> progress;
    // Around each drive walk: before it (scanning is set; pause the animation, disable the
    // controls, show the hourglass), after it to refill every page from the accumulators, and
    // at its very end (controls and cursor back).
    std::function<void()> driveStarting;
    std::function<void()> refillPages;
    std::function<void()> driveFinished;
};

// The status text at the end of a drive's walk: the files met and found, and whether the run
// was stopped.
QString finishedStatus(const Accumulators &results);

// The collection engine: the accumulators of a run, the classification of each file, the walk
// of a drive and the loop over the run's drives. It knows no window; the statistics window owns
// one and reads its fields. Its owner hands it the drive table it walks, which must outlive it.
class StatisticsEngine : public Accumulators
{
public:
    explicit StatisticsEngine(const platform::DriveSource &drives);
    virtual ~StatisticsEngine();
    // A long-lived owner hands over the drive table of the moment before each run.
    void useDrives(const platform::DriveSource &table) { drives = &table; }

    EngineHooks hooks;
    // Seconds since 1970 UTC; "today" of the file ages is read from it anew for every folder of a
    // walk, and for every file classified outside one.
    std::function<std::int64_t()> clock;
    // Threads that read folders ahead of the walk; 0 reads each folder when the walk needs it.
    int readAheadThreads;
    // The most threads that read ahead while they mostly wait for the device (a cold disk): many
    // reads in flight at once keep the device busy where one per core would leave it idle.
    int readAheadThreadsWaiting;
    // Pending window messages are let through at most this often during a walk.
    std::chrono::milliseconds dispatchInterval{10};
    // Set for a run with exactly one drive: the Overhang page is enabled and the slack sums are
    // filled.
    bool overhangPageEnabled = false;
    // The walk of the current drive so far; reset when a drive's walk begins.
    WalkCounters walkCounters;

    // Summed total bytes of the ready drives of PickList1.
    long double computePickListTotal() const;
    // The run over PickList1 once the window has asked the user everything: clears the
    // accumulators and walks drive after drive until all are done or the user aborts.
    void collectDrives();
    // The same run in steps, so that any message loop can drive it (a dialog's as well as the
    // window's own): beginRun starts it, and each advanceRun walks on until pending messages are
    // due (false) or the run is over (true). A call from inside a hook does nothing.
    void beginRun();
    bool advanceRun();
    bool runUnderWay() const { return runStarted; }
    // Close, Esc and Abort: during a walk they stop it (true); otherwise they do nothing here and
    // Close hides the window (false).
    bool abortScan();

    // One file of the walk, in the folder whose full path is directoryText.
    virtual void crunchNumbers(const QString &directoryText, const platform::DirectoryEntry &entry);
    // Whether a file name, as its bytes stand, passes the run's type filter.
    bool passesFilter(std::string_view name) const { return filter.passes(name); }
    void collectFileAttr(std::uint32_t attributes, std::uint64_t size);

private:
    struct DriveWalk;
    struct Level;

    void startNextDrive();
    void driveDone();
    bool scan();
    void ScanAllDrives();
    bool scan_dir();
    void enter(Folder &folder);
    bool scanfiles(Level &level);
    void stopUnread(const Folder &folder);
    void noteUnreadable(const Folder &folder);
    bool timeToDispatch();
    void dispatchMessages();
    bool waitIdle() const;
    void setStatus(const QString &text);
    void showProgress(const QString &directoryText);

    void addHourSlots(std::uint32_t created, std::uint32_t written, std::uint32_t accessed);

    const platform::DriveSource *drives;
    // The run under way: the next drive of PickList1, the letters of the drives so far for the
    // caption, and the walk of the drive being walked.
    bool runStarted = false;
    bool advancing = false;
    qsizetype nextDrive = 0;
    QString driveLabels;
    std::unique_ptr<DriveWalk> walk;

    std::chrono::steady_clock::time_point lastDispatch;
    unsigned gateCount = 0;
    QString lastProgressDirectory; // the folder the status text names; empty when it names none
    std::optional<std::int64_t> folderToday; // today for the files of the folder being classified
    platform::LocalTimeCache *folderTimes = nullptr; // their times' converter, fetched once
    AgeClasses ageClasses;
    FolderTally folderTally;             // of the drive being walked
    LinkedFiles linkedFiles;             // of the drive being walked
    FileTally fileTally;                 // of the drive being walked
    const Folder *filesFolder = nullptr; // the folder whose files are being classified
};
