#pragma once

#include "platform/DriveSource.h"
#include "platform/Volume.h"

#include <QHash>
#include <optional>

namespace platform {

// A drive table made of ordinary folders: each letter leads to a folder given by the caller.
// Readiness, capacity, cluster size, device and the way access dates are kept come from the
// folder's own file system unless a test pretends otherwise. Tests and the headless scan tool use
// it to let a folder stand in for a drive.
class FolderDriveSource : public DriveSource
{
public:
    // Adds the drive of a letter, or replaces it. An empty entry is written the way the mount
    // table writes one: "d: [<folder in lower case>]", "d: <folder>" for a remote drive, "d:" for
    // a removable one.
    void addDrive(QChar letter, int type, const QString &entry, const QString &folder);
    // The same with every field given (mountPoint is the folder); device is filled in.
    void addDrive(const Drive &drive);

    // The current entry; until it is set, the drive whose folder holds the working directory.
    void setCurrentEntry(const QString &entry);
    // Lets a drive stop answering (or answer again) whatever its folder says.
    void setReady(QChar letter, bool ready);
    // Pretends a capacity, for drives larger than any test machine has.
    void setSpace(QChar letter, std::uint64_t freeBytes, std::uint64_t totalBytes);
    void setClusterSize(QChar letter, std::uint64_t bytes);
    void setUsedEntries(QChar letter, std::uint64_t entries);

    QList<Drive> drives() const override;
    QString currentEntry() const override;
    bool isReady(QChar letter) const override;
    bool space(QChar letter, std::uint64_t &freeBytes, std::uint64_t &totalBytes) const override;
    std::uint64_t clusterSize(QChar letter) const override;
    std::uint64_t usedEntries(QChar letter) const override;

private:
    struct Pretence
    {
        std::optional<bool> ready;
        std::optional<std::uint64_t> freeBytes, totalBytes, clusterSize, usedEntries;
    };

    // Whether the drive of a letter answers, or is pretended to; fills in what is pretended about
    // it and what its folder's file system said. The folder is asked once, so that a question
    // costs one probe. False when there is no such drive.
    bool answers(QChar letter, Pretence &pretence, VolumeFacts &facts) const;
    // One figure of a drive: the pretended one where a test set it, else what its file system
    // said; 0 when the drive does not answer.
    using PretendedFigure = std::optional<std::uint64_t> Pretence::*;
    using MeasuredFigure = std::uint64_t VolumeFacts::*;
    std::uint64_t figure(QChar letter, PretendedFigure pretended, MeasuredFigure measured) const;

    QList<Drive> table; // in letter order
    QHash<QChar, Pretence> pretences;
    std::optional<QString> current;
};

// The entry text a drive box shows for a drive of this type whose root is mountPoint.
QString driveEntryText(QChar letter, int type, const QString &mountPoint, const QString &source);

// Whether a path is a folder or lies below it, by whole path components ("/run" holds "/run/user"
// but not "/running"). The folder has no slash at its end.
bool isPathBelow(QStringView path, QStringView folder);

// The drive, of those given, whose mount point is the longest leading part of path (whole path
// components only); nullptr when none is.
const Drive *driveHoldingPath(const QList<Drive> &drives, const QString &path);

} // namespace platform
