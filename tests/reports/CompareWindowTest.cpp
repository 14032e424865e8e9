#include "reports/CompareWindow.h"

#include "StatisticsFixture.h"
#include "charts/Chart.h"
#include "controls/Notebook.h"

#include <QAccessible>
#include <QLabel>
#include <QStackedWidget>
#include <QTableView>
#include <QTreeWidget>

namespace {

QStringList row(const QTableView &view, int row)
{
    QStringList texts;
    for (int column = 0; column < view.model()->columnCount(); ++column)
        texts << view.model()->index(row, column).data().toString();
    return texts;
}

// A run with 2 logs and 3 scratch files, and one a week later: 5 more logs and no scratch files.
Collection collection(int day, std::int64_t logs, std::int64_t scratch)
{
    Collection c;
    c.facts.started = QDateTime(QDate(2026, 12, day), QTime(9, 0));
    c.facts.ended = c.facts.started.addSecs(60);
    c.facts.complete = true;
    DriveFacts drive;
    drive.letter = 'c';
    drive.mountPoint = "/home";
    drive.walked = true;
    c.facts.drives = {drive};
    c.figures.filter = Filter();
    c.figures.filesProcessed = c.figures.filesFound = logs + scratch;
    c.figures.lbTypes.putRow(".LOG", logs, std::uint64_t(logs) * 100);
    if (scratch)
        c.figures.lbTypes.putRow(".TMP", scratch, std::uint64_t(scratch) * 10);
    c.figures.sizeFiles[1] = double(logs + scratch);
    c.figures.sizeBytes[1] = double(logs * 100 + scratch * 10);
    for (auto *files :
         {&c.figures.ageAccessedFiles, &c.figures.ageCreatedFiles, &c.figures.ageModifiedFiles})
        (*files)[1] = c.figures.sizeFiles[1];
    for (auto *bytes :
         {&c.figures.ageAccessedBytes, &c.figures.ageCreatedBytes, &c.figures.ageModifiedBytes})
        (*bytes)[1] = c.figures.sizeBytes[1];
    return c;
}

struct CompareWindowTest : ::testing::Test
{
    void SetUp() override
    {
        setMessageHook([this](MessageKind, const QString &text) {
            errors << text;
            return true;
        });
        window.compareWith(collection(1, 2, 3));
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.activateWindow();
    }
    void TearDown() override { setMessageHook({}); }

