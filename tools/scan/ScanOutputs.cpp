// What korvel98-scan writes: the report of a run or a collection in each format, the comparison,
// the folders it could not read, and the collection files and textfile it keeps.

#include "ScanOutputs.h"

#include "engine/StatisticsEngine.h"
#include "helpers/Helpers.h"
#include "helpers/NameText.h"
#include "model/Collection.h"
#include "model/Comparison.h"
#include "model/FileReport.h"
#include "model/FilterText.h"
#include "model/FolderTable.h"
#include "model/History.h"
#include "model/JsonText.h"
#include "model/PrometheusText.h"
#include "model/ReportCsv.h"
#include "model/ReportModel.h"
#include "model/ReportText.h"
#include "platform/DirectorySearch.h"

#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string jsonString(const QString &text)
{
    return jsonText(text).toStdString();
}

std::string number(std::uint64_t value)
{
    return std::to_string(value);
}

std::string number(std::int64_t value)
{
    return std::to_string(value);
}

template <typename Values> std::string numbers(const Values &values)
{
    std::string out = "[";
    for (const auto &value : values)
        out += (out.size() > 1 ? "," : "") + number(value);
    return out + "]";
}

// The bytes or the files of each class of a listing, in class order.
std::string classNumbers(const std::vector<ClassFigures> &classes, bool bytes)
{
    std::vector<std::uint64_t> values;
    for (const ClassFigures &c : classes)
        values.push_back(bytes ? c.bytes : c.files);
    return numbers(values);
}

// The figures of the report pages. The keys and the meaning of every value stay as scripts know
// them; new keys are only ever added.
void printJson(const ReportModel &model, const Accumulators &run)
{
    std::string out = "{\n";
    auto field = [&](const char *name, const std::string &value) {
        if (out.size() > 2)
            out += ",\n";
        out += std::string("  \"") + name + "\": " + value;
    };
    field("filesProcessed", number(model.filesProcessed));
    field("filesFound", number(model.filesFound));
    field("linkedNamesSkipped", number(run.linkedNamesSkipped));
    // The run's own table: only extensions that files had (a picked type without files shows in
    // "types" alone).
    std::string rows = "[";
    std::string types = "[";
    for (const TypeRow &row : model.types().rows()) {
        if (row.files > 0) {
            const QString text = row.extension + u'\t' + QString::number(row.files) + u'\t' +
                                 QString::number(row.bytes);
            rows += (rows.size() > 1 ? "," : "") + jsonString(text);
        }
        types += std::string(types.size() > 1 ? "," : "") +
                 "\n    {\"extension\": " + jsonString(row.extension) +
                 ", \"type\": " + jsonString(row.typeName) + ", \"bytes\": " + number(row.bytes) +
                 ", \"files\": " + number(row.files) + ", \"average\": " + number(row.average()) +
                 "}";
    }
    field("lbTypes", rows + "]");
    field("sizeFiles", classNumbers(model.sizes(), false));
    field("sizeBytes", classNumbers(model.sizes(), true));
    field("ageAccessedFiles", classNumbers(model.ages(DateKind::Accessed), false));
    field("ageAccessedBytes", classNumbers(model.ages(DateKind::Accessed), true));
    field("ageCreatedFiles", classNumbers(model.ages(DateKind::Created), false));
    field("ageCreatedBytes", classNumbers(model.ages(DateKind::Created), true));
    field("ageModifiedFiles", classNumbers(model.ages(DateKind::Modified), false));
    field("ageModifiedBytes", classNumbers(model.ages(DateKind::Modified), true));
    field("hourModified", numbers(model.times().modified));
    field("hourCreated", numbers(model.times().created));
    field("hourAccessed", numbers(model.times().accessed));
    const AttributeFigures &attributes = model.attributes();
    field("nReadOnly", number(attributes.files[AttributeFigures::ReadOnly]));
    field("nHidden", number(attributes.files[AttributeFigures::Hidden]));
    field("nSystem", number(attributes.files[AttributeFigures::System]));
    field("nArchive", number(attributes.files[AttributeFigures::Archive]));
    field("szReadOnly", number(attributes.bytes[AttributeFigures::ReadOnly]));
    field("szHidden", number(attributes.bytes[AttributeFigures::Hidden]));
    field("szSystem", number(attributes.bytes[AttributeFigures::System]));
    field("szArchive", number(attributes.bytes[AttributeFigures::Archive]));
    const char *slack[] = {"overhang4K", "overhang8K", "overhang16K", "overhang32K", "overhang64K"};
    for (std::size_t row = 0; row < 5; ++row)
        field(slack[row], number(model.overhang().wasted[row]));
    field("foldersUnreadable", number(run.foldersUnreadable));
    // Added: the Types listing as the window shows it, type names included, and the files whose
    // extensions are too long for it.
    field("types", types + (types.size() > 1 ? "\n  ]" : "]"));
    field("typesTotal", "{\"bytes\": " + number(model.types().totalBytes()) +
                            ", \"files\": " + number(model.types().totalFiles()) + "}");
    field("longerExtensionFiles", number(model.types().longerFiles()));
    field("commonestLongerExtension", jsonString(model.types().commonestLonger()));
    out += "\n}\n";
    std::fputs(out.c_str(), stdout);
}

