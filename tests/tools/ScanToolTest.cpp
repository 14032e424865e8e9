#include "platform/OwnerNames.h"
#include "tools/MadeUpHistory.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeDatabase>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimeZone>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Result
{
    int exitCode = -1;
    QByteArray out, err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

Result runProgram(const QString &program, const QStringList &args, const QString &tz = "UTC",
                  const QString &dataHome = {})
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TZ", tz);
    if (!dataHome.isEmpty())
        env.insert("XDG_DATA_HOME", dataHome);
    process.setProcessEnvironment(env);
    process.start(program, args);
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            process.readAllStandardOutput(), process.readAllStandardError()};
}

Result scan(const QStringList &args)
{
    return runProgram(KORVEL_SCAN_TOOL, args);
}

std::int64_t utc(const QDate &date, int hour, int minute)
{
    return QDateTime(date, QTime(hour, minute), QTimeZone::utc()).toSecsSinceEpoch();
}

// One file of the fixed tree, with the figures the test expects it to give.
struct Sample
{
    QString path;
    qint64 size;
    std::int64_t written, accessed; // 0: left as made
    bool readOnly = false;
};

const QDate today(2026, 12, 7);

class ScanTool : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        samples = {
            {"docs/REPORT.DOC", 5000, utc(today.addDays(-7), 10, 40),
             utc(today.addDays(-8), 0, 15)},
            {"docs/notes.txt", 16385, utc(today.addDays(-8), 23, 59),
             utc(today.addDays(-1461), 12, 0)},
            {"big.bin", 20000000, utc(today.addDays(10), 0, 45), utc(QDate(1975, 1, 1), 9, 0)},
            {".hidden", 0, utc(QDate(2000, 1, 1), 13, 30), utc(today.addDays(-1460), 6, 5)},
            {"Main.class", 8192, utc(today.addDays(-400), 7, 0), utc(today, 7, 30)},
            {"readonly.txt", 1, utc(today.addDays(-31), 18, 10), utc(today.addDays(-121), 18, 40),
             true},
        };
        for (const Sample &s : samples)
            make(s);
        make({".cache/skipped.txt", 999, 0, 0}); // under a hidden folder: never counted
        // A second name of a file, met after its first (the root's files come last): no file.
        ASSERT_EQ(::link(dir.filePath("docs/REPORT.DOC").toLocal8Bit(),
                         dir.filePath("copy.doc").toLocal8Bit()),
                  0);
    }
    void TearDown() override
    {
        for (int i = 0; i < 25; ++i)
            ::chmod(dir.filePath(QString("closed%1").arg(i, 2, 10, QChar('0'))).toLocal8Bit(),
                    0755);
    }

    void make(const Sample &s)
    {
        const QString full = dir.filePath(s.path);
        QDir().mkpath(QFileInfo(full).path());
        QFile f(full);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(s.size));
        if (s.written)
            f.setFileTime(QDateTime::fromSecsSinceEpoch(s.written, QTimeZone::utc()),
                          QFileDevice::FileModificationTime);
        if (s.accessed)
            f.setFileTime(QDateTime::fromSecsSinceEpoch(s.accessed, QTimeZone::utc()),
                          QFileDevice::FileAccessTime);
        f.close();
        if (s.readOnly) {
            ASSERT_EQ(::chmod(full.toLocal8Bit(), 0444), 0);
        }
    }

    QTemporaryDir dir;
    QList<Sample> samples;
};

// The figures worked out here from the samples, independently of the engine's own rules.
int sizeClassOf(qint64 size)
{
    int cls = 1;
    for (qint64 bound = 16 * 1024; size > bound && cls < 12; bound *= 2)
        ++cls;
    return cls;
}

