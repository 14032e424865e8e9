#include "model/Comparison.h"

#include "engine/FolderTotals.h"
#include "helpers/NameText.h"
#include "model/FileComparison.h"
#include "model/FilterText.h"
#include "model/FolderReport.h"
#include "model/History.h"
#include "model/JsonText.h"
#include "model/NameList.h"
#include "model/QuickFacts.h"
#include "model/ReportCsv.h"
#include "model/ReportModel.h"
#include "model/ReportText.h"
#include "model/TypeListing.h"
#include "model/TypeNames.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <algorithm>
#include <array>
#include <optional>

namespace {

const NameList<ComparisonPart, comparisonPartCount> partNames = {
    {"summary", "types", "sizes", "accessed", "created", "modified", "attributes", "folders",
     "files", "owners"}};

std::int64_t difference(std::uint64_t then, std::uint64_t now)
{
    if (now >= then) {
        const std::uint64_t grown = now - then;
        return grown > std::uint64_t(INT64_MAX) ? INT64_MAX : std::int64_t(grown);
    }
    const std::uint64_t lost = then - now;
    return lost > std::uint64_t(INT64_MAX) ? INT64_MIN : -std::int64_t(lost);
}

std::uint64_t count(std::int64_t value)
{
    return value > 0 ? std::uint64_t(value) : 0;
}

std::uint64_t magnitude(std::int64_t value)
{
    return value < 0 ? 0 - std::uint64_t(value) : std::uint64_t(value);
}

// The listings of classes, paired by their place: both runs have the same classes.
std::vector<ChangeRow> pairedClasses(const std::vector<ClassFigures> &then,
                                     const std::vector<ClassFigures> &now)
{
    std::vector<ChangeRow> rows;
    for (std::size_t i = then.size(); i-- > 0;)
        rows.push_back(
            {then[i].label, QString(), {then[i].files, now[i].files, then[i].bytes, now[i].bytes}});
    return rows;
}

// A drive is the same drive in both runs when it is mounted at the same place; a drive whose
// mount point is not known is told by its letter.
QString driveKey(const DriveFacts &drive)
{
    return drive.mountPoint.isEmpty() ? QString(drive.letter) + u':' : drive.mountPoint;
}

QStringList walkedDriveKeys(const RunFacts &facts)
{
    QStringList keys;
    for (const DriveFacts &drive : facts.drives)
        if (drive.walked)
            keys << driveKey(drive);
    keys.sort();
    return keys;
}

const DriveFolders *foldersOf(const Collection &run, QChar letter)
{
    for (const DriveFolders &drive : run.figures.folderTotals)
        if (drive.letter == letter)
            return &drive;
    return nullptr;
}

const DriveFacts *walkedDrive(const RunFacts &facts, const QString &key)
{
    for (const DriveFacts &drive : facts.drives)
        if (drive.walked && driveKey(drive) == key)
            return &drive;
    return nullptr;
}

// What the kept subfolders of each kept folder hold together, by the folder's path: worked out
// once per run, so that telling many missing folders costs no more than the run's folders.
QHash<QByteArray, std::uint64_t> keptBelowOf(const std::vector<FolderTotal> &folders)
{
    QHash<QByteArray, std::uint64_t> below;
    for (const FolderTotal &folder : folders)
        if (folder.depth() > 0)
            below[folder.parentPath()] += folder.bytes;
    return below;
}

// Whether a run that did not keep the folder at path proves it was not there (or held nothing):
// every folder down to keptDepth is kept, so a missing one that shallow did not exist, nor did
// anything below it; a deeper one is proved absent when its nearest kept ancestor's kept
// subfolders account for all of that ancestor's subfolder bytes.
bool provedAbsent(const QHash<QByteArray, const FolderTotal *> &kept,
                  const QHash<QByteArray, std::uint64_t> &keptBelow, QByteArray path)
{
    for (;;) {
        FolderTotal probe{path};
        if (probe.depth() <= keptDepth)
            return true;
        const QByteArray parent = probe.parentPath();
        const FolderTotal *ancestor = kept.value(parent);
        if (!ancestor) {
            path = parent;
            continue;
        }
        return keptBelow.value(parent) == ancestor->subfolderBytes();
    }
}

QString dateShown(const QDateTime &at)
{
    return at.isValid() ? QLocale().toString(at, QLocale::ShortFormat) : QStringLiteral("?");
}

QString daysBetween(const QDateTime &then, const QDateTime &now)
{
    if (!then.isValid() || !now.isValid())
        return QString();
    const qint64 seconds = then.secsTo(now);
    // Runs of one day are told apart by the hours and minutes between them, not "0 days".
    if (seconds > -86400 && seconds < 86400) {
        const qint64 minutes = (seconds < 0 ? -seconds : seconds) / 60;
        return QStringLiteral("%1%2 h %3 min")
            .arg(seconds < 0 ? QStringLiteral("-") : QString())
            .arg(minutes / 60)
            .arg(minutes % 60, 2, 10, QLatin1Char('0'));
    }
    const qint64 days = then.daysTo(now);
    return QString::number(days) +
           (days == 1 || days == -1 ? QStringLiteral(" day") : QStringLiteral(" days"));
}

const QString unknownFigure = QStringLiteral("\u2013");

ReportCell text(const QString &value)
{
    return ReportCell::ofText(value);
}

} // namespace

