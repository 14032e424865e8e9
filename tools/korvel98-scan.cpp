// korvel98-scan: one collection run without a window, for scripts, developers and the walk
// benchmark. Each folder given stands in for one drive; the accumulators come out as one JSON
// object. The usage is in helpText below, which --help prints.

#include "engine/StatisticsEngine.h"
#include "helpers/NameText.h"
#include "model/ReportModel.h"
#include "platform/DirectorySearch.h"
#include "platform/FileTimes.h"
#include "platform/FolderDriveSource.h"
#include "platform/StandardOutput.h"

#include <QCollator>
#include <QDate>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int usageError = 2;

const char helpText[] =
    "Usage: korvel98-scan [--include EXTS | --exclude EXTS] [--today YYYY-MM-DD] FOLDER...\n"
    "\n"
    "Counts the files under each FOLDER the way Korvel 98 counts the files of a drive, without a\n"
    "window, and prints every figure of the report pages as one JSON object on standard output.\n"
    "The folders stand for the drives c:, d:, e:, ... in the order given (at most 24). Hidden\n"
    "folders and other file systems mounted inside a folder are not entered. A folder that\n"
    "cannot be read is passed over and named on standard error (the first 20, then a count).\n"
    "\n"
    "  --include EXTS      count only files with these extensions\n"
    "  --exclude EXTS      count every file except those with these extensions\n"
    "                      EXTS is a comma-separated list such as .doc,.txt or *.doc,*.txt\n"
    "  --today YYYY-MM-DD  count file ages from noon of this day instead of from now\n"
    "  -h, --help          print this help and exit\n"
    "  -v, --version       print the version and exit\n"
    "\n"
    "A file with several names (hard links) counts once per folder given, under the first of its\n"
    "names met; linkedNamesSkipped counts the other names.\n"
    "\n"
    "Output: filesProcessed and filesFound; lbTypes, one line per extension; sizeFiles and\n"
    "sizeBytes, the twelve size classes from 0 - 16K to over 16MB; ageAccessed..., ageCreated...\n"
    "and ageModified... Files and Bytes, the ten age classes from not recorded to over 4 years;\n"
    "hourModified, hourCreated and hourAccessed, the 48 half hours of the day; the attribute\n"
    "counts nReadOnly, nHidden, nSystem, nArchive and their byte sums szReadOnly ... szArchive;\n"
    "overhang4K ... overhang64K, the bytes lost to clusters of that size; foldersUnreadable,\n"
    "the folders that could not be read, whose files are not counted; types, the Types\n"
    "listing as the window shows it (extension, type name, bytes, files and average, in the\n"
    "order of lbTypes) and typesTotal; longerExtensionFiles, the files whose extensions are\n"
    "too long for a row, and commonestLongerExtension, the most frequent of those.\n"
    "\n"
    "Exit status: 0 after a run, 2 on a bad argument or a missing folder (one line on standard\n"
    "error, nothing on standard output), 1 when the figures, the help or the version could not\n"
    "be written out (a full disk, a closed output) or the walk ran out of system resources.\n";

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
};

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
            std::exit(platform::printToStandardOutput("korvel98-scan", helpText) ? 0 : 1);
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

// The figures are the tool's whole result: losing them on a full disk or a closed output is a
// failure the caller must see.
int finishOutput()
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return 0;
    std::fprintf(stderr, "korvel98-scan: cannot write the figures: %s\n", std::strerror(errno));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    platform::raiseDescriptorLimit();
    const Options options = parse(std::vector<std::string>(argv + 1, argv + argc));
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
    engine.hooks.errorBox = [](const QString &text) {
        std::fprintf(stderr, "korvel98-scan: %s\n", text.toLocal8Bit().constData());
    };

    engine.collectDrives();
    tellUnreadable(engine, options, held);
    printJson(ReportModel(engine), engine);
    const int written = finishOutput();
    // A walk that had to stop short (no descriptors left) printed incomplete figures.
    return written != 0 ? written : engine.aborted ? 1 : 0;
}
