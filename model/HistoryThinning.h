#pragma once

#include <QDateTime>
#include <QString>
#include <vector>

// Which runs of the history stay as it grows old, as backup rotation does: every run of the last
// 14 days; then, for each set of drives, the newest run of each day for 60 days, of each week for
// two years, and of each month before that. A daily timer over ten years leaves about 300 files.

inline constexpr int keepAllDays = 14;
inline constexpr int keepDailyDays = 60;
inline constexpr int keepWeeklyDays = 2 * 365;

struct HistoryRun
{
    QDateTime started;
    QString drives; // the run's drive letters, such as "cd"
};

struct ThinningVerdict
{
    bool keep = true;
    QString reason; // why it stays or goes, in one clause
};

// One verdict per run, in the order given. "now" decides each run's age.
std::vector<ThinningVerdict> thinHistory(const std::vector<HistoryRun> &runs, const QDateTime &now);