std::int64_t ChangeFigures::fileChange() const
{
    return difference(filesThen, filesNow);
}

std::int64_t ChangeFigures::byteChange() const
{
    return difference(bytesThen, bytesNow);
}

QString walkedDrivesText(const RunFacts &facts)
{
    QStringList drives;
    for (const DriveFacts &drive : facts.drives)
        if (drive.walked)
            drives << QString(drive.letter.toUpper()) + u':' +
                          (drive.mountPoint.isEmpty() ? QString() : u' ' + drive.mountPoint);
    return drives.isEmpty() ? QStringLiteral("none") : drives.join(QStringLiteral(", "));
}

bool sameWalkedDrives(const RunFacts &a, const RunFacts &b)
{
    return walkedDriveKeys(a) == walkedDriveKeys(b);
}

QString comparisonPartName(ComparisonPart part)
{
    return partNames.name(part);
}

QString comparisonPartTitle(ComparisonPart part)
{
    return partNames.title(part);
}

std::optional<ComparisonPart> comparisonPartNamed(const QString &name)
{
    return partNames.named(name);
}

Comparison::Comparison(const Collection &then, const Collection &now)
    : Comparison(std::make_shared<const Collection>(then), std::make_shared<const Collection>(now))
{}

Comparison::Comparison(std::shared_ptr<const Collection> then,
                       std::shared_ptr<const Collection> now)
    : before(std::move(then)), after(std::move(now))
{
    // A row per extension of either run, found through a hash: a run may have a million. The
    // types a run picked but found no file of have no row in either, and are left out.
    QHash<QString, std::size_t> byExtension;
    const TypeTable &typesThen = before->figures.lbTypes, &typesNow = after->figures.lbTypes;
    byExtension.reserve(typesThen.count() + typesNow.count());
    const auto gather = [&](const TypeTable &types, bool isNow) {
        types.forEachRow([&](const QString &extension, std::int64_t files, std::uint64_t bytes) {
            auto at = byExtension.constFind(extension);
            if (at == byExtension.cend()) {
                at = byExtension.insert(extension, typeRows.size());
                typeRows.push_back({extension, getTypeName(extension), {}});
            }
            ChangeFigures &f = typeRows[*at].figures;
            (isNow ? f.filesNow : f.filesThen) = count(files);
            (isNow ? f.bytesNow : f.bytesThen) = bytes;
        });
    };
    gather(typesThen, false);
    gather(typesNow, true);
    std::erase_if(typeRows, [](const ChangeRow &row) {
        const ChangeFigures &f = row.figures;
        return !f.filesThen && !f.filesNow && !f.bytesThen && !f.bytesNow;
    });
    std::sort(typeRows.begin(), typeRows.end(), [](const ChangeRow &a, const ChangeRow &b) {
        const std::uint64_t bytesA = magnitude(a.figures.byteChange());
        const std::uint64_t bytesB = magnitude(b.figures.byteChange());
        if (bytesA != bytesB)
            return bytesA > bytesB;
        const std::uint64_t filesA = magnitude(a.figures.fileChange());
        const std::uint64_t filesB = magnitude(b.figures.fileChange());
        if (filesA != filesB)
            return filesA > filesB;
        return a.label < b.label;
    });

    sizeRows = pairedClasses(sizeClasses(before->figures), sizeClasses(after->figures));
    const std::array dates{DateKind::Accessed, DateKind::Created, DateKind::Modified};
    for (std::size_t i = 0; i < dates.size(); ++i)
        ageRows[i] = pairedClasses(ageClasses(before->figures, dates[i]),
                                   ageClasses(after->figures, dates[i]));

    const AttributeFigures attributesThen = attributeFigures(before->figures);
    const AttributeFigures attributesNow = attributeFigures(after->figures);
    for (std::size_t row = 0; row < 4; ++row)
        attributeRows.push_back({attributeLabel(int(row)),
                                 QString(),
                                 {attributesThen.files[row], attributesNow.files[row],
                                  attributesThen.bytes[row], attributesNow.bytes[row]}});
    compareFolders();
    filesKept = !before->figures.driveFiles.empty() && !after->figures.driveFiles.empty();
    if (filesKept) {
        fileRows = largestFileChanges(*before, *after);
        ownerRows = ownerChanges(*before, *after);
    }
}