    korvel::test::LocaleGuard locale{korvel::test::commaLocale()};
    CompareWindow window;
    QTemporaryDir folder;
    QStringList errors;
};

// The types come largest change first with the chart beside them; the keys go from the table to
// the buttons, and Escape closes the window.
TEST_F(CompareWindowTest, ComparisonReadsByKeysAndOnTheBus)
{
    window.pickFor(collection(8, 7, 0), QString());
    window.compareWith(collection(1, 2, 3));
    const QTableView &types = *window.tables[int(ComparisonPart::Types)];
    EXPECT_EQ(row(types, 0), (QStringList{".LOG", types.model()->index(0, 1).data().toString(), "2",
                                          "7", "+5", "200", "700", "+500"}));
    EXPECT_EQ(row(types, 1).mid(2), (QStringList{"3", "0", "-3", "30", "0", "-30"}));
    QAccessibleInterface *chart = QAccessible::queryAccessibleInterface(window.chart);
    ASSERT_NE(chart->tableInterface(), nullptr);
    EXPECT_EQ(chart->text(QAccessible::Name), "The largest changes of bytes by type");
    EXPECT_EQ(chart->tableInterface()->rowDescription(1), ".TMP");
    EXPECT_EQ(chart->tableInterface()->cellAt(1, 0)->text(QAccessible::Name), "-30");

    QAccessibleInterface *reader =
        QAccessible::queryAccessibleInterface(window.tables[int(ComparisonPart::Summary)]);
    ASSERT_NE(reader, nullptr);
    ASSERT_NE(reader->tableInterface(), nullptr);
    EXPECT_EQ(reader->text(QAccessible::Name), "Summary then and now");
    EXPECT_EQ(reader->tableInterface()->cellAt(4, 3)->text(QAccessible::Name), "+470");

    EXPECT_EQ(QApplication::focusWidget(), window.tables[int(ComparisonPart::Summary)]);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.btOther);
    QTest::keyClick(window.btOther, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.btExport);
    QTest::keyClick(window.btExport, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.btClose);
    QTest::keyClick(window.btClose, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
}

// The files and owners share one tab: a file new in the later list and the user's change; with
// an earlier collection that kept neither, the tab says so instead of showing empty tables.
TEST_F(CompareWindowTest, FilesAndOwnersShareATab)
{
    Collection then = collection(1, 2, 3), now = collection(8, 7, 0);
    then.figures.driveFiles = {{'c', {{"a.log", 100, 0, 7, 7}}, 5, {{7, 5, 230, "ann"}}, {}}};
    now.figures.driveFiles = {{'c', {{"b.log", 300, 0, 7, 7}}, 1, {{7, 7, 700, ""}}, {}}};
    window.pickFor(now, QString());
    window.compareWith(then);
    const QTableView &files = *window.tables[int(ComparisonPart::Files)];
    const QTableView &owners = *window.tables[int(ComparisonPart::Owners)];
    EXPECT_EQ(row(files, 0),
              (QStringList{"/home/b.log", "\u2013", "1", "\u2013", "\u2013", "300", "\u2013"}));
    EXPECT_EQ(row(owners, 0), (QStringList{"ann", "5", "7", "+2", "230", "700", "+470"}));
    window.notebook->setPageIndex(int(ComparisonPart::Files));
    EXPECT_TRUE(owners.isVisible());
    then.figures.driveFiles.clear();
    window.compareWith(then);
    EXPECT_FALSE(owners.isVisible());
    EXPECT_TRUE(
        window.notes[int(ComparisonPart::Files)]->text().contains("then keeps no largest files"));
}

// A heading sorts a table by its column, texts without regard to case and changes by their sign;
// no column puts the comparison's order back. The row picked stays picked.
TEST_F(CompareWindowTest, HeadingsSortTheRowsAndKeepThePickedOne)
{
    window.pickFor(collection(8, 7, 0), QString());
    window.compareWith(collection(1, 2, 3));
    QTableView &types = *window.tables[int(ComparisonPart::Types)];
    types.setCurrentIndex(types.model()->index(1, 0));
    const struct
    {
        int column;
        Qt::SortOrder order;
        QStringList labels;
    } cases[] = {
        {0, Qt::DescendingOrder, {".TMP", ".LOG"}}, {0, Qt::AscendingOrder, {".LOG", ".TMP"}},
        {4, Qt::AscendingOrder, {".TMP", ".LOG"}},  {5, Qt::DescendingOrder, {".LOG", ".TMP"}},
        {5, Qt::AscendingOrder, {".TMP", ".LOG"}},  {-1, Qt::AscendingOrder, {".LOG", ".TMP"}}};
    for (const auto &c : cases) {
        types.sortByColumn(c.column, c.order);
        EXPECT_EQ((QStringList{row(types, 0)[0], row(types, 1)[0]}), c.labels) << c.column;
        EXPECT_EQ(types.currentIndex().siblingAtColumn(0).data(), ".TMP") << c.column;
    }
}

// A file that is no collection gets one message and the list stays; a good one compares.
TEST_F(CompareWindowTest, BrowsedFilesAreReadOrRefused)
{
    window.pickFor(collection(8, 7, 0), folder.path());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.listingHistory(); }));
    EXPECT_EQ(window.lvCollections->topLevelItemCount(), 0);
    const QString bad = folder.filePath("bad.korvel98.json");
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not json");
    file.close();
    QString good = folder.filePath("good.korvel98.json");
    QString message;
    ASSERT_TRUE(writeCollectionFile(good, collection(1, 2, 3), message));

    for (const QString &path : {bad, good}) {
        window.askCollectionFile = [path] { return path; };
        QTest::keyClick(window.btBrowse, Qt::Key_Space);
    }
    ASSERT_EQ(errors.size(), 1) << errors.join('\n').toStdString();
    EXPECT_TRUE(errors[0].contains("bad.korvel98.json")) << errors[0].toStdString();
    EXPECT_EQ(window.stages->currentIndex(), 1);
    EXPECT_EQ(window.comparison()->totals().fileChange(), 2);
}

