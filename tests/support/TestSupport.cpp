#include "support/TestSupport.h"

#include <QFont>

namespace korvel::test {

QLocale commaLocale()
{
    return QLocale(QLocale::English, QLocale::UnitedStates);
}

QLocale dotLocale()
{
    return QLocale(QLocale::German, QLocale::Germany);
}

void useDesignFonts()
{
    QFont::insertSubstitution("Arial", "Liberation Sans");
    QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
    QFont::insertSubstitution("Times New Roman", "Liberation Serif");
}

QString testDataPath(const QString &relative)
{
    return QStringLiteral(KORVEL_SOURCE_DIR "/tests/") + relative;
}

} // namespace korvel::test
