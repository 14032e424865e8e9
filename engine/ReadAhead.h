#pragma once

#include "platform/DirectorySearch.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

// One folder of a drive walk: its listing and the subfolders the walk will enter, in listing
// order. A folder knows only its own name; its path is put together from its parents when it is
// read, so that a deep tree costs memory by depth and not by depth times path length.
struct Folder
{
    Folder(Folder *parent, std::string name, std::uint64_t id)
        : parent(parent), name(std::move(name)), id(id)
    {}
    ~Folder();
    Folder(const Folder &) = delete;
    Folder &operator=(const Folder &) = delete;

    std::string path() const;

    Folder *const parent;
    const std::string name; // the whole path for the drive's root
    const std::uint64_t id; // unique within one drive walk
    platform::DirectoryListing listing;
    std::vector<std::unique_ptr<Folder>> subfolders;

    // Where the walk meets this folder: the index of each folder on the way down from the root.
    // Only kept while the folder waits to be read.
    std::vector<std::uint32_t> rank;

    enum class State
    {
        Waiting,
        Reading,
        Read
    };
    std::atomic<State> state{State::Waiting};
    // The walk has entered it: its subfolders are the next it needs.
    mutable std::atomic<bool> walked{false};
    // Not read for want of descriptors or memory, even after every attempt: its listing says
    // nothing about what it holds.
    bool unreadable = false;
};

// Reads the folders of one drive ahead of the walk on helper threads, so that the time the
// system takes to list folders and examine their entries overlaps with the classification.
//
// The walk still visits the folders in its own order and on its own thread; the helpers only
// fill in listings. They always take the waiting folder the walk will reach first, and stop when
// what they read ahead and the walk has not yet reached passes a bound, so memory stays small.
// When the walk needs a folder no helper has taken, that folder goes first, past the bound. With
// no helper threads the walk reads each folder itself when it needs it.
//
// The walk's own work per entry is small next to the system's, so it soon catches up with the
// helpers and waits. Waking it for every folder would cost more than the walk itself; once the
// folder it waits for is read it sleeps on until a batch of further folders is read too, or
// until nothing more is coming.
class FolderReader : public std::enable_shared_from_this<FolderReader>
{
public:
    // root: the drive's root folder; only folders on device are entered (0: the root's own).
    // Readers are shared with their helpers: create them with std::make_shared.
    FolderReader(const std::string &root, std::uint64_t device, std::size_t entriesAhead = 1 << 18);
    ~FolderReader();
    FolderReader(const FolderReader &) = delete;
    FolderReader &operator=(const FolderReader &) = delete;

    // Starts the helpers; without any (0, or none could be started) the walk reads alone. While
    // the helpers spend most of their time waiting for the device rather than working (a cold
    // disk), more are started, up to most in all, so that more reads are in flight. Fewer are
    // started, and they keep fewer folders open, when the descriptors the process has to spare
    // would not last for all of them.
    void start(int helpers, int most = 0);

    Folder &root() { return *top; }

    // Waits until a folder is read. While it waits it calls idle now and then (every pause);
    // when idle answers false the wait is given up and the answer is false.
    bool waitFor(Folder &folder, const std::function<bool()> &idle,
                 std::chrono::milliseconds pause);
    // The walk has gone past this folder: its entries no longer count as read ahead.
    void entered(const Folder &folder);

    // Ends the helpers: each finishes the folder in hand, which is never looked at. Waits a
    // moment for them, never long.
    void stop();

private:
    // The few folders one thread keeps open, newest last, so that their subfolders open by name.
    struct OpenFolders
    {
        const platform::DirectoryHandle *find(std::uint64_t id) const;
        void keep(std::uint64_t id, platform::DirectoryHandle handle, std::size_t most);
        std::vector<std::pair<std::uint64_t, platform::DirectoryHandle>> open;
    };
    struct WalkOrder
    {
        bool operator()(const Folder *a, const Folder *b) const { return a->rank < b->rank; }
    };

    // How one helper spent its time on its last few folders: in all, at work, and how often it
    // had to wait.
    struct Pace
    {
        std::chrono::microseconds wall{0}, busy{0};
        long waits = 0;
        int folders = 0;
    };

    // Helpers are added in steps, each on trial: when the folders read per second did not rise
    // with the last step, none are added any more (the device or the processor is busy enough
    // already).
    struct Growth
    {
        std::chrono::steady_clock::time_point since;
        std::size_t folders = 0; // foldersRead then
        double rateBefore = 0;   // folders per second before the step on trial
        bool onTrial = false;
    };

    bool startHelper();
    void considerGrowth();
    void helperLoop();
    void measure(Pace &pace, std::chrono::microseconds wall, const platform::ThreadUsage &used);
    void read(Folder &folder, OpenFolders &openFolders);
    void readAgain(Folder &folder, OpenFolders &openFolders);
    void shareDescriptors(int &helperCount);
    void queueSubfolders(Folder &folder);
    bool roomFor(const Folder &folder) const;
    Folder *takeNext(const OpenFolders &openFolders);
    bool worthWaking() const;

    std::unique_ptr<Folder> top;
    std::uint64_t device;
    platform::FileSystemKind kind; // of every folder on device
    std::size_t limit;
    std::size_t keptPerThread; // folders each thread keeps open

    std::mutex lock;
    std::condition_variable work;        // helpers wait here for folders
    std::condition_variable ready;       // the walk waits here for a folder
    std::set<Folder *, WalkOrder> queue; // folders no helper has taken yet, in walk order
    Folder *urgent = nullptr;            // the folder the walk is waiting for, not yet taken
    Folder *wanted = nullptr;            // the folder the walk is waiting for, taken or not
    std::atomic<std::size_t> ahead{0};   // entries read but not yet reached by the walk
    std::size_t foldersRead = 0;         // so far, by the helpers
    std::size_t wakeAt = 0;              // foldersRead at which a waiting walk is woken
    bool stopping = false;
    std::condition_variable finished; // stop waits here for the helpers to go
    int helpers = 0;                  // started
    int running = 0;                  // not yet gone
    // The most helpers there may be: as many as the descriptors last for, fewer once no thread is
    // to be had or one more helper did not pay.
    int mostHelpers = 0;
    Growth growth;
    std::atomic<std::uint64_t> nextId{1};
    OpenFolders ownOpenFolders; // for reading without helpers
};