int ageClassOf(std::int64_t stamp)
{
    if (stamp < utc(QDate(1980, 1, 1), 0, 0))
        return 0;
    const qint64 days =
        std::abs(QDateTime::fromSecsSinceEpoch(stamp, QTimeZone::utc()).date().daysTo(today));
    const qint64 bounds[] = {7, 30, 60, 120, 365, 730, 1095, 1460};
    int cls = 1;
    while (cls <= 8 && days > bounds[cls - 1])
        ++cls;
    return cls;
}

int slotOf(std::int64_t stamp)
{
    const QTime t = QDateTime::fromSecsSinceEpoch(stamp, QTimeZone::utc()).time();
    return stamp < utc(QDate(1980, 1, 1), 0, 0) ? -1 : t.hour() * 2 + t.minute() / 30;
}

QJsonArray numbers(QList<double> values)
{
    QJsonArray array;
    for (double v : values)
        array << v;
    return array;
}

TEST_F(ScanTool, JsonHoldsTheFiguresOfTheTree)
{
    const Result r = scan({"--today", today.toString(Qt::ISODate), dir.path()});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject json = r.json();
    const QStringList keys = {
        "filesProcessed",    "filesFound",       "lbTypes",          "sizeFiles",
        "sizeBytes",         "ageAccessedFiles", "ageAccessedBytes", "ageCreatedFiles",
        "ageCreatedBytes",   "ageModifiedFiles", "ageModifiedBytes", "hourModified",
        "hourCreated",       "hourAccessed",     "nReadOnly",        "nHidden",
        "nSystem",           "nArchive",         "szReadOnly",       "szHidden",
        "szSystem",          "szArchive",        "overhang4K",       "overhang8K",
        "overhang16K",       "overhang32K",      "overhang64K",      "foldersUnreadable",
        "linkedNamesSkipped"};
    for (const QString &key : keys)
        EXPECT_TRUE(json.contains(key)) << key.toStdString(); // scripts rely on them
    EXPECT_FALSE(QString::fromUtf8(r.out).contains(QRegularExpression("\\d[eE][-+]?\\d")))
        << "no number in exponent form";

    QList<double> sizeFiles(12), sizeBytes(12), modFiles(10), modBytes(10), accFiles(10),
        hourMod(48), hourAcc(48), overhang(5);
    for (const Sample &s : samples) {
        sizeFiles[sizeClassOf(s.size) - 1] += 1;
        sizeBytes[sizeClassOf(s.size) - 1] += s.size;
        modFiles[ageClassOf(s.written)] += 1;
        modBytes[ageClassOf(s.written)] += s.size;
        accFiles[ageClassOf(s.accessed)] += 1;
        if (slotOf(s.written) > 0)
            hourMod[slotOf(s.written)] += 1;
        if (slotOf(s.accessed) > 0)
            hourAcc[slotOf(s.accessed)] += 1;
        for (int i = 0; i < 5; ++i) {
            const qint64 cluster = 4096 << i;
            overhang[i] += s.size % cluster ? cluster - s.size % cluster : 0;
        }
    }
    EXPECT_EQ(json["filesProcessed"].toInteger(), samples.size());
    EXPECT_EQ(json["filesFound"].toInteger(), samples.size());
    EXPECT_EQ(json["linkedNamesSkipped"].toInteger(), 1);
    EXPECT_EQ(json["lbTypes"].toArray(),
              (QJsonArray{".BIN\t1\t20000000", ".DOC\t1\t5000", ".TXT\t2\t16386"}));
    EXPECT_EQ(json["sizeFiles"].toArray(), numbers(sizeFiles));
    EXPECT_EQ(json["sizeBytes"].toArray(), numbers(sizeBytes));
    EXPECT_EQ(json["ageModifiedFiles"].toArray(), numbers(modFiles));
    EXPECT_EQ(json["ageModifiedBytes"].toArray(), numbers(modBytes));
    EXPECT_EQ(json["ageAccessedFiles"].toArray(), numbers(accFiles));
    EXPECT_EQ(json["hourModified"].toArray(), numbers(hourMod));
    EXPECT_EQ(json["hourAccessed"].toArray(), numbers(hourAcc));
    double created = 0;
    for (const auto v : json["ageCreatedFiles"].toArray())
        created += v.toDouble();
    EXPECT_EQ(created, samples.size());
    EXPECT_EQ(json["nReadOnly"].toInteger(), 1);
    EXPECT_EQ(json["szReadOnly"].toInteger(), 1);
    EXPECT_EQ(json["nHidden"].toInteger(), 1);
    EXPECT_EQ(json["nSystem"].toInteger(), 0);
    EXPECT_EQ(json["nArchive"].toInteger(), 0);
    const char *slack[] = {"overhang4K", "overhang8K", "overhang16K", "overhang32K", "overhang64K"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(json[slack[i]].toDouble(), overhang[i]) << slack[i];
}

// The listing as the window shows it: every extension of the run's table in its order, named as
// the extension lists name it, and the files whose extensions are too long for a row.
TEST_F(ScanTool, TypesAreNamedAndOrderedAsTheWindowShowsThem)
{
    for (const char *name :
         {"prog.c", "page.html", "x.é", "x.a_b", "x.ab", "a.desktop", "b.desktop", "c.service"})
        make({QString("named/") + name, 1, 0, 0});
    const Result r = scan({dir.filePath("named")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject json = r.json();
    const QMimeDatabase mime;
    const QHash<QString, QString> expectedNames = {
        {".C", mime.mimeTypeForName("text/x-csrc").comment()},
        {".HTML", mime.mimeTypeForName("text/html").comment()}};
    QStringList rowOrder, typeOrder;
    for (const auto row : json["lbTypes"].toArray())
        rowOrder << row.toString().section(u'\t', 0, 0);
    for (const auto type : json["types"].toArray()) {
        const QJsonObject object = type.toObject();
        typeOrder << object["extension"].toString();
        if (expectedNames.contains(typeOrder.last())) {
            EXPECT_EQ(object["type"].toString(), expectedNames[typeOrder.last()]);
        }
    }
    EXPECT_EQ(typeOrder, rowOrder);
    EXPECT_EQ(rowOrder.size(), 5);
    EXPECT_EQ(json["longerExtensionFiles"].toInteger(), 3);
    EXPECT_EQ(json["commonestLongerExtension"].toString(), ".desktop");
}

// A zone given by its file, in the forms the C library takes, is the zone of that name.
TEST_F(ScanTool, TheZoneFileFormsOfTzGiveTheSameFigures)
{
    const QStringList args{"--today", today.toString(Qt::ISODate), dir.path()};
    const QByteArray byName = runProgram(KORVEL_SCAN_TOOL, args).out;
    for (const char *tz : {":/usr/share/zoneinfo/Etc/UTC", "/usr/share/zoneinfo/UTC"})
        EXPECT_EQ(runProgram(KORVEL_SCAN_TOOL, args, tz).out, byName) << tz;
}

// The filter options reach the run, and several folders are several drives.
TEST_F(ScanTool, FiltersAndSeveralFolders)
{
    Result r = scan({"--exclude", ".doc,.TXT", dir.path()});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.json()["filesFound"].toInteger(), 3);
    r = scan({"--include", ".doc", dir.filePath("docs"), dir.path()});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.json()["filesProcessed"].toInteger(), 8);
    EXPECT_EQ(r.json()["filesFound"].toInteger(), 2);
    EXPECT_EQ(r.json()["overhang4K"].toInteger(), 0);
}

TEST_F(ScanTool, BadArgumentsExitWithTwoAndOneLine)
{
    const QList<QStringList> bad = {
        {"--bogus", dir.path()},
        {dir.filePath("missing")},
        {},
        {"--today", "2026-13-01", dir.path()},
        {"--include", ".doc", "--exclude", ".txt", dir.path()},
        {"--include"},
        {dir.filePath("docs/REPORT.DOC")},
        {"--include", "", dir.path()},
        {"--exclude", ",,,", dir.path()},
        {"--format", "xml", dir.path()},
        {"--format", "csv", "--page", "folder", dir.path()},
        {"--format", "csv", dir.path()},
        {"--page", "types", dir.path()},
        {"--show", dir.filePath("missing.json")},
        {"--show", dir.filePath("docs/REPORT.DOC")},
        {"--show", dir.filePath("docs/REPORT.DOC"), dir.path()},
        {"--save", dir.filePath("nowhere/run.json"), dir.path()},
    };
    const QStringList named = {"--bogus",   "missing",    "folder",    "2026-13-01", "--exclude",
                               "--include", "REPORT.DOC", "--include", "--exclude",  "xml",
                               "folder",    "--page",     "--page",    "missing",    "REPORT.DOC",
                               "--show",    "nowhere"};
    for (qsizetype i = 0; i < bad.size(); ++i) {
        const Result r = scan(bad[i]);
        EXPECT_EQ(r.exitCode, 2) << bad[i].join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        EXPECT_EQ(r.err.count('\n'), 1);
        EXPECT_TRUE(r.err.contains(named[i].toUtf8())) << r.err.toStdString();
    }
}

// A run kept by --save and by --history shows again as the walk printed it, in every format, and
// the progress line stays off standard error when that is no terminal.
TEST_F(ScanTool, ASavedRunShowsAsTheWalkPrintedIt)
{
    QTemporaryDir data; // not in the tree walked
    const QString saved = data.filePath("run.korvel98.json");
    const QDir history(data.filePath("korvel98/collections"));
    for (const QStringList &how : {QStringList{"--history"}, QStringList{"--format", "text"},
                                   QStringList{"--format", "csv", "--page", "folders"}}) {
        const QStringList walk = how + QStringList{"--today",   today.toString(Qt::ISODate),
                                                   "--exclude", ".bin",
                                                   "--save",    saved,
                                                   dir.path()};
        const Result walked = runProgram(KORVEL_SCAN_TOOL, walk, "UTC", data.path());
        ASSERT_EQ(walked.exitCode, 0) << walked.err.toStdString();
        EXPECT_EQ(walked.err, "");
        QStringList files{saved};
        if (how[0] == "--history") {
            const QStringList kept = history.entryList({"*_c.korvel98.json"}, QDir::Files);
            ASSERT_EQ(kept.size(), 1);
            files << history.filePath(kept[0]);
        }
        for (const QString &file : files) {
            const QStringList show = how.mid(how[0] == "--history" ? 1 : 0) << "--show" << file;
            const Result shown = scan(show);
            ASSERT_EQ(shown.exitCode, 0) << shown.err.toStdString();
            EXPECT_EQ(shown.out, walked.out) << show.join(' ').toStdString();
        }
    }
}

// The records of a CSV text, each ended by CR LF, quoted fields undone.
QList<QStringList> csvRecords(const QByteArray &csv)
{
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    const QString text = QString::fromUtf8(csv);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == '"' && quoted && i + 1 < text.size() && text[i + 1] == '"')
            field += text[++i];
        else if (c == '"')
            quoted = !quoted;
        else if (quoted || (c != ',' && c != '\r'))
            field += c;
        else {
            record << std::exchange(field, QString());
            if (c == '\r') {
                records << std::exchange(record, QStringList());
                ++i; // the line feed
            }
        }
    }
    return records;
}

