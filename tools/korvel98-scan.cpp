// korvel98-scan: the command-line report, for people at a terminal or on a server, for scripts,
// for the scheduled collection and for the walk benchmark. Each folder given stands in for one
// drive; the figures come out as one JSON object, as aligned tables or as one page in CSV, and may
// be kept as a collection file the window opens. The usage is in helpText below, which --help
// prints.

#include "TrendsCommand.h"
#include "engine/StatisticsEngine.h"
#include "helpers/Helpers.h"
#include "helpers/NameText.h"
#include "model/Collection.h"
#include "model/Comparison.h"
#include "model/FolderTable.h"
#include "model/History.h"
#include "model/Machines.h"
#include "model/PrometheusText.h"
#include "model/ReportCsv.h"
#include "model/ReportModel.h"
#include "model/ReportText.h"
#include "model/RunRecorder.h"
#include "model/ScannerDump.h"
#include "platform/DirectorySearch.h"
#include "platform/FileTimes.h"
#include "platform/FolderDriveSource.h"
#include "platform/StandardOutput.h"
#include "platform/Terminal.h"

#include <QCollator>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int usageError = 2;

const char helpText[] =
    "Usage: korvel98-scan [--include EXTS | --exclude EXTS] [--today YYYY-MM-DD]\n"
    "                     [--format FORMAT [--page PAGE]] [--save FILE] [--history]\n"
    "                     [--textfile-dir DIR] FOLDER...\n"
    "       korvel98-scan [--format FORMAT [--page PAGE]] [--save FILE] [--textfile-dir DIR]\n"
    "                     --show FILE\n"
    "       korvel98-scan [--format FORMAT [--page PART]] --compare OLD NEW\n"
    "       korvel98-scan [--format json|text|csv] --machines DIR\n"
    "       korvel98-scan [--format FORMAT [--page PART]] [options of a walk] --compare OLD\n"
    "                     FOLDER...\n"
    "\n"
    "Counts the files under each FOLDER the way Korvel 98 counts the files of a drive, without a\n"
    "window, and prints every figure of the report pages on standard output. The folders stand\n"
    "for the drives c:, d:, e:, ... in the order given (at most 24). Hidden folders and other\n"
    "file systems mounted inside a folder are not entered. A folder that cannot be read is passed\n"
    "over and named on standard error (the first 20, then a count). While it counts, a line on\n"
    "standard error shows the files counted, the folder and the rate, when that is a terminal.\n"
    "\n"
    "  --include EXTS      count only files with these extensions\n"
    "  --exclude EXTS      count every file except those with these extensions\n"
    "                      EXTS is a comma-separated list such as .doc,.txt or *.doc,*.txt\n"
    "  --today YYYY-MM-DD  count file ages from noon of this day instead of from now\n"
    "  --format FORMAT     json (the default): every figure as one JSON object;\n"
    "                      text: every page as a table to read, and the 20 largest folders;\n"
    "                      csv: the one page --page names, as comma-separated values;\n"
    "                      prometheus: the figures for a Prometheus server to scrape, in its\n"
    "                      text format (per drive, the 50 types with the most bytes and\n"
    "                      \"(other)\" for the rest, size and age classes, attributes, the 20\n"
    "                      largest folders and the run itself)\n"
    "  --page PAGE         with --format csv: space, types, sizes, overhang, access, created,\n"
    "                      modified, combined, attribute, time, or folders (every folder kept)\n"
    "  --save FILE         also keep the run as a collection file, which Korvel 98 opens\n"
    "  --history           also keep the run in the history of collections, as the window\n"
    "                      does after a run (for a collection on a schedule)\n"
    "  --textfile-dir DIR  also write the figures as --format prometheus prints them to\n"
    "                      DIR/korvel98.prom for the node exporter's textfile collector\n"
    "                      (whole or not at all); without --format nothing is printed\n"
    "  --show FILE         report a collection file instead of counting folders, or the\n"
    "                      JSON dump another disk-usage scanner wrote (also gzipped)\n"
    "  --compare OLD       compare the collection file OLD with the collection file NEW, or\n"
    "                      with a count of the FOLDERs: what grew and what shrank by type,\n"
    "                      size, age, attribute and folder, and which figures do not compare;\n"
    "                      with --format csv, --page names one PART: summary, types, sizes,\n"
    "                      accessed, created, modified, attributes or folders\n"
    "  --machines DIR      one row per host whose collections lie in DIR or the folders\n"
    "                      below it: its newest collection's date, drives, capacity, used and\n"
    "                      free space, files, three largest types, the growth per week of\n"
    "                      used space, and a warning when the newest is older than two weeks\n"
    "  -h, --help          print this help and exit\n"
    "  -v, --version       print the version and exit\n"
    "\n"
    "A file with several names (hard links) counts once per folder given, under the first of its\n"
    "names met; linkedNamesSkipped counts the other names.\n"
    "\n"
    "JSON output: filesProcessed and filesFound; lbTypes, one line per extension; sizeFiles and\n"
    "sizeBytes, the twelve size classes from 0 - 16K to over 16MB; ageAccessed..., ageCreated...\n"
    "and ageModified... Files and Bytes, the ten age classes from not recorded to over 4 years;\n"
    "hourModified, hourCreated and hourAccessed, the 48 half hours of the day; the attribute\n"
    "counts nReadOnly, nHidden, nSystem, nArchive and their byte sums szReadOnly ... szArchive;\n"
    "overhang4K ... overhang64K, the bytes lost to clusters of that size; foldersUnreadable,\n"
    "the folders that could not be read, whose files are not counted; types, the Types\n"
    "listing as the window shows it (extension, type name, bytes, files and average, in the\n"
    "order of lbTypes) and typesTotal; longerExtensionFiles, the files whose extensions are\n"
    "too long for a row, and commonestLongerExtension, the most frequent of those.\n"
    "CSV output: a heading line, then one line per row (totals too), numbers without separators.\n"
    "\n"
    "Exit status: 0 after a run, 2 on a bad argument, a missing folder or a collection file that\n"
    "cannot be read (one line on standard error, nothing on standard output), 1 when the figures,\n"
    "the help or the version could not be written out (a full disk, a closed output), the\n"
    "collection could not be saved, or the walk ran out of system resources.\n";

