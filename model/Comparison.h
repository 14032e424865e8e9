#pragma once

#include "model/Collection.h"
#include "model/ReportTable.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

// Two collections side by side: an earlier one ("then") and a later one ("now"), with what grew
// and what shrank between them, by type, size class, age, attribute and folder. Nothing here
// knows a widget: the compare window, its exports and the command line all read the same tables.

// Files and bytes then and now.
struct ChangeFigures
{
    std::uint64_t filesThen = 0;
    std::uint64_t filesNow = 0;
    std::uint64_t bytesThen = 0;
    std::uint64_t bytesNow = 0;
    // A folder one collection did not keep has no known figures there: shown as "–", and its
    // change is not known either.
    bool thenKnown = true;
    bool nowKnown = true;

    bool changeKnown() const { return thenKnown && nowKnown; }
    // Now less then, held to the range of a signed 64-bit number.
    std::int64_t fileChange() const;
    std::int64_t byteChange() const;
    bool operator==(const ChangeFigures &) const = default;
};

// One row of a compared listing: an extension, a size or age class, an attribute or a folder.
struct ChangeRow
{
    QString label;    // ".LOG", "0 - 16K", "Hidden", "/home/ann/Music"
    QString typeName; // types only
    ChangeFigures figures;
};

// The tables of a comparison, in the order the window and the exports give them.
enum class ComparisonPart
{
    Summary,
    Types,
    Sizes,
    Accessed,
    Created,
    Modified,
    Attributes,
    Folders,
    Files,
    Owners
};
inline constexpr int comparisonPartCount = 10;

// The part's name on a command line and in file names ("summary", "types", ..., "folders") and
// its caption ("Summary", "Types", "Sizes", "Accessed", ...).
QString comparisonPartName(ComparisonPart part);
QString comparisonPartTitle(ComparisonPart part);
std::optional<ComparisonPart> comparisonPartNamed(const QString &name);

// At most this many folders that grew and this many that shrank are listed.
inline constexpr std::size_t foldersListed = 25;

class Comparison
{
public:
    Comparison(const Collection &then, const Collection &now);
    // The same without copies of the runs, which may hold a million rows each.
    Comparison(std::shared_ptr<const Collection> then, std::shared_ptr<const Collection> now);

    const Collection &then() const { return *before; }
    const Collection &now() const { return *after; }
    const std::shared_ptr<const Collection> &thenRun() const { return before; }

    // Every extension of either run, largest byte change first (growth or shrinkage alike),
    // then by the change of files, then by extension.
    const std::vector<ChangeRow> &types() const { return typeRows; }
    // In the order of the pages' listings: the largest size class and the oldest age first.
    const std::vector<ChangeRow> &sizes() const { return sizeRows; }
    const std::vector<ChangeRow> &ages(ComparisonPart date) const;
    const std::vector<ChangeRow> &attributes() const { return attributeRows; }
    // The folders that grew most, largest growth first, then those that shrank most, largest
    // loss first, then those one run did not keep, by path. A folder missing from one run grew
    // from 0 or shrank to 0 only where that run proves it absent (see folderRule()); otherwise
    // its figure there is unknown. Only folders of drives both runs walked, the drives' roots
    // left to the summary; among equal changes the deeper folder comes first, since it is where
    // the change happened.
    const std::vector<ChangeRow> &folders() const { return folderRows; }
    // Both runs kept folder totals (an older collection file has none).
    bool hasFolders() const { return folderTotalsKept; }
    // The largest files new or grown in the later run and those that left its list; the change
    // of each user (model/FileComparison.h). Empty unless both runs kept them.
    const std::vector<ChangeRow> &files() const { return fileRows; }
    const std::vector<ChangeRow> &owners() const { return ownerRows; }
    bool hasFiles() const { return filesKept; }

    // The sums of every file counted.
    ChangeFigures totals() const;
    // Why some figures do not compare like with like: different filters, different drives, a
    // stopped run, a missing folder table. Empty when the two runs match.
    QStringList warnings() const;
    // Those of the warnings that bear on one part's figures.
    QStringList warningsFor(ComparisonPart part) const;
    bool sameFilter() const;
    bool sameDrives() const;

    // One part as a table: the labels, then files then / now / change and bytes then / now /
    // change (the summary: one row per fact, the warnings as its notes).
    // withRows false: the title, headings and notes alone, for a view that takes the rows below.
    ReportTable table(ComparisonPart part, bool withRows = true) const;
    // The rows of a part as the comparison holds them; none for the summary, a table of facts.
    const std::vector<ChangeRow> *changeRows(ComparisonPart part) const;
    // One row of a part's table, as table() gives it: the label (and the type), then the figures.
    static std::vector<ReportCell> changeCells(const ChangeRow &row, bool withType);

private:
    ReportTable summaryTable() const;
    ReportTable changeTable(ComparisonPart part, const QString &caption,
                            const std::vector<ChangeRow> &rows, bool withType) const;
    void compareFolders();

    std::shared_ptr<const Collection> before;
    std::shared_ptr<const Collection> after;
    std::vector<ChangeRow> typeRows;
    std::vector<ChangeRow> sizeRows;
    std::vector<ChangeRow> ageRows[3];
    std::vector<ChangeRow> attributeRows;
    std::vector<ChangeRow> folderRows;
    bool folderTotalsKept = false;
    std::vector<ChangeRow> fileRows;
    std::vector<ChangeRow> ownerRows;
    bool filesKept = false;
};

// Whether two runs walked the same drives: the same mount points (letters where a mount point is
// not known), whatever letters they had.
bool sameWalkedDrives(const RunFacts &a, const RunFacts &b);
// The drives a run walked: "C: /, D: /home"; "none" when it walked none.
QString walkedDrivesText(const RunFacts &facts);

// The line under the folder table telling when a folder missing from one run counts as 0.
QString folderRule();

// A collection of the history a run can be compared with.
struct EarlierRun
{
    QString path;
    RunFacts facts;
    bool sameDrives = false; // walked the drives the run walked
    QString filterMode;      // "all", "include" or "exclude"; empty when not told
    QStringList filterTypes;
    std::optional<std::uint64_t> filesFound;
};
// How the list of earlier runs tells one from another: "12/8/26 00:36 · D: · only 4 types ·
// 4,378 files", with the locale's short date and time.
QString earlierRunLabel(const EarlierRun &run);
// The history's collections, those of the run's drives first, then the others, newest first in
// each; the run's own file (ownFile: where the history kept it, or the file it was opened from),
// any other copy of the same run, and files that cannot be read are left out.
std::vector<EarlierRun> earlierRuns(const QString &historyFolder, const RunFacts &now,
                                    const QString &ownFile = QString());

// One part as CSV (model/ReportCsv.h), and when some of its figures do not compare (other
// filters, other drives, a stopped run), a blank record and then each warning as a record of
// its own after the rows, so that the file says what its figures are worth.
QByteArray comparisonCsv(const Comparison &comparison, ComparisonPart part);

// The whole comparison as a person reads it in a terminal: which runs, then every part as a
// table with its notes (model/ReportText.h).
QString comparisonText(const Comparison &comparison);
// The whole comparison as one JSON object for scripts: "then" and "now" (started, drives,
// filter, complete), "warnings", and "tables", each part by its name with its "headings",
// "rows" (numbers as JSON numbers written in all their digits, changes signed) and "notes".
QByteArray comparisonJson(const Comparison &comparison);

