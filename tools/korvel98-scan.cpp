// korvel98-scan: one collection run without a window, for scripts, developers and the walk
// benchmark. Each folder given stands in for one drive; the accumulators come out as one JSON
// object. The usage is in helpText below, which --help prints.

#include "engine/StatisticsEngine.h"
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
    "folders and other file systems mounted inside a folder are not entered; a folder that\n"
    "cannot be read counts as empty.\n"
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
    "overhang4K ... overhang64K, the bytes lost to clusters of that size.\n"
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
            options.extensions = parseExtensions(value());
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

std::string number(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.0f", value);
    return text;
}

template <typename Table> std::string numbers(const Table &table, std::size_t from, std::size_t to)
{
    std::string out = "[";
    for (std::size_t i = from; i <= to; ++i)
        out += (i > from ? "," : "") + number(table[i]);
    return out + "]";
}

void printJson(const StatisticsEngine &e)
{
    std::string out = "{\n";
    auto field = [&](const char *name, const std::string &value) {
        if (out.size() > 2)
            out += ",\n";
        out += std::string("  \"") + name + "\": " + value;
    };
    field("filesProcessed", number(double(e.filesProcessed)));
    field("filesFound", number(double(e.filesFound)));
    field("linkedNamesSkipped", number(double(e.linkedNamesSkipped)));
    std::string rows = "[";
    for (int i = 0; i < e.lbTypes.count(); ++i)
        rows += (i ? "," : "") + jsonString(e.lbTypes.row(i));
    field("lbTypes", rows + "]");
    field("sizeFiles", numbers(e.sizeFiles, 1, 12));
    field("sizeBytes", numbers(e.sizeBytes, 1, 12));
    field("ageAccessedFiles", numbers(e.ageAccessedFiles, 0, 9));
    field("ageAccessedBytes", numbers(e.ageAccessedBytes, 0, 9));
    field("ageCreatedFiles", numbers(e.ageCreatedFiles, 0, 9));
    field("ageCreatedBytes", numbers(e.ageCreatedBytes, 0, 9));
    field("ageModifiedFiles", numbers(e.ageModifiedFiles, 0, 9));
    field("ageModifiedBytes", numbers(e.ageModifiedBytes, 0, 9));
    field("hourModified", numbers(e.hourModified, 0, 47));
    field("hourCreated", numbers(e.hourCreated, 0, 47));
    field("hourAccessed", numbers(e.hourAccessed, 0, 47));
    field("nReadOnly", number(double(e.nReadOnly)));
    field("nHidden", number(double(e.nHidden)));
    field("nSystem", number(double(e.nSystem)));
    field("nArchive", number(double(e.nArchive)));
    field("szReadOnly", number(e.szReadOnly));
    field("szHidden", number(e.szHidden));
    field("szSystem", number(e.szSystem));
    field("szArchive", number(e.szArchive));
    field("overhang4K", number(e.overhang4K));
    field("overhang8K", number(e.overhang8K));
    field("overhang16K", number(e.overhang16K));
    field("overhang32K", number(e.overhang32K));
    field("overhang64K", number(e.overhang64K));
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
    char letter = 'c';
    for (const auto &folder : held) {
        drives.addDrive(QChar(letter), platform::DriveFixed, QString(), folder->path());
        engine.PickList1 << drives.drives().back().entry;
        ++letter;
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
    printJson(engine);
    const int written = finishOutput();
    // A walk that had to stop short (no descriptors left) printed incomplete figures.
    return written != 0 ? written : engine.aborted ? 1 : 0;
}
