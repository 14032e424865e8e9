// A dump in the layout other scanners write, made here from a tree, against a walk of that tree.

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <ctime>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray info(const QString &path, const QString &name)
{
    struct stat st
    {
    };
    ::lstat(QFile::encodeName(path).constData(), &st);
    QByteArray item =
        "{\"name\":" +
        QJsonDocument(QJsonArray{name}).toJson(QJsonDocument::Compact).mid(1).chopped(1);
    item += ",\"asize\":" + QByteArray::number(qint64(st.st_size)) +
            ",\"dsize\":" + QByteArray::number(qint64(st.st_blocks) * 512) +
            ",\"ino\":" + QByteArray::number(qulonglong(st.st_ino)) +
            ",\"mode\":" + QByteArray::number(st.st_mode) +
            ",\"mtime\":" + QByteArray::number(qint64(st.st_mtime));
    if (st.st_nlink > 1 && !S_ISDIR(st.st_mode))
        item += ",\"hlnkc\":true,\"nlink\":" + QByteArray::number(qulonglong(st.st_nlink));
    return item + '}';
}

// The folder as the dump's nested arrays; hidden folders left out, as the walk leaves them.
QByteArray folderDump(const QString &path, const QString &name)
{
    QByteArray out = '[' + info(path, name);
    const QDir dir(path);
    for (const QFileInfo &entry : dir.entryInfoList(
             QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        if (entry.isDir() && !entry.isSymLink()) {
            if (!entry.fileName().startsWith('.'))
                out += ',' + folderDump(entry.filePath(), entry.fileName());
        } else {
            out += ',' + info(entry.filePath(), entry.fileName());
        }
    }
    return out + ']';
}

QJsonObject scan(const QStringList &args)
{
    QProcess process;
    process.start(KORVEL_SCAN_TOOL, args);
    process.waitForFinished(60000);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().constData();
    return QJsonDocument::fromJson(process.readAllStandardOutput()).object();
}

TEST(ScannerDumpTool, ADumpOfATreeGivesTheFiguresOfItsWalk)
{
    QTemporaryDir home;
    const QDir tree(home.filePath("tree"));
    tree.mkpath("docs/deep/deeper");
    tree.mkpath(".hidden");
    tree.mkpath("src");
    const std::pair<const char *, int> files[] = {{"docs/a.TXT", 10},
                                                  {"docs/deep/b.txt", 40000},
                                                  {"docs/deep/deeper/c.pdf", 3 << 20},
                                                  {".hidden/skipped.txt", 99},
                                                  {"src/main.cpp", 1234},
                                                  {"src/.dotfile", 5},
                                                  {"noext", 0},
                                                  {"src/big.bin", 20 << 20}};
    for (const auto &[path, size] : files) {
        QFile file(tree.filePath(path));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.resize(size);
    }
    ASSERT_TRUE(QFile::link(tree.filePath("src/main.cpp"), tree.filePath("src/link.cpp")));
    ASSERT_EQ(::link(QFile::encodeName(tree.filePath("src/main.cpp")).constData(),
                     QFile::encodeName(tree.filePath("src/main2.cpp")).constData()),
              0);
    QFile::setPermissions(tree.filePath("docs/a.TXT"), QFile::ReadOwner);
    const QByteArray dump = "[1,2,{\"progname\":\"test\",\"timestamp\":" +
                            QByteArray::number(qint64(std::time(nullptr))) + "},\n" +
                            folderDump(tree.path(), tree.path()) + "]\n";
    QFile out(home.filePath("tree.json"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(dump);
    out.close();
    ASSERT_EQ(QProcess::execute("gzip", {"-k", out.fileName()}), 0);

    QJsonObject walked = scan({tree.path()});
    const QJsonObject read = scan({"--show", out.fileName()});
    EXPECT_EQ(scan({"--show", out.fileName() + ".gz"}), read);
    // A dump holds no access or creation dates: those figures are the walk's alone.
    for (const char *key : {"ageAccessedFiles", "ageAccessedBytes", "ageCreatedFiles",
                            "ageCreatedBytes", "hourAccessed", "hourCreated"})
        walked.remove(key);
    QJsonObject readSame = read;
    for (const QString &key : readSame.keys())
        if (!walked.contains(key))
            readSame.remove(key);
    EXPECT_GE(walked.size(), 20);
    EXPECT_EQ(readSame, walked);
}

} // namespace
