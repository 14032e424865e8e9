#include "reports/TypesPage.h"

#include "charts/Chart.h"
#include "charts/PieSeries.h"
#include "controls/Notebook.h"
#include "controls/StringGrid.h"
#include "platform/TypeRegistry.h"
#include "reports/PageAlone.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using korvel::test::LocaleGuard;

// The Types page alone in a notebook, after the Space page, reading an engine's results.
class TypesPageTest : public korvel::test::PageOverEngine
{
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        auto registry = std::make_unique<platform::TableTypeRegistry>();
        registry->addExtension(".txt", "txtfile");
        registry->addClass("txtfile", "Text Document");
        registry->addExtension(".doc", "docfile");
        registry->addClass("docfile", "Word Document");
        platform::setTypeRegistry(std::move(registry));
        notebook.addPage("Space", new QWidget);
        page = new TypesPage(context, &notebook);
        notebook.addPage("Types", page);
        notebook.setPageIndex(1);
    }
    void TearDown() override
    {
        platform::setTypeRegistry(nullptr);
        EngineTest::TearDown();
    }

    void choose(TypesPage::View view) { page->rgTypesButtons->button(view)->click(); }
    // Extensions with their file counts and byte totals, as a run would leave them.
    void counted(const QList<std::tuple<QString, int, std::int64_t>> &rows)
    {
        engine.lbTypes.clear();
        for (const auto &[extension, files, bytes] : rows) {
            engine.lbTypes.insertType(extension, bytes, true);
            for (int f = 0; f < files; ++f)
                engine.lbTypes.insertType(extension, 0, false);
        }
    }
    QStringList column(int c) const
    {
        QStringList cells;
        for (int r = 1; r < page->gridTypes->rowCount() - 1; ++r)
            cells << page->gridTypes->cell(c, r);
        return cells;
    }
    QStringList totals() const
    {
        return page->gridTypes->rowCells(page->gridTypes->rowCount() - 1);
    }
    QList<QAction *> checked() const
    {
        QList<QAction *> items;
        for (QAction *item : page->PopupMenu1->actions())
            if (item->isChecked())
                items << item;
        return items;
    }

    TypesPage *page = nullptr;
};

TEST_F(TypesPageTest, ListingAfterARunShowsEachExtensionWithNameFiguresAndTotals)
{
    korvel::test::Tree tree;
    tree.file("a.txt", 100);
    tree.file("sub/b.txt", 2000000);
    tree.file("one.abc", 1);
    tree.file("two.abc", 2);
    tree.file("README", 5);
    tree.file("empty1.doc");
    tree.file("empty2.doc");
    choose(TypesPage::Listing);
    runOver(tree, *page);

    const QList<QStringList> expected = {
        {"", "", "5", "1", "5"},
        {".ABC", "ABC File", "3", "2", "2"},
        {".DOC", "Word Document", "0", "2", "0"},
        {".TXT", "Text Document", "2,000,100", "2", "1,000,050"},
    };
    ASSERT_EQ(page->gridTypes->rowCount(), int(expected.size()) + 2);
    EXPECT_EQ(page->gridTypes->rowCells(0),
              QStringList({"Extension", "Type", "Size", "# Files", "Avg File Size"}));
    for (int r = 0; r < expected.size(); ++r)
        EXPECT_EQ(page->gridTypes->rowCells(r + 1), expected[r]) << r;
    EXPECT_EQ(totals(), QStringList({"", "Totals", "2,000,108", "7", ""}));
    for (int c = 0; c < 5; ++c)
        for (int r : {0, 2, 5})
            EXPECT_EQ(page->gridTypes->cellAlignment(c, r) & Qt::AlignHorizontal_Mask,
                      c >= 2 ? Qt::AlignRight : Qt::AlignLeft);
    EXPECT_TRUE(page->gridTypes->isVisibleTo(page));
    EXPECT_FALSE(page->chartPie->isVisibleTo(page));
    EXPECT_TRUE(page->btSort->isVisibleTo(page));
}

