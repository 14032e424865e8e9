#include "support/TestSupport.h"

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

} // namespace korvel::test
