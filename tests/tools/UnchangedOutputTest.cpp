// Every output of the scan tool over one fixed tree, byte for byte against the files kept in
// tests/tools/unchanged. Only what belongs to the run itself and not to the tree is masked: the
// tree's place, the host, the moment of the run, the file system's space and the moments files
// were created (which no program can set). KORVEL_WRITE_UNCHANGED=1 writes the files anew.

#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace korvel::test;

namespace {

struct TreeFile
{
    QByteArray path;
    qint64 size;
    std::int64_t written, accessed;
};

// Sizes on and beside the class and cluster bounds, names with odd bytes and cases.
const TreeFile treeFiles[] = {
    {"docs/REPORT.DOC", 5000, 1764930000, 1764840000},
    {"docs/notes.txt", 16385, 1764800000, 1638000000},
    {"docs/deep/er/Main.class", 8192, 1730000000, 1765000000},
    {"odd\xff name.bin", 20000000, 1765100000, 157000000},
    {"caf\xc3\xa9.TXT", 1, 1762000000, 1755000000},
    {"tab\there.doc", 65536, 946730000, 1640000000},
    {"no extension", 4097, 1700000000, 1700000000},
    {"media/clip.mkv", 3000000, 1600000000, 1600000000},
    {"media/.hidden", 0, 1500000000, 1500000000},
    {"a.verylongextension", 12, 1764000000, 1764000000},
};

void makeTree(const QString &root)
{
    for (const TreeFile &f : treeFiles) {
        const QByteArray full = QFile::encodeName(root) + '/' + f.path;
        QDir().mkpath(QFile::decodeName(full.left(full.lastIndexOf('/'))));
        const int fd = ::open(full.constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0) << f.path.constData();
        ASSERT_EQ(::ftruncate(fd, f.size), 0);
        const timespec times[2] = {{f.accessed, 0}, {f.written, 0}};
        ASSERT_EQ(::futimens(fd, times), 0);
        ::close(fd);
    }
}

struct Output
{
    QString name;
    QStringList args; // "TREE" and "SAVED" stand for the tree and the saved collection
};

QList<Output> outputs()
{
    QList<Output> list{{"walk.json", {"TREE"}},
                       {"walk.txt", {"--format", "text", "TREE"}},
                       {"include.json", {"--include", ".doc,*.TXT,.none", "TREE"}},
                       {"exclude.txt", {"--exclude", "bin", "--format", "text", "TREE"}},
                       {"saved.collection", {"--save", "SAVED", "TREE"}},
                       {"show.json", {"--show", "SAVED"}},
                       {"show.txt", {"--format", "text", "--show", "SAVED"}},
                       {"compare.json", {"--compare", "SAVED", "TREE"}},
                       {"compare.txt", {"--format", "text", "--compare", "SAVED", "SAVED"}}};
    for (const char *page : {"space", "types", "sizes", "overhang", "access", "created", "modified",
                             "combined", "attribute", "time", "folders"})
        list << Output{QStringLiteral("page-%1.csv").arg(page),
                       {"--format", "csv", "--page", page, "TREE"}};
    for (const char *part :
         {"summary", "types", "sizes", "accessed", "created", "modified", "attributes", "folders"})
        list << Output{QStringLiteral("compare-%1.csv").arg(part),
                       {"--format", "csv", "--page", part, "--compare", "SAVED", "SAVED"}};
    return list;
}

QByteArray run(const QStringList &args)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("TZ", "UTC");
    env.insert("LC_ALL", "C.UTF-8");
    env.insert("LANG", "C.UTF-8");
    process.setProcessEnvironment(env);
    process.start(KORVEL_SCAN_TOOL, args);
    process.waitForFinished(120000);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return process.readAllStandardOutput();
}

// The columns of a CSV output that hold creation figures.
QList<int> createdColumns(const QString &name)
{
    if (name == u"page-time.csv")
        return {2};
    if (name == u"page-combined.csv")
        return {3, 4};
    if (name == u"page-created.csv")
        return {1, 2};
    if (name == u"compare-created.csv")
        return {1, 2, 3, 4, 5, 6};
    return {};
}