TEST_F(TypesPageTest, SelectedTypesWithoutFilesShowZerosAndGiveNoSlice)
{
    counted({{".doc", 3, 3000}, {".txt", 1, 500}});
    engine.filter = Filter(Filter::Mode::Include, {"*.doc\tWord Document", "*.pdf\tPDF document"});
    page->refill();
    EXPECT_EQ(column(0), QStringList({".DOC", ".PDF", ".TXT"}));
    EXPECT_EQ(page->gridTypes->rowCells(2), QStringList({".PDF", "PDF File", "0", "0", "0"}));
    EXPECT_EQ(engine.lbTypes.count(), 2) << "the run's own table is left alone";

    ASSERT_EQ(page->Series2->count(), 2);
    EXPECT_EQ(page->Series2->point(1).label, "Text Document");
    EXPECT_EQ(page->Series2->point(1).colour, colours[2]);
}

TEST_F(TypesPageTest, FiveSortsMoveWholeRowsAndTheCheckMark)
{
    counted({{".b", 1, 50}, {".A", 4, 400}, {".c", 2, 300}, {".txt", 3, 30}});
    choose(TypesPage::Listing);
    page->refill();
    struct Case
    {
        QAction *item;
        QStringList extensions;
    };
    const QList<Case> cases = {
        {page->SortbySize, {".A", ".C", ".B", ".TXT"}},
        {page->SortbyNumFiles, {".A", ".TXT", ".C", ".B"}},
        {page->SortbyAverageFileSize1, {".C", ".A", ".B", ".TXT"}},
        {page->SortbyType, {".A", ".B", ".C", ".TXT"}}, // "A File", ..., "Text Document"
        {page->SortbyExtension, {".A", ".B", ".C", ".TXT"}},
    };
    for (const Case &c : cases) {
        c.item->trigger();
        EXPECT_EQ(column(0), c.extensions) << c.item->text().toStdString();
        EXPECT_EQ(checked(), QList<QAction *>({c.item}));
        EXPECT_EQ(page->gridTypes->cell(0, 0), "Extension");
        EXPECT_EQ(totals(), QStringList({"", "Totals", "780", "10", ""}));
    }
    page->SortbySize->trigger();
    EXPECT_EQ(page->gridTypes->rowCells(1), QStringList({".A", "A File", "400", "4", "100"}));
}

TEST_F(TypesPageTest, WithoutFilesOrWithOneRowTheSortsDoNothing)
{
    choose(TypesPage::Listing);
    page->refill();
    EXPECT_EQ(page->gridTypes->rowCount(), 2);
    EXPECT_EQ(totals(), QStringList({"", "Totals", "0", "0", ""}));

    counted({{".txt", 1, 30}});
    page->refill();
    page->SortbySize->trigger();
    EXPECT_EQ(checked(), QList<QAction *>({page->SortbyExtension}));
    choose(TypesPage::PieBySize);
    EXPECT_EQ(checked(), QList<QAction *>({page->SortbyExtension}));
}

TEST_F(TypesPageTest, PiesShowTheTwelveLargestOfTheirMeasureAndLeaveTheListingSortedByIt)
{
    QList<std::tuple<QString, int, std::int64_t>> rows;
    for (int k = 1; k <= 14; ++k)
        rows.append({QStringLiteral(".e%1").arg(k), 15 - k, k * 1000});
    counted(rows);
    page->refill();
    EXPECT_EQ(checked(), QList<QAction *>({page->SortbyExtension})) << "a run ends sorted";
    EXPECT_EQ(column(0).mid(0, 3), QStringList({".E1", ".E10", ".E11"}));

    choose(TypesPage::PieByFiles);
    EXPECT_EQ(column(3).first(), "14");
    EXPECT_EQ(checked(), QList<QAction *>({page->SortbyNumFiles}));

    choose(TypesPage::PieBySize);
    ASSERT_EQ(page->Series2->count(), 12);
    for (int k = 0; k < 12; ++k) {
        EXPECT_EQ(page->Series2->value(k), (14 - k) * 1000.0);
        EXPECT_EQ(page->Series2->point(k).colour, colours[k + 1]);
    }
    // 3, 4 and 5 thousand are each under 5 % of the 102 thousand shown.
    const QList<PieSlice> slices = page->Series2->slices();
    ASSERT_EQ(slices.size(), 10);
    EXPECT_EQ(slices.last().label, "Other");
    EXPECT_EQ(slices.last().value, 12000.0);
    EXPECT_TRUE(page->chartPie->isVisibleTo(page));
    EXPECT_FALSE(page->btSort->isVisibleTo(page));
}

