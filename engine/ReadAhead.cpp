#include "engine/ReadAhead.h"

#include <algorithm>
#include <thread>

namespace {

// Folders read, once the one it waits for is among them, before a waiting walk is woken.
constexpr std::size_t wakeBatch = 32;
// Folders one thread keeps open: enough for the next folders it reads to be below one of them.
constexpr std::size_t openFoldersKept = 16;
// How far past the next folder in walk order a helper looks for one below a folder it keeps open.
constexpr int nearbyFolders = 8;
// Besides those, a thread holds the folder it reads and, for a moment, one of its entries.
constexpr long descriptorsInHand = 2;
// A folder the process lacks the descriptors to read is tried this often before the walk gives
// up on it, with a pause between tries in which other threads may give some back.
constexpr int readAttempts = 10;
constexpr auto retryPause = std::chrono::milliseconds(20);
// Of the folders a helper reads, every paceSample-th shows how much of its time goes to waiting
// (a look costs a system call); paceWindow such folders are judged together.
constexpr unsigned paceSample = 4;
constexpr int paceWindow = 8;
// Folders read, in all, before a helper on trial is judged; and how much faster than before the
// reading must be for it to have paid.
constexpr std::size_t trialFolders = 256;
constexpr double trialGain = 1.1;

} // namespace

Folder::~Folder()
{
    // Taken apart level by level, not by recursion, so that a very deep tree cannot exhaust the
    // stack when it is freed.
    std::vector<std::unique_ptr<Folder>> rest = std::move(subfolders);
    while (!rest.empty()) {
        std::unique_ptr<Folder> folder = std::move(rest.back());
        rest.pop_back();
        if (!folder)
            continue; // walked and freed already
        for (auto &child : folder->subfolders)
            rest.push_back(std::move(child));
        folder->subfolders.clear();
    }
}

std::string Folder::path() const
{
    std::vector<const Folder *> chain;
    std::size_t length = 0;
    for (const Folder *f = this; f; f = f->parent) {
        chain.push_back(f);
        length += f->name.size() + 1;
    }
    std::string result;
    result.reserve(length);
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!result.empty() && result.back() != '/')
            result += '/';
        result += (*it)->name;
    }
    return result;
}

FolderReader::FolderReader(const std::string &root, std::uint64_t device, std::size_t entriesAhead)
    : top(std::make_unique<Folder>(nullptr, root, 0)),
      device(device ? device : platform::deviceOf(root)),
      // Every folder the walk enters lies on the root's file system: one look serves them all.
      kind(platform::fileSystemKindOf(root)), limit(entriesAhead), keptPerThread(openFoldersKept)
{}

FolderReader::~FolderReader() = default;

// The walk must never run out of descriptors: a folder it cannot open is one whose files go
// uncounted. Half of what the process has to spare is shared out, first by keeping fewer folders
// open per thread, then by starting fewer helpers.
void FolderReader::shareDescriptors(int &helperCount)
{
    const long share = platform::descriptorsToSpare() / 2;
    const long threads = std::max(helperCount, 1);
    const long perThread = share / threads - descriptorsInHand;
    keptPerThread = std::size_t(std::clamp(perThread, 0L, long(openFoldersKept)));
    if (perThread < 0)
        helperCount = int(std::min<long>(helperCount, share / descriptorsInHand));
}

void FolderReader::start(int helperCount, int most)
{
    std::lock_guard guard(lock);
    if (helpers > 0 || stopping)
        return;
    // Descriptors are shared out for the most helpers there may ever be.
    int allowed = std::max(helperCount, most);
    shareDescriptors(allowed);
    mostHelpers = allowed;
    helperCount = std::min(helperCount, allowed);
    if (helperCount <= 0)
        return;
    queue.insert(top.get());
    growth = {std::chrono::steady_clock::now(), 0, 0, false};
    for (int i = 0; i < helperCount; ++i)
        if (!startHelper())
            break;
    if (helpers == 0)
        queue.clear();
}

// Called with the lock held. False when no more threads are to be had: fewer helpers, or the walk
// reads alone.
bool FolderReader::startHelper()
{
    try {
        // Each helper holds the reader: a helper stuck in a folder of a drive that stopped
        // answering keeps what it works on alive after the walk has gone.
        std::thread([self = shared_from_this()] { self->helperLoop(); }).detach();
    } catch (const std::system_error &) {
        mostHelpers = helpers;
        return false;
    }
    ++helpers;
    ++running;
    return true;
}

