#include "support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>

namespace korvel::test {

QLocale commaLocale()
{
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

QLocale dotLocale()
{
    return QLocale(QLocale::German, QLocale::Germany);
}

QString testDataPath(const QString &relative)
{
    return QStringLiteral(KORVEL_SOURCE_DIR "/tests/") + relative;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString pdfText(const QString &path, bool keepLayout)
{
    QProcess tool;
    tool.start("pdftotext",
               keepLayout ? QStringList{"-layout", path, "-"} : QStringList{path, "-"});
    tool.waitForFinished();
    return QString::fromUtf8(tool.readAllStandardOutput());
}

double pdfLeastTextMarginMm(const QString &path)
{
    QProcess tool;
    tool.start("pdftotext", {"-bbox", path, "-"});
    tool.waitForFinished();
    const QString boxes = QString::fromUtf8(tool.readAllStandardOutput());
    static const QRegularExpression tag(
        R"re(<(page) width="([\d.]+)" height="([\d.]+)"|<(word) xMin="([\d.]+)" )re"
        R"re(yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)")re");
    double least = -1;
    double width = 0, height = 0;
    for (const QRegularExpressionMatch &m : tag.globalMatch(boxes)) {
        if (!m.captured(1).isEmpty()) {
            width = m.captured(2).toDouble();
            height = m.captured(3).toDouble();
            continue;
        }
        const double margin =
            std::min({m.captured(5).toDouble(), m.captured(6).toDouble(),
                      width - m.captured(7).toDouble(), height - m.captured(8).toDouble()});
        least = least < 0 ? margin : std::min(least, margin);
    }
    return least < 0 ? least : least * 25.4 / 72; // from points
}

} // namespace korvel::test
