#pragma once

#include "platform/DriveSource.h"

#include <QString>
#include <QStringList>

// Description of a drive type code: "(Fixed disk)", ...; empty for codes without one.
QString driveTypeText(int type);

// The functions below ask the program's drive source unless they are handed another (the engine
// is handed its own).

// Whether the drive of a letter ("c" or "C") exists and answers. A character that is not a
// letter is no drive: false, never an error, so one odd entry cannot stop a window.
bool isDriveReady(QChar letter, const platform::DriveSource &source = platform::driveSource());

// Free and total bytes of the drive of a root path ("c:\"), computed in 64 bits. Total is -1
// when the drive does not answer, which callers treat as "skip this drive". Always true.
bool getDriveSpace(const QString &rootPath, double &freeBytes, double &totalBytes,
                   const platform::DriveSource &source = platform::driveSource());

// The drive list of the statistics window, built from the drive box entries of the drive source:
// floppies left out, entries without a volume label rewritten with their type text, label-less
// CD-ROM drives left out. pick is the index of the current drive's entry, or -1 when no entry
// equals it, which picks every entry.
struct DriveList
{
    QStringList entries;
    int pick = -1;
};
DriveList buildDriveList(const platform::DriveSource &source = platform::driveSource());