// What a person reads first: which run the figures are of.
QString runText(const RunFacts &facts, const Accumulators &figures)
{
    QString text = QStringLiteral("Statistics of %1 for drives %2\n")
                       .arg(facts.started.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss t")),
                            drivesText(facts));
    for (const DriveFacts &drive : facts.drives)
        text += QStringLiteral("  %1: %2\n")
                    .arg(drive.letter.toUpper(), escapedName(drive.mountPoint.toUtf8()));
    text += QStringLiteral("Host: %1\nFilter: %2\nRun: %3\n")
                .arg(facts.hostName, filterWords(figures.filter),
                     facts.complete ? QStringLiteral("complete")
                                    : QStringLiteral("stopped before its end"));
    return text;
}

// Every page in the order of the window's tabs, then the folders that hold most.
QString reportAsText(const ReportModel &model, const RunFacts &facts, const Accumulators &figures)
{
    constexpr std::size_t largestShown = 20;
    QString text = runText(facts, figures);
    for (int page = 0; page < reportPageCount; ++page)
        text += QLatin1Char('\n') + reportText(model.table(ReportPageId(page)));
    ReportTable folders = largestFoldersTable(facts, figures.folderTotals, false, largestShown);
    folders.title = QStringLiteral("The %1 largest folders").arg(largestShown);
    if (figures.folderTotals.empty())
        folders.notes << QStringLiteral("The collection holds no folder totals.");
    ReportTable files = largestFilesTable(facts, figures.driveFiles, largestShown);
    files.title = QStringLiteral("The %1 largest files").arg(largestShown);
    files.notes.clear();
    if (figures.driveFiles.empty())
        files.notes << QStringLiteral("The collection holds no largest files.");
    return text + QLatin1Char('\n') + reportText(folders) + QLatin1Char('\n') + reportText(files);
}

// The largest files or the owners, in any format but Prometheus.
QByteArray listPage(const Options &options, const RunFacts &facts, const Accumulators &figures)
{
    ReportTable table = options.page == filesPage ? largestFilesTable(facts, figures.driveFiles)
                                                  : ownersTable(figures.driveFiles);
    if (figures.driveFiles.empty())
        table.notes << QStringLiteral("The collection holds no largest files and owners.");
    switch (options.format) {
    case Options::Format::Csv:
        return reportCsv(table);
    case Options::Format::Json:
        return reportJson(table);
    default:
        return withoutControls(reportText(table)).toUtf8();
    }
}

QByteArray pageAsCsv(const ReportModel &model, const RunFacts &facts, const Accumulators &figures,
                     const QString &page)
{
    if (page == foldersPage)
        return reportCsv(largestFoldersTable(facts, figures.folderTotals));
    return reportCsv(model.table(*reportPageNamed(page)));
}

} // namespace

// A collection file comes from anywhere: no text of it may steer the terminal. Control
// characters other than the line feed are written as "\x1b".
QString withoutControls(const QString &text)
{
    QString safe;
    safe.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if ((code < 0x20 && code != u'\n') || (code >= 0x7f && code < 0xa0))
            safe += QStringLiteral("\\x%1").arg(int(code), 2, 16, QLatin1Char('0'));
        else
            safe += c;
    }
    return safe;
}

void printComparison(const Options &options, const Collection &then, const Collection &now)
{
    const Comparison comparison(then, now);
    switch (options.format) {
    case Options::Format::Json:
        std::fputs(comparisonJson(comparison).constData(), stdout);
        break;
    case Options::Format::Csv:
        std::fputs(comparisonCsv(comparison, *comparisonPartNamed(options.page)).constData(),
                   stdout);
        break;
    case Options::Format::Text:
        std::fputs(withoutControls(comparisonText(comparison)).toUtf8().constData(), stdout);
        break;
    case Options::Format::Prometheus: // refused with the options
        break;
    }
}

