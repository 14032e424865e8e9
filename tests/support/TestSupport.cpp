#include "support/TestSupport.h"

#include <QFile>

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

} // namespace korvel::test
