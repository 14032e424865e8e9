// The date, Overhang, Attribute and Time pages after a real run of the statistics window over a
// folder standing in for a drive, and printed from there.

#include "charts/Chart.h"
#include "charts/ChartPreviewer.h"
#include "charts/HorizBarSeries.h"
#include "charts/LineSeries.h"
#include "controls/Notebook.h"
#include "controls/StringGrid.h"
#include "engine/EngineTestSupport.h"
#include "reports/AttributePage.h"
#include "reports/DatePage.h"
#include "reports/OverhangPage.h"
#include "reports/Statistics.h"
#include "reports/StatisticsFixture.h"
#include "reports/TimePage.h"
#include "support/TestSupport.h"
#include "tools/Unattended.h"

#include <QLabel>
#include <QPrinter>
#include <QRadioButton>

using namespace korvel::test;

namespace {

constexpr std::int64_t day = 86400;

class PagesRunTest : public ::testing::Test
{
protected:
    PagesRunTest() : locale(commaLocale())
    {
        platform::setLocalTimeZone(QTimeZone("UTC"));
        auto folders = std::make_unique<platform::FolderDriveSource>();
        drives = folders.get();
        drives->addDrive('c', platform::DriveFixed, "c: [system]", tree.root());
        drives->setCurrentEntry("c: [system]");
        drives->setSpace('c', 1000000000, 1610612736); // 1.5 GB: the volume's own clusters
        drives->setClusterSize('c', 4096);
        drives->addDrive('d', platform::DriveFixed, "d: [data]", otherTree.root());
        platform::setDriveSource(std::move(folders));
        passMessageBoxes();
        window.engine.clock = [] { return testToday; };
        window.engine.readAheadThreads = 0;
    }
    ~PagesRunTest() override
    {
        setMessageHook({});
        platform::setDriveSource(nullptr);
        platform::setLocalTimeZone(QTimeZone());
    }

    void run()
    {
        answerNextWizard();
        window.btOKClick();
    }
    template <typename Page> Page *page(TfrmStatistics::Page tab)
    {
        return static_cast<Page *>(window.pages[tab]);
    }

    LocaleGuard locale;
    Tree tree;
    Tree otherTree;
    platform::FolderDriveSource *drives = nullptr;
    TfrmStatistics window;
};

TEST_F(PagesRunTest, ARunFillsEveryPageFromTheFilesTimesSizesAndAttributes)
{
    // Written three days ago at 02:10, read yesterday at 14:40; and a hidden file of 100 bytes
    // written 400 days ago at 23:45.
    const std::int64_t midnight = testToday - 12 * 3600;
    tree.file("setup.exe", 5000, midnight - 3 * day + 2 * 3600 + 600,
              midnight - day + 14 * 3600 + 2400);
    tree.file(".hidden", 100, midnight - 400 * day + 23 * 3600 + 2700,
              midnight - day + 14 * 3600 + 2400);
    run();

    auto *modify = page<DatePage>(TfrmStatistics::ModifiedTab);
    EXPECT_EQ(modify->grid->rowCells(9), QStringList({"<= 7 days", "5,000", "1"}));
    EXPECT_EQ(modify->grid->rowCells(4), QStringList({"1 - 2 years", "100", "1"}));

    auto *time = page<TimePage>(TfrmStatistics::TimeTab);
    EXPECT_EQ(time->Series10->value(4), 1);
    EXPECT_EQ(time->Series12->value(29), 2);

    auto *attribute = page<AttributePage>(TfrmStatistics::AttributeTab);
    EXPECT_EQ(attribute->lblNHidden->text(), "1");
    EXPECT_EQ(attribute->lblSzHidden->text(), "100");

    auto *overhang = page<OverhangPage>(TfrmStatistics::OverhangTab);
    EXPECT_TRUE(window.OvcNotebook1->isPageEnabled(TfrmStatistics::OverhangTab));
    EXPECT_EQ(overhang->clusterSize, 4096);
    EXPECT_EQ(overhang->lblOver[0]->text(), "7,188"); // 3,192 + 3,996
    EXPECT_EQ(overhang->lblNumFiles->text(), "Number of files scanned: 2");
}

TEST_F(PagesRunTest, ARunThatDisablesTheOverhangPageInViewLeavesIt)
{
    TOvcNotebook &notebook = *window.OvcNotebook1;
    tree.file("empty.txt");
    window.show();
    notebook.setPageIndex(TfrmStatistics::OverhangTab);
    run(); // classifies 0 bytes
    EXPECT_FALSE(notebook.isPageEnabled(TfrmStatistics::OverhangTab));
    EXPECT_EQ(notebook.PageIndex(), TfrmStatistics::AccessTab);

    // A run over two drives disables it from its start, so the last run's slack is not shown.
    tree.file("data.txt", 5000);
    run();
    notebook.setPageIndex(TfrmStatistics::OverhangTab);
    ASSERT_EQ(notebook.PageIndex(), TfrmStatistics::OverhangTab);
    StatisticsFixture::answerWizard("d");
    window.btOKClick();
    EXPECT_EQ(window.engine.PickList1.size(), 2);
    EXPECT_FALSE(notebook.isPageEnabled(TfrmStatistics::OverhangTab));
    EXPECT_EQ(notebook.PageIndex(), TfrmStatistics::AccessTab);
}

// A chart goes to the preview under a line naming the page, the drive and the run's date; a
// listing and the Attribute page print through the print dialog, the page as the window draws it:
// its texts are text on paper, clear of the paper's edge.
TEST_F(PagesRunTest, ChartsGoToThePreviewListingsAndTheAttributePageToAWindowPrint)
{
    tree.file("a.txt", 3000, testToday - 10 * day);
    run();
    window.show();
    QTemporaryDir pdfs;
    TChart *previewed = nullptr;
    ChartPrintHeader header;
    window.runChartPreview = [&](TChartPreviewer &preview) {
        previewed = preview.Chart;
        header = preview.Header;
    };
    QStringList printed;
    window.runPrintDialog = [&](QPrinter &printer) {
        printed << pdfs.filePath(QString("page%1.pdf").arg(printed.size()));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(printed.back());
        printer.setPageMargins(QMarginsF(0, 0, 0, 0));
        return true;
    };
    auto *create = page<DatePage>(TfrmStatistics::CreatedTab);
    window.OvcNotebook1->setPageIndex(TfrmStatistics::CreatedTab);
    window.btPrintClick();
    EXPECT_EQ(previewed, create->chart);
    EXPECT_EQ(header.title, "Created for drive c: [system]");
    EXPECT_EQ(header.when, window.collectedAt);
    EXPECT_TRUE(header.when.isValid());
    EXPECT_TRUE(printed.isEmpty());

    create->rgListing->click();
    window.btPrintClick();
    window.OvcNotebook1->setPageIndex(TfrmStatistics::AttributeTab);
    window.btPrintClick();
    ASSERT_EQ(printed.size(), 2);
    const QString attributes = pdfText(printed[1]);
    for (const char *text : {"Hidden", "Read-only", "% of total size", "Print page"})
        EXPECT_TRUE(attributes.contains(text)) << text;
    for (const QString &file : printed)
        EXPECT_GE(pdfLeastTextMarginMm(file), 10) << file.toStdString();
}

} // namespace
