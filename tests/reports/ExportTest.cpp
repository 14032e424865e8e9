// The exports of the statistics window's Report menu, after a real run over folders.

#include "charts/Chart.h"
#include "controls/Notebook.h"
#include "model/ReportModel.h"
#include "reports/StatisticsFixture.h"
#include "reports/TypesPage.h"

#include <QAction>
#include <QButtonGroup>
#include <QImage>
#include <QRegularExpression>
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace korvel::test;

namespace {

struct ExportFixture : StatisticsFixture
{
    QString saveFolder;
    QString lastTypes; // the file types the dialog offered last

    void SetUp() override
    {
        StatisticsFixture::SetUp();
        saveFolder = home.filePath("out");
        QDir().mkpath(saveFolder);
        run();
    }

    // Exports the page in view (or all pages) to a file picked under a file type.
    void exportTo(const QString &path, const QString &type = {}, bool all = false)
    {
        window->runSaveDialog = [this, path, type](const QString &, const QString &,
                                                   const QStringList &types, QString &chosen) {
            lastTypes = types.join(";;");
            if (!type.isEmpty())
                chosen = types.filter(type).value(0);
            return path;
        };
        (all ? window->ExportAll1 : window->ExportPage1)->trigger();
    }

    static QList<QStringList> csvRecords(const QString &path)
    {
        QList<QStringList> records;
        for (const QString &line :
             QString::fromUtf8(fileBytes(path)).split("\r\n", Qt::SkipEmptyParts))
            records << line.split(',');
        return records;
    }
};

// Each cell of the file is the model's figure, unformatted, in the order the listing shows.
TEST_F(ExportFixture, CsvCellsAreTheModelsNumbersInTheListingsOrder)
{
    auto *types = static_cast<TypesPage *>(window->pages[TfrmStatistics::TypesTab]);
    types->rgTypesButtons->button(TypesPage::Listing)->click();
    types->SortbyNumFiles->trigger();
    const ReportModel model(window->engine);
    const struct
    {
        TfrmStatistics::Page tab;
        ReportTable table;
    } cases[] = {{TfrmStatistics::TypesTab, model.types().table(TypeSort::Files)},
                 {TfrmStatistics::SizesTab, model.table(ReportPageId::Sizes)},
                 {TfrmStatistics::AttributeTab, model.table(ReportPageId::Attribute)}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.table.title.toStdString());
        window->OvcNotebook1->setPageIndex(c.tab);
        const QString path = QDir(saveFolder).filePath(c.table.title + ".csv");
        exportTo(path, "csv");
        const QList<QStringList> records = csvRecords(path);
        ASSERT_EQ(records.size(), int(c.table.rows.size()) + 1);
        EXPECT_EQ(records[0], c.table.headings);
        for (std::size_t r = 0; r < c.table.rows.size(); ++r)
            for (std::size_t k = 0; k < c.table.rows[r].size(); ++k) {
                const ReportCell &cell = c.table.rows[r][k];
                const QString field = records[int(r) + 1].value(int(k));
                if (cell.kind == ReportCell::Kind::Integer)
                    EXPECT_EQ(field.toULongLong(), cell.integer) << field.toStdString();
                else if (cell.kind == ReportCell::Kind::Percentage)
                    EXPECT_NEAR(field.toDouble(), cell.percentage, 1e-9) << field.toStdString();
                else
                    EXPECT_EQ(field, cell.text);
            }
    }
    // .txt (5 files) before .doc (3), then the totals: 8 files of 10 bytes.
    const QList<QStringList> typesFile = csvRecords(QDir(saveFolder).filePath("Types.csv"));
    EXPECT_EQ(typesFile[1].value(0), ".TXT");
    EXPECT_EQ(typesFile.last().mid(1, 3), QStringList({"Totals", "80", "8"}));
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

// A chart in view goes out as a picture of twice its size or as a drawing with its texts.
TEST_F(ExportFixture, ChartInViewIsAPictureOfTwiceItsSizeOrADrawing)
{
    window->OvcNotebook1->setPageIndex(TfrmStatistics::SizesTab);
    const QString png = QDir(saveFolder).filePath("sizes.png");
    const QString svg = QDir(saveFolder).filePath("sizes"); // the file type adds ".svg"
    exportTo(png);
    EXPECT_TRUE(lastTypes.startsWith("PNG")) << lastTypes.toStdString();
    exportTo(svg, "svg");
    const QImage picture(png);
    EXPECT_EQ(picture.size(),
              window->pages[TfrmStatistics::SizesTab]->findChild<TChart *>()->size() * 2);
    const QByteArray drawing = fileBytes(svg + ".svg");
    EXPECT_TRUE(drawing.contains("<svg")) << "no SVG drawing";
    EXPECT_TRUE(drawing.contains("File Sizes in MB"));
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

// The report document: a cover, the ten pages by their tab captions with their figures, every
// page numbered against the count.
TEST_F(ExportFixture, ReportDocumentHoldsEveryPageNumberedWithItsFigures)
{
    const QString pdf = QDir(saveFolder).filePath("report.pdf");
    exportTo(pdf, {}, true);
    ASSERT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
    const QString text = pdfText(pdf);
    const int pages = int(text.count(u'\f'));
    ASSERT_GE(pages, 11);
    for (int page = 1; page <= pages; ++page)
        EXPECT_TRUE(text.contains(QStringLiteral("Page %1 of %2").arg(page).arg(pages))) << page;
    for (const char *title : {"Space", "Types", "Sizes", "Overhang", "Access", "Created",
                              "Modified", "Combined", "Attribute", "Time"})
        EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("(^|\\n)%1\\n").arg(title))))
            << title;
    EXPECT_TRUE(text.contains(QRegularExpression("Totals\\s+80\\s+8"))) << "the Types totals";
    EXPECT_TRUE(text.contains("Pie by # Files")) << "the charts' own texts";
    EXPECT_TRUE(text.contains("8 of 8 files met"));
}

