#include "model/Trends.h"

#include "helpers/NameText.h"
#include "model/History.h"

#include <QFileInfo>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <map>

namespace {

constexpr double secondsPerWeek = 7 * 86400.0;
constexpr double daysPerMonth = 365.2425 / 12;
constexpr int coldFirstClass = 6; // "1 - 2 years" and older

std::optional<double> coldShare(const std::array<double, 10> &bytes)
{
    double all = 0, cold = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        all += bytes[i];
        if (int(i) >= coldFirstClass)
            cold += bytes[i];
    }
    return all > 0 ? std::optional(cold / all) : std::nullopt;
}

// Months between two times, at least a day's worth, for the change per month.
double monthsBetween(const QDateTime &from, const QDateTime &to)
{
    return std::max(from.secsTo(to) / 86400.0, 1.0) / daysPerMonth;
}

void sortGrowers(std::vector<GrowthRow> &rows)
{
    std::stable_sort(rows.begin(), rows.end(), [](const GrowthRow &a, const GrowthRow &b) {
        return a.change() > b.change();
    });
}

// "about 7 months": days, weeks, months or years, whichever reads best.
QString distanceText(qint64 days)
{
    auto about = [](qint64 n, const char *unit) {
        return QStringLiteral("about %1 %2%3")
            .arg(n)
            .arg(QLatin1String(unit))
            .arg(n == 1 ? "" : "s");
    };
    if (days < 14)
        return about(std::max<qint64>(days, 0), "day");
    if (days < 61)
        return about(std::llround(days / 7.0), "week");
    if (days < 730)
        return about(std::llround(days / daysPerMonth), "month");
    return about(std::llround(days / 365.2425), "year");
}

QString monthText(const QDateTime &at)
{
    return QLocale(QLocale::English).toString(at.date(), QStringLiteral("MMMM yyyy"));
}

} // namespace

QString TrendPoint::driveSet() const
{
    QString letters;
    for (const TrendDrive &drive : drives)
        letters += drive.letter;
    return letters;
}

TrendPoint trendPointOf(const Collection &collection, const QString &fileName)
{
    const Accumulators &figures = collection.figures;
    TrendPoint point;
    point.fileName = fileName;
    point.started = collection.facts.started;
    point.host = collection.facts.hostName;
    for (const DriveFacts &facts : collection.facts.drives) {
        TrendDrive drive{facts.letter,
                         facts.mountPoint,
                         facts.capacity,
                         facts.freeBytes,
                         0,
                         0,
                         facts.accessTimes != platform::AccessTimes::Never};
        for (const DriveFolders &folders : figures.folderTotals)
            if (folders.letter == facts.letter) {
                drive.files = folders.countedFiles();
                drive.bytes = folders.countedBytes();
            }
        point.drives.push_back(drive);
    }
    for (int i = 0; i < figures.lbTypes.count(); ++i)
        point.types.push_back({figures.lbTypes.extensionAt(i), figures.lbTypes.filesAt(i),
                               figures.lbTypes.bytesAt(i)});
    point.sizeBytes = figures.sizeBytes;
    point.ageModifiedBytes = figures.ageModifiedBytes;
    point.ageAccessedBytes = figures.ageAccessedBytes;
    point.ageCreatedBytes = figures.ageCreatedBytes;
    return point;
}

std::vector<TrendFolder> trendFoldersOf(const Collection &collection)
{
    std::vector<TrendFolder> folders;
    for (const DriveFolders &drive : collection.figures.folderTotals)
        for (const FolderTotal &folder : drive.folders)
            folders.push_back({drive.letter, folder.path, folder.files, folder.bytes});
    return folders;
}

std::vector<TrendPoint> readTrendPoints(const QString &folder)
{
    std::vector<TrendPoint> points;
    for (const QString &path : historyFiles(folder))
        if (const CollectionRead read = readCollectionFile(path); read)
            points.push_back(trendPointOf(*read.collection, QFileInfo(path).fileName()));
    std::stable_sort(points.begin(), points.end(), [](const TrendPoint &a, const TrendPoint &b) {
        return a.started < b.started;
    });
    return points;
}

std::vector<TrendPoint> trendPointsOf(const std::vector<TrendPoint> &points,
                                      const QString &driveSet, const QDateTime &since)
{
    std::vector<TrendPoint> chosen;
    for (const TrendPoint &point : points)
        if ((driveSet.isEmpty() || point.driveSet() == driveSet) &&
            (!since.isValid() || point.started >= since))
            chosen.push_back(point);
    return chosen;
}