// Each page's columns in CSV hold the figures the JSON output gives, whole numbers unformatted.
TEST_F(ScanTool, CsvPagesHoldTheFiguresOfTheJson)
{
    const QStringList tree{"--today", today.toString(Qt::ISODate), dir.path()};
    const QJsonObject json = scan(tree).json();
    const struct
    {
        const char *page;
        int rows;                                    // without the totals
        QList<std::pair<int, const char *>> columns; // CSV column, JSON list
        bool lastFirst;
    } cases[] = {
        {"sizes", 12, {{1, "sizeBytes"}, {2, "sizeFiles"}}, true},
        {"access", 10, {{1, "ageAccessedBytes"}, {2, "ageAccessedFiles"}}, true},
        {"modified", 10, {{1, "ageModifiedBytes"}, {2, "ageModifiedFiles"}}, true},
        {"combined",
         10,
         {{1, "ageAccessedBytes"}, {4, "ageCreatedFiles"}, {6, "ageModifiedFiles"}},
         true},
        {"time", 48, {{1, "hourModified"}, {2, "hourCreated"}, {3, "hourAccessed"}}, false},
    };
    for (const auto &c : cases) {
        const Result r = scan(QStringList{"--format", "csv", "--page", c.page} + tree);
        ASSERT_EQ(r.exitCode, 0) << c.page;
        const QList<QStringList> records = csvRecords(r.out);
        ASSERT_EQ(records.size(), c.rows + 1) << c.page;
        for (const auto &[column, key] : c.columns)
            for (int row = 0; row < c.rows; ++row)
                EXPECT_EQ(records[row + 1][column].toLongLong(),
                          json[key][c.lastFirst ? c.rows - 1 - row : row].toInteger())
                    << c.page << " " << key << " " << row;
    }
    const QList<QStringList> types =
        csvRecords(scan(QStringList{"--format", "csv", "--page", "types"} + tree).out);
    const QJsonArray rows = json["types"].toArray();
    ASSERT_EQ(types.size(), rows.size() + 2); // the headings and the totals
    for (qsizetype row = 0; row < rows.size(); ++row)
        EXPECT_EQ(types[row + 1].mid(0, 4),
                  (QStringList{rows[row]["extension"].toString(), rows[row]["type"].toString(),
                               QString::number(rows[row]["bytes"].toInteger()),
                               QString::number(rows[row]["files"].toInteger())}));
}

