#include "model/DateKeeping.h"

#include "platform/MountTable.h"

#include <gtest/gtest.h>

namespace {

// Four drives of a mount table that this machine is never asked about: c: with relatime, d: with
// noatime, e: with neither (strict), f: with relatime again.
std::vector<DriveFacts> walked(const QString &letters)
{
    platform::MountTableOptions options;
    options.isRemovable = [](const QString &) { return false; };
    options.isDirectory = [](const QString &) { return true; };
    options.probe = [](const QString &) { return platform::VolumeFacts(); };
    static const platform::MountTableDriveSource source(
        "1 0 8:1 / / rw,relatime - ext4 /dev/sda1 rw\n"
        "2 1 8:2 / /d rw,nosuid,noatime - ext4 /dev/sda2 rw\n"
        "3 1 8:3 / /e rw,nodev - xfs /dev/sda3 rw\n"
        "4 1 8:4 / /f ro,relatime - ext4 /dev/sda4 rw\n",
        options);
    std::vector<DriveFacts> facts;
    for (const QChar letter : letters)
        facts.push_back(driveFacts(source, letter));
    return facts;
}

TEST(DateKeeping, MountOptionsGiveOneAccessLinePerWayOfKeeping)
{
    const QString daily = "are updated at most once a day (relatime)";
    const std::pair<QString, QStringList> cases[] = {
        {"c", {"Access dates on C: " + daily}},
        {"d", {"Access dates on D: are never updated (noatime)"}},
        {"e", {"Access dates on E: are always updated (strictatime)"}},
        {"cf", {"Access dates on C: F: " + daily}},
        {"dcf",
         {"Access dates on D: are never updated (noatime)", "Access dates on C: F: " + daily}},
        {"", {}},
    };
    for (const auto &[letters, lines] : cases)
        EXPECT_EQ(accessDatesLines(walked(letters)), lines) << letters.toStdString();

    std::vector<DriveFacts> unknown(1); // a folder standing in for a drive: nothing to say
    EXPECT_EQ(accessDatesLines(unknown), QStringList());
}

TEST(DateKeeping, DrivesWithoutCreationDatesAreNamedInOneLine)
{
    const std::optional<bool> yes = true, no = false, unknown;
    const std::pair<std::vector<std::optional<bool>>, QStringList> cases[] = {
        {{yes, no}, {"D: keeps no creation dates"}},
        {{no, yes, no}, {"C: E: keep no creation dates"}},
        {{yes, unknown}, {}},
    };
    for (const auto &[keeps, lines] : cases) {
        std::vector<DriveFacts> drives;
        for (const std::optional<bool> &keep : keeps) {
            drives.emplace_back();
            drives.back().letter = QChar(char16_t(u'c' + drives.size() - 1));
            drives.back().keepsCreationDates = keep;
        }
        EXPECT_EQ(creationDatesLines(drives), lines) << lines.join('|').toStdString();
    }
}

} // namespace