struct Options
{
    enum class Filter
    {
        All,
        Include,
        Exclude
    } filter = Filter::All;
    QStringList extensions;
    QDate today;
    std::vector<std::string> folders; // as given: bytes
    enum class Format
    {
        Json,
        Csv,
        Text,
        Prometheus
    } format = Format::Json;
    bool formatGiven = false;
    QString textfileDir; // where korvel98.prom goes
    QString page;        // with Format::Csv: a page's name or "folders"
    QString save, show;
    QString compare;     // the earlier collection file
    QString compareWith; // the later one, when no folder is walked
    QString machines;    // the folder of the machines overview
    bool history = false;
};

const QString foldersPage = QStringLiteral("folders");

QString pageNames()
{
    QStringList names;
    for (int page = 0; page < reportPageCount; ++page)
        names << reportPageName(ReportPageId(page));
    return (names << foldersPage).join(QStringLiteral(", "));
}

QString comparisonPartNames()
{
    QStringList names;
    for (int part = 0; part < comparisonPartCount; ++part)
        names << comparisonPartName(ComparisonPart(part));
    return names.join(QStringLiteral(", "));
}

[[noreturn]] void fail(const QString &message)
{
    std::fprintf(stderr, "korvel98-scan: %s\n", message.toLocal8Bit().constData());
    std::exit(usageError);
}

// A message that names a folder as its bytes stand, whatever they are.
[[noreturn]] void failFolder(const char *what, const std::string &folder)
{
    std::fprintf(stderr, "korvel98-scan: %s: %s\n", what, folder.c_str());
    std::exit(usageError);
}

QStringList parseExtensions(const QString &list)
{
    QStringList result;
    for (QString item : list.split(u',', Qt::SkipEmptyParts)) {
        item = item.trimmed();
        if (item.startsWith(u'*'))
            item.remove(0, 1);
        if (!item.startsWith(u'.'))
            item.prepend(u'.');
        if (item == u"." || item.contains(u'\t'))
            fail(QStringLiteral("not an extension: \"%1\"").arg(item));
        result << item;
    }
    if (result.isEmpty())
        fail(QStringLiteral("--include and --exclude want at least one extension, not \"%1\"")
                 .arg(list));
    return result;
}

