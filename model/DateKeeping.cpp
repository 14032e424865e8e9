#include "model/DateKeeping.h"

namespace {

QString driveName(const DriveFacts &drive)
{
    return QString(drive.letter.toUpper()) + QLatin1Char(':');
}

QString accessDatesWay(platform::AccessTimes way)
{
    switch (way) {
    case platform::AccessTimes::Never:
        return QStringLiteral("are never updated (noatime)");
    case platform::AccessTimes::Daily:
        return QStringLiteral("are updated at most once a day (relatime)");
    case platform::AccessTimes::Always:
        return QStringLiteral("are always updated (strictatime)");
    case platform::AccessTimes::Unknown:
        break;
    }
    return QString();
}

} // namespace

QStringList accessDatesLines(const std::vector<DriveFacts> &drives)
{
    QStringList ways, names; // names[i]: the drives that keep access dates as ways[i] says
    for (const DriveFacts &drive : drives) {
        const QString way = accessDatesWay(drive.accessTimes);
        if (way.isEmpty())
            continue;
        qsizetype at = ways.indexOf(way);
        if (at < 0) {
            at = ways.size();
            ways << way;
            names << QString();
        }
        names[at] += (names[at].isEmpty() ? QString() : QStringLiteral(" ")) + driveName(drive);
    }
    QStringList lines;
    for (qsizetype i = 0; i < ways.size(); ++i)
        lines << QStringLiteral("Access dates on %1 %2").arg(names[i], ways[i]);
    return lines;
}

QStringList creationDatesLines(const std::vector<DriveFacts> &drives)
{
    QStringList without;
    for (const DriveFacts &drive : drives)
        if (drive.keepsCreationDates == false)
            without << driveName(drive);
    if (without.isEmpty())
        return {};
    return {without.join(u' ') + (without.size() == 1 ? QStringLiteral(" keeps no creation dates")
                                                      : QStringLiteral(" keep no creation dates"))};
}