// The largest files come largest first, one row per counted file of the small tree, alike in CSV
// and JSON; the owners add up to the files found; both read in text too.
TEST_F(ScanTool, FilesAndOwnersPagesInEveryFormat)
{
    const QStringList tree{"--today", today.toString(Qt::ISODate), dir.path()};
    const qint64 found = scan(tree).json()["filesFound"].toInteger();
    const QList<QStringList> files =
        csvRecords(scan(QStringList{"--format", "csv", "--page", "files"} + tree).out);
    ASSERT_EQ(files.size(), found + 1);
    for (qsizetype row = 2; row < files.size(); ++row)
        EXPECT_GE(files[row - 1][1].toLongLong(), files[row][1].toLongLong());
    const QJsonObject json =
        QJsonDocument::fromJson(scan(QStringList{"--format", "json", "--page", "files"} + tree).out)
            .object();
    ASSERT_EQ(json["rows"].toArray().size(), found);
    EXPECT_EQ(json["rows"][0][0].toString(), files[1][0]);
    const QList<QStringList> owners =
        csvRecords(scan(QStringList{"--format", "csv", "--page", "owners"} + tree).out);
    ASSERT_EQ(owners.size(), 3) << "one user and one group";
    EXPECT_EQ(owners[1].mid(0, 4),
              (QStringList{"user", platform::userName(::geteuid()), QString::number(::geteuid()),
                           QString::number(found)}));
    EXPECT_TRUE(
        scan(QStringList{"--format", "text", "--page", "owners"} + tree).out.startsWith("Owners"));
    EXPECT_TRUE(scan({"--format", "text", dir.path()}).out.contains("The 20 largest files"));
}