// Folders are matched by their drive's mount point and their path below it, byte for byte.
void Comparison::compareFolders()
{
    folderTotalsKept =
        !before->figures.folderTotals.empty() && !after->figures.folderTotals.empty();
    if (!folderTotalsKept)
        return;
    // A folder that changed, without its label: a run may hold a million folders, of which
    // only a few dozen are listed.
    struct Found
    {
        const QString *mountPoint;
        const FolderTotal *folder;
        ChangeFigures figures;
        int depth = 0;
    };
    std::vector<Found> found;
    for (const DriveFacts &driveNow : after->facts.drives) {
        const DriveFacts *driveThen =
            driveNow.walked ? walkedDrive(before->facts, driveKey(driveNow)) : nullptr;
        const DriveFolders *foldersNow = foldersOf(*after, driveNow.letter);
        const DriveFolders *foldersThen =
            driveThen ? foldersOf(*before, driveThen->letter) : nullptr;
        if (!foldersNow || !foldersThen)
            continue;
        QHash<QByteArray, const FolderTotal *> thenByPath, nowByPath;
        for (const FolderTotal &folder : foldersThen->folders)
            thenByPath.insert(folder.path, &folder);
        for (const FolderTotal &folder : foldersNow->folders)
            nowByPath.insert(folder.path, &folder);
        std::optional<QHash<QByteArray, std::uint64_t>> thenBelow, nowBelow;
        const auto absent = [](const QHash<QByteArray, const FolderTotal *> &kept,
                               std::optional<QHash<QByteArray, std::uint64_t>> &below,
                               const DriveFolders &drive, const QByteArray &path) {
            if (!below)
                below = keptBelowOf(drive.folders);
            return provedAbsent(kept, *below, path);
        };
        const auto add = [&](const FolderTotal *then, const FolderTotal *now) {
            const FolderTotal &some = now ? *now : *then;
            ChangeFigures f;
            f.filesThen = then ? count(then->files) : 0;
            f.bytesThen = then ? then->bytes : 0;
            f.filesNow = now ? count(now->files) : 0;
            f.bytesNow = now ? now->bytes : 0;
            f.thenKnown = then || absent(thenByPath, thenBelow, *foldersThen, some.path);
            f.nowKnown = now || absent(nowByPath, nowBelow, *foldersNow, some.path);
            // A drive's root changes by the drive's whole change, which the summary gives.
            if ((f.bytesThen != f.bytesNow || !f.changeKnown()) && some.depth() > 0)
                found.push_back({&driveNow.mountPoint, &some, f, some.depth()});
        };
        for (const FolderTotal &folder : foldersNow->folders)
            add(thenByPath.value(folder.path), &folder);
        for (const FolderTotal &folder : foldersThen->folders)
            if (!nowByPath.contains(folder.path))
                add(&folder, nullptr);
    }
    enum Group
    {
        Grown,
        Shrunk,
        Unknown
    };
    const auto groupOf = [](const ChangeFigures &f) {
        return !f.changeKnown() ? Unknown : f.byteChange() > 0 ? Grown : Shrunk;
    };
    // Largest change first, then the deeper folder, then by label: the labels are made only for
    // the folders that tie where the list is cut.
    const auto ranksBefore = [](const Found &a, const Found &b) {
        const std::uint64_t changeA =
            a.figures.changeKnown() ? magnitude(a.figures.byteChange()) : 0;
        const std::uint64_t changeB =
            b.figures.changeKnown() ? magnitude(b.figures.byteChange()) : 0;
        if (changeA != changeB)
            return changeA > changeB;
        return a.figures.changeKnown() && a.depth > b.depth;
    };
    const auto label = [](const Found &f) { return shownFolderLocation(*f.mountPoint, *f.folder); };
    for (const Group group : {Grown, Shrunk, Unknown}) {
        std::vector<const Found *> members;
        for (const Found &folder : found)
            if (groupOf(folder.figures) == group)
                members.push_back(&folder);
        std::sort(members.begin(), members.end(),
                  [&](const Found *a, const Found *b) { return ranksBefore(*a, *b); });
        std::size_t listed = 0;
        for (auto tie = members.begin(); tie != members.end() && listed < foldersListed;) {
            const auto tieEnd = std::find_if(
                tie, members.end(), [&](const Found *f) { return ranksBefore(**tie, *f); });
            // The first few labels of the tie, kept in a heap whose top is the last of them.
            const std::size_t wanted = foldersListed - listed;
            std::vector<std::pair<QString, const Found *>> first;
            const auto later = [](const auto &a, const auto &b) { return a.first < b.first; };
            for (auto at = tie; at != tieEnd; ++at) {
                QString text = label(**at);
                if (first.size() == wanted && !(text < first.front().first))
                    continue;
                first.emplace_back(std::move(text), *at);
                std::push_heap(first.begin(), first.end(), later);
                if (first.size() > wanted) {
                    std::pop_heap(first.begin(), first.end(), later);
                    first.pop_back();
                }
            }
            std::sort_heap(first.begin(), first.end(), later);
            for (auto &[text, folder] : first)
                folderRows.push_back({std::move(text), QString(), folder->figures});
            listed += first.size();
            tie = tieEnd;
        }
    }
}

