#include "reports/ReportTexts.h"

#include "helpers/Helpers.h"

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

QString percentFreeText(double freeBytes, double totalBytes)
{
    // Two decimals as the locale writes them, then the second one dropped.
    QString text = QLocale().toString(freeBytes * 100 / totalBytes, 'f', 2);
    text.chop(1);
    return text;
}
