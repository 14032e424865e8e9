#include "model/PrometheusText.h"

#include "engine/Accumulators.h"
#include "model/RunFacts.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray linesOf(const QByteArray &text, const QByteArray &metric)
{
    QByteArray lines;
    for (const QByteArray &line : text.split('\n'))
        if (line.startsWith(metric + '{') || line.startsWith(metric + ' '))
            lines += line + '\n';
    return lines;
}

TEST(PrometheusText, EscapesLabelValuesAsTheFormatAndTheNamesWant)
{
    const struct
    {
        QByteArray mountPoint, label;
    } cases[] = {
        {"/srv/plain", "/srv/plain"},
        {"/srv/say \"hi\"", "/srv/say \\\"hi\\\""},
        {"/srv/back\\slash", "/srv/back\\\\\\\\slash"}, // escaped once as a name, once as a label
        {"/srv/line\nbreak", "/srv/line\\\\nbreak"},
        {"/srv/tab\there", "/srv/tab\\\\there"},
    };
    for (const auto &c : cases) {
        RunFacts facts;
        facts.drives.push_back({QChar('c'), QString::fromUtf8(c.mountPoint), "ext4", 100, 40});
        EXPECT_EQ(linesOf(prometheusText(facts, Accumulators()), "korvel98_drive_used_bytes"),
                  "korvel98_drive_used_bytes{drive=\"c:\",mountpoint=\"" + c.label +
                      "\",fstype=\"ext4\"} 60\n")
            << c.mountPoint.constData();
    }
}

TEST(PrometheusText, NamesTheTypesWithTheMostBytesAndSumsTheRest)
{
    Accumulators figures;
    const int types = prometheusTypeSeries + 10;
    std::uint64_t restBytes = 0;
    for (int i = 1; i <= types; ++i) {
        const QString extension = QStringLiteral(".E%1").arg(i);
        figures.lbTypes.insertType(extension, std::uint64_t(i) * 10, false);
        figures.lbTypes.insertType(extension, 1, false);
        restBytes += i <= types - prometheusTypeSeries ? std::uint64_t(i) * 10 + 1 : 0;
    }
    const QByteArray bytes = linesOf(prometheusText(RunFacts(), figures), "korvel98_type_bytes");
    EXPECT_EQ(bytes.count('\n'), prometheusTypeSeries + 1);
    EXPECT_TRUE(bytes.startsWith("korvel98_type_bytes{extension=\".E60\"} 601\n"));
    EXPECT_FALSE(bytes.contains("\".E10\""));
    EXPECT_TRUE(bytes.contains("\".E11\""));
    EXPECT_TRUE(bytes.endsWith("korvel98_type_bytes{extension=\"(other)\"} " +
                               QByteArray::number(restBytes) + '\n'));
    EXPECT_TRUE(linesOf(prometheusText(RunFacts(), figures), "korvel98_type_files")
                    .endsWith("{extension=\"(other)\"} 20\n"));
}

TEST(PrometheusText, TheTextfileTakesItsPlaceWholeAndLeavesTheFolderElseAlone)
{
    QTemporaryDir folder;
    QString message;
    ASSERT_TRUE(writePrometheusTextfile(folder.path(), RunFacts(), Accumulators(), message));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"korvel98.prom"});
    EXPECT_FALSE(
        writePrometheusTextfile(folder.filePath("missing"), RunFacts(), Accumulators(), message));
    EXPECT_TRUE(message.contains("korvel98.prom"));
}

} // namespace