// A file that cannot be written is reported, and nothing is left behind, whole or in part.
TEST_F(ExportFixture, UnwritablePlacesAreReportedAndLeaveNothing)
{
    QFile plain(QDir(saveFolder).filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    QDir().mkpath(QDir(saveFolder).filePath("taken.pdf"));
    const QString locked = QDir(saveFolder).filePath("locked");
    QDir().mkpath(locked);
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    const struct
    {
        QString path;
        bool all;
        bool full = false; // the disk fills after a few bytes
    } cases[] = {
        {QDir(saveFolder).filePath("report.pdf"), true, true},
        {QDir(saveFolder).filePath("plain/types.csv"), false}, // below a file
        {QDir(saveFolder).filePath("taken.pdf"), true},        // a folder of that name
        {"/dev/full", false},                                  // no space left
        {"/dev/full", true},
        {locked + "/report.pdf", true}, // no permission (the superuser has it)
    };
    const QStringList before = QDir(saveFolder).entryList(QDir::AllEntries | QDir::Hidden);
    for (const auto &c : cases) {
        if (c.path.startsWith(locked) && ::geteuid() == 0)
            continue;
        SCOPED_TRACE(c.path.toStdString());
        errors.clear();
        // Beyond the limit a write fails as on a full disk (the signal it would raise is
        // ignored, as a write then just answers an error).
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        const auto signal = std::signal(SIGXFSZ, SIG_IGN);
        if (c.full) {
            const rlimit small{4096, saved.rlim_max};
            ::setrlimit(RLIMIT_FSIZE, &small);
        }
        exportTo(c.path, "csv", c.all);
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, signal);
        ASSERT_EQ(errors.size(), 1);
        EXPECT_TRUE(errors[0].startsWith("Could not write the file " + c.path))
            << errors[0].toStdString();
    }
    EXPECT_EQ(QDir(saveFolder).entryList(QDir::AllEntries | QDir::Hidden), before);
    EXPECT_TRUE(QDir(QDir(saveFolder).filePath("taken.pdf")).isEmpty());
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

} // namespace

// Each kind of export starts in the folder the last of its kind went to.
TEST_F(ExportFixture, EachKindStartsWhereItsLastExportWent)
{
    QDir().mkpath(home.filePath("pages"));
    QDir().mkpath(home.filePath("reports"));
    exportTo(home.filePath("pages/types.csv"));
    exportTo(home.filePath("reports/all.pdf"), {}, true);
    QStringList suggested;
    for (QAction *item : {window->ExportPage1, window->ExportAll1}) {
        window->runSaveDialog = [&suggested](const QString &, const QString &start,
                                             const QStringList &, QString &) {
            suggested << QFileInfo(start).absolutePath();
            return QString();
        };
        item->trigger();
    }
    EXPECT_EQ(suggested, (QStringList{home.filePath("pages"), home.filePath("reports")}));
}
