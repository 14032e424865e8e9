#include "TrendsCommand.h"

#include "model/History.h"
#include "model/ReportCsv.h"
#include "model/ReportText.h"
#include "model/TrendIndex.h"
#include "model/TrendTables.h"
#include "platform/StandardOutput.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

const char historyHelpText[] =
    "\n"
    "The history of runs:\n"
    "       korvel98-scan --trends [--since DATE] [--drives LETTERS]\n"
    "                     [--format text|csv|json [--page PAGE]] [--history-folder DIR]\n"
    "       korvel98-scan --history-prune [--dry-run] [--history-folder DIR]\n"
    "\n"
    "  --trends            print the trends of the history: used space per drive, types and\n"
    "                      folders by growth, cold bytes, and when each drive will be full;\n"
    "                      with --format csv one of space, types, folders, ages, forecast\n"
    "  --since DATE        only collections from DATE (YYYY-MM-DD) on\n"
    "  --drives LETTERS    the drive set, such as cd (default: that of the newest collection)\n"
    "  --history-prune     thin the history: the last 14 days whole, then one collection a\n"
    "                      day for 60 days, a week for two years, a month before that\n"
    "  --dry-run           with --history-prune, only list what would go and why\n"
    "  --history-folder DIR  another history folder than the one the window keeps\n";

