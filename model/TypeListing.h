#pragma once

#include "model/ReportTable.h"

#include <QString>
#include <cstdint>
#include <vector>

struct Accumulators;

// One extension of the Types listing, as numbers.
struct TypeRow
{
    QString extension; // as the run's table holds it: ".TXT"; empty for files without one
    QString typeName;  // getTypeName of the extension
    std::uint64_t bytes = 0;
    std::int64_t files = 0;

    // Bytes per file rounded to the nearest whole byte (a half goes up); 0 without files.
    std::uint64_t average() const;
};

// The orders of the "&Sort" menu: by extension (the run table's own order), by type name (letters
// compared without regard to case), and largest first by size, number of files or average size.
// The order among rows with equal keys is the run table's.
enum class TypeSort
{
    Extension,
    Type,
    Size,
    Files,
    Average
};

// A slice of a pie: what it shows, how much, and the entry of the twelve-colour table it takes
// (1 to 12; 0 for the merged "Other" slice).
struct ReportSlice
{
    QString label;
    double value = 0;
    int colour = 0;

    bool operator==(const ReportSlice &other) const = default;
};

// The most slices a pie is given, one per colour of the table.
inline constexpr int mostPieSlices = 12;

// The slices of a pie as it is drawn: those below otherPercent of the slices' sum merged into
// one "Other" slice at the end (only when at least one is merged), the others in their order.
std::vector<ReportSlice> withOtherSlice(const std::vector<ReportSlice> &slices,
                                        double otherPercent = 5);

// The Types page's figures: one row per extension of the run, in the run table's order (the one
// order of the extensions everywhere), with the extensions a "selected types only" run picked
// seeded in, so that they show even without files; their totals; and the files whose extension
// is too long for a row.
class TypeListing
{
public:
    TypeListing() = default;
    // Names the types through getTypeName (the file-type registry).
    explicit TypeListing(const Accumulators &results);

    const std::vector<TypeRow> &rows() const { return rowList; }
    // Sums over the rows; a byte sum past 2^64 - 1 stays there.
    std::uint64_t totalBytes() const { return bytesSum; }
    std::int64_t totalFiles() const { return filesSum; }

    // Files counted elsewhere but without a row, and the most frequent of their extensions.
    std::int64_t longerFiles() const { return longerCount; }
    QString commonestLonger() const { return commonLonger; }
    // The line below the listing about them, "3,068 files with longer extensions (such as
    // .desktop) are not listed."; empty when there are none.
    QString longerLine() const;

    // Indexes into rows() in the order of a sort.
    std::vector<int> order(TypeSort sort) const;
    // The pie of a measure (Size, Files or Average; anything else is Size): the twelve largest
    // rows by it, largest first; a row whose value is 0 gives no slice but keeps its colour
    // place, so slice k of the rows shown takes colour k. Labels are type names; values are the
    // rows' figures as the listing shows them (the average rounded).
    std::vector<ReportSlice> pie(TypeSort measure) const;

    // The listing in a sort's order with its totals row and, when there are any, the line about
    // the files with longer extensions.
    ReportTable table(TypeSort sort = TypeSort::Extension) const;

private:
    double measureOf(const TypeRow &row, TypeSort measure) const;

    std::vector<TypeRow> rowList;
    std::uint64_t bytesSum = 0;
    std::int64_t filesSum = 0;
    std::int64_t longerCount = 0;
    QString commonLonger;
};
