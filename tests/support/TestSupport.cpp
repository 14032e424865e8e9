#include "support/TestSupport.h"

#include <QFile>
#include <QProcess>

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

} // namespace korvel::test