const std::vector<ChangeRow> &Comparison::ages(ComparisonPart date) const
{
    const std::size_t i = date == ComparisonPart::Accessed  ? 0
                          : date == ComparisonPart::Created ? 1
                                                            : 2;
    return ageRows[i];
}

ChangeFigures Comparison::totals() const
{
    ChangeFigures f;
    f.filesThen = count(before->figures.filesFound);
    f.filesNow = count(after->figures.filesFound);
    f.bytesThen = totalBytes(before->figures);
    f.bytesNow = totalBytes(after->figures);
    return f;
}

bool Comparison::sameFilter() const
{
    const Accumulators &a = before->figures, &b = after->figures;
    // Every type is counted whenever neither picked-types mode is on.
    if (a.filter.mode() != b.filter.mode())
        return false;
    return a.filter.allTypes() || a.filter.extensions() == b.filter.extensions();
}

bool Comparison::sameDrives() const
{
    return sameWalkedDrives(before->facts, after->facts);
}

QStringList Comparison::warnings() const
{
    return warningsFor(ComparisonPart::Summary);
}

// The filter touches every figure; the drives every figure but the folders, which are matched on
// the drives both runs walked; a stopped run every figure.
QStringList Comparison::warningsFor(ComparisonPart part) const
{
    QStringList lines;
    if (!sameFilter())
        lines << QStringLiteral("The file-type filters differ (then: %1; now: %2). Files, bytes, "
                                "size classes, ages, attributes and folders count different "
                                "files and are not comparable; nor are the types only one of "
                                "the filters counts.")
                     .arg(filterNamed(before->figures.filter), filterNamed(after->figures.filter));
    if (!sameDrives() && part != ComparisonPart::Folders)
        lines << QStringLiteral("The drives differ (then: %1; now: %2). Files, bytes, types, size "
                                "classes, ages and attributes cover different drives and are not "
                                "comparable; folders are compared on the drives both runs walked.")
                     .arg(walkedDrivesText(before->facts), walkedDrivesText(after->facts));
    for (const auto &[run, when] : {std::pair{before.get(), "then"}, std::pair{after.get(), "now"}})
        if (!run->facts.complete)
            lines << QStringLiteral("The run of %1 was stopped before its end: its figures hold "
                                    "only the files counted until then.")
                         .arg(QLatin1String(when));
    if (!folderTotalsKept && (part == ComparisonPart::Summary || part == ComparisonPart::Folders)) {
        const bool thenHas = !before->figures.folderTotals.empty();
        const bool nowHas = !after->figures.folderTotals.empty();
        const QString which = thenHas  ? QStringLiteral("the collection of now keeps")
                              : nowHas ? QStringLiteral("the collection of then keeps")
                                       : QStringLiteral("neither collection keeps");
        lines << QStringLiteral("No folders are compared: %1 no folder totals (a file of an "
                                "older version, or no drive walked).")
                     .arg(which);
    }
    if (!filesKept && (part == ComparisonPart::Files || part == ComparisonPart::Owners)) {
        const bool thenHas = !before->figures.driveFiles.empty();
        const bool nowHas = !after->figures.driveFiles.empty();
        const QString which = thenHas  ? QStringLiteral("the collection of now keeps")
                              : nowHas ? QStringLiteral("the collection of then keeps")
                                       : QStringLiteral("neither collection keeps");
        lines << QStringLiteral("No files or owners are compared: %1 no largest files and "
                                "owners (a file of an older version, or no drive walked).")
                     .arg(which);
    }
    return lines;
}