std::optional<double> coldModifiedShare(const TrendPoint &point)
{
    return coldShare(point.ageModifiedBytes);
}

std::optional<double> coldAccessedShare(const TrendPoint &point)
{
    for (const TrendDrive &drive : point.drives)
        if (!drive.accessDates)
            return std::nullopt;
    return coldShare(point.ageAccessedBytes);
}

std::vector<UsedSample> usedSamples(const std::vector<TrendPoint> &points, QChar letter)
{
    std::vector<UsedSample> samples;
    for (const TrendPoint &point : points)
        for (const TrendDrive &drive : point.drives)
            if (drive.letter == letter && drive.capacity > 0)
                samples.push_back({point.started, double(drive.usedBytes())});
    return samples;
}

namespace {

struct Line
{
    double intercept = 0; // used bytes at time 0 (the first sample)
    double slope = 0;     // bytes a second
    double spread = 0;    // standard deviation of the samples around the line
};

std::optional<Line> leastSquares(const std::vector<UsedSample> &samples)
{
    if (samples.size() < 2)
        return std::nullopt;
    const QDateTime origin = samples.front().at;
    double meanT = 0, meanY = 0;
    for (const UsedSample &s : samples) {
        meanT += double(origin.secsTo(s.at));
        meanY += s.usedBytes;
    }
    meanT /= double(samples.size());
    meanY /= double(samples.size());
    double stt = 0, sty = 0;
    for (const UsedSample &s : samples) {
        const double t = double(origin.secsTo(s.at)) - meanT;
        stt += t * t;
        sty += t * (s.usedBytes - meanY);
    }
    if (stt <= 0)
        return std::nullopt;
    Line line;
    line.slope = sty / stt;
    line.intercept = meanY - line.slope * meanT;
    double squares = 0;
    for (const UsedSample &s : samples) {
        const double off =
            s.usedBytes - (line.intercept + line.slope * double(origin.secsTo(s.at)));
        squares += off * off;
    }
    line.spread = std::sqrt(squares / double(samples.size()));
    return line;
}

} // namespace

std::optional<double> growthPerWeek(const std::vector<UsedSample> &samples)
{
    const auto line = leastSquares(samples);
    return line ? std::optional(line->slope * secondsPerWeek) : std::nullopt;
}

Forecast forecastOf(const std::vector<UsedSample> &samples, std::uint64_t capacity)
{
    Forecast forecast;
    if (samples.empty())
        return forecast;
    const QDateTime newest = samples.back().at;
    std::vector<UsedSample> recent;
    for (const UsedSample &s : samples)
        if (s.at.secsTo(newest) <= qint64(forecastDays) * 86400)
            recent.push_back(s);
    if (recent.size() < std::size_t(forecastMinimumRuns) ||
        recent.front().at.secsTo(newest) < qint64(forecastMinimumSpanDays) * 86400)
        return forecast;
    const Line line = *leastSquares(recent);
    forecast.bytesPerWeek = line.slope * secondsPerWeek;
    forecast.lineStart = recent.front().at;
    forecast.lineUsed = line.intercept;
    // Less than a kilobyte a week is nothing a drive fills up with.
    if (forecast.bytesPerWeek < 1024) {
        forecast.state = Forecast::State::NotGrowing;
        return forecast;
    }
    forecast.state = Forecast::State::Growing;
    // Not before the newest collection, which saw the drive as it was then; beyond a thousand
    // years a date means nothing.
    const double newestSeconds = double(forecast.lineStart.secsTo(newest));
    auto meets = [&](double shift) {
        const double seconds = (double(capacity) - line.intercept - shift) / line.slope;
        return forecast.lineStart.addSecs(qint64(std::clamp(seconds, newestSeconds, 3.15e10)));
    };
    forecast.full = meets(0);
    forecast.fullEarliest = meets(line.spread);
    forecast.fullLatest = meets(-line.spread);
    return forecast;
}