Options parse(const std::vector<std::string> &bytes)
{
    Options options;
    bool filterGiven = false;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const QString arg = QString::fromLocal8Bit(bytes[i]);
        auto value = [&]() -> QString {
            if (i + 1 >= bytes.size())
                fail(QStringLiteral("%1 needs a value").arg(arg));
            return QString::fromLocal8Bit(bytes[++i]);
        };
        if (arg == u"--help" || arg == u"-h")
            std::exit(platform::printToStandardOutput("korvel98-scan",
                                                      std::string(helpText) + historyHelpText)
                          ? 0
                          : 1);
        if (arg == u"--version" || arg == u"-v")
            std::exit(
                platform::printToStandardOutput("korvel98-scan", "Korvel 98 " KORVEL_VERSION "\n")
                    ? 0
                    : 1);
        if (arg == u"--include" || arg == u"--exclude") {
            if (filterGiven)
                fail(QStringLiteral("--include and --exclude may be given once, not both"));
            filterGiven = true;
            options.filter =
                arg == u"--include" ? Options::Filter::Include : Options::Filter::Exclude;
            value();
            // Taken as the bytes given, escaped as the rows show them: ".\xFF" is one byte.
            options.extensions = parseExtensions(escapedName(QByteArray::fromStdString(bytes[i])));
        } else if (arg == u"--today") {
            const QString text = value();
            options.today = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
            if (!options.today.isValid())
                fail(QStringLiteral("--today wants a date as YYYY-MM-DD, not \"%1\"").arg(text));
        } else if (arg == u"--format") {
            const QString text = value();
            if (text == u"json")
                options.format = Options::Format::Json;
            else if (text == u"csv")
                options.format = Options::Format::Csv;
            else if (text == u"text")
                options.format = Options::Format::Text;
            else if (text == u"prometheus")
                options.format = Options::Format::Prometheus;
            else
                fail(QStringLiteral("--format wants json, csv, text or prometheus, not \"%1\"")
                         .arg(text));
            options.formatGiven = true;
        } else if (arg == u"--page") {
            options.page = value();
        } else if (arg == u"--save") {
            options.save = value();
        } else if (arg == u"--show") {
            options.show = value();
        } else if (arg == u"--compare") {
            options.compare = value();
        } else if (arg == u"--machines") {
            options.machines = value();
        } else if (arg == u"--textfile-dir") {
            options.textfileDir = value();
        } else if (arg == u"--history") {
            options.history = true;
        } else if (arg == u"--") {
            options.folders.insert(options.folders.end(), bytes.begin() + std::ptrdiff_t(i) + 1,
                                   bytes.end());
            break;
        } else if (arg.startsWith(u'-') && arg.size() > 1) {
            fail(QStringLiteral("unknown option %1").arg(arg));
        } else {
            options.folders.push_back(bytes[i]);
        }
    }
    if (!options.machines.isEmpty()) {
        if (!options.folders.empty() || !options.show.isEmpty() || !options.compare.isEmpty() ||
            !options.page.isEmpty() || options.format == Options::Format::Prometheus ||
            filterGiven || options.history || !options.save.isEmpty() ||
            !options.textfileDir.isEmpty())
            fail(QStringLiteral("--machines goes alone, with --format json, text or csv"));
        if (!QFileInfo(options.machines).isDir())
            fail(QStringLiteral("--machines: no folder %1").arg(options.machines));
        return options;
    }
    if (!options.compare.isEmpty() && !options.show.isEmpty())
        fail(QStringLiteral("--compare and --show may not be given together"));
    if (!options.compare.isEmpty() &&
        (options.format == Options::Format::Prometheus || !options.textfileDir.isEmpty()))
        fail(QStringLiteral("--format prometheus and --textfile-dir report one run, not a "
                            "comparison"));
    if (!options.textfileDir.isEmpty() && !QFileInfo(options.textfileDir).isDir())
        fail(QStringLiteral("--textfile-dir: no folder %1").arg(options.textfileDir));
    const QString pages = options.compare.isEmpty() ? pageNames() : comparisonPartNames();
    if (!options.page.isEmpty() &&
        (options.compare.isEmpty() ? !reportPageNamed(options.page) && options.page != foldersPage
                                   : !comparisonPartNamed(options.page)))
        fail(QStringLiteral("--page wants one of %1, not \"%2\"").arg(pages, options.page));
    // A save that can never succeed is said before a long walk, not after it.
    if (!options.save.isEmpty() && !QFileInfo(options.save).absoluteDir().exists())
        fail(QStringLiteral("--save: no folder %1").arg(QFileInfo(options.save).absolutePath()));
    if (options.format == Options::Format::Csv && options.page.isEmpty())
        fail(QStringLiteral("--format csv wants --page and one of %1").arg(pages));
    if (options.format != Options::Format::Csv && !options.page.isEmpty())
        fail(QStringLiteral("--page goes with --format csv"));
    if (!options.show.isEmpty()) {
        if (!options.folders.empty())
            fail(QStringLiteral("--show reports a collection file: give no folder with it"));
        if (filterGiven || options.today.isValid() || options.history)
            fail(QStringLiteral("--include, --exclude, --today and --history go with a walk, "
                                "not with --show"));
        return options;
    }
    // --compare OLD NEW: a later collection file instead of folders to walk.
    if (!options.compare.isEmpty() && options.folders.size() == 1 &&
        QFileInfo(QString::fromLocal8Bit(options.folders.front())).isFile()) {
        if (filterGiven || options.today.isValid() || options.history || !options.save.isEmpty())
            fail(QStringLiteral("--include, --exclude, --today, --save and --history go with a "
                                "walk, not with two collection files"));
        options.compareWith = QString::fromLocal8Bit(options.folders.front());
        options.folders.clear();
        return options;
    }
    if (options.folders.empty())
        fail(QStringLiteral("no folder given (see korvel98-scan --help)"));
    if (options.folders.size() > 24)
        fail(QStringLiteral("at most 24 folders, one per drive letter c: to z:"));
    return options;
}

