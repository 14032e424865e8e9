#pragma once

#include "engine/Accumulators.h"
#include "model/RunFacts.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

// A run kept for later: when and where it ran, its filter and every figure the pages are made
// from. Kept as a collection file, whose layout docs/collection-format.md describes.
struct Collection
{
    RunFacts facts;
    // The filter (allTypes, includeSelected, excludeSelected and the picked rows of PickList2)
    // and every counter and table of the run. The drive list, the current drive, the capacity sum
    // and the run flags are not kept.
    Accumulators figures;
};

Collection collectionOf(const RunFacts &facts, const Accumulators &figures);

// The filters and figures of two runs are the same, to the last bit of every sum.
bool sameFigures(const Accumulators &a, const Accumulators &b);
bool operator==(const Collection &a, const Collection &b);

// What every collection file says first, and the newest layout this program reads and writes.
inline constexpr char collectionFormat[] = "korvel98-collection";
inline constexpr int collectionVersion = 1;
// A file comes from anywhere: these bound what a reader takes in.
inline constexpr std::int64_t collectionFileLimit = 64 * 1024 * 1024;
inline constexpr int collectionTypeRowLimit = 1'000'000;
inline constexpr int folderRowLimit = 1'000'000; // the folder totals of all drives together
// The user and group rows of all drives together (the largest files are bounded per drive).
inline constexpr int ownerRowLimit = 100'000;

// What reading a collection gives: the collection, or the one reason the file was refused.
struct CollectionRead
{
    std::optional<Collection> collection;
    QString message;
    explicit operator bool() const { return collection.has_value(); }
};

// A collection as the bytes of its file, and back. A refusal's message is a clause such as "it
// is damaged: drives[0].capacity is not a whole number"; nothing of a refused file is kept.
QByteArray collectionJson(const Collection &collection);
CollectionRead parseCollection(const QByteArray &bytes);
// Only the facts of a run, for a quick look through many files: the filter and the figures are
// neither read nor checked. Nothing when the file is refused.
std::optional<RunFacts> parseRunFacts(const QByteArray &bytes);

// The same for a file. A refusal's message is one sentence that names the file, ready for a
// message box. Writing replaces the file whole or, when anything fails, leaves it as it was.
CollectionRead readCollectionFile(const QString &path);
bool writeCollectionFile(const QString &path, const Collection &collection, QString &message);