// With eleven extensions every row makes a slice: the twelfth row of the grid, its totals,
// never does, by size or by number of files.
TEST_F(TypesPageTest, TheTotalsRowIsNeverASlice)
{
    QList<std::tuple<QString, int, std::int64_t>> rows;
    for (int k = 1; k <= 11; ++k)
        rows.append({QStringLiteral(".e%1").arg(k), k, 100 * k});
    counted(rows);
    choose(TypesPage::Listing);
    page->refill();
    for (const TypesPage::View pie : {TypesPage::PieBySize, TypesPage::PieByFiles}) {
        choose(pie);
        ASSERT_EQ(page->Series2->count(), 11) << pie;
        double sum = 0;
        for (int i = 0; i < 11; ++i) {
            EXPECT_NE(page->Series2->point(i).label, "Totals");
            sum += page->Series2->value(i);
        }
        EXPECT_EQ(sum, pie == TypesPage::PieBySize ? 6600 : 66);
    }
}

// Files of the excluded types are not counted, and their types get no row either.
TEST_F(TypesPageTest, AnExcludeRunListsNoExcludedType)
{
    korvel::test::Tree tree;
    tree.file("a.txt", 10);
    tree.file("b.doc", 20);
    tree.file("c.abc", 30);
    engine.filter = Filter(Filter::Mode::Exclude, {"*.doc\tWord Document", "*.pdf\tPDF document"});
    choose(TypesPage::Listing);
    runOver(tree, *page);
    EXPECT_EQ(column(0), QStringList({".ABC", ".TXT"}));
    EXPECT_EQ(totals(), QStringList({"", "Totals", "40", "2", ""}));
}

// A new run blanks the last one's listing: its rows, its totals and the line below it.
TEST_F(TypesPageTest, ANewRunLeavesNothingOfTheOldListing)
{
    counted({{".doc", 3, 3000}, {".txt", 1, 500}});
    engine.lbTypes.countFile(".desktop", 1);
    choose(TypesPage::Listing);
    page->refill();
    ASSERT_EQ(totals()[2], "3,500");
    ASSERT_TRUE(page->lblLonger->isVisibleTo(page));

    page->runStarting();
    for (int r = 1; r < page->gridTypes->rowCount(); ++r)
        EXPECT_EQ(page->gridTypes->rowCells(r), QStringList(5)) << r;
    EXPECT_FALSE(page->lblLonger->isVisibleTo(page));
    page->SortbySize->trigger();
    EXPECT_EQ(page->gridTypes->rowCells(1), QStringList(5)) << "a sort brings no old row back";
}

// Files whose extensions are too long for a row are named in one line below the listing and its
// printout; the listing and its totals stay as they are.
TEST_F(TypesPageTest, FilesWithLongerExtensionsAreToldBelowTheListing)
{
    korvel::test::Tree tree;
    tree.file("a.desktop", 1);
    tree.file("b.desktop", 1);
    tree.file("c.service", 1);
    tree.file("d.txt", 7);
    choose(TypesPage::Listing);
    runOver(tree, *page);
    const QString line = "3 files with longer extensions (such as .desktop) are not listed.";
    EXPECT_EQ(totals(), QStringList({"", "Totals", "7", "1", ""}));
    EXPECT_EQ(page->lblLonger->text(), line);
    EXPECT_TRUE(page->lblLonger->isVisibleTo(page));
    EXPECT_LE(page->gridTypes->geometry().bottom(), page->lblLonger->geometry().top());

    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("types.pdf"));
    page->printTarget().printGrid(printer);
    EXPECT_TRUE(korvel::test::pdfText(dir.filePath("types.pdf")).contains(line));

    choose(TypesPage::PieBySize);
    EXPECT_FALSE(page->lblLonger->isVisibleTo(page));
}

// The listing stands in the run table's order, the one the scan tool writes too, also for
// extensions whose characters and the locale's collation disagree.
TEST_F(TypesPageTest, TheListingKeepsTheRunTablesOrder)
{
    counted({{".f", 1, 1}, {".é", 1, 1}, {".ab", 1, 1}, {".a_b", 1, 1}, {".e", 1, 1}});
    QStringList tableOrder;
    for (int i = 0; i < engine.lbTypes.count(); ++i)
        tableOrder << engine.lbTypes.extensionAt(i);
    page->refill();
    EXPECT_EQ(column(0), tableOrder);
    page->SortbySize->trigger();
    page->SortbyExtension->trigger();
    EXPECT_EQ(column(0), tableOrder);
}