void printReport(const Options &options, const RunFacts &facts, const Accumulators &figures)
{
    if (options.page == filesPage || options.page == ownersPage) {
        std::fputs(listPage(options, facts, figures).constData(), stdout);
        return;
    }
    const ReportModel model(figures, facts.drives, runClusterSize(facts.drives));
    switch (options.format) {
    case Options::Format::Json:
        printJson(model, figures);
        break;
    case Options::Format::Csv:
        std::fputs(pageAsCsv(model, facts, figures, options.page).constData(), stdout);
        break;
    case Options::Format::Text:
        std::fputs(withoutControls(reportAsText(model, facts, figures)).toUtf8().constData(),
                   stdout);
        break;
    case Options::Format::Prometheus:
        std::fputs(prometheusText(facts, figures).constData(), stdout);
        break;
    }
}

// A path of the walk as the user named it: the folder as given in place of the descriptor path it
// was walked by.
std::string asGiven(const QByteArray &path, const Options &options,
                    const std::vector<std::unique_ptr<platform::HeldFolder>> &held)
{
    const std::string walked = path.toStdString();
    for (std::size_t i = 0; i < held.size(); ++i) {
        const std::string root = held[i]->path().toStdString();
        if (walked.compare(0, root.size(), root) != 0 ||
            (walked.size() > root.size() && walked[root.size()] != '/'))
            continue;
        std::string given = options.folders[i];
        if (!given.empty() && given.back() == '/' && walked.size() > root.size())
            given.pop_back();
        return given + walked.substr(root.size());
    }
    return walked;
}

// Folders whose files are not counted are no secret: the first few by name, then how many.
void tellUnreadable(const StatisticsEngine &e, const Options &options,
                    const std::vector<std::unique_ptr<platform::HeldFolder>> &held)
{
    constexpr std::size_t named = 20;
    for (std::size_t i = 0; i < std::min(named, e.unreadableFolders.size()); ++i)
        std::fprintf(stderr, "korvel98-scan: cannot read %s: %s\n",
                     escapedName(QByteArray::fromStdString(
                                     asGiven(e.unreadableFolders[i].path, options, held)))
                         .toUtf8()
                         .constData(),
                     e.unreadableFolders[i].reason.toLocal8Bit().constData());
    if (e.foldersUnreadable > 0)
        std::fprintf(stderr, "korvel98-scan: %lld folder%s could not be read\n",
                     static_cast<long long>(e.foldersUnreadable),
                     e.foldersUnreadable == 1 ? "" : "s");
}

// The folders of a run stand for drives: their facts name the folder as given and its file
// system, not the descriptor the walk went by.
void nameFolders(RunFacts &facts, const Options &options)
{
    for (std::size_t i = 0; i < facts.drives.size() && i < options.folders.size(); ++i) {
        const QString folder =
            QFileInfo(QString::fromLocal8Bit(options.folders[i])).absoluteFilePath();
        facts.drives[i].mountPoint = folder;
        facts.drives[i].fileSystem = QString::fromUtf8(QStorageInfo(folder).fileSystemType());
    }
}

// Keeps the run where the options say; false when it could not be kept somewhere.
bool keepRun(const Options &options, const RunFacts &facts, const Accumulators &figures)
{
    bool kept = true;
    QString message;
    if (!options.textfileDir.isEmpty() &&
        !writePrometheusTextfile(options.textfileDir, facts, figures, message)) {
        std::fprintf(stderr, "korvel98-scan: %s\n", message.toLocal8Bit().constData());
        kept = false;
    }
    if (options.save.isEmpty() && !options.history)
        return kept;
    const Collection collection = collectionOf(facts, figures);
    if (!options.save.isEmpty() && !writeCollectionFile(options.save, collection, message)) {
        std::fprintf(stderr, "korvel98-scan: %s\n", message.toLocal8Bit().constData());
        kept = false;
    }
    if (options.history) {
        const platform::Outcome<QString> inHistory = keepInHistory(collection, collectionsFolder());
        if (!inHistory) {
            std::fprintf(stderr, "korvel98-scan: %s\n",
                         inHistory.message().toLocal8Bit().constData());
            kept = false;
        }
    }
    return kept;
}
