#include "model/HistoryThinning.h"

#include <map>
#include <tuple>
#include <utility>

namespace {

enum class Period
{
    Recent,
    Day,
    Week,
    Month
};

Period periodOf(const QDateTime &started, const QDateTime &now)
{
    const qint64 seconds = started.secsTo(now);
    const qint64 days = seconds / 86400;
    if (seconds < qint64(keepAllDays) * 86400)
        return Period::Recent;
    if (days < keepDailyDays)
        return Period::Day;
    return days < keepWeeklyDays ? Period::Week : Period::Month;
}

// A number that is the same for two runs of one day, week (Monday to Sunday) or month, in the
// calendar of the place the run was made.
qint64 periodNumber(Period period, const QDateTime &started)
{
    const QDate date = started.date();
    switch (period) {
    case Period::Day:
        return date.toJulianDay();
    case Period::Week:
        return date.toJulianDay() / 7; // day 0 of the Julian count was a Monday
    case Period::Month:
        return qint64(date.year()) * 12 + date.month();
    case Period::Recent:
        break;
    }
    return 0;
}

const char *periodWord(Period period)
{
    switch (period) {
    case Period::Day:
        return "day";
    case Period::Week:
        return "week";
    case Period::Month:
        return "month";
    case Period::Recent:
        break;
    }
    return "";
}

} // namespace

std::vector<ThinningVerdict> thinHistory(const std::vector<HistoryRun> &runs, const QDateTime &now)
{
    // Each run's period, and the newest run of each drive set and period, by its index.
    using Key = std::tuple<QString, Period, qint64>;
    std::vector<Key> keys;
    std::map<Key, std::size_t> newest;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const Period period = periodOf(runs[i].started, now);
        keys.emplace_back(runs[i].drives, period, periodNumber(period, runs[i].started));
        if (period == Period::Recent)
            continue;
        const auto [at, added] = newest.try_emplace(keys.back(), i);
        if (!added && runs[at->second].started < runs[i].started)
            at->second = i;
    }
    std::vector<ThinningVerdict> verdicts(runs.size());
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const Period period = std::get<Period>(keys[i]);
        ThinningVerdict &verdict = verdicts[i];
        if (period == Period::Recent) {
            verdict.reason = QStringLiteral("of the last %1 days").arg(keepAllDays);
            continue;
        }
        const std::size_t kept = newest.at(keys[i]);
        verdict.keep = kept == i;
        verdict.reason =
            verdict.keep
                ? QStringLiteral("the newest of its %1").arg(periodWord(period))
                : QStringLiteral("a newer run of its %1 stays (%2)")
                      .arg(periodWord(period),
                           runs[kept].started.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    }
    return verdicts;
}