const std::vector<ChangeRow> *Comparison::changeRows(ComparisonPart part) const
{
    switch (part) {
    case ComparisonPart::Summary:
        return nullptr;
    case ComparisonPart::Types:
        return &typeRows;
    case ComparisonPart::Sizes:
        return &sizeRows;
    case ComparisonPart::Accessed:
    case ComparisonPart::Created:
    case ComparisonPart::Modified:
        return &ages(part);
    case ComparisonPart::Attributes:
        return &attributeRows;
    case ComparisonPart::Folders:
        return &folderRows;
    case ComparisonPart::Files:
        return &fileRows;
    case ComparisonPart::Owners:
        return &ownerRows;
    }
    return nullptr;
}

ReportTable Comparison::table(ComparisonPart part, bool withRows) const
{
    static const std::vector<ChangeRow> none;
    const std::vector<ChangeRow> *all = changeRows(part);
    const std::vector<ChangeRow> &rows = withRows && all ? *all : none;
    switch (part) {
    case ComparisonPart::Summary:
        return summaryTable();
    case ComparisonPart::Types:
        return changeTable(part, QStringLiteral("Extension"), rows, true);
    case ComparisonPart::Sizes:
        return changeTable(part, QStringLiteral("File size"), rows, false);
    case ComparisonPart::Accessed:
        return changeTable(part, dateCaption(DateKind::Accessed), rows, false);
    case ComparisonPart::Created:
        return changeTable(part, dateCaption(DateKind::Created), rows, false);
    case ComparisonPart::Modified:
        return changeTable(part, dateCaption(DateKind::Modified), rows, false);
    case ComparisonPart::Attributes:
        return changeTable(part, QStringLiteral("Attribute"), rows, false);
    case ComparisonPart::Folders: {
        ReportTable table = changeTable(part, QStringLiteral("Folder"), rows, false);
        if (folderTotalsKept)
            table.notes << folderRule();
        return table;
    }
    case ComparisonPart::Files: {
        ReportTable table = changeTable(part, QStringLiteral("File"), rows, false);
        if (filesKept)
            table.notes << fileRule();
        return table;
    }
    case ComparisonPart::Owners:
        return changeTable(part, QStringLiteral("User"), rows, false);
    }
    return {};
}

