// The command line of korvel98-scan read into options, or the one message that says what is wrong
// with it. Nothing here ends the program: main decides the exit status.

#include "ScanOptions.h"

#include "helpers/NameText.h"
#include "model/Comparison.h"
#include "model/ReportModel.h"

#include <QDir>
#include <QFileInfo>

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
    "                      text: every page as a table to read, and the 20 largest folders\n"
    "                      and files;\n"
    "                      csv: the one page --page names, as comma-separated values;\n"
    "                      prometheus: the figures for a Prometheus server to scrape, in its\n"
    "                      text format (per drive, the 50 types with the most bytes and\n"
    "                      \"(other)\" for the rest, size and age classes, attributes, the 20\n"
    "                      largest folders and the run itself)\n"
    "  --page PAGE         with --format csv: space, types, sizes, overhang, access, created,\n"
    "                      modified, combined, attribute, time, or folders (every folder kept);\n"
    "                      with csv, text or json: files (the 1,000 largest files of each\n"
    "                      drive) or owners (files and bytes of each user and group)\n"
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

const QString foldersPage = QStringLiteral("folders");
const QString filesPage = QStringLiteral("files");
const QString ownersPage = QStringLiteral("owners");

namespace {

QString pageNames()
{
    QStringList names;
    for (int page = 0; page < reportPageCount; ++page)
        names << reportPageName(ReportPageId(page));
    return (names << foldersPage << filesPage << ownersPage).join(QStringLiteral(", "));
}

QString comparisonPartNames()
{
    QStringList names;
    for (int part = 0; part < comparisonPartCount; ++part)
        names << comparisonPartName(ComparisonPart(part));
    return names.join(QStringLiteral(", "));
}

// A bad argument ends the reading at once, however deep it was found; parseOptions turns it into
// its message, so it never leaves this file.
struct BadOption
{
    QString message;
};

[[noreturn]] void fail(const QString &message)
{
    throw BadOption{message};
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
        if (arg == u"--help" || arg == u"-h") {
            options.help = true;
            return options;
        }
        if (arg == u"--version" || arg == u"-v") {
            options.version = true;
            return options;
        }
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
        (options.compare.isEmpty()
             ? !reportPageNamed(options.page) && options.page != foldersPage &&
                   options.page != filesPage && options.page != ownersPage
             : !comparisonPartNamed(options.page)))
        fail(QStringLiteral("--page wants one of %1, not \"%2\"").arg(pages, options.page));
    // A save that can never succeed is said before a long walk, not after it.
    if (!options.save.isEmpty() && !QFileInfo(options.save).absoluteDir().exists())
        fail(QStringLiteral("--save: no folder %1").arg(QFileInfo(options.save).absolutePath()));
    if (options.format == Options::Format::Csv && options.page.isEmpty())
        fail(QStringLiteral("--format csv wants --page and one of %1").arg(pages));
    const bool listPage = options.compare.isEmpty() &&
                          (options.page == filesPage || options.page == ownersPage) &&
                          options.format != Options::Format::Prometheus;
    if (options.format != Options::Format::Csv && !options.page.isEmpty() && !listPage)
        fail(QStringLiteral("--page goes with --format csv (files and owners also with text and "
                            "json)"));
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

} // namespace

platform::Outcome<Options> parseOptions(const std::vector<std::string> &bytes)
{
    try {
        return parse(bytes);
    } catch (const BadOption &bad) {
        return platform::Outcome<Options>::failure(bad.message);
    }
}