QByteArray maskedColumns(const QByteArray &csv, const QList<int> &columns)
{
    QByteArrayList lines = csv.split('\n');
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QByteArrayList cells = lines[i].split(',');
        for (int column : columns)
            if (column < cells.size())
                cells[column] = "<CREATED>";
        lines[i] = cells.join(',');
    }
    return lines.join('\n');
}

// What the tree cannot pin, written as a marker wherever it stands: the tree's place, the host,
// the run's moments, the file system's space, the files' creation figures and their owners (the
// user running the test).
QByteArray masked(const QString &name, QByteArray bytes, const QString &tree)
{
    bytes.replace(QFile::encodeName(tree), "<TREE>");
    bytes.replace(QSysInfo::machineHostName().toUtf8(), "<HOST>");
    const struct
    {
        const char *pattern, *marker;
    } rules[] = {
        {R"(\d{4}-\d\d-\d\d[ T]\d\d:\d\d(:\d\d(\.\d+)?)?( ?(UTC|Z|[+-]\d\d:?\d\d))?)", "<MOMENT>"},
        {R"(\b\d{1,2} [A-Z][a-z]{2} \d{4} \d\d:\d\d(:\d\d)?)", "<MOMENT>"},
        {R"x("(ageCreatedFiles|ageCreatedBytes|hourCreated)":\s*\[[^\]]*\])x",
         R"x("\1": <CREATED>)x"},
        {R"x("(capacity|free|used|usedEntries)":"\d+")x", R"x("\1":<SPACE>)x"},
        {R"(\b\d{1,3}(,\d{3}){3,}\b|(?<![.\d])\d{11,}\b)", "<SPACE>"},
        {R"((<SPACE>.*[ ,])\d+(\.\d+)?( %)?(?=\r?$))", "\\1<SPACE>"},
        // The text pages whose figures hold creation times; their CSV twins are kept, masked.
        {R"(\n(Created|Combined|Time)\n\n[^\n]+(\n[^\n]+)*\n)", "\n\\1 <CREATED>\n"},
        {R"(\nOwners\n\n[^\n]+(\n[^\n]+)*\n?)", "\nOwners <OWNERS>\n"},
        {R"x("owners": \{[^}]*\})x", R"x("owners": <OWNERS>)x"},
        {R"x(\["\d+","[^"]*",("\d+","\d+")\])x", R"x(["<ID>","<NAME>",\1])x"},
        {R"x((,-?\d+,)"\d+","\d+"\])x", R"x(\1"<ID>","<ID>"])x"},
    };
    for (const auto &rule : rules)
        bytes = QString::fromUtf8(bytes)
                    .replace(QRegularExpression(rule.pattern, QRegularExpression::MultilineOption),
                             rule.marker)
                    .toUtf8();
    return maskedColumns(bytes, createdColumns(name));
}

TEST(UnchangedOutput, EveryOutputOfTheFixedTreeIsAsKept)
{
    QTemporaryDir home, tree;
    ASSERT_TRUE(home.isValid() && tree.isValid());
    makeTree(tree.path());
    const QString saved = home.filePath("run.k98");
    const bool write = qEnvironmentVariableIsSet("KORVEL_WRITE_UNCHANGED");
    const QDir kept(testDataPath("tools/unchanged"));
    for (const Output &o : outputs()) {
        SCOPED_TRACE(o.name.toStdString());
        QStringList args = o.args;
        args.replaceInStrings(QRegularExpression("^TREE$"), tree.path());
        args.replaceInStrings(QRegularExpression("^SAVED$"), saved);
        if (args.contains(tree.path()))
            args = QStringList{"--today", "2026-12-07"} + args;
        QByteArray bytes = run(args);
        if (o.name.endsWith(".collection"))
            bytes = fileBytes(saved);
        bytes = masked(o.name, bytes, tree.path());
        const QString path = kept.filePath(o.name);
        if (write) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(bytes);
            continue;
        }
        EXPECT_EQ(bytes.toStdString(), fileBytes(path).toStdString());
    }
}

} // namespace
