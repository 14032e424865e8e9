#pragma once

#include "engine/LargestFiles.h"
#include "model/ReportTable.h"
#include "model/RunFacts.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

// The largest files and the owners of a run (the last one, or one read from a collection) as a
// person reads them: each file where it lies with its share of its drive, and each owner's files
// and bytes over all drives walked.

// One of the largest files of a run.
struct FileRow
{
    QChar letter;
    QByteArray location; // the drive's mount point and the file's path below it, as bytes
    QString shown;       // the location with each byte that is no text escaped
    LargeFile file;
    double share = 0; // of its drive's counted bytes
    QString typeName;
};

// What a drive's walk counted in bytes: the bytes of its owners together.
std::uint64_t countedBytes(const DriveFiles &drive);

// The files kept of every drive, largest first (equal sizes by location).
std::vector<FileRow> largestFileRows(const RunFacts &facts, const std::vector<DriveFiles> &drives);

// The line under the list when a drive counted more files than the list keeps; empty otherwise.
QString filesNotKeptLine(const std::vector<DriveFiles> &drives);

// One user or group with the files and bytes counted for it on every drive.
struct OwnerRow
{
    std::uint32_t id = 0;
    QString name; // as the run's computer named the id; the id's number when it had no name
    std::int64_t files = 0;
    std::uint64_t bytes = 0;
    double share = 0; // of the counted bytes of every drive
};

enum class OwnerKind
{
    Users,
    Groups
};

// The owners of every drive added up by id, most bytes first (then by id).
std::vector<OwnerRow> ownerRows(const std::vector<DriveFiles> &drives, OwnerKind kind);

// The name an id is shown by.
QString ownerName(const OwnerTotal &owner);

// The largest files as a table (location, size, share, modification time in UTC, type), the
// first count of them, with the line of filesNotKeptLine as its note.
ReportTable largestFilesTable(const RunFacts &facts, const std::vector<DriveFiles> &drives,
                              std::size_t count = SIZE_MAX);
// The users, then the groups, as one table (kind, name, id, files, bytes, share).
ReportTable ownersTable(const std::vector<DriveFiles> &drives);