QString bytesText(double bytes)
{
    static const char *const units[] = {"bytes", "KB", "MB", "GB", "TB", "PB"};
    int unit = 0;
    double value = std::abs(bytes);
    while (value >= 1024 && unit < 5) {
        value /= 1024;
        ++unit;
    }
    const QString number =
        unit == 0 ? QString::number(std::llround(value)) : QString::number(value, 'f', 1);
    return (bytes < 0 ? QStringLiteral("-") : QString()) + number + u' ' +
           QLatin1String(units[unit]);
}

QString forecastText(QChar letter, const Forecast &forecast, const QDate &today)
{
    const QString drive = letter.toUpper() + QStringLiteral(":");
    switch (forecast.state) {
    case Forecast::State::TooFew:
        return drive + QStringLiteral(" too few collections for a forecast");
    case Forecast::State::NotGrowing:
        return drive + QStringLiteral(" is not growing");
    case Forecast::State::Growing:
        break;
    }
    const qint64 days = today.daysTo(forecast.full.date());
    const QString when =
        days <= 0
            ? QStringLiteral("full now")
            : QStringLiteral("full in %1 (%2)").arg(distanceText(days), monthText(forecast.full));
    return QStringLiteral("%1 grows by %2 a week; %3")
        .arg(drive, bytesText(forecast.bytesPerWeek), when);
}

QString forecastRangeText(const Forecast &forecast)
{
    if (forecast.state != Forecast::State::Growing)
        return QString();
    const QDate from = forecast.fullEarliest.date();
    const QDate to = forecast.fullLatest.date();
    const QLocale english(QLocale::English);
    auto said = [&](const QDate &date, const char *format) {
        return english.toString(date, QLatin1String(format));
    };
    // As exact as the spread allows, the year or the month said once where both ends share it.
    if (from == to)
        return QStringLiteral("full on %1").arg(said(from, "d MMMM yyyy"));
    if (from.year() != to.year())
        return QStringLiteral("full between %1 and %2")
            .arg(said(from, "MMMM yyyy"), said(to, "MMMM yyyy"));
    if (from.month() != to.month())
        return QStringLiteral("full between %1 and %2")
            .arg(said(from, "MMMM"), said(to, "MMMM yyyy"));
    return QStringLiteral("full between %1 and %2").arg(said(from, "d"), said(to, "d MMMM yyyy"));
}

std::vector<GrowthRow> typeGrowth(const std::vector<TrendPoint> &points)
{
    if (points.empty())
        return {};
    std::map<QString, GrowthRow> rows;
    auto take = [&](const TrendPoint &point, bool first) {
        for (const TrendType &type : point.types) {
            GrowthRow &row = rows[type.extension];
            row.name = type.extension;
            (first ? row.first : row.latest) = type.bytes;
        }
    };
    take(points.front(), true);
    take(points.back(), false);
    const double months = monthsBetween(points.front().started, points.back().started);
    std::vector<GrowthRow> result;
    for (auto &[name, row] : rows) {
        row.perMonth = row.change() / months;
        result.push_back(row);
    }
    sortGrowers(result);
    return result;
}

std::vector<GrowthRow> folderGrowth(const std::vector<TrendFolder> &first,
                                    const std::vector<TrendFolder> &latest, const QDateTime &from,
                                    const QDateTime &to)
{
    std::map<std::pair<QChar, QByteArray>, GrowthRow> rows;
    auto take = [&](const std::vector<TrendFolder> &folders, bool isFirst) {
        for (const TrendFolder &folder : folders) {
            GrowthRow &row = rows[{folder.letter, folder.path}];
            row.letter = folder.letter;
            row.path = folder.path;
            row.name = folder.letter.toUpper() + QStringLiteral(":/") + escapedName(folder.path);
            (isFirst ? row.first : row.latest) = folder.bytes;
        }
    };
    take(first, true);
    take(latest, false);
    const double months = monthsBetween(from, to);
    std::vector<GrowthRow> result;
    for (auto &[key, row] : rows) {
        row.perMonth = row.change() / months;
        result.push_back(row);
    }
    sortGrowers(result);
    return result;
}

QStringList topTypes(const std::vector<TrendPoint> &points, int count)
{
    if (points.empty())
        return {};
    std::vector<TrendType> types = points.back().types;
    std::stable_sort(types.begin(), types.end(),
                     [](const TrendType &a, const TrendType &b) { return a.bytes > b.bytes; });
    QStringList names;
    for (const TrendType &type : types)
        if (names.size() < count)
            names << type.extension;
    return names;
}
