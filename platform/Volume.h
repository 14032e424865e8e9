#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <chrono>
#include <cstdint>
#include <functional>
#include <sys/types.h>

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

// The one line a probe child prints: "1 <device> <total> <free> <cluster> <used entries>", or
// "0" when the folder did not answer; and its reading, where anything else is no answer.
QByteArray volumeFactsLine(const VolumeFacts &facts);
VolumeFacts parseVolumeFactsLine(const QByteArray &line);

// A program that asks about one folder, given as its last argument, and prints the facts line.
// arguments[0] is the name the child runs under.
struct ProbeCommand
{
    QString program;
    QStringList arguments;
};

// This very program in its probe mode. Every program that links the platform layer has that mode,
// so the probe is found wherever the program runs from.
ProbeCommand ownProbeCommand();

// A probe running in a child process, so that a call stuck in the kernel on a dead network mount
// holds the child and never this program. The child cannot keep the program from ending: it holds
// none of the program's files but its own answer pipe, and it is never waited for at exit.
class ProbeChild
{
public:
    ProbeChild(const ProbeCommand &command, const QString &folder);
    // Reaps the child: the owner lets it go only after it has ended.
    ~ProbeChild();
    ProbeChild(const ProbeChild &) = delete;
    ProbeChild &operator=(const ProbeChild &) = delete;

    // False when the child could not be started; it then has no answer.
    bool started() const { return pid > 0; }
    // Reads what the child says until it closes its answer, or until the deadline. True when the
    // answer is complete.
    bool finishesBy(std::chrono::steady_clock::time_point deadline);
    // Reads the answer to its end, as long as that takes.
    VolumeFacts answer();

private:
    // One read of the answer pipe; its end, or an error, closes the answer.
    void readSome();

    pid_t pid = -1;
    int pipe = -1;
    bool closed = false;
    QByteArray said;
};

} // namespace platform