// Each folder is held open and walked through the descriptor, so that its name is never turned
// into text and back.
std::vector<std::unique_ptr<platform::HeldFolder>> holdFolders(const Options &options)
{
    std::vector<std::unique_ptr<platform::HeldFolder>> held;
    for (const std::string &folder : options.folders) {
        held.push_back(std::make_unique<platform::HeldFolder>(folder));
        const int error = held.back()->error();
        if (error == ENOENT)
            failFolder("no such folder", folder);
        if (error == ENOTDIR)
            failFolder("not a folder", folder);
        if (error != 0)
            failFolder(std::strerror(error), folder);
    }
    return held;
}

std::string jsonString(const QString &text)
{
    std::string out = "\"";
    for (unsigned char c : text.toUtf8()) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += char(c);
            }
        }
    }
    return out + "\"";
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

// The cluster size the Overhang page points at: a one-drive run's, by the drive's space then.
std::int64_t overhangClusterSize(const RunFacts &facts)
{
    if (facts.drives.size() != 1)
        return 0;
    const DriveFacts &drive = facts.drives.front();
    constexpr std::uint64_t twoGiB = std::uint64_t(2) << 30;
    return clusterSizeFor(drive.capacity, drive.capacity > twoGiB ? 0 : drive.clusterSize);
}

