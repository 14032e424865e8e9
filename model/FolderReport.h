#pragma once

#include "engine/FolderTotals.h"
#include "model/RunFacts.h"

#include <QByteArray>
#include <QString>
#include <vector>

// The per-folder totals of a run (the last one, or one read from a collection) as places a person
// finds: each kept folder with its drive's mount point in front, and its share of its drive.

// Where a kept folder lies: the drive's mount point and the folder's path below it, as bytes.
QByteArray folderLocation(const QString &mountPoint, const FolderTotal &folder);
// The same as a person reads it, each byte that is no text escaped (helpers/NameText.h).
QString shownFolderLocation(const QString &mountPoint, const FolderTotal &folder);
// The mount point of a drive of the run; empty when the facts do not name it.
QString mountPointOf(const RunFacts &facts, QChar letter);

// The part of its drive's counted bytes a folder holds, from 0 to 1; 0 on a drive that counted
// no bytes.
double driveShare(std::uint64_t bytes, const DriveFolders &drive);

// One kept folder of a run.
struct FolderRow
{
    QChar letter;
    QString location; // as shownFolderLocation gives it
    FolderTotal totals;
    double share = 0; // of its drive's counted bytes
};

// Every kept folder of every drive, largest first: by bytes, then by files, then by location.
// The first rows are the drives' roots and the folders that take most of them.
std::vector<FolderRow> largestFolders(const RunFacts &facts,
                                      const std::vector<DriveFolders> &drives);
