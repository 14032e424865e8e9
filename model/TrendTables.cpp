#include "model/TrendTables.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace {

QString dateText(const QDateTime &at)
{
    return at.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString driveName(QChar letter)
{
    return letter.toUpper() + QStringLiteral(":");
}

ReportCell changeCell(double change)
{
    return ReportCell::ofChange(std::int64_t(std::llround(change)));
}

ReportTable spaceTable(const std::vector<TrendPoint> &points)
{
    ReportTable table{trendTabTitle(TrendTab::Space), {QStringLiteral("Date")}, {}, 0, {}};
    if (points.empty())
        return table;
    for (const TrendDrive &drive : points.back().drives)
        table.headings << driveName(drive.letter) + QStringLiteral(" used")
                       << driveName(drive.letter) + QStringLiteral(" capacity");
    for (const TrendPoint &point : points) {
        std::vector<ReportCell> row{ReportCell::ofText(dateText(point.started))};
        for (const TrendDrive &latest : points.back().drives) {
            const TrendDrive *drive = nullptr;
            for (const TrendDrive &d : point.drives)
                if (d.letter == latest.letter)
                    drive = &d;
            row.push_back(ReportCell::ofInteger(drive ? drive->usedBytes() : 0));
            row.push_back(ReportCell::ofInteger(drive ? drive->capacity : 0));
        }
        table.rows.push_back(row);
    }
    return table;
}

ReportTable growthTable(TrendTab tab, const QString &what, const std::vector<GrowthRow> &rows)
{
    ReportTable table{trendTabTitle(tab),
                      {what, QStringLiteral("Bytes first"), QStringLiteral("Bytes latest"),
                       QStringLiteral("Change"), QStringLiteral("Change per month")},
                      {},
                      0,
                      {}};
    for (const GrowthRow &row : rows)
        table.rows.push_back({ReportCell::ofText(row.name), ReportCell::ofInteger(row.first),
                              ReportCell::ofInteger(row.latest), changeCell(row.change()),
                              changeCell(row.perMonth)});
    return table;
}

ReportCell shareCell(const std::optional<double> &share)
{
    return share ? ReportCell::ofPercentage(*share * 100) : ReportCell::ofText(QString());
}

ReportTable agesTable(const std::vector<TrendPoint> &points)
{
    ReportTable table{trendTabTitle(TrendTab::Ages),
                      {QStringLiteral("Date"), QStringLiteral("Not modified for a year"),
                       QStringLiteral("Not accessed for a year")},
                      {},
                      0,
                      {}};
    for (const TrendPoint &point : points)
        table.rows.push_back({ReportCell::ofText(dateText(point.started)),
                              shareCell(coldModifiedShare(point)),
                              shareCell(coldAccessedShare(point))});
    return table;
}

ReportTable forecastTable(const std::vector<TrendPoint> &points, const QDate &today)
{
    ReportTable table{
        trendTabTitle(TrendTab::Forecast),
        {QStringLiteral("Drive"), QStringLiteral("Forecast"), QStringLiteral("How sure")},
        {},
        0,
        {}};
    for (const DriveForecast &drive : driveForecasts(points))
        table.rows.push_back({ReportCell::ofText(driveName(drive.letter)),
                              ReportCell::ofText(forecastText(drive.letter, drive.forecast, today)),
                              ReportCell::ofText(forecastRangeText(drive.forecast))});
    return table;
}

} // namespace

QString trendPeriodTitle(TrendPeriod period)
{
    static const QStringList titles{"All", "Two years", "One year", "90 days", "30 days"};
    return titles.value(int(period));
}

std::vector<TrendPoint> pointsInPeriod(const std::vector<TrendPoint> &all, const QString &driveSet,
                                       TrendPeriod period)
{
    const std::vector<TrendPoint> ofSet = trendPointsOf(all, driveSet, QDateTime());
    static const int days[] = {0, 730, 365, 90, 30};
    if (ofSet.empty() || period == TrendPeriod::All)
        return ofSet;
    return trendPointsOf(ofSet, driveSet, ofSet.back().started.addDays(-days[int(period)]));
}

QStringList trendDriveSets(const std::vector<TrendPoint> &points)
{
    QStringList sets;
    for (auto point = points.rbegin(); point != points.rend(); ++point)
        if (!sets.contains(point->driveSet()))
            sets << point->driveSet();
    return sets;
}

std::vector<DriveForecast> driveForecasts(const std::vector<TrendPoint> &points)
{
    std::vector<DriveForecast> forecasts;
    if (points.empty())
        return forecasts;
    for (const TrendDrive &drive : points.back().drives)
        forecasts.push_back({drive.letter, drive.capacity,
                             forecastOf(usedSamples(points, drive.letter), drive.capacity)});
    return forecasts;
}

QString trendTabName(TrendTab tab)
{
    return trendTabTitle(tab).toLower();
}

QString trendTabTitle(TrendTab tab)
{
    static const QStringList titles{"Space", "Types", "Folders", "Ages", "Forecast"};
    return titles.value(int(tab));
}

ReportTable trendTable(TrendTab tab, const std::vector<TrendPoint> &points, const QDate &today,
                       const QString &historyFolder)
{
    switch (tab) {
    case TrendTab::Space:
        return spaceTable(points);
    case TrendTab::Types:
        return growthTable(tab, QStringLiteral("Type"), typeGrowth(points));
    case TrendTab::Folders:
        return growthTable(
            tab, QStringLiteral("Folder"),
            points.empty() ? std::vector<GrowthRow>()
                           : folderGrowth(readTrendFolders(historyFolder, points.front().fileName),
                                          readTrendFolders(historyFolder, points.back().fileName),
                                          points.front().started, points.back().started));
    case TrendTab::Ages:
        return agesTable(points);
    case TrendTab::Forecast:
        break;
    }
    return forecastTable(points, today);
}

QByteArray trendJson(const std::vector<TrendPoint> &points, const QDate &today,
                     const QString &historyFolder)
{
    QJsonObject all;
    for (int tab = 0; tab < trendTabCount; ++tab) {
        const ReportTable table = trendTable(TrendTab(tab), points, today, historyFolder);
        QJsonArray rows;
        for (const auto &cells : table.rows) {
            QJsonObject row;
            for (qsizetype i = 0; i < table.headings.size(); ++i) {
                const ReportCell &cell = cells[std::size_t(i)];
                switch (cell.kind) {
                case ReportCell::Kind::Text:
                    row[table.headings[i]] = cell.text;
                    break;
                case ReportCell::Kind::Integer:
                    row[table.headings[i]] = double(cell.integer);
                    break;
                case ReportCell::Kind::Percentage:
                    row[table.headings[i]] = cell.percentage;
                    break;
                case ReportCell::Kind::Change:
                    row[table.headings[i]] = double(cell.change);
                    break;
                }
            }
            rows.append(row);
        }
        all[trendTabName(TrendTab(tab))] = rows;
    }
    return QJsonDocument(all).toJson(QJsonDocument::Indented);
}
