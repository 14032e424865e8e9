#include "platform/RemoteVolumes.h"

#include <condition_variable>
#include <map>
#include <mutex>
#include <system_error>
#include <thread>

namespace platform {

namespace {

using Clock = std::chrono::steady_clock;

struct FolderState
{
    bool probing = false; // a child asks about the folder right now
    bool awaited = false; // a refresh waits for that child
    bool dead = false;    // the last probe did not answer in time
    bool hasAnswer = false;
    VolumeFacts facts;
    Clock::time_point answeredAt;
};

// Lives as long as the process: a probe may answer after main() has returned and must still find
// it. A map, because a waiting refresh holds on to its folder's entry while others are added.
struct Memory
{
    std::mutex mutex;
    std::condition_variable changed;
    std::map<QString, FolderState> folders;
};

Memory &memory()
{
    static auto *shared = new Memory;
    return *shared;
}

bool isFresh(const FolderState &state, const RemoteProbeSettings &settings)
{
    return state.hasAnswer && Clock::now() - state.answeredAt < settings.refreshSpan;
}

// Takes in an answer and tells whoever listens when nobody was waiting for it and the folder is
// there.
void record(const QString &folder, const VolumeFacts &facts)
{
    Memory &m = memory();
    bool news = false;
    {
        std::lock_guard lock(m.mutex);
        FolderState &state = m.folders[folder];
        news = !state.awaited && facts.answered;
        state = FolderState();
        state.hasAnswer = true;
        state.facts = facts;
        state.answeredAt = Clock::now();
    }
    m.changed.notify_all();
    if (news)
        emit driveNews().lateAnswer(folder);
}

void markDead(const QString &folder)
{
    Memory &m = memory();
    {
        std::lock_guard lock(m.mutex);
        FolderState &state = m.folders[folder];
        state.dead = true;
        state.awaited = false;
        state.hasAnswer = false;
    }
    m.changed.notify_all();
}

// Asks about one folder until it answers, on a thread of its own, with one child at a time. A
// child that hangs is left to answer whenever its server comes back; one that gives up without an
// answer is followed by another no sooner than the retry interval after it started.
void watch(const QString &folder, const RemoteProbeSettings &settings)
{
    for (;;) {
        const Clock::time_point start = Clock::now();
        {
            ProbeChild child(settings.command, folder);
            if (child.finishesBy(start + settings.timeLimit)) {
                record(folder, child.answer());
                return;
            }
            markDead(folder);
            const VolumeFacts late = child.answer();
            if (late.answered) {
                record(folder, late);
                return;
            }
        }
        std::this_thread::sleep_until(start + settings.retryInterval);
    }
}

// Starts a probe unless one runs or a fresh answer is at hand. The memory's lock is held.
void launch(FolderState &state, const QString &folder, const RemoteProbeSettings &settings,
            bool awaited)
{
    if (state.probing || isFresh(state, settings))
        return;
    try {
        std::thread(watch, folder, settings).detach();
        state.probing = true;
        state.awaited = awaited;
    } catch (const std::system_error &) {
        // No thread to ask with: the folder keeps the answer it had, and nobody waits for it.
    }
}

} // namespace

namespace remoteVolumes {

void probeInBackground(const QStringList &folders, const RemoteProbeSettings &settings)
{
    driveNews(); // made on the caller's thread, before any probe can answer
    Memory &m = memory();
    std::lock_guard lock(m.mutex);
    for (const QString &folder : folders)
        launch(m.folders[folder], folder, settings, false);
}

VolumeFacts ask(const QString &folder, const QStringList &round,
                const RemoteProbeSettings &settings)
{
    driveNews();
    Memory &m = memory();
    std::unique_lock lock(m.mutex);
    FolderState &state = m.folders[folder];
    if (isFresh(state, settings))
        return state.facts;
    if (state.dead)
        return VolumeFacts();
    if (state.probing && !state.awaited)
        return state.hasAnswer ? state.facts : VolumeFacts();
    if (!state.probing) {
        // Every folder of the refresh at once, so that several dead ones cost one wait.
        for (const QString &other : round)
            launch(m.folders[other], other, settings, true);
        launch(state, folder, settings, true);
    }
    m.changed.wait(lock, [&] { return !state.probing || state.dead; });
    return state.dead ? VolumeFacts() : state.facts;
}

} // namespace remoteVolumes

DriveNews &driveNews()
{
    static auto *news = new DriveNews;
    return *news;
}

} // namespace platform
