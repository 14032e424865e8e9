#pragma once

#include "model/Collection.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The JSON dumps other disk-usage scanners write (a header array of major version 1, a minor
// version and the maker's facts, then each folder as an array whose first element describes the
// folder and whose others are its files as objects and its subfolders as arrays), also gzipped,
// read as a collection of what they hold: the sizes, the link counts and, where the dump has
// them, the modification times and the modes of its files. The dump's own rules decided which
// folders it holds, hidden ones included, and every entry in it counts.
//
// The reader goes through the file once and keeps only the folders on the way down from the
// root and the figures, so a dump of any number of files opens in the same memory.

// What a dump has beside the figures, for the pages that it has nothing for.
struct DumpFacts
{
    QString fileName;      // the file's own name, without its folder
    QString maker;         // "ncdu 1.19", or as much as the dump tells
    bool hasTimes = false; // some entry has its modification time
    bool hasModes = false; // some entry has its mode
};

// What reading a dump gives: its figures as a collection and its facts, or the one reason the
// file was refused, as a sentence that names the file.
struct DumpRead
{
    std::optional<Collection> collection;
    DumpFacts dump;
    QString message;
    explicit operator bool() const { return collection.has_value(); }
};

// Whether a file's first bytes are those of a dump (or of a gzip file, which may hold one)
// rather than of a collection file.
bool looksLikeScannerDump(const QByteArray &firstBytes);

// The same for bytes held in memory and for a file. today is the moment ages count from, in
// seconds since 1970; without it, the time the dump was written, or now.
DumpRead parseScannerDump(const QByteArray &bytes, const QString &fileName,
                          std::optional<std::int64_t> today = std::nullopt);
DumpRead readScannerDump(const QString &path, std::optional<std::int64_t> today = std::nullopt);

// A collection file or a dump, whichever the file holds; the dump's facts are there only for a
// dump.
struct OpenedRun
{
    CollectionRead read;
    std::optional<DumpFacts> dump;
};
OpenedRun readRunFile(const QString &path);

// The gzip header's first two bytes and a limit on what a reader takes in: folders nested deeper
// than a path can reach are no dump, nor are names longer than one.
inline constexpr int dumpDepthLimit = 2048;
inline constexpr int dumpStringLimit = 65536;