// The text report names every page and lists the folders that hold most, under the folder given.
TEST_F(ScanTool, TextShowsEveryPageAndTheLargestFolders)
{
    const Result r = scan({"--format", "text", dir.path()});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = QString::fromUtf8(r.out).split('\n');
    for (const char *title :
         {"Space", "Types", "Sizes", "Overhang", "Access", "Created", "Modified", "Combined",
          "Attribute", "Time", "The 20 largest folders"})
        EXPECT_TRUE(lines.contains(title)) << title;
    const qsizetype folders = lines.indexOf("The 20 largest folders");
    EXPECT_TRUE(lines.value(folders + 4).startsWith(dir.filePath("docs") + "  "))
        << r.out.toStdString();
}

// At a terminal a line on standard error shows the count and the folder, and is wiped at the end.
TEST_F(ScanTool, AProgressLineIsDrawnOnlyAtATerminal)
{
    if (QStandardPaths::findExecutable("script").isEmpty())
        GTEST_SKIP() << "no script(1) to give the tool a terminal";
    const QString command = QString("'%1' '%2' >/dev/null").arg(KORVEL_SCAN_TOOL, dir.path());
    const Result r = runProgram("script", {"-qec", command, "/dev/null"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("\r0 files  " + dir.path().toUtf8())) << r.out.toStdString();
    EXPECT_TRUE(r.out.endsWith("\r\x1b[K")) << r.out.toStdString();
}

// Folder names are bytes: neither a name that is not UTF-8 nor a path longer than the system
// takes in one piece stops the tool from walking the folder.
TEST_F(ScanTool, FoldersAreTakenAsBytesOfAnyLength)
{
    const QString script =
        "cd \"$1\" && mkdir \"$(printf 'x\\377')\" && : > \"$(printf 'x\\377')/a\" && "
        "exec \"$2\" \"$(printf '%s/x\\377' \"$1\")\"";
    Result r = runProgram("sh", {"-c", script, "sh", dir.path(), KORVEL_SCAN_TOOL});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.json()["filesProcessed"].toInteger(), 1);

    std::string path = dir.path().toStdString();
    int at = ::open(path.c_str(), O_RDONLY | O_DIRECTORY);
    const std::string name(200, 'n');
    for (int level = 0; level < 25; ++level, path += '/' + name) {
        ASSERT_EQ(::mkdirat(at, name.c_str(), 0755), 0);
        const int next = ::openat(at, name.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(at);
        at = next;
    }
    ::close(::openat(at, "deep", O_CREAT | O_WRONLY, 0644));
    ::close(at);
    r = scan({QString::fromStdString(path)});
    runProgram("rm", {"-rf", dir.filePath(QString::fromStdString(name))}); // beyond QDir's reach
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.json()["filesProcessed"].toInteger(), 1);
}

