#pragma once

#include "platform/Volume.h"

#include <QObject>
#include <QStringList>
#include <chrono>

namespace platform {

// How the folders that may hang (network drives, and mounts below them) are asked about.
struct RemoteProbeSettings
{
    ProbeCommand command = ownProbeCommand();
    // How long the probes of one refresh may take together.
    std::chrono::milliseconds timeLimit{2000};
    // How often a folder that stopped answering is asked again, at most.
    std::chrono::milliseconds retryInterval{30000};
    // How long an answer is used again: the questions of one refresh (readiness, then capacity,
    // drive after drive) come close together, and each should not start a probe of its own.
    std::chrono::milliseconds refreshSpan{1000};
};

// What the program remembers about every folder that may hang, shared by the whole program:
// whether it answered and what, and which folders did not answer in time. Such a folder counts as
// not ready, without a new wait, until its probe, left running in the background, answers after
// all; a probe that ends without an answer is tried again once the retry interval has passed.
namespace remoteVolumes {

// Starts probes of the folders without waiting for them. Until one answers, its folder has no
// answer to give: the program's start asks this way, so that no window waits for a network drive.
void probeInBackground(const QStringList &folders, const RemoteProbeSettings &settings);

// The facts of a folder, for a refresh that asks about every folder of `round` (which holds
// `folder`). An answer younger than a refresh is used again; otherwise the whole round is probed
// at once, and the caller waits at most the time limit for this folder's answer. A folder known
// not to answer gives none at once; one whose probe runs in the background gives its last answer,
// or none, at once.
VolumeFacts ask(const QString &folder, const QStringList &round,
                const RemoteProbeSettings &settings);

} // namespace remoteVolumes

// Tells when a folder answered that nobody was waiting for: a drive answered after the program's
// start, or came back after it had stopped answering. Signals come from a background thread.
class DriveNews : public QObject
{
    Q_OBJECT

signals:
    void lateAnswer(const QString &folder);
};

// The one instance, created on first use; it lives as long as the program.
DriveNews &driveNews();

} // namespace platform
