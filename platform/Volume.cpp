#include "platform/Volume.h"

#include <QFile>
#include <QSet>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <thread>

namespace platform {

VolumeFacts probeVolume(const QString &folder)
{
    VolumeFacts facts;
    const QByteArray path = QFile::encodeName(folder);
    struct stat st
    {
    };
    struct statvfs vfs
    {
    };
    if (path.isEmpty() || ::stat(path.constData(), &st) != 0 || !S_ISDIR(st.st_mode) ||
        ::statvfs(path.constData(), &vfs) != 0)
        return facts;
    facts.answered = true;
    facts.device = std::uint64_t(st.st_dev);
    const std::uint64_t fragment = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
    facts.totalBytes = std::uint64_t(vfs.f_blocks) * fragment;
    facts.freeBytes = std::uint64_t(vfs.f_bfree) * fragment;
    facts.clusterSize = std::uint64_t(vfs.f_bsize);
    if (vfs.f_files > vfs.f_ffree)
        facts.usedEntries = std::uint64_t(vfs.f_files - vfs.f_ffree);
    return facts;
}

namespace {

struct PendingProbe
{
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    VolumeFacts facts;
};

// Folders whose probe is still hanging after its caller gave up on it. Both live as long as the
// process: a hanging probe may finish after main() has returned and must still find them.
std::mutex &hangingMutex = *new std::mutex;
QSet<QString> &hangingFolders()
{
    static auto *folders = new QSet<QString>;
    return *folders;
}

} // namespace

VolumeFacts probeVolumeWithin(const QString &folder, std::chrono::milliseconds limit,
                              const VolumeProbe &probe)
{
    {
        std::lock_guard lock(hangingMutex);
        if (hangingFolders().contains(folder))
            return VolumeFacts();
    }
    auto pending = std::make_shared<PendingProbe>();
    std::thread([pending, folder, probe] {
        const VolumeFacts facts = probe(folder);
        {
            std::lock_guard lock(pending->mutex);
            pending->facts = facts;
            pending->done = true;
        }
        pending->finished.notify_all();
        std::lock_guard lock(hangingMutex);
        hangingFolders().remove(folder);
    }).detach();

    std::unique_lock lock(pending->mutex);
    if (pending->finished.wait_for(lock, limit, [&] { return pending->done; }))
        return pending->facts;
    // Mark the folder while still holding the probe's lock, so a probe that finishes right now
    // cannot clear the mark before it is set.
    std::lock_guard hangingLock(hangingMutex);
    hangingFolders().insert(folder);
    return VolumeFacts();
}

} // namespace platform
