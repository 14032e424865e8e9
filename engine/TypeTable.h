#pragma once

#include "helpers/NameText.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Whether an upper-cased extension, dot included, is short enough for a row of its own: at most
// five characters, each character of its UTF-8 and each byte outside it counting once.
inline bool extensionFitsRow(QByteArrayView upperExtension)
{
    return nameLength(upperExtension) <= 5;
}

// The per-extension table of a run (lbTypes): one row per extension of at most five characters,
// read as "extension<tab>files<tab>bytes" with the extension in upper case and its dot, rows in
// ascending order of the extension without regard to case. Extensions are told apart by their
// bytes and shown as escapedName gives them: one holding a control, invisible or direction
// character, or bytes that are not UTF-8, gets a row of its own that reads as what it holds.
//
// The walk adds a row or counts one up for nearly every file, so the rows are kept unordered and
// found through a hash; the order is worked out only when a row is read by its index. A saved run
// may bring a million rows: they take one allocation for the rows, one for the extensions' texts
// and one for the hash, not one per row.
class TypeTable
{
public:
    // Number of rows, and one row in table order as text.
    int count() const { return int(table.size()); }
    QString row(int index) const;
    QStringList rows() const;

    // Extensions given as text here are read as nameBytes reads them.
    // Counts one file of an extension, or with seeding only makes sure the extension has a row.
    // Extensions that do not fit a row (extensionFitsRow) get none. A byte sum that would pass
    // the largest 64-bit number stays at it.
    void insertType(const QString &extension, std::uint64_t size, bool seeding);
    // The same for a file during the walk: the extension as the name's bytes hold it, dot first.
    void countFile(std::string_view extension, std::uint64_t size);

    // Every row as extension, files and bytes, in no particular order and without sorting the
    // table first: for a look at all rows whose order does not matter.
    template <typename Visit> void forEachRow(Visit visit) const
    {
        for (const Row &row : table)
            visit(textOf(row).toString(), row.files, row.bytes);
    }

    // The figures of a row in table order.
    QString extensionAt(int index) const;
    std::int64_t filesAt(int index) const;
    std::uint64_t bytesAt(int index) const;

    // Files counted whose extension is too long for a row, and the one of those extensions met
    // most often (lower case, dot first, escaped; the first in byte order among equals). Only the
    // first few thousand different extensions are told apart; later ones count in the sum only.
    std::int64_t longerFiles() const { return longerCount; }
    QString commonestLonger() const;
    // Takes over counts of longer extensions from elsewhere (a saved run): files of one extension.
    void addLonger(const QString &extension, std::int64_t files);

    void clear();
    // Puts back a row as a saved collection holds it: an extension as a row shows it (escaped,
    // upper case, fits a row). False when the extension has a row already.
    bool putRow(const QString &upperExtension, std::int64_t files, std::uint64_t bytes);

private:
    struct Row
    {
        std::int64_t files = 0;
        std::uint64_t bytes = 0;
        std::uint32_t at = 0; // the extension in texts
        std::uint32_t length = 0;
        void add(std::uint64_t size);
    };
    QStringView textOf(const Row &row) const { return QStringView(texts).mid(row.at, row.length); }
    // The index of the row of an extension as a row shows it, or -1.
    int find(QStringView upperExtension) const;
    Row &rowFor(QStringView upperExtension);
    void countBytes(QByteArrayView extension, std::uint64_t size, bool seeding);
    void countLonger(std::string_view lowerOrAscii, std::int64_t files);

    // Extensions compared without regard to ASCII case, so that a file's own bytes find their
    // count without a copy.
    struct FoldedHash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const;
    };
    struct FoldedEqual
    {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    const Row &ordered(int index) const;
    void sortIfNeeded() const;

    std::vector<Row> table; // in order of arrival
    QString texts;          // the rows' extensions, one after another
    // Open addressing over the rows: a row's index plus one, 0 for a free slot; a power of two
    // long, at most half full.
    std::vector<int> buckets;
    mutable std::vector<int> order; // table order: indexes into table
    mutable bool sorted = true;
    std::int64_t longerCount = 0;
    std::unordered_map<std::string, std::int64_t, FoldedHash, FoldedEqual> longer;
};