ReportTable Comparison::summaryTable() const
{
    ReportTable table;
    table.title = comparisonPartTitle(ComparisonPart::Summary);
    table.headings = {"Figure", "Then", "Now", "Change"};
    const RunFacts &a = before->facts, &b = after->facts;
    table.rows.push_back({text("Started"), text(dateShown(a.started)), text(dateShown(b.started)),
                          text(daysBetween(a.started, b.started))});
    table.rows.push_back({text("Drives"), text(walkedDrivesText(a)), text(walkedDrivesText(b)),
                          text(sameDrives() ? QString() : QStringLiteral("differ"))});
    table.rows.push_back({text("Filter"), text(filterSummary(before->figures.filter)),
                          text(filterSummary(after->figures.filter)),
                          text(sameFilter() ? QString() : QStringLiteral("differs"))});
    const ChangeFigures sums = totals();
    table.rows.push_back({text("Files"), ReportCell::ofInteger(sums.filesThen),
                          ReportCell::ofInteger(sums.filesNow),
                          ReportCell::ofChange(sums.fileChange())});
    table.rows.push_back({text("Bytes"), ReportCell::ofInteger(sums.bytesThen),
                          ReportCell::ofInteger(sums.bytesNow),
                          ReportCell::ofChange(sums.byteChange())});
    table.notes = warnings();
    return table;
}

ReportTable Comparison::changeTable(ComparisonPart part, const QString &caption,
                                    const std::vector<ChangeRow> &rows, bool withType) const
{
    ReportTable table;
    table.title = comparisonPartTitle(part);
    table.headings << caption;
    if (withType)
        table.headings << QStringLiteral("Type");
    table.headings << QStringLiteral("Files then") << QStringLiteral("Files now")
                   << QStringLiteral("Files change") << QStringLiteral("Bytes then")
                   << QStringLiteral("Bytes now") << QStringLiteral("Bytes change");
    table.notes = warningsFor(part);
    for (const ChangeRow &row : rows)
        table.rows.push_back(changeCells(row, withType));
    return table;
}

std::vector<ReportCell> Comparison::changeCells(const ChangeRow &row, bool withType)
{
    const ChangeFigures &f = row.figures;
    std::vector<ReportCell> cells;
    cells.reserve(withType ? 8 : 7);
    cells.push_back(text(row.label));
    if (withType)
        cells.push_back(text(row.typeName));
    const auto figure = [](bool known, std::uint64_t value) {
        return known ? ReportCell::ofInteger(value) : text(unknownFigure);
    };
    const auto change = [&](std::int64_t value) {
        return f.changeKnown() ? ReportCell::ofChange(value) : text(unknownFigure);
    };
    cells.push_back(figure(f.thenKnown, f.filesThen));
    cells.push_back(figure(f.nowKnown, f.filesNow));
    cells.push_back(change(f.fileChange()));
    cells.push_back(figure(f.thenKnown, f.bytesThen));
    cells.push_back(figure(f.nowKnown, f.bytesNow));
    cells.push_back(change(f.byteChange()));
    return cells;
}

QString folderRule()
{
    return QStringLiteral(
               "A folder deeper than %1 levels is kept only while it holds at least 1 % of its "
               "drive's counted bytes. \u2013 marks a folder one run did not keep: its figure in "
               "that run is unknown and it is not ranked by change. A missing folder counts as 0 "
               "only where that run proves it absent: it lies at most %1 levels deep, or the "
               "folder it lies in was kept with all of its subfolders.")
        .arg(keptDepth);
}

std::vector<EarlierRun> earlierRuns(const QString &historyFolder, const RunFacts &now,
                                    const QString &ownFile)
{
    std::vector<EarlierRun> runs;
    for (const QString &path : historyFiles(historyFolder)) {
        std::optional<RunGlance> glance = quickRunGlance(path);
        if (!glance || glance->facts == now ||
            (!ownFile.isEmpty() && QFileInfo(path) == QFileInfo(ownFile)))
            continue;
        const bool same = sameWalkedDrives(glance->facts, now);
        runs.push_back({path, std::move(glance->facts), same, glance->filterMode,
                        glance->filterTypes, glance->filesFound});
    }
    std::stable_sort(runs.begin(), runs.end(), [](const EarlierRun &a, const EarlierRun &b) {
        if (a.sameDrives != b.sameDrives)
            return a.sameDrives;
        return a.facts.started > b.facts.started;
    });
    return runs;
}