// Figures that cannot be written are a failure, not a success with nothing to show.
TEST_F(ScanTool, AWriteErrorOnTheOutputFails)
{
    for (const char *redirect : {">/dev/full", ">&-"}) {
        const Result r = runProgram("sh", {"-c", QString("exec \"$0\" \"$1\" %1").arg(redirect),
                                           KORVEL_SCAN_TOOL, dir.path()});
        EXPECT_NE(r.exitCode, 0) << redirect;
        EXPECT_FALSE(r.err.isEmpty()) << redirect;
    }
}

// Permissions do not bind root, so as root the tool runs as nobody for this one. Folders it may
// not read are named on standard error as the user would name them, the first twenty one by one.
TEST_F(ScanTool, UnreadableFoldersAreNamedAndCounted)
{
    for (int i = 0; i < 25; ++i) {
        make({QString("closed%1/secret.txt").arg(i, 2, 10, QChar('0')), 10, 0, 0});
        ASSERT_EQ(::chmod(dir.filePath(QString("closed%1").arg(i, 2, 10, QChar('0'))).toLocal8Bit(),
                          i == 0 ? 0644 : 0),
                  0);
    }
    ASSERT_EQ(::chmod(dir.path().toLocal8Bit(), 0755), 0);
    for (const char *sub : {"docs", ".cache"})
        ::chmod(dir.filePath(sub).toLocal8Bit(), 0755);

    // A copy of the tool that nobody may run, wherever the build folder lies.
    QTemporaryDir toolDir;
    QStringList tool{KORVEL_SCAN_TOOL};
    if (::geteuid() == 0) {
        tool = QStringList{"--reuid=65534", "--regid=65534", "--clear-groups",
                           toolDir.filePath("korvel98-scan")};
        ASSERT_TRUE(QFile::copy(KORVEL_SCAN_TOOL, tool.last()));
        ASSERT_EQ(::chmod(toolDir.path().toLocal8Bit(), 0755), 0);
        ASSERT_EQ(::chmod(tool.last().toLocal8Bit(), 0755), 0);
        if (runProgram("setpriv", tool + QStringList{"--bogus"}).exitCode != 2)
            GTEST_SKIP() << "the tool cannot be run as nobody here";
    }
    auto run = [&](const QString &folder) {
        return ::geteuid() == 0 ? runProgram("setpriv", tool + QStringList{folder})
                                : runProgram(tool.first(), {folder});
    };

    Result r = run(dir.path());
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.json()["filesProcessed"].toInteger(), samples.size());
    EXPECT_EQ(r.json()["foldersUnreadable"].toInteger(), 25);
    const QStringList lines = QString::fromLocal8Bit(r.err).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 21) << r.err.toStdString();
    const QRegularExpression named("^korvel98-scan: cannot read " +
                                   QRegularExpression::escape(dir.path()) +
                                   "/closed\\d\\d: Permission denied$");
    EXPECT_EQ(lines.filter(named).size(), 20) << r.err.toStdString();
    EXPECT_EQ(lines.last(), "korvel98-scan: 25 folders could not be read");

    const QString given = dir.filePath("closed01") + "/";
    r = run(given);
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.json()["foldersUnreadable"].toInteger(), 1);
    EXPECT_EQ(QString::fromLocal8Bit(r.err), "korvel98-scan: cannot read " + given +
                                                 ": Permission denied\n"
                                                 "korvel98-scan: 1 folder could not be read\n");
}

