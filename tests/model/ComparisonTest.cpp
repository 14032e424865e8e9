#include "model/Comparison.h"

#include "engine/EngineTestSupport.h"
#include "model/FileComparison.h"
#include "model/History.h"
#include "model/JsonText.h"
#include "model/ReportCsv.h"
#include "model/RunRecorder.h"
#include "support/TestSupport.h"

#include <QDir>
#include <functional>

namespace {

using korvel::test::Tree;

const ChangeRow *rowOf(const std::vector<ChangeRow> &rows, const QString &label)
{
    for (const ChangeRow &row : rows)
        if (row.label == label)
            return &row;
    return nullptr;
}

class CompareRuns : public korvel::test::EngineTest
{
protected:
    Collection run(const Tree &tree)
    {
        useDrives({tree.root()});
        RunRecorder recorder;
        recorder.runStarting(drives, engine.PickList1);
        engine.hooks.driveStarting = [&] {
            recorder.driveWalking(drives, engine.currentDrive.at(0));
        };
        engine.collectDrives();
        return collectionOf(recorder.runEnded(engine.aborted), engine);
    }
};

// A tree scanned, then given 1,000 logs in a new folder and rid of 500 of its 700 scratch files,
// then scanned again: the types, the totals and the folders tell exactly that.
TEST_F(CompareRuns, AddedLogsAndDeletedScratchFilesShowAsTheyHappened)
{
    Tree tree(true);
    tree.file("docs/letter.txt", 3000);
    for (int i = 0; i < 700; ++i)
        tree.file(QStringLiteral("scratch/%1.tmp").arg(i), 2000);
    const Collection then = run(tree);
    for (int i = 0; i < 1000; ++i)
        tree.file(QStringLiteral("var/logs/new/%1.log").arg(i), 10240);
    for (int i = 0; i < 500; ++i)
        ASSERT_TRUE(QFile::remove(tree.path(QStringLiteral("scratch/%1.tmp").arg(i))));
    const Collection now = run(tree);

    const Comparison comparison(then, now);
    EXPECT_TRUE(comparison.warnings().isEmpty()) << comparison.warnings().join('\n').toStdString();
    ASSERT_GE(comparison.types().size(), 3u);
    const ChangeRow &logs = comparison.types()[0];
    EXPECT_EQ(logs.label, ".LOG") << "the largest byte change comes first";
    EXPECT_EQ(logs.figures.fileChange(), 1000);
    EXPECT_EQ(logs.figures.byteChange(), 10'240'000);
    const ChangeRow *scratch = rowOf(comparison.types(), ".TMP");
    ASSERT_TRUE(scratch);
    EXPECT_EQ(scratch->figures, (ChangeFigures{700, 200, 1'400'000, 400'000}));
    EXPECT_EQ(rowOf(comparison.types(), ".TXT")->figures.byteChange(), 0);
    EXPECT_EQ(comparison.totals().byteChange(), 10'240'000 - 1'000'000);

    // The folder that received the logs tops the growers, ahead of the folders it lies in; the
    // scratch folder tops the shrinkers.
    ASSERT_TRUE(comparison.hasFolders());
    const std::vector<ChangeRow> &folders = comparison.folders();
    ASSERT_FALSE(folders.empty());
    EXPECT_EQ(folders[0].label, tree.path("var/logs/new"));
    EXPECT_EQ(folders[0].figures, (ChangeFigures{0, 1000, 0, 10'240'000})) << "grown from 0";
    const auto firstShrunk = std::find_if(folders.begin(), folders.end(), [](const ChangeRow &r) {
        return r.figures.byteChange() < 0;
    });
    ASSERT_NE(firstShrunk, folders.end());
    EXPECT_EQ(firstShrunk->label, tree.path("scratch"));

    // The logs fill the later list: they are new (the earlier list held every file, so they were
    // not there), and every earlier file left the full list, its figure now unknown.
    const std::vector<ChangeRow> &files = comparison.files();
    ASSERT_EQ(files.size(), 1000u + 701u);
    EXPECT_EQ(files[0].figures, (ChangeFigures{0, 1, 0, 10240}));
    EXPECT_EQ(files[1000].label, tree.path("docs/letter.txt"));
    EXPECT_EQ(files[1000].figures, (ChangeFigures{1, 0, 3000, 0, true, false}));
    ASSERT_EQ(comparison.owners().size(), 1u);
    EXPECT_EQ(comparison.owners()[0].figures, (ChangeFigures{701, 1201, 1'403'000, 10'643'000}));
    EXPECT_TRUE(comparison.table(ComparisonPart::Files).notes.contains(fileRule()));

    // A collection without folder totals, written and read back: no folder table, and a line
    // that says why.
    Collection older = then;
    older.figures.folderTotals.clear();
    older.figures.driveFiles.clear();
    QTemporaryDir folder;
    QString message;
    ASSERT_TRUE(writeCollectionFile(folder.filePath("older.korvel98.json"), older, message));
    const CollectionRead read = readCollectionFile(folder.filePath("older.korvel98.json"));
    ASSERT_TRUE(read) << read.message.toStdString();
    const Comparison withoutFolders(*read.collection, now);
    EXPECT_FALSE(withoutFolders.hasFolders());
    const ReportTable table = withoutFolders.table(ComparisonPart::Folders);
    EXPECT_TRUE(table.rows.empty());
    ASSERT_EQ(table.notes.size(), 1);
    EXPECT_TRUE(table.notes[0].contains("the collection of then keeps no folder totals"));
    EXPECT_EQ(withoutFolders.warnings(), table.notes);
    EXPECT_TRUE(withoutFolders.files().empty());
    EXPECT_TRUE(withoutFolders.table(ComparisonPart::Owners)
                    .notes.value(0)
                    .contains("the collection of then keeps no largest files"));
}

// A folder deeper than the always-kept levels comes and goes with the 1 % line. Missing from a
// run, its figure there is unknown ("–", listed after the ranked folders) unless that run proves
// it absent: then it counts from or to 0.
TEST_F(CompareRuns, FoldersMissingFromOneRunCountAsZeroOnlyWhenProvedAbsent)
{
    struct Case
    {
        const char *what;
        QString folder; // the folder whose row is checked
        std::function<void(Tree &)> before, between;
        ChangeFigures expected;
    };
    const auto fill = [](const QString &folder, int files, qint64 size) {
        return [=](Tree &tree) {
            for (int i = 0; i < files; ++i)
                tree.file(QStringLiteral("%1/%2.bin").arg(folder).arg(i), size);
        };
    };
    const Case cases[] = {
        {"an untouched deep folder drops under the line when another folder grows",
         "a/b/c/deep",
         [&](Tree &t) { fill("a/b/c/deep", 2, 1000)(t), fill("big", 1, 98000)(t); },
         fill("grows", 3, 100000),
         {2, 0, 2000, 0, true, false}},
        {"a deep folder grows across the line",
         "a/b/c/deep",
         [&](Tree &t) { fill("a/b/c/deep", 1, 100)(t), fill("big", 1, 99900)(t); },
         fill("a/b/c/deep/more", 1, 50000),
         {0, 2, 0, 50100, false, true}},
        {"a folder deleted at depth 2 is proved absent",
         "x/y",
         [&](Tree &t) { fill("x/y", 4, 5000)(t), fill("big", 1, 80000)(t); },
         [](Tree &t) { EXPECT_TRUE(QDir(t.path("x/y")).removeRecursively()); },
         {4, 0, 20000, 0}},
        {"a deep folder deleted inside a kept folder with all its subfolders is proved absent",
         "a/b/c/d/e",
         [&](Tree &t) {
             fill("a/b/c/d/e", 2, 10000)(t), fill("a/b/c/d", 1, 10000)(t);
             fill("big", 1, 70000)(t);
         },
         [](Tree &t) { EXPECT_TRUE(QDir(t.path("a/b/c/d/e")).removeRecursively()); },
         {2, 0, 20000, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Tree tree(true);
        c.before(tree);
        const Collection then = run(tree);
        c.between(tree);
        const Comparison comparison(then, run(tree));
        const std::vector<ChangeRow> &folders = comparison.folders();
        const ChangeRow *row = rowOf(folders, tree.path(c.folder));
        ASSERT_TRUE(row);
        EXPECT_EQ(row->figures, c.expected);
        if (c.expected.changeKnown())
            continue;
        EXPECT_TRUE(std::all_of(row, folders.data() + folders.size(), [](const ChangeRow &r) {
            return !r.figures.changeKnown();
        })) << "an unknown change is not ranked";
        const ReportTable table = comparison.table(ComparisonPart::Folders);
        EXPECT_EQ(table.rows.back().back().text, QStringLiteral("\u2013"));
        EXPECT_EQ(table.notes, QStringList{folderRule()});
    }
}

// Which differences between two runs are flagged, and what the warning names.
TEST(Comparison, DifferentFiltersAndDrivesAreFlagged)
{
    Collection base;
    base.facts.complete = true;
    for (const auto &[letter, mountPoint] : {std::pair{'c', "/"}, std::pair{'d', "/home"}}) {
        DriveFacts drive;
        drive.letter = QChar(letter);
        drive.mountPoint = mountPoint;
        drive.walked = true;
        base.facts.drives.push_back(drive);
    }
    using Mode = Filter::Mode;
    const QStringList docTxt = {"*.doc\tWord document", "*.txt\tText"};
    base.figures.filter = Filter(Mode::Include, docTxt);
    const struct
    {
        const char *what;
        std::function<void(Collection &)> change;
        const char *warning; // empty: none expected
    } cases[] = {
        {"same", [](Collection &) {}, ""},
        {"descriptions and case differ",
         [](Collection &c) {
             c.figures.filter = Filter(Mode::Include, {"*.TXT\tanother", "*.doc\t"});
         },
         ""},
        {"a type more",
         [&](Collection &c) {
             c.figures.filter = Filter(Mode::Include, docTxt + QStringList{"*.log\tLog"});
         },
         "filters differ (then: only *.doc, *.txt; now: only *.doc, *.log, *.txt)"},
        {"many types",
         [&](Collection &c) {
             c.figures.filter =
                 Filter(Mode::Include, docTxt + QStringList{"*.a\t", "*.b\t", "*.c\t", "*.d\t"});
         },
         "now: only *.a, *.b, *.c, *.d and 2 more)"},
        {"exclude instead of include",
         [&](Collection &c) { c.figures.filter = Filter(Mode::Exclude, docTxt); },
         "now: all but *.doc, *.txt)"},
        {"all types", [](Collection &c) { c.figures.filter = Filter(); }, "now: all types)"},
        {"a drive less", [](Collection &c) { c.facts.drives[1].walked = false; },
         "drives differ (then: C: /, D: /home; now: C: /)"},
        {"letters swapped, same mounts",
         [](Collection &c) { std::swap(c.facts.drives[0].letter, c.facts.drives[1].letter); }, ""},
        {"stopped", [](Collection &c) { c.facts.complete = false; }, "run of now was stopped"},
    };
    for (const auto &c : cases) {
        Collection now = base;
        c.change(now);
        const Comparison comparison(base, now);
        // Neither has folder totals: that line comes last and is left out here.
        QStringList warnings = comparison.warnings();
        ASSERT_FALSE(warnings.isEmpty());
        warnings.removeLast();
        if (QString(c.warning).isEmpty())
            EXPECT_TRUE(warnings.isEmpty()) << c.what << ": " << warnings.join('\n').toStdString();
        else
            EXPECT_TRUE(warnings.size() == 1 && warnings[0].contains(c.warning))
                << c.what << ": " << warnings.join('\n').toStdString();
        EXPECT_EQ(comparison.table(ComparisonPart::Summary).notes, comparison.warnings()) << c.what;
        // Every table the difference touches carries it; the folders are matched by drive.
        EXPECT_EQ(comparison.table(ComparisonPart::Types).notes, warnings) << c.what;
        if (!QString(c.warning).startsWith("drives")) {
            EXPECT_EQ(comparison.table(ComparisonPart::Folders).notes, comparison.warnings());
        }
        // A table's CSV ends with them; with nothing to say it is the table alone.
        const QByteArray typesCsv = comparisonCsv(comparison, ComparisonPart::Types);
        if (QString(c.warning).isEmpty())
            EXPECT_EQ(typesCsv, reportCsv(comparison.table(ComparisonPart::Types))) << c.what;
        else
            EXPECT_TRUE(typesCsv.endsWith(csvField(ReportCell::ofText(warnings[0])) + "\r\n") &&
                        typesCsv.contains(c.warning))
                << c.what;
    }
}

// The time between runs: hours and minutes within a day, whole days beyond.
TEST(Comparison, TimeBetweenRunsReadsAtItsScale)
{
    const QDateTime start(QDate(2026, 12, 8), QTime(0, 36));
    const struct
    {
        qint64 seconds;
        const char *shown;
    } cases[] = {
        {3 * 3600 + 5 * 60, "3 h 05 min"}, {-40 * 60, "-0 h 40 min"}, {2 * 86400, "2 days"}};
    for (const auto &c : cases) {
        Collection then, now;
        then.facts.started = start;
        now.facts.started = start.addSecs(c.seconds);
        EXPECT_EQ(Comparison(then, now).table(ComparisonPart::Summary).rows[0][3].text, c.shown);
    }
}

// Changes keep their sign and stay within 64 bits; a growth shows with "+", a CSV file has the
// plain number.
TEST(Comparison, ChangesKeepTheirSign)
{
    korvel::test::LocaleGuard locale(korvel::test::commaLocale());
    const struct
    {
        std::uint64_t then, now;
        std::int64_t change;
        const char *shown;
        const char *csv;
    } cases[] = {
        {0, 1000, 1000, "+1,000", "1000"},
        {700, 200, -500, "-500", "-500"},
        {5, 5, 0, "0", "0"},
        {0, UINT64_MAX, INT64_MAX, "+9,223,372,036,854,775,807", "9223372036854775807"},
        {UINT64_MAX, 0, INT64_MIN, "-9,223,372,036,854,775,808", "-9223372036854775808"},
    };
    for (const auto &c : cases) {
        const ChangeFigures figures{0, 0, c.then, c.now};
        EXPECT_EQ(figures.byteChange(), c.change) << c.then << " to " << c.now;
        EXPECT_EQ(ReportCell::ofChange(figures.byteChange()).shown(), c.shown);
        EXPECT_EQ(csvField(ReportCell::ofChange(figures.byteChange())), c.csv);
    }
}

// The total bytes of a run are the sum of its size classes, held at the largest 64-bit number
// rather than wrapped past it.
TEST(Comparison, TotalBytesHoldAtTheLargestNumber)
{
    Collection then, now;
    then.figures.sizeBytes[1] = 1000;
    then.figures.sizeBytes[12] = 24;
    now.figures.sizeBytes[1] = now.figures.sizeBytes[12] = 1.5e19;
    const ChangeFigures totals = Comparison(then, now).totals();
    EXPECT_EQ(totals.bytesThen, 1024u);
    EXPECT_EQ(totals.bytesNow, UINT64_MAX);
}

} // namespace

namespace {

// The history offers the runs of the same drives first, newest first, then the others; the
// file of the run being compared and a damaged file are not offered.
TEST(Comparison, EarlierRunsOfTheSameDrivesComeFirst)
{
    QTemporaryDir folder;
    const auto keep = [&](int day, const char *mountPoint) {
        Collection run;
        run.facts.started = QDateTime(QDate(2026, 12, day), QTime(9, 0));
        run.facts.ended = run.facts.started.addSecs(60);
        DriveFacts drive;
        drive.letter = 'c';
        drive.mountPoint = mountPoint;
        drive.walked = true;
        run.facts.drives = {drive};
        run.figures.filter =
            Filter(day == 6 ? Filter::Mode::Exclude : Filter::Mode::Include, {"*.txt\tText"});
        const platform::Outcome<QString> kept = keepInHistory(run, folder.path());
        EXPECT_TRUE(kept) << kept.message().toStdString();
        return std::pair{kept ? *kept : QString(), run.facts};
    };
    const auto [older, olderFacts] = keep(1, "/home");
    const auto [other, otherFacts] = keep(6, "/data");
    const auto [newer, newerFacts] = keep(3, "/home");
    const auto [now, nowFacts] = keep(7, "/home");
    QFile damaged(folder.filePath("2026-12-05T09-00-00_c.korvel98.json"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("{");
    damaged.close();

    // A second copy of the run shown is that run too, under another name.
    const auto [copy, copyFacts] = keep(7, "/home");

    QStringList offered, labels;
    const korvel::test::LocaleGuard locale{korvel::test::commaLocale()};
    for (const EarlierRun &run : earlierRuns(folder.path(), nowFacts, now)) {
        offered << run.path + (run.sameDrives ? " same" : " other");
        labels << earlierRunLabel(run).section(QStringLiteral(" \u00B7 "), 1);
    }
    EXPECT_EQ(offered, (QStringList{newer + " same", older + " same", other + " other"}));
    EXPECT_EQ(labels, (QStringList{"C: \u00B7 only 1 type \u00B7 0 files",
                                   "C: \u00B7 only 1 type \u00B7 0 files",
                                   "C: \u00B7 all but 1 type \u00B7 0 files"}));
}

} // namespace

namespace {

// A one-drive run whose folder table holds these folders: {path, bytes}, the root first.
Collection runWithFolders(const std::vector<std::pair<QByteArray, std::uint64_t>> &folders)
{
    Collection run;
    DriveFacts drive;
    drive.letter = 'c';
    drive.mountPoint = "/m";
    drive.walked = true;
    run.facts.drives = {drive};
    DriveFolders table{'c', {}};
    for (const auto &[path, bytes] : folders)
        table.folders.push_back({path, 1, bytes, 1, bytes});
    run.figures.folderTotals = {table};
    return run;
}

std::vector<std::pair<QByteArray, std::uint64_t>> numbered(int count, std::uint64_t bytes)
{
    std::vector<std::pair<QByteArray, std::uint64_t>> folders{{"", 0}};
    for (int i = 0; i < count; ++i)
        folders.push_back({QByteArray("f") + QByteArray::number(i), bytes + std::uint64_t(i)});
    return folders;
}

// Which folders the comparison lists, and in what order: the root never (its change is the
// summary's), at most 25 growers and 25 shrinkers, and among equal changes the deeper folder
// first, then by name.
TEST(Comparison, FolderRowsFollowTheListingRules)
{
    const struct
    {
        const char *what;
        std::vector<std::pair<QByteArray, std::uint64_t>> then, now;
        QStringList labels; // empty: only the counts below are checked
        std::size_t grown, shrunk;
    } cases[] = {
        {"only the root changed", {{"", 10}, {"a", 5}}, {{"", 99}, {"a", 5}}, {}, 0, 0},
        {"30 grew", numbered(30, 0), numbered(30, 100), {}, 25, 0},
        {"30 shrank", numbered(30, 100), numbered(30, 0), {}, 0, 25},
        {"equal changes",
         {{"", 0}, {"y", 0}, {"x", 0}, {"x/deep", 0}},
         {{"", 30}, {"y", 10}, {"x", 10}, {"x/deep", 10}},
         {"/m/x/deep", "/m/x", "/m/y"},
         3,
         0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        const Comparison comparison(runWithFolders(c.then), runWithFolders(c.now));
        std::size_t grown = 0, shrunk = 0;
        QStringList labels;
        for (const ChangeRow &row : comparison.folders()) {
            (row.figures.byteChange() > 0 ? grown : shrunk) += 1;
            labels << row.label;
        }
        EXPECT_EQ(grown, c.grown);
        EXPECT_EQ(shrunk, c.shrunk);
        if (!c.labels.isEmpty()) {
            EXPECT_EQ(labels, c.labels);
        }
    }
}

} // namespace

namespace {

// Type rows go by the size of the byte change, then of the file change, then by extension.
TEST(Comparison, TypeRowsGoByByteChangeThenFileChange)
{
    Collection then, now;
    // {extension, files then, files now, bytes then, bytes now}
    const struct
    {
        const char *extension;
        std::int64_t filesThen, filesNow;
        std::uint64_t bytesThen, bytesNow;
    } rows[] = {
        {".A", 1, 2, 100, 110}, {".B", 1, 9, 100, 110}, {".C", 5, 1, 100, 90},
        {".D", 1, 1, 100, 500}, {".E", 1, 2, 100, 90},
    };
    for (const auto &r : rows) {
        then.figures.lbTypes.putRow(r.extension, r.filesThen, r.bytesThen);
        now.figures.lbTypes.putRow(r.extension, r.filesNow, r.bytesNow);
    }
    const Comparison comparison(then, now);
    QStringList order;
    for (const ChangeRow &row : comparison.types())
        order << row.label;
    EXPECT_EQ(order, (QStringList{".D", ".B", ".C", ".A", ".E"}));
}

// Every hand-written JSON escapes a text as the collection files do; names reach it already
// escaped, so a raw control character is rare but stays valid JSON.
TEST(JsonText, EscapesAsTheCollectionFilesDo)
{
    const struct
    {
        QString text;
        QByteArray json;
    } cases[] = {
        {"plain", "\"plain\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"a\\b", "\"a\\\\b\""},
        {".DOC\t3\t100", "\".DOC\\t3\\t100\""},
        {QString(QChar(1)), "\"\\u0001\""},
        {"äö", "\"äö\""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(jsonText(c.text), c.json) << c.text.toStdString();
}

} // namespace