QString earlierRunLabel(const EarlierRun &run)
{
    QStringList walked;
    for (const DriveFacts &drive : run.facts.drives)
        if (drive.walked)
            walked << QString(drive.letter.toUpper()) + u':';
    QStringList parts{dateShown(run.facts.started),
                      walked.isEmpty() ? QStringLiteral("no drive") : walked.join(u' ')};
    const qsizetype types = run.filterTypes.size();
    const QString typesText =
        types == 1 ? QStringLiteral("1 type") : QStringLiteral("%1 types").arg(types);
    if (run.filterMode == u"all")
        parts << QStringLiteral("all types");
    else if (run.filterMode == u"include")
        parts << QStringLiteral("only ") + typesText;
    else if (run.filterMode == u"exclude")
        parts << QStringLiteral("all but ") + typesText;
    if (run.filesFound)
        parts << (*run.filesFound == 1
                      ? QStringLiteral("1 file")
                      : QLocale().toString(qulonglong(*run.filesFound)) + QStringLiteral(" files"));
    return parts.join(QStringLiteral(" \u00B7 "));
}

QByteArray comparisonCsv(const Comparison &comparison, ComparisonPart part)
{
    QByteArray csv = reportCsv(comparison.table(part));
    const QStringList warnings = comparison.warningsFor(part);
    if (!warnings.isEmpty())
        csv += "\r\n";
    for (const QString &warning : warnings)
        csv += csvField(ReportCell::ofText(warning)) + "\r\n";
    return csv;
}

QString comparisonText(const Comparison &comparison)
{
    const auto run = [](const Collection &c) {
        return QStringLiteral("%1, drives %2, %3%4")
            .arg(dateShown(c.facts.started), walkedDrivesText(c.facts),
                 filterSummary(c.figures.filter),
                 c.facts.complete ? QString() : QStringLiteral(", stopped before its end"));
    };
    QString text = QStringLiteral("Comparison\n  Then: %1\n  Now:  %2\n")
                       .arg(run(comparison.then()), run(comparison.now()));
    for (int part = 0; part < comparisonPartCount; ++part)
        text += u'\n' + reportText(comparison.table(ComparisonPart(part)));
    return text;
}

namespace {

QByteArray jsonCell(const ReportCell &cell)
{
    return cell.kind == ReportCell::Kind::Text ? jsonText(cell.text) : cell.number('g');
}

QByteArray jsonTexts(const QStringList &texts)
{
    QByteArrayList items;
    for (const QString &text : texts)
        items << jsonText(text);
    return '[' + items.join(", ") + ']';
}

QByteArray jsonRun(const Collection &run)
{
    return "{\"started\": " + jsonText(run.facts.started.toString(Qt::ISODate)) +
           ", \"drives\": " + jsonText(walkedDrivesText(run.facts)) +
           ", \"filter\": " + jsonText(filterSummary(run.figures.filter)) +
           ", \"complete\": " + (run.facts.complete ? "true" : "false") + '}';
}

} // namespace

QByteArray comparisonJson(const Comparison &comparison)
{
    QByteArray out = "{\n  \"then\": " + jsonRun(comparison.then()) +
                     ",\n  \"now\": " + jsonRun(comparison.now()) +
                     ",\n  \"warnings\": " + jsonTexts(comparison.warnings()) +
                     ",\n  \"tables\": {";
    for (int part = 0; part < comparisonPartCount; ++part) {
        const ReportTable table = comparison.table(ComparisonPart(part));
        out += (part ? ",\n    " : "\n    ") + jsonText(comparisonPartName(ComparisonPart(part))) +
               ": {\"headings\": " + jsonTexts(table.headings) + ", \"rows\": [";
        for (std::size_t row = 0; row < table.rows.size(); ++row) {
            QByteArrayList cells;
            for (const ReportCell &cell : table.rows[row])
                cells << jsonCell(cell);
            out += (row ? ",\n      [" : "\n      [") + cells.join(", ") + ']';
        }
        out += "], \"notes\": " + jsonTexts(table.notes) + '}';
    }
    return out + "\n  }\n}\n";
}