// On a cold disk a helper mostly waits for the device, and the device could serve more requests
// at once; on a warm one it mostly works, and more helpers would only crowd the processor. Time
// lost to other programs on a busy machine is no sign of either, so waits must show as well.
// Called with the lock held.
void FolderReader::measure(Pace &pace, std::chrono::microseconds wall,
                           const platform::ThreadUsage &used)
{
    pace.wall += wall;
    pace.busy += used.busy;
    pace.waits += used.waits;
    if (++pace.folders < paceWindow)
        return;
    const bool waiting = pace.waits >= pace.folders && pace.wall > 2 * pace.busy;
    if (waiting && helpers < mostHelpers && !stopping && !queue.empty())
        considerGrowth();
    pace = Pace();
}

// Called with the lock held.
void FolderReader::considerGrowth()
{
    const auto now = std::chrono::steady_clock::now();
    const std::size_t read = foldersRead - growth.folders;
    if (read < trialFolders)
        return; // too few to judge by
    const double rate = double(read) / std::chrono::duration<double>(now - growth.since).count();
    if (growth.onTrial && rate < growth.rateBefore * trialGain) {
        mostHelpers = helpers;
        return;
    }
    // As many again as there are: a cold disk gains most from the first reads added in flight,
    // and a few steps reach the most there may be before much of the walk has gone by.
    const int more = std::min(helpers, mostHelpers - helpers);
    bool started = false;
    for (int i = 0; i < more && startHelper(); ++i)
        started = true;
    growth = {now, foldersRead, rate, started};
}

void FolderReader::stop()
{
    std::unique_lock guard(lock);
    if (stopping)
        return;
    stopping = true;
    queue.clear();
    urgent = nullptr;
    work.notify_all();
    // Helpers finish the folder in hand and go. One that does not come back soon is waiting for
    // the system; the walk does not wait with it.
    finished.wait_for(guard, std::chrono::milliseconds(250), [&] { return running == 0; });
}

const platform::DirectoryHandle *FolderReader::OpenFolders::find(std::uint64_t id) const
{
    for (auto it = open.rbegin(); it != open.rend(); ++it)
        if (it->first == id)
            return &it->second;
    return nullptr;
}

void FolderReader::OpenFolders::keep(std::uint64_t id, platform::DirectoryHandle handle,
                                     std::size_t most)
{
    if (most == 0)
        return;
    if (open.size() >= most)
        open.erase(open.begin());
    open.emplace_back(id, std::move(handle));
}

void FolderReader::read(Folder &folder, OpenFolders &openFolders)
{
    platform::DirectoryHandle handle;
    const platform::DirectoryHandle *parent =
        folder.parent ? openFolders.find(folder.parent->id) : nullptr;
    // A folder that cannot be read lists nothing, so the walk passes it as an empty one.
    if (parent)
        folder.listing.readAt(*parent, folder.name, &handle, kind);
    else
        folder.listing.read(folder.path(), folder.parent == nullptr, &handle, kind);
    if (folder.listing.lackedResources())
        readAgain(folder, openFolders);
    // Hidden and system folders are never entered, nor the roots of other file systems mounted
    // inside this one.
    constexpr std::uint32_t skipped =
        platform::AttrHidden | platform::AttrSystem | platform::AttrVolume;
    for (const platform::DirectoryEntry &entry : folder.listing.entries())
        if (entry.isDirectory() && !(entry.attributes & skipped) && entry.device == device)
            folder.subfolders.push_back(
                std::make_unique<Folder>(&folder, std::string(entry.rawName),
                                         nextId.fetch_add(1, std::memory_order_relaxed)));
    if (!folder.subfolders.empty() && handle.isOpen())
        openFolders.keep(folder.id, std::move(handle), keptPerThread);
}

// Out of descriptors (or memory): this thread gives back the folders it keeps open and tries by
// path, again after a pause while other threads finish with theirs. Only when that never works
// is the folder given up, and the walk learns it was not read.
void FolderReader::readAgain(Folder &folder, OpenFolders &openFolders)
{
    openFolders.open.clear();
    const std::string path = folder.path();
    for (int attempt = 1; attempt < readAttempts; ++attempt) {
        if (folder.listing.read(path, folder.parent == nullptr, nullptr, kind) ||
            !folder.listing.lackedResources())
            return;
        std::this_thread::sleep_for(retryPause);
    }
    folder.unreadable = folder.listing.lackedResources();
}

void FolderReader::queueSubfolders(Folder &folder)
{
    std::uint32_t index = 0;
    for (auto &child : folder.subfolders) {
        child->rank.reserve(folder.rank.size() + 1);
        child->rank = folder.rank;
        child->rank.push_back(index++);
        queue.insert(queue.end(), child.get());
    }
}

