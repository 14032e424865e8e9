// The exports of the Report menu: the page in view as a spreadsheet file, a picture or a
// drawing, and every page at once as one report document.

#include "controls/FileDialogs.h"
#include "controls/MessageBoxes.h"
#include "controls/Notebook.h"
#include "controls/StringGrid.h"
#include "model/FilterText.h"
#include "model/ReportCsv.h"
#include "reports/OverhangPage.h"
#include "reports/PageExport.h"
#include "reports/ReportSections.h"
#include "reports/SpacePage.h"
#include "reports/Statistics.h"
#include "reports/TypesPage.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QStandardPaths>

namespace {

// The kinds of file a page can be written as, and the file types the save dialog offers them
// under.
enum class ExportKind
{
    Csv,
    Png,
    Svg,
    Pdf
};

struct FileType
{
    ExportKind kind;
    QString suffix;
    QString filter;
};

const std::array<FileType, 4> fileTypes{
    {{ExportKind::Csv, QStringLiteral("csv"), QStringLiteral("Comma-separated values (*.csv)")},
     {ExportKind::Png, QStringLiteral("png"), QStringLiteral("PNG picture (*.png)")},
     {ExportKind::Svg, QStringLiteral("svg"), QStringLiteral("SVG drawing (*.svg)")},
     {ExportKind::Pdf, QStringLiteral("pdf"), QStringLiteral("PDF document (*.pdf)")}}};

const FileType &fileType(ExportKind kind)
{
    return fileTypes[std::size_t(kind)];
}

// The kind of the file picked: what its name ends in, when that is one of those offered, else
// the file type it was picked under.
ExportKind pickedKind(const QString &path, const QString &filter,
                      const std::vector<ExportKind> &offered)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const ExportKind kind : offered)
        if (fileType(kind).suffix == suffix)
            return kind;
    for (const ExportKind kind : offered)
        if (fileType(kind).filter == filter)
            return kind;
    return offered.front();
}

// A new file named without a suffix gets the kind's.
QString withSuffix(const QString &path, ExportKind kind)
{
    const QFileInfo file(path);
    return file.suffix().isEmpty() && !file.exists() ? path + u'.' + fileType(kind).suffix : path;
}

// The listing's sort the Types page shows: the checked item of its sort menu.
TypeSort shownSort(const TypesPage &page)
{
    for (const QAction *item : page.PopupMenu1->actions())
        if (item->isChecked())
            return TypeSort(item->data().toInt());
    return TypeSort::Extension;
}

// Whether a page shows a listing.
bool listingInView(const QWidget &page)
{
    for (const TStringGrid *grid : page.findChildren<TStringGrid *>())
        if (grid->isVisibleTo(&page))
            return true;
    return false;
}

void reportFailure(const QString &path, const QString &reason)
{
    errorBox(QStringLiteral("Could not write the file %1: %2.")
                 .arg(QDir::toNativeSeparators(path), reason));
}

// The page exports and the report document each start where the last of their kind went.
const QString pageExports = QStringLiteral("page exports");
const QString reportExports = QStringLiteral("report documents");

// "Space 2026-12-07 2014.csv" in the folder of the last export of its kind, the documents folder
// at first.
QString suggestedName(const RunFacts &facts, const QString &name, ExportKind kind,
                      const QString &folderKind)
{
    const QString folder = lastExportFolder(folderKind);
    const QString when = facts.started.isValid()
                             ? u' ' + facts.started.toString(QStringLiteral("yyyy-MM-dd HHmm"))
                             : QString();
    return QDir(folder).filePath(name + when + u'.' + fileType(kind).suffix);
}

QString askSaveFile(QWidget *parent, const QString &caption, const QString &suggested,
                    const QStringList &types, QString &chosen)
{
    return askSaveFileName(parent, caption, suggested, types.join(QStringLiteral(";;")), &chosen);
}

} // namespace

void TfrmStatistics::ExportPage1Click()
{
    const int index = OvcNotebook1->PageIndex();
    const ReportPage &page = *pages[std::size_t(index)];
    const std::vector<TChart *> charts = chartsInView(page);
    // Every page's figures can go to a spreadsheet; the charts in view as a picture or a drawing.
    // The file type offered first is the view on screen.
    std::vector<ExportKind> offered{ExportKind::Csv};
    if (!charts.empty())
        offered.insert(listingInView(page) ? offered.end() : offered.begin(),
                       {ExportKind::Png, ExportKind::Svg});
    QStringList types;
    for (const ExportKind kind : offered)
        types << fileType(kind).filter;
    QString chosen = types.front();
    const QString title = OvcNotebook1->pageCaption(index);
    const QString caption = QStringLiteral("Export the %1 page").arg(title);
    const QString suggested = suggestedName(resultFacts, title, offered.front(), pageExports);
    QString path = runSaveDialog ? runSaveDialog(caption, suggested, types, chosen)
                                 : askSaveFile(this, caption, suggested, types, chosen);
    if (path.isEmpty())
        return;
    rememberExportFolder(pageExports, path);
    const ExportKind kind = pickedKind(path, chosen, offered);
    path = withSuffix(path, kind);

    std::optional<QString> failure;
    if (kind == ExportKind::Csv) {
        ReportContext facts{engine, aColors, Timer1, *OvcNotebook1, resultFacts};
        const auto *types = qobject_cast<const TypesPage *>(&page);
        const ReportTable table =
            pageTable(facts, static_cast<OverhangPage *>(pages[OverhangTab])->clusterSize,
                      ReportPageId(index), types ? shownSort(*types) : TypeSort::Extension);
        failure = saveFile(path, [&table](QIODevice &file) {
            const QByteArray text = reportCsv(table);
            return file.write(text) == text.size();
        });
    } else {
        failure = saveFile(path, [&](QIODevice &file) {
            return kind == ExportKind::Png ? writeChartsPng(file, page, charts)
                                           : writeChartsSvg(file, page, charts, title);
        });
    }
    if (failure)
        reportFailure(path, *failure);
}

void TfrmStatistics::ExportAll1Click()
{
    const QString suggested = suggestedName(resultFacts, QStringLiteral("Korvel 98 report"),
                                            ExportKind::Pdf, reportExports);
    const QStringList types{fileType(ExportKind::Pdf).filter};
    QString chosen = types.front();
    const QString caption = QStringLiteral("Export all pages as PDF");
    QString path = runSaveDialog ? runSaveDialog(caption, suggested, types, chosen)
                                 : askSaveFile(this, caption, suggested, types, chosen);
    if (path.isEmpty())
        return;
    rememberExportFolder(reportExports, path);
    path = withSuffix(path, ExportKind::Pdf);

    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ReportContext facts{engine, aColors, Timer1, *OvcNotebook1, resultFacts};
    ReportCover cover;
    cover.title = QStringLiteral("Korvel 98 report");
    cover.facts = resultFacts;
    cover.filter = filterText(engine.filter);
    cover.filesFound = std::uint64_t(std::max<std::int64_t>(engine.filesFound, 0));
    cover.filesProcessed = std::uint64_t(std::max<std::int64_t>(engine.filesProcessed, 0));
    const std::vector<ReportSection> sections =
        reportSections(facts, *static_cast<SpacePage *>(spacePage),
                       static_cast<OverhangPage *>(pages[OverhangTab])->clusterSize);
    const std::optional<QString> failure =
        saveFile(path, [&](QIODevice &file) { return writeReportDocument(file, cover, sections); });
    QApplication::restoreOverrideCursor();
    if (failure)
        reportFailure(path, *failure);
}
