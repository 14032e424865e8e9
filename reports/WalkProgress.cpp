#include "reports/WalkProgress.h"

#include "engine/StatisticsEngine.h"

#include <algorithm>
#include <cmath>

namespace {

// Before this the pace swings with the first folders' sizes.
constexpr double settleSeconds = 3;

} // namespace

int walkPercent(const WalkCounters &counters, const DriveUsage &usage)
{
    const std::uint64_t entries = usage.expectedEntries ? usage.expectedEntries : usage.usedEntries;
    const bool byEntries = entries > 0;
    const double done = double(byEntries ? counters.entries : counters.bytes);
    const double whole = double(byEntries ? entries : usage.usedBytes);
    if (whole <= 0)
        return 0;
    return std::clamp(int(done * 100 / whole), 0, 99);
}

QString timeLeftText(double elapsedSeconds, int percent)
{
    if (elapsedSeconds < settleSeconds || percent <= 0)
        return QString();
    const double left = elapsedSeconds * (100 - percent) / percent;
    if (left >= 90)
        return QStringLiteral("about %1 min left").arg(std::lround(left / 60));
    const long seconds = std::max(5L, std::lround(left / 5) * 5);
    return QStringLiteral("about %1 s left").arg(seconds);
}