void FolderReader::helperLoop()
{
    OpenFolders openFolders;
    Pace pace;
    unsigned folders = 0;
    std::unique_lock guard(lock);
    for (;;) {
        work.wait(guard, [&] {
            return stopping || urgent || (!queue.empty() && roomFor(**queue.begin()));
        });
        if (stopping) {
            // Its folders are closed before the walk learns it is gone: a drive just walked must
            // not stay busy.
            openFolders.open.clear();
            --running;
            finished.notify_all();
            return;
        }
        Folder *folder;
        if (urgent) {
            folder = urgent;
            urgent = nullptr;
            queue.erase(folder);
        } else {
            folder = takeNext(openFolders);
        }
        folder->state.store(Folder::State::Reading, std::memory_order_relaxed);
        // Only worth a look while more helpers may still come.
        const bool sample = helpers < mostHelpers && ++folders % paceSample == 0;
        guard.unlock();
        if (sample) {
            const auto wallBefore = std::chrono::steady_clock::now();
            const platform::ThreadUsage before = platform::threadUsage();
            read(*folder, openFolders);
            const platform::ThreadUsage after = platform::threadUsage();
            const auto wall = std::chrono::duration_cast<std::chrono::microseconds>(
                std::chrono::steady_clock::now() - wallBefore);
            guard.lock();
            measure(pace, wall, {after.busy - before.busy, after.waits - before.waits});
        } else {
            read(*folder, openFolders);
            guard.lock();
        }
        ahead.fetch_add(folder->listing.size() + 1, std::memory_order_relaxed);
        ++foldersRead;
        if (!stopping && !folder->subfolders.empty()) {
            queueSubfolders(*folder);
            // One helper per new folder: waking them all would crowd the processor for nothing.
            const std::size_t wake = std::min<std::size_t>(folder->subfolders.size(), helpers);
            for (std::size_t i = 0; i < wake; ++i)
                work.notify_one();
        }
        std::vector<std::uint32_t>().swap(folder->rank);
        folder->state.store(Folder::State::Read, std::memory_order_release);
        if (worthWaking())
            ready.notify_one();
    }
}

// The bound on what is read ahead holds back folders the walk reaches later, not those it is
// about to reach: the subfolders of a folder the walk has entered come next. Without that, folders
// read early by some helpers while the others went deep fill the bound, and the walk is left
// asking for its folders one at a time. Twice the bound is the most that is read ahead even so.
// Called with the lock held.
bool FolderReader::roomFor(const Folder &folder) const
{
    return ahead < limit || (ahead < 2 * limit && folder.parent &&
                             folder.parent->walked.load(std::memory_order_relaxed));
}

// The next folder in walk order, or one of the few after it below a folder this helper keeps
// open: that one opens by its name instead of by its whole path, which spares the system a walk
// down the path. Called with the lock held.
Folder *FolderReader::takeNext(const OpenFolders &openFolders)
{
    auto chosen = queue.begin();
    auto it = chosen;
    for (int i = 0; i < nearbyFolders && it != queue.end(); ++i, ++it)
        if ((*it)->parent && openFolders.find((*it)->parent->id) && roomFor(**it)) {
            chosen = it;
            break;
        }
    Folder *folder = *chosen;
    queue.erase(chosen);
    return folder;
}

// Called with the lock held.
bool FolderReader::worthWaking() const
{
    return wanted && wanted->state == Folder::State::Read &&
           (foldersRead >= wakeAt || queue.empty() || ahead >= limit || stopping);
}

bool FolderReader::waitFor(Folder &folder, const std::function<bool()> &idle,
                           std::chrono::milliseconds pause)
{
    if (folder.state.load(std::memory_order_acquire) == Folder::State::Read)
        return true;
    if (helpers == 0) {
        read(folder, ownOpenFolders);
        folder.state.store(Folder::State::Read, std::memory_order_relaxed);
        return true;
    }
    std::unique_lock guard(lock);
    if (folder.state == Folder::State::Read)
        return true;
    if (folder.state == Folder::State::Waiting) {
        urgent = &folder;
        work.notify_one();
    }
    wanted = &folder;
    wakeAt = foldersRead + wakeBatch;
    bool goOn = true;
    while (goOn && !ready.wait_for(guard, pause, [&] { return worthWaking(); })) {
        if (folder.state == Folder::State::Read)
            break; // awake anyway: no need to wait for a whole batch
        guard.unlock();
        goOn = idle();
        guard.lock();
    }
    wanted = nullptr;
    return goOn;
}

void FolderReader::entered(const Folder &folder)
{
    if (helpers == 0)
        return;
    folder.walked.store(true, std::memory_order_relaxed);
    const std::size_t count = folder.listing.size() + 1;
    const std::size_t before = ahead.fetch_sub(count, std::memory_order_relaxed);
    const std::size_t after = before - count;
    const bool roomAgain = before >= limit && after < limit;
    const bool subfoldersNext = after >= limit && !folder.subfolders.empty();
    if (!roomAgain && !subfoldersNext)
        return;
    // Helpers may wait for room, or, with the bound reached, for the walk to enter this folder;
    // the lock makes sure none misses it.
    std::lock_guard guard(lock);
    if (roomAgain)
        work.notify_all();
    else
        work.notify_one();
}
