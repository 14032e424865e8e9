#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Extensions that hide, move or merge in plain text: each keeps a row of its own, shown so that
// a reader sees what it holds, and a filter on a raw byte takes only that byte.
TEST(NamesShown, OddExtensionsKeepRowsOfTheirOwnShownEscaped)
{
    const struct
    {
        QByteArray name;
        QString row, type;
    } cases[] = {
        {"a.\n", ".\\n", "\\n File"},
        {"b.\xE2\x80\xAEtxt", ".\\u202ETXT", "\\u202ETXT File"},
        {"c.\xE2\x80\x8B", ".\\u200B", "\\u200B File"},
        {"d.\xFF", ".\\xFF", "\\xFF File"},
        {"e.\xFE", ".\\xFE", "\\xFE File"},
        {"f.", ".", ""},
    };
    QTemporaryDir dir;
    for (const auto &c : cases) {
        const int fd =
            ::open((dir.path().toLocal8Bit() + '/' + c.name).constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ::close(fd);
    }
    QProcess scan;
    scan.start(KORVEL_SCAN_TOOL, {dir.path()});
    scan.waitForFinished();
    const QJsonArray types =
        QJsonDocument::fromJson(scan.readAllStandardOutput())["types"].toArray();
    QHash<QString, QJsonObject> rows;
    for (const auto type : types)
        rows.insert(type.toObject()["extension"].toString(), type.toObject());
    EXPECT_EQ(std::size_t(rows.size()), std::size(cases));
    for (const auto &c : cases) {
        EXPECT_EQ(rows[c.row]["files"].toInteger(), 1) << c.row.toStdString();
        if (!c.type.isEmpty()) {
            EXPECT_EQ(rows[c.row]["type"].toString(), c.type) << c.row.toStdString();
        }
    }

    // The shell hands the tool the byte as it is.
    scan.start("/bin/sh", {"-c", "exec \"$0\" --include \"$(printf '.\\377')\" \"$1\"",
                           KORVEL_SCAN_TOOL, dir.path()});
    scan.waitForFinished();
    EXPECT_EQ(QJsonDocument::fromJson(scan.readAllStandardOutput())["filesFound"].toInteger(), 1);
}

} // namespace