// A file system mounted inside the tree belongs to another drive. A private mount namespace
// lets the test mount one without touching the machine.
TEST_F(ScanTool, MountedFileSystemInsideTheTreeIsNotEntered)
{
    QDir(dir.path()).mkdir("mnt");
    const QString script = "mount -t tmpfs none \"$1/mnt\" || exit 99; : > \"$1/mnt/inside\"; "
                           "exec \"$2\" \"$1\"";
    const Result r =
        runProgram("unshare", {"-Urm", "sh", "-c", script, "sh", dir.path(), KORVEL_SCAN_TOOL});
    if (r.exitCode != 0 && r.out.isEmpty())
        GTEST_SKIP() << "no private mount namespace here: " << r.err.toStdString();
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.json()["filesProcessed"].toInteger(), samples.size());
}

} // namespace

namespace {

// --compare OLD FOLDER walks and compares; --compare OLD NEW prints the same from the saved walk;
// a page of another kind, or --show beside it, is refused.
TEST_F(ScanTool, CompareWithAnEarlierCollection)
{
    QTemporaryDir data;
    const QString old = data.filePath("old.korvel98.json"),
                  now = data.filePath("now.korvel98.json");
    ASSERT_EQ(scan({"--save", old, dir.path()}).exitCode, 0);
    make({"docs/logs/a.log", 10240, 0, 0});
    ASSERT_TRUE(QFile::remove(dir.filePath("docs/notes.txt")));

    const Result walked =
        scan({"--format", "csv", "--page", "types", "--save", now, "--compare", old, dir.path()});
    ASSERT_EQ(walked.exitCode, 0) << walked.err.toStdString();
    const QList<QStringList> records = csvRecords(walked.out);
    ASSERT_GE(records.size(), 3);
    EXPECT_EQ(records[1].mid(0, 1) + records[1].mid(2),
              (QStringList{".TXT", "2", "1", "-1", "16386", "1", "-16385"}));
    EXPECT_EQ(records[2].mid(0, 1) + records[2].mid(2),
              (QStringList{".LOG", "0", "1", "1", "0", "10240", "10240"}));
    const Result files = scan({"--format", "csv", "--page", "types", "--compare", old, now});
    EXPECT_EQ(files.out, walked.out);
    const QJsonObject json = scan({"--compare", old, now}).json();
    EXPECT_EQ(json["tables"]["folders"]["rows"][0][0].toString(), dir.filePath("docs/logs"));

    for (const QStringList &bad :
         {QStringList{"--format", "csv", "--page", "space", "--compare", old, now},
          QStringList{"--show", now, "--compare", old}}) {
        const Result r = scan(bad);
        EXPECT_EQ(r.exitCode, 2) << bad.join(' ').toStdString();
        EXPECT_EQ(r.err.count('\n'), 1);
    }
}

} // namespace