TEST_F(TypesPageTest, AnimationFollowsViewsClicksAndTheCurrentPage)
{
    counted({{".txt", 1, 30}, {".doc", 1, 60}});
    page->refill();
    EXPECT_TRUE(timer.isActive()) << "a pie view turns";
    QTest::mouseClick(page->chartPie, Qt::LeftButton, {}, QPoint(200, 100));
    EXPECT_FALSE(timer.isActive());
    choose(TypesPage::PieBySize);
    EXPECT_FALSE(timer.isActive()) << "the view already chosen is no change";
    choose(TypesPage::PieByFiles);
    EXPECT_TRUE(timer.isActive());
    choose(TypesPage::Listing);
    EXPECT_FALSE(timer.isActive()) << "the listing stops the shared tick";

    choose(TypesPage::PieBySize);
    page->ScrollBar2->setValue(359);
    EXPECT_EQ(page->Series2->RotationAngle(), 359);
    page->Timer1Timer();
    EXPECT_EQ(page->Series2->RotationAngle(), 0);
    EXPECT_EQ(page->ScrollBar2->value(), 0);
    notebook.setPageIndex(0);
    page->Timer1Timer();
    EXPECT_EQ(page->Series2->RotationAngle(), 0) << "no turning behind another page";
}

TEST_F(TypesPageTest, PrintedListingIsTitledWithTheDriveAndPaged)
{
    QList<std::tuple<QString, int, std::int64_t>> rows;
    for (int k = 1; k <= 120; ++k)
        rows.append({QStringLiteral(".x%1").arg(k, 3, 10, QChar('0')), 1, k});
    counted(rows);
    engine.currentDrive = "c: [/]";
    choose(TypesPage::Listing);
    page->refill();
    EXPECT_EQ(page->printTarget().chart, nullptr);

    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("types.pdf"));
    page->printTarget().printGrid(printer);
    const QString text = korvel::test::pdfText(dir.filePath("types.pdf"));
    EXPECT_TRUE(text.contains("File types for drive c: [/]"));
    EXPECT_TRUE(text.contains("Page 2") && !text.contains(" of "));
    EXPECT_EQ(text.count("Avg File Size"), 1) << "the headings on the first page only";
    EXPECT_TRUE(text.contains(".X120"));

    choose(TypesPage::PieBySize);
    EXPECT_EQ(page->printTarget().chart, page->chartPie);
}

TEST_F(TypesPageTest, NumbersBeyondThirtyTwoBitsReadBackExactlyInEveryLocale)
{
    const QList<QLocale> locales = {korvel::test::commaLocale(), korvel::test::dotLocale(),
                                    QLocale(QLocale::French, QLocale::France)};
    for (const QLocale &pinned : locales) {
        LocaleGuard guard(pinned);
        counted({{".big", 3, 5000000001}, {".huge", 1, 123456789012}, {".sm", 2, 999}});
        choose(TypesPage::Listing);
        page->refill();
        page->SortbySize->trigger();
        EXPECT_EQ(column(0), QStringList({".HUGE", ".BIG", ".SM"})) << pinned.name().toStdString();
        EXPECT_EQ(totals()[2], pinned.toString(qlonglong(5000000001 + 123456789012 + 999)));
        EXPECT_EQ(page->gridTypes->cell(4, 2), pinned.toString(qlonglong(1666666667)));
        choose(TypesPage::PieBySize);
        ASSERT_EQ(page->Series2->count(), 3);
        EXPECT_EQ(page->Series2->value(0), 123456789012.0);
    }
}

// Byte totals past 91 TiB are shown in full and sort and total on their exact values.
TEST_F(TypesPageTest, ByteTotalsBeyondFiftyThreeBitsShowAndSortExactly)
{
    for (const auto &[extension, bytes] :
         {std::pair{".max", UINT64_MAX}, std::pair{".less", UINT64_MAX - 1},
          std::pair{".sm", std::uint64_t(5)}})
        engine.lbTypes.insertType(extension, bytes, false);
    choose(TypesPage::Listing);
    page->refill();
    page->SortbySize->trigger();
    EXPECT_EQ(column(0), QStringList({".MAX", ".LESS", ".SM"}));
    EXPECT_EQ(column(2),
              QStringList({"18,446,744,073,709,551,615", "18,446,744,073,709,551,614", "5"}));
    EXPECT_EQ(totals()[2], "18,446,744,073,709,551,615");
}