QString filterText(const Accumulators &figures)
{
    QStringList extensions;
    for (const QString &row : figures.PickList2)
        extensions << row.section(u'\t', 0, 0).remove(u'*');
    if (figures.includeSelected)
        return QStringLiteral("only ") + extensions.join(u' ');
    if (figures.excludeSelected)
        return QStringLiteral("all files except ") + extensions.join(u' ');
    return QStringLiteral("all files");
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
                .arg(facts.hostName, filterText(figures),
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
    return text + QLatin1Char('\n') + reportText(folders);
}

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

QByteArray pageAsCsv(const ReportModel &model, const RunFacts &facts, const Accumulators &figures,
                     const QString &page)
{
    if (page == foldersPage)
        return reportCsv(largestFoldersTable(facts, figures.folderTotals));
    return reportCsv(model.table(*reportPageNamed(page)));
}

Collection readOrFail(const QString &path)
{
    CollectionRead read = readCollectionFile(path);
    if (!read)
        fail(read.message);
    return std::move(*read.collection);
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
    const ReportModel model(figures, facts.drives, overhangClusterSize(facts));
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

// A moment on a local date by the walk's own conversion, which follows every form TZ may take:
// noon UTC of the date, moved by whole days when the zone is so far out that it falls on another.
std::int64_t localNoon(const QDate &date)
{
    const std::int64_t day = platform::daysFromCivil(date.year(), date.month(), date.day());
    const std::int64_t noon = day * 86400 + 12 * 3600;
    return noon - (platform::localDayNumber(noon) - day) * 86400;
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

// One line on standard error that a terminal redraws in place while the walk goes: the files
// counted, the rate and the folder, shortened in the middle to fit the terminal's width. It is
// redrawn at most ten times a second and wiped when the walk is over.
class ProgressLine
{
public:
    explicit ProgressLine(int columns) : columns(columns > 0 ? columns : 80) {}

    void setFolder(const QString &shown) { folder = shown; }

    void draw(std::uint64_t files, bool now)
    {
        const auto at = std::chrono::steady_clock::now();
        if (!now && drawn && at - lastDraw < std::chrono::milliseconds(100))
            return;
        lastDraw = at;
        const double seconds = std::chrono::duration<double>(at - started).count();
        QString text = unsignedToGrouped(files) + QStringLiteral(" files");
        if (seconds >= 0.5)
            text += QStringLiteral(", ") + unsignedToGrouped(std::uint64_t(files / seconds)) +
                    QStringLiteral(" files/s");
        text += QStringLiteral("  ");
        // The last column is left free: a terminal that wraps there would break the line.
        text += shortened(folder, columns - 1 - terminalWidth(text));
        std::fprintf(stderr, "\r%s\x1b[K", text.toUtf8().constData());
        std::fflush(stderr);
        drawn = true;
    }

    void clear()
    {
        if (drawn)
            std::fputs("\r\x1b[K", stderr);
        drawn = false;
    }

    // The start and the end of a text that is too wide, with "..." between them.
    static QString shortened(const QString &text, int width)
    {
        if (terminalWidth(text) <= width)
            return text;
        if (width < 5)
            return QString();
        const QString gap = QStringLiteral("...");
        const std::u32string codes = text.toStdU32String();
        const auto part = [&](std::size_t from, std::size_t count) {
            return QString::fromStdU32String(codes.substr(from, count));
        };
        std::size_t head = 0, tail = 0;
        const int room = width - int(gap.size());
        while (head + tail < codes.size()) {
            const bool takeHead = (head + 1) * 2 <= tail + 1;
            const QString next = takeHead ? part(0, head + 1) + part(codes.size() - tail, tail)
                                          : part(0, head) + part(codes.size() - tail - 1, tail + 1);
            if (terminalWidth(next) > room)
                break;
            (takeHead ? head : tail) += 1;
        }
        return part(0, head) + gap + part(codes.size() - tail, tail);
    }

private:
    int columns;
    QString folder;
    bool drawn = false;
    std::chrono::steady_clock::time_point started = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point lastDraw;
};

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

// The figures are the tool's whole result: losing them on a full disk or a closed output is a
// failure the caller must see.
int finishOutput()
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return 0;
    std::fprintf(stderr, "korvel98-scan: cannot write the figures: %s\n", std::strerror(errno));
    return 1;
}

// A collection file to report instead of a walk; one that cannot be read is bad input.
int showCollection(const Options &options)
{
    const OpenedRun opened = readRunFile(options.show);
    const CollectionRead &read = opened.read;
    if (!read)
        fail(read.message);
    // A person reading the tables learns first that they are another scanner's figures.
    if (opened.dump && options.format == Options::Format::Text)
        std::fputs(withoutControls(QStringLiteral("Dump %1 by %2, its own rules on hidden "
                                                  "folders applied\n")
                                       .arg(opened.dump->fileName, opened.dump->maker))
                       .toUtf8()
                       .constData(),
                   stdout);
    int status = 0;
    QString message;
    if (!options.save.isEmpty() && !writeCollectionFile(options.save, *read.collection, message)) {
        std::fprintf(stderr, "korvel98-scan: %s\n", message.toLocal8Bit().constData());
        status = 1;
    }
    if (!options.textfileDir.isEmpty() &&
        !writePrometheusTextfile(options.textfileDir, read.collection->facts,
                                 read.collection->figures, message)) {
        std::fprintf(stderr, "korvel98-scan: %s\n", message.toLocal8Bit().constData());
        status = 1;
    }
    if (options.textfileDir.isEmpty() || options.formatGiven)
        printReport(options, read.collection->facts, read.collection->figures);
    const int written = finishOutput();
    return written != 0 ? written : status;
}

// The machines overview of a folder of collections.
int printMachines(const Options &options)
{
    const std::vector<MachineRow> rows =
        machineRows(options.machines, QDateTime::currentDateTime());
    if (options.format == Options::Format::Csv)
        std::fputs(reportCsv(machinesTable(rows)).constData(), stdout);
    else if (options.format == Options::Format::Text)
        std::fputs(withoutControls(reportText(machinesTable(rows))).toUtf8().constData(), stdout);
    else
        std::fputs(machinesJson(rows).constData(), stdout);
    return finishOutput();
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
    if (options.history && keepInHistory(collection, collectionsFolder(), message).isEmpty()) {
        std::fprintf(stderr, "korvel98-scan: %s\n", message.toLocal8Bit().constData());
        kept = false;
    }
    return kept;
}

} // namespace

int main(int argc, char **argv)
{
    platform::raiseDescriptorLimit();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    if (const std::optional<int> status = runHistoryCommand(arguments))
        return *status;
    const Options options = parse(arguments);
    if (!options.show.isEmpty())
        return showCollection(options);
    if (!options.machines.isEmpty())
        return printMachines(options);
    const std::optional<Collection> earlier =
        options.compare.isEmpty() ? std::nullopt : std::optional(readOrFail(options.compare));
    if (!options.compareWith.isEmpty()) {
        printComparison(options, *earlier, readOrFail(options.compareWith));
        return finishOutput();
    }
    const auto held = holdFolders(options);

    platform::FolderDriveSource drives;
    StatisticsEngine engine(drives);
    // Each drive is named by its folder as given, so that a message about it names that.
    char letter = 'c';
    for (std::size_t i = 0; i < held.size(); ++i, ++letter) {
        const QString entry = QStringLiteral("%1: [%2]")
                                  .arg(QChar(letter))
                                  .arg(QString::fromLocal8Bit(options.folders[i]));
        drives.addDrive(QChar(letter), platform::DriveFixed, entry, held[i]->path());
        engine.PickList1 << entry;
    }

    engine.allTypes = options.filter == Options::Filter::All;
    engine.includeSelected = options.filter == Options::Filter::Include;
    engine.excludeSelected = options.filter == Options::Filter::Exclude;
    for (const QString &extension : options.extensions)
        engine.PickList2 << u'*' + extension + u'\t';
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(engine.PickList2.begin(), engine.PickList2.end(), collator);

    if (options.today.isValid()) {
        const std::int64_t noon = localNoon(options.today);
        engine.clock = [noon] { return noon; };
    }
    RunRecorder recorder;
    std::unique_ptr<ProgressLine> progress;
    engine.hooks.errorBox = [&](const QString &text) {
        if (progress)
            progress->clear(); // the next draw puts it back below the message
        std::fprintf(stderr, "korvel98-scan: %s\n", text.toLocal8Bit().constData());
    };
    // The folder being walked, as the engine's status text names it (after its fixed words);
    // turned into the folder as given only when the line is drawn.
    QString walkedFolder;
    auto drawProgress = [&](bool now) {
        const QString prefix = QStringLiteral("Processing drive ") + engine.currentDrive +
                               QStringLiteral(" ... standby : ");
        if (walkedFolder.startsWith(prefix))
            progress->setFolder(escapedName(QByteArray::fromStdString(
                asGiven(walkedFolder.mid(prefix.size()).toUtf8(), options, held))));
        progress->draw(std::uint64_t(std::max<std::int64_t>(engine.filesProcessed, 0)), now);
    };
    engine.hooks.driveStarting = [&] {
        recorder.driveWalking(drives, engine.currentDrive.at(0));
        if (progress) {
            progress->setFolder(escapedName(QByteArray::fromStdString(
                options.folders[std::size_t(engine.currentDrive.at(0).unicode() - 'c')])));
            progress->draw(std::uint64_t(std::max<std::int64_t>(engine.filesProcessed, 0)), true);
        }
    };
    engine.hooks.refillPages = [&] {
        recorder.driveWalked(engine.walkCounters.entries, engine.walkCounters.withCreationTime);
    };
    if (platform::standardErrorIsTerminal()) {
        progress = std::make_unique<ProgressLine>(platform::standardErrorColumns());
        engine.hooks.statusText = [&](const QString &text) { walkedFolder = text; };
        engine.hooks.progress = [&](const WalkCounters &) { drawProgress(false); };
        engine.hooks.dispatchMessages = [] {};
        engine.dispatchInterval = std::chrono::milliseconds(100);
    }

    recorder.runStarting(drives, engine.PickList1);
    engine.collectDrives();
    if (progress)
        progress->clear();
    RunFacts facts = recorder.runEnded(engine.aborted);
    nameFolders(facts, options);
    tellUnreadable(engine, options, held);
    const bool kept = keepRun(options, facts, engine);
    if (earlier)
        printComparison(options, *earlier, collectionOf(facts, engine));
    else if (options.textfileDir.isEmpty() || options.formatGiven)
        printReport(options, facts, engine);
    const int written = finishOutput();
    // A walk that had to stop short (no descriptors left) printed incomplete figures.
    return written != 0 ? written : engine.aborted || !kept ? 1 : 0;
}