namespace {

// Twenty daily runs of ten months ago: thinned to one a week. The dry run says what would go and
// why and removes nothing; the prune then removes exactly that.
TEST(ScanToolHistory, PruneDryRunListsWhatThePruneRemoves)
{
    QTemporaryDir history;
    const QDateTime first = QDateTime::currentDateTime().addDays(-300);
    for (int day = 0; day < 20; ++day) {
        const Collection c = madeUpRun(first.addDays(day), day, 1000, 30);
        QString message;
        ASSERT_TRUE(writeCollectionFile(history.filePath(historyFileName(c.facts)), c, message));
    }
    const QStringList folder{"--history-folder", history.path()};
    const Result dry = scan(QStringList{"--history-prune", "--dry-run"} + folder);
    ASSERT_EQ(dry.exitCode, 0) << dry.err.toStdString();
    const QStringList lines = QString::fromUtf8(dry.out).split('\n', Qt::SkipEmptyParts);
    EXPECT_GE(lines.size(), 16);
    for (const QString &line : lines)
        EXPECT_TRUE(line.contains(": a newer run of its week stays (")) << line.toStdString();
    EXPECT_EQ(historyFiles(history.path()).size(), 20);

    const Result pruned = scan(QStringList{"--history-prune"} + folder);
    EXPECT_EQ(pruned.exitCode, 0);
    EXPECT_EQ(QString::fromUtf8(pruned.out).replace("removed", "would remove"),
              QString::fromUtf8(dry.out));
    EXPECT_EQ(historyFiles(history.path()).size(), 20 - lines.size());
}

TEST(ScanToolHistory, TrendsInEveryFormat)
{
    QTemporaryDir history;
    ASSERT_TRUE(writeMadeUpHistory(history.path(), 20, 1000, 30));
    const QStringList folder{"--history-folder", history.path()};
    const struct
    {
        QStringList args;
        int exitCode;
        const char *has;
    } cases[] = {
        {{"--trends"}, 0, "C: grows by 9.8 GB a week; full in about"},
        {{"--trends", "--format", "csv", "--page", "ages"},
         0,
         "Date,Not modified for a year,Not accessed for a year\r\n"},
        {{"--trends", "--format", "json"}, 0, "\"forecast\": ["},
        {{"--trends", "--since", QDate::currentDate().addDays(-4).toString(Qt::ISODate)},
         0,
         "Trends of drives C: 5 collections from "},
        {{"--trends", "--drives", "de"}, 2, "no collection of drives de; the history has c"},
        {{"--trends", "--dry-run"}, 2, "--dry-run goes with --history-prune"},
    };
    for (const auto &c : cases) {
        const Result result = scan(c.args + folder);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE((result.out + result.err).contains(c.has))
            << c.args.join(' ').toStdString() << "\n"
            << (result.out + result.err).left(600).toStdString();
    }
}

} // namespace
