#include "reports/ReportTexts.h"

#include "controls/Helpers.h"

#include <QLocale>

QString stripCommas(const QString &text)
{
    QString plain = text;
    return plain.remove(QLocale().groupSeparator());
}

QString averageText(double total, double count)
{
    if (count <= 0)
        return QStringLiteral("0");
    return floatToGrouped(total / count);
}
