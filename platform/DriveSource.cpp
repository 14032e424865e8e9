#include "platform/DriveSource.h"

#include "platform/MountTable.h"

#include <QDir>
#include <mutex>
#include <utility>

namespace platform {

const Drive *DriveSource::find(QChar letter) const
{
    // drives() hands out a shared copy of the source's table. Holding on to it keeps the table's
    // storage alive, so the pointer stays valid until the source's table itself changes. The
    // copy is only read: a write would detach it, and the pointer would then die with the next
    // call.
    thread_local QList<Drive> lastTable;
    lastTable = drives();
    const QChar wanted = letter.toLower();
    for (const Drive &drive : std::as_const(lastTable))
        if (drive.letter == wanted)
            return &drive;
    return nullptr;
}

int DriveSource::driveType(QChar letter) const
{
    const Drive *drive = find(letter);
    return drive ? drive->type : DriveNoRoot;
}

QString DriveSource::mountPoint(QChar letter) const
{
    const Drive *drive = find(letter);
    return drive ? drive->mountPoint : QString();
}

namespace {

std::mutex currentFolderLock;
QString chosenCurrentFolder;

std::unique_ptr<DriveSource> &installed()
{
    static std::unique_ptr<DriveSource> source;
    return source;
}

} // namespace

void setCurrentFolder(const QString &path)
{
    std::lock_guard guard(currentFolderLock);
    chosenCurrentFolder = path;
}

QString currentFolder()
{
    std::lock_guard guard(currentFolderLock);
    return chosenCurrentFolder.isEmpty() ? QDir::currentPath() : chosenCurrentFolder;
}

DriveSource &driveSource()
{
    if (!installed())
        installed() = MountTableDriveSource::fromMachine();
    return *installed();
}

void setDriveSource(std::unique_ptr<DriveSource> source)
{
    installed() = std::move(source);
}

} // namespace platform