// A table as CSV, every table as a PDF with page numbers; a file that cannot be written gets a
// message and leaves nothing behind.
TEST_F(CompareWindowTest, ExportsWriteWholeFilesOrNone)
{
    const QString csv = folder.filePath("types.csv"), pdf = folder.filePath("all.pdf");
    ASSERT_TRUE(window.exportComparison({ComparisonPart::Types, csv}));
    EXPECT_TRUE(korvel::test::fileBytes(csv).startsWith(
        "Extension,Type,Files then,Files now,Files change,Bytes then,Bytes now,Bytes change\r\n"
        ".LOG,"));
    window.askExport = [pdf] { return CompareExport{std::nullopt, pdf}; };
    QTest::keyClick(window.btExport, Qt::Key_Space);
    const QString printed = korvel::test::pdfText(pdf);
    EXPECT_TRUE(printed.contains("Bytes change")) << printed.toStdString();
    for (const char *part : {"Summary", "Types", "Sizes", "Attributes", "Folders", "Page 1"})
        EXPECT_TRUE(printed.contains(part)) << part;
    EXPECT_GE(korvel::test::pdfLeastTextMarginMm(pdf), 10.0);

    const QString nowhere = folder.filePath("missing/types.csv");
    EXPECT_FALSE(window.exportComparison({ComparisonPart::Types, nowhere}));
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("Could not write the file " + nowhere));
    EXPECT_FALSE(QFile::exists(nowhere));
}

// Runs with different filters: every table's page says so under it, not only the summary's.
TEST_F(CompareWindowTest, EveryTableSaysWhenItsFiguresDoNotCompare)
{
    Collection logsOnly = collection(8, 7, 0);
    logsOnly.figures.filter = Filter(Filter::Mode::Include, {"*.log\tLog"});
    window.pickFor(logsOnly, QString());
    window.compareWith(collection(1, 2, 3));
    // The owners share the files' page and its note.
    for (int part = 0; part <= int(ComparisonPart::Files); ++part) {
        const QLabel *note = window.notes[std::size_t(part)];
        EXPECT_TRUE(!note->isHidden() && note->text().contains("now: only *.log"))
            << part << ": " << note->text().toStdString();
    }
}

using CompareMenu = StatisticsFixture;

// "Compare with..." waits for a run; after two runs it offers the first (not the run shown) and
// Enter compares with it; a later run is compared with it too.
TEST_F(CompareMenu, SecondRunComparesWithTheFirst)
{
    window->historyFolder = home.filePath("history");
    EXPECT_FALSE(window->CompareWith1->isEnabled());
    run();
    QDir(home.filePath("c")).mkpath("new");
    for (const char *name : {"c/new/6.txt", "c/new/7.txt"}) {
        QFile file(home.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    run();
    ASSERT_TRUE(window->CompareWith1->isEnabled());
    window->CompareWith1->trigger();
    auto *shown = window->findChild<CompareWindow *>();
    ASSERT_NE(shown, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shown->listingHistory(); }));
    ASSERT_EQ(shown->lvCollections->topLevelItemCount(), 1);
    QTest::keyClick(shown->lvCollections, Qt::Key_Return);
    ASSERT_NE(shown->comparison(), nullptr);
    EXPECT_EQ(shown->comparison()->types()[0].label, ".TXT");
    EXPECT_EQ(shown->comparison()->types()[0].figures.fileChange(), 2);
    EXPECT_TRUE(shown->comparison()->warnings().isEmpty());

    // A further run: the open comparison compares the same earlier run with it.
    QFile(home.filePath("c/new/8.txt")).open(QIODevice::WriteOnly);
    run();
    EXPECT_EQ(shown->stages->currentIndex(), 1);
    EXPECT_EQ(shown->comparison()->types()[0].figures.fileChange(), 3);
}

} // namespace