namespace {

constexpr int usageError = 2;

struct HistoryOptions
{
    bool trends = false, prune = false, dryRun = false;
    QDate since;
    QString drives, folder = collectionsFolder(), format = QStringLiteral("text"), page;
};

struct Parsed
{
    HistoryOptions options;
    QString error;
};

Parsed parseHistory(const std::vector<std::string> &arguments)
{
    Parsed parsed;
    HistoryOptions &o = parsed.options;
    for (std::size_t i = 0; i < arguments.size() && parsed.error.isEmpty(); ++i) {
        const QString arg = QString::fromLocal8Bit(arguments[i]);
        auto value = [&]() {
            if (i + 1 < arguments.size())
                return QString::fromLocal8Bit(arguments[++i]);
            parsed.error = QStringLiteral("%1 needs a value").arg(arg);
            return QString();
        };
        if (arg == u"--trends")
            o.trends = true;
        else if (arg == u"--history-prune")
            o.prune = true;
        else if (arg == u"--dry-run")
            o.dryRun = true;
        else if (arg == u"--since") {
            const QString text = value();
            o.since = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
            if (!o.since.isValid() && parsed.error.isEmpty())
                parsed.error =
                    QStringLiteral("--since wants a date as YYYY-MM-DD, not \"%1\"").arg(text);
        } else if (arg == u"--drives") {
            o.drives = value().toLower().remove(u',').remove(u':');
        } else if (arg == u"--format") {
            o.format = value();
            if (!QStringList{"text", "csv", "json"}.contains(o.format) && parsed.error.isEmpty())
                parsed.error =
                    QStringLiteral("--format wants text, csv or json, not \"%1\"").arg(o.format);
        } else if (arg == u"--page")
            o.page = value();
        else if (arg == u"--history-folder")
            o.folder = value();
        else
            parsed.error =
                QStringLiteral("%1 does not go with --trends or --history-prune").arg(arg);
    }
    if (!parsed.error.isEmpty())
        return parsed;
    if (o.trends == o.prune)
        parsed.error = QStringLiteral("--trends and --history-prune may not be given together");
    else if (o.dryRun && !o.prune)
        parsed.error = QStringLiteral("--dry-run goes with --history-prune");
    else if (o.format != u"csv" && !o.page.isEmpty())
        parsed.error = QStringLiteral("--page goes with --format csv");
    else if (o.format == u"csv" && o.page.isEmpty())
        o.page = trendTabName(TrendTab::Space);
    return parsed;
}

int fail(const QString &message)
{
    std::fprintf(stderr, "korvel98-scan: %s\n", message.toLocal8Bit().constData());
    return usageError;
}

int print(const QByteArray &text)
{
    return platform::printToStandardOutput("korvel98-scan", text.toStdString()) ? 0 : 1;
}

int prune(const HistoryOptions &o)
{
    if (!QFileInfo(o.folder).isDir())
        return fail(QStringLiteral("no history folder %1").arg(o.folder));
    const QDateTime now = QDateTime::currentDateTime();
    QByteArray out;
    int failed = 0;
    for (const PruneEntry &entry : historyPrunePlan(o.folder, now)) {
        if (entry.verdict.keep)
            continue;
        const QString name = QFileInfo(entry.path).fileName();
        if (!o.dryRun && !QFile::remove(entry.path)) {
            std::fprintf(stderr, "korvel98-scan: cannot remove %s\n",
                         name.toLocal8Bit().constData());
            ++failed;
            continue;
        }
        out += QStringLiteral("%1 %2: %3\n")
                   .arg(o.dryRun ? QStringLiteral("would remove") : QStringLiteral("removed"), name,
                        entry.verdict.reason)
                   .toUtf8();
    }
    const int printed = print(out);
    return printed != 0 ? printed : failed > 0 ? 1 : 0;
}

int trends(const HistoryOptions &o)
{
    if (!QFileInfo(o.folder).isDir())
        return fail(QStringLiteral("no history folder %1").arg(o.folder));
    const TrendRead read = readTrends(o.folder);
    if (!read.message.isEmpty())
        std::fprintf(stderr, "korvel98-scan: %s\n", read.message.toLocal8Bit().constData());
    const QStringList sets = trendDriveSets(read.points);
    if (sets.isEmpty())
        return fail(QStringLiteral("the history folder %1 holds no collections").arg(o.folder));
    const QString set = o.drives.isEmpty() ? sets.first() : o.drives;
    if (!sets.contains(set))
        return fail(QStringLiteral("no collection of drives %1; the history has %2")
                        .arg(set, sets.join(QStringLiteral(", "))));
    const std::vector<TrendPoint> points =
        trendPointsOf(read.points, set, o.since.isValid() ? o.since.startOfDay() : QDateTime());
    const QDate today = QDate::currentDate();
    if (o.format == u"json")
        return print(trendJson(points, today, o.folder));
    if (o.format == u"csv") {
        for (int tab = 0; tab < trendTabCount; ++tab)
            if (trendTabName(TrendTab(tab)) == o.page)
                return print(reportCsv(trendTable(TrendTab(tab), points, today, o.folder)));
        return fail(
            QStringLiteral("--page wants space, types, folders, ages or forecast, not \"%1\"")
                .arg(o.page));
    }
    QString text = QStringLiteral("Trends of drives %1: %2 collections")
                       .arg(set.toUpper().split(QString(), Qt::SkipEmptyParts).join(u' '))
                       .arg(points.size());
    if (!points.empty())
        text += QStringLiteral(" from %1 to %2")
                    .arg(points.front().started.date().toString(Qt::ISODate),
                         points.back().started.date().toString(Qt::ISODate));
    text += u'\n';
    for (TrendTab tab :
         {TrendTab::Forecast, TrendTab::Space, TrendTab::Types, TrendTab::Folders, TrendTab::Ages})
        text += u'\n' + reportText(trendTable(tab, points, today, o.folder));
    return print(text.toUtf8());
}

} // namespace

std::optional<int> runHistoryCommand(const std::vector<std::string> &arguments)
{
    bool asked = false;
    for (const std::string &arg : arguments)
        asked = asked || arg == "--trends" || arg == "--history-prune";
    if (!asked)
        return std::nullopt;
    const Parsed parsed = parseHistory(arguments);
    if (!parsed.error.isEmpty())
        return fail(parsed.error);
    return parsed.options.prune ? prune(parsed.options) : trends(parsed.options);
}
