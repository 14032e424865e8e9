#include "engine/StatisticsEngine.h"

#include "drives/Drives.h"
#include "engine/Classification.h"
#include "engine/ReadAhead.h"
#include "helpers/EntryHelpers.h"
#include "helpers/Helpers.h"
#include "helpers/NameText.h"
#include "platform/DriveSource.h"
#include "platform/FileTimes.h"

#include <thread>

namespace {

std::int64_t systemNow()
{
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

int coreCount()
{
    const unsigned cores = std::thread::hardware_concurrency();
    return cores ? int(cores) : 1;
}

QChar driveLetter(const QString &entry)
{
    return entry.isEmpty() ? QChar() : entry.at(0);
}

// The root path of the drive of a drive box entry: "c:\".
QString driveRoot(const QString &entry)
{
    return driveLetter(entry) + QStringLiteral(":\\");
}

} // namespace

// One level of a drive walk: a folder whose subfolders are being walked, and then its own files.
struct StatisticsEngine::Level
{
    Folder *folder;
    std::size_t next = 0;     // subfolder
    std::size_t nextFile = 0; // entry of its listing
    FolderTally::Marks marks;
};

// The walk of one drive, kept between the steps of a run.
struct StatisticsEngine::DriveWalk
{
    std::shared_ptr<FolderReader> reader;
    std::vector<Level> levels;
    Folder *entering = nullptr; // the folder the walk waits for, to enter it next
    QChar letter;
};

StatisticsEngine::StatisticsEngine(const platform::DriveSource &drives)
    : clock(systemNow), readAheadThreads(coreCount()),
      // Past a few per core, helpers stand in each other's way on the processor (and on the lock
      // they share) more than more reads in flight gain on the device.
      readAheadThreadsWaiting(std::min(32, 4 * coreCount())), drives(&drives)
{}

StatisticsEngine::~StatisticsEngine()
{
    if (walk)
        walk->reader->stop();
}

// ---- The run --------------------------------------------------------------------------------

long double StatisticsEngine::computePickListTotal() const
{
    long double total = 0;
    for (const QString &entry : PickList1) {
        double freeBytes = 0, totalBytes = 0;
        // A drive that does not answer has no space to ask: one question tells both, and a
        // network drive makes the user wait for its time limit only once.
        getDriveSpace(driveRoot(entry), freeBytes, totalBytes, *drives);
        if (totalBytes >= 0)
            total += static_cast<long double>(totalBytes);
    }
    return total;
}

void StatisticsEngine::collectDrives()
{
    beginRun();
    while (!advanceRun()) {
    }
}

void StatisticsEngine::beginRun()
{
    aborted = false;
    driveLabels.clear();
    clearVariables();
    overhangPageEnabled = PickList1.size() == 1;
    nextDrive = 0;
    runStarted = true;
}

bool StatisticsEngine::advanceRun()
{
    if (!runStarted)
        return true;
    if (advancing)
        return false; // a message box of a hook lets messages through; the walk waits for it
    advancing = true;
    lastDispatch = std::chrono::steady_clock::now();
    bool due = false;
    while (runStarted && !due) {
        if (!scanning)
            startNextDrive();
        else if (scan())
            driveDone();
        else
            due = true;
    }
    if (due)
        dispatchMessages();
    advancing = false;
    return !runStarted;
}

// Each drive of PickList1 in turn, as long as the user has not aborted; a drive that went away is
// passed over without a word.
void StatisticsEngine::startNextDrive()
{
    if (aborted || nextDrive >= PickList1.size()) {
        runStarted = false;
        return;
    }
    currentDrive = PickList1.at(nextDrive++);
    driveLabels += driveLetter(currentDrive) + QStringLiteral(": ");
    if (!isDriveReady(driveLetter(currentDrive), *drives))
        return;
    scanning = true;
    if (hooks.driveStarting)
        hooks.driveStarting();
    setStatus(QString());
    ScanAllDrives();
}

void StatisticsEngine::driveDone()
{
    collected = true;
    scanning = false;
    if (aborted) {
        if (hooks.caption)
            hooks.caption(QStringLiteral("File Statistics for drive(s) incomplete ... aborted."));
        runStarted = false;
        return;
    }
    if (hooks.caption)
        hooks.caption(QStringLiteral("Statistics completed for drives ") + driveLabels.toUpper());
}

// One drive's walk, a step at a time, and then the page refill and the status text: true once
// the drive is done.
bool StatisticsEngine::scan()
{
    if (walk && !scan_dir())
        return false;
    if (walk) {
        if (DriveFolders kept = folderTally.driveEnded(walk->letter); !kept.folders.empty())
            folderTotals.push_back(std::move(kept));
        driveFiles.push_back(fileTally.driveEnded(walk->letter));
        linkedFiles.clear();
    }
    walk.reset();
    if (hooks.refillPages)
        hooks.refillPages();
    setStatus(finishedStatus(*this));
    if (hooks.driveFinished)
        hooks.driveFinished();
    return true;
}

QString finishedStatus(const Accumulators &results)
{
    QString text = QStringLiteral("Finished - ") + intToGrouped(results.filesProcessed) +
                   QStringLiteral(" files processed");
    if (results.filesFound != results.filesProcessed)
        text += u' ' + intToGrouped(results.filesFound) + QStringLiteral(" files found");
    if (results.aborted)
        text += QStringLiteral(" INCOMPLETE ... ABORTED");
    return text;
}

bool StatisticsEngine::abortScan()
{
    if (!scanning)
        return false;
    aborted = true;
    return true;
}

// ---- The walk -------------------------------------------------------------------------------

// Sets up the walk of the drive of currentDrive; a drive that is not ready or cannot be reached
// is not walked.
void StatisticsEngine::ScanAllDrives()
{
    // A drive whose root cannot be entered met nothing: no count of the drive before may stand.
    walkCounters = {};
    const QChar letter = driveLetter(currentDrive);
    if (!isDriveReady(letter, *drives))
        return;
    const platform::Drive *drive = drives->find(letter);
    const QString root = drive ? drive->mountPoint : QString();
    const std::uint64_t device = drive ? drive->device : 0;
    if (root.isEmpty() || !platform::folderExists(root.toStdString())) {
        if (hooks.errorBox)
            hooks.errorBox(QStringLiteral("Can't open drive ") + currentDrive);
        return;
    }
    // The next run offers this drive first; the process itself stays out of it.
    platform::setCurrentFolder(root);
    walk = std::make_unique<DriveWalk>();
    walk->letter = letter;
    folderTally.driveStarting();
    fileTally.driveStarting();
    walk->reader = std::make_shared<FolderReader>(root.toStdString(), device);
    walk->reader->start(readAheadThreads, readAheadThreads > 0 ? readAheadThreadsWaiting : 0);
    walk->entering = &walk->reader->root();
}

// Walks the drive depth first without recursion: each level of the stack is a folder whose
// subfolders are being walked; when the last one is done the folder's own files are classified
// and the level goes. Subfolders come in listing order, so the classification sees the files in
// the same order as a walk that entered each folder in turn. False when pending messages are due
// first: the next call goes on where this one stopped. True at the end of the drive or an abort.
bool StatisticsEngine::scan_dir()
{
    FolderReader &reader = *walk->reader;
    std::vector<Level> &levels = walk->levels;
    const auto pause = std::max(dispatchInterval, std::chrono::milliseconds(1));
    const std::function<bool()> idle = [this] { return waitIdle(); };
    for (;;) {
        if (Folder *folder = walk->entering) {
            if (!aborted && !reader.waitFor(*folder, idle, pause) && !aborted)
                return false; // the wait goes on after the messages
            walk->entering = nullptr;
            if (!aborted)
                enter(*folder);
            continue;
        }
        if (levels.empty())
            break;
        if (aborted)
            reader.stop(); // nothing read from here on counts
        Level &level = levels.back();
        if (!aborted && level.next < level.folder->subfolders.size()) {
            walk->entering = level.folder->subfolders[level.next++].get();
            continue;
        }
        if (level.nextFile == 0)
            level.marks.ownFiles = folderTally.mark();
        if (!scanfiles(level))
            return false;
        folderTally.left(*level.folder, int(levels.size()) - 1, level.marks);
        levels.pop_back();
        if (!aborted && !levels.empty()) {
            Level &parent = levels.back();
            parent.folder->subfolders[parent.next - 1].reset(); // done with, free it now
        }
    }
    reader.stop();
    return true;
}

void StatisticsEngine::enter(Folder &folder)
{
    if (folder.unreadable) {
        stopUnread(folder);
        return;
    }
    if (folder.listing.error() != 0)
        noteUnreadable(folder);
    walk->reader->entered(folder);
    walk->levels.push_back({&folder, 0, 0, {folderTally.mark(), {}}});
}

// Counting on without a folder the system had no means to read would report figures that look
// complete and are not; the run stops instead, as if aborted.
void StatisticsEngine::stopUnread(const Folder &folder)
{
    aborted = true;
    if (hooks.errorBox)
        hooks.errorBox(QStringLiteral("Not enough system resources to read ") +
                       QString::fromUtf8(folder.path()) +
                       QStringLiteral(". The statistics are incomplete."));
}

// A folder the system refuses to read (no permission, a failing disk) is passed over like an
// empty one, but kept in the run's results: the user learns that its files are not counted.
void StatisticsEngine::noteUnreadable(const Folder &folder)
{
    ++foldersUnreadable;
    if (unreadableFolders.size() < unreadableFoldersKept)
        unreadableFolders.push_back({QByteArray::fromStdString(folder.path()),
                                     platform::errorText(folder.listing.error())});
}

// The files of a level's folder, from where the last call stopped; false when pending messages
// are due before the rest.
bool StatisticsEngine::scanfiles(Level &level)
{
    if (aborted)
        return true;
    const Folder &folder = *level.folder;
    const std::vector<platform::DirectoryEntry> &entries = folder.listing.entries();
    QString directoryText;
    // A folder's files take microseconds: one look at the clock serves them all.
    folderToday = platform::localDayNumber(clock());
    folderTimes = &platform::localTimes();
    bool done = true;
    while (level.nextFile < entries.size() && !aborted) {
        const platform::DirectoryEntry &entry = entries[level.nextFile++];
        const bool file = entryKind(entry) == 2;
        // A file with several names is one file, and takes its space once: the names after the
        // first the walk meets count nowhere.
        if (file && !linkedFiles.firstName(entry)) {
            ++linkedNamesSkipped;
        } else {
            ++walkCounters.entries;
            walkCounters.bytes += entry.allocated;
            walkCounters.withCreationTime += entry.creationTime != 0;
            if (file) {
                if (directoryText.isNull())
                    directoryText = QString::fromUtf8(folder.path());
                filesFolder = &folder;
                crunchNumbers(directoryText, entry);
                filesFolder = nullptr;
                ++filesProcessed;
            }
        }
        if (timeToDispatch()) {
            done = false;
            break;
        }
    }
    folderToday.reset();
    folderTimes = nullptr;
    return done;
}

// Window messages after every entry would cost more than the walk itself; a look at the clock
// every few entries keeps repaint and Abort just as prompt.
bool StatisticsEngine::timeToDispatch()
{
    if (!hooks.dispatchMessages)
        return false;
    if (dispatchInterval.count() > 0 && (++gateCount & 7) != 0)
        return false;
    return std::chrono::steady_clock::now() - lastDispatch >= dispatchInterval;
}

void StatisticsEngine::dispatchMessages()
{
    if (hooks.progress)
        hooks.progress(walkCounters);
    if (hooks.dispatchMessages)
        hooks.dispatchMessages();
}

// While the walk waits for a folder the window must stay alive (a network drive can take long):
// the wait gives way to pending messages after a pause.
bool StatisticsEngine::waitIdle() const
{
    return !hooks.dispatchMessages && !aborted;
}

void StatisticsEngine::setStatus(const QString &text)
{
    lastProgressDirectory = QString();
    if (hooks.statusText)
        hooks.statusText(text);
}

// Within one folder the progress does not change, so the folder is handed over only when it does.
void StatisticsEngine::showProgress(const QString &directoryText)
{
    if (!lastProgressDirectory.isNull() && lastProgressDirectory == directoryText)
        return;
    lastProgressDirectory = directoryText;
    if (hooks.walking)
        hooks.walking(directoryText);
}

// ---- The classification ---------------------------------------------------------------------

void StatisticsEngine::crunchNumbers(const QString &directoryText,
                                     const platform::DirectoryEntry &entry)
{
    if (filesProcessed % 3 == 0)
        showProgress(directoryText);
    if (!filter.allTypes() && !passesFilter(entry.rawName))
        return;
    ++filesFound;
    const std::uint64_t size = entry.size;
    folderTally.count(size);
    fileTally.count(filesFolder, entry);
    const double bytes = double(size);
    collectFileAttr(entry.attributes, size);

    // Each stamp is converted once and serves both its half-hour slot and its age.
    platform::LocalTimeCache &times = folderTimes ? *folderTimes : platform::localTimes();
    const std::uint32_t created = times.pack(entry.creationTime);
    const std::uint32_t written = times.pack(entry.writeTime);
    const std::uint32_t accessed = times.pack(entry.accessTime);
    addHourSlots(created, written, accessed);

    const std::int64_t today = folderToday ? *folderToday : platform::localDayNumber(clock());
    auto addAge = [&](std::uint32_t stamp, std::array<double, 10> &files,
                      std::array<double, 10> &sizes) {
        const int age = ageClasses.indexOf(stamp, today);
        files[age] += 1;
        sizes[age] += bytes;
    };
    addAge(accessed, ageAccessedFiles, ageAccessedBytes);
    addAge(created, ageCreatedFiles, ageCreatedBytes);
    addAge(written, ageModifiedFiles, ageModifiedBytes);

    lbTypes.countFile(fileExtension(entry.rawName), size);

    const int sizeIndex = sizeClass(size);
    sizeFiles[sizeIndex] += 1;
    sizeBytes[sizeIndex] += bytes;

    if (overhangPageEnabled) {
        double *sums[] = {&overhang4K, &overhang8K, &overhang16K, &overhang32K, &overhang64K};
        std::uint64_t cluster = 4096;
        for (double *sum : sums) {
            const std::uint64_t rest = size & (cluster - 1); // clusters are powers of two
            if (rest != 0)
                *sum += double(cluster - rest);
            cluster *= 2;
        }
    }
}

void StatisticsEngine::collectFileAttr(std::uint32_t attributes, std::uint64_t size)
{
    const double bytes = double(size);
    if (attributes & platform::AttrReadOnly) {
        ++nReadOnly;
        szReadOnly += bytes;
    }
    if (attributes & platform::AttrHidden) {
        ++nHidden;
        szHidden += bytes;
    }
    if (attributes & platform::AttrSystem) {
        ++nSystem;
        szSystem += bytes;
    }
    if (attributes & platform::AttrArchive) {
        ++nArchive;
        szArchive += bytes;
    }
}

// Slot 0, the first half hour after midnight, is never counted: an invalid time lands there too.
void StatisticsEngine::addHourSlots(std::uint32_t created, std::uint32_t written,
                                    std::uint32_t accessed)
{
    int slot = halfHourSlot(created);
    if (slot > 0)
        hourCreated[slot] += 1;
    slot = halfHourSlot(written);
    if (slot > 0)
        hourModified[slot] += 1;
    slot = halfHourSlot(accessed);
    if (slot > 0)
        hourAccessed[slot] += 1;
}
