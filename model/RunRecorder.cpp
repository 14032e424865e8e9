#include "model/RunRecorder.h"

#include "platform/DriveSource.h"

#include <QSysInfo>
#include <QTimeZone>

void RunRecorder::runStarting(const platform::DriveSource &source, const QStringList &driveEntries)
{
    facts = RunFacts();
    walking = nullptr;
    facts.programVersion = QStringLiteral(KORVEL_VERSION);
    facts.started = now();
    facts.timeZone = QString::fromUtf8(QTimeZone::systemTimeZoneId());
    facts.hostName = QSysInfo::machineHostName();
    for (const QString &entry : driveEntries) {
        DriveFacts drive;
        drive.letter = entry.isEmpty() ? QChar() : entry.at(0).toLower();
        // A drive the run will not reach still tells where it was; its space is not asked.
        if (const platform::Drive *known = source.find(drive.letter)) {
            drive.mountPoint = known->mountPoint;
            drive.fileSystem = known->fsType;
        }
        facts.drives.push_back(drive);
    }
}

const DriveFacts &RunRecorder::driveWalking(const platform::DriveSource &source, QChar letter)
{
    DriveFacts drive = driveFacts(source, letter);
    drive.walked = true;
    walking = nullptr;
    for (DriveFacts &listed : facts.drives)
        if (listed.letter == drive.letter)
            walking = &(listed = drive);
    if (!walking) { // a walk outside the drives the run announced
        facts.drives.push_back(drive);
        walking = &facts.drives.back();
    }
    return *walking;
}

void RunRecorder::driveWalked(std::uint64_t entriesMet, std::uint64_t withCreationDate)
{
    if (walking) {
        walking->entriesMet = entriesMet;
        if (entriesMet > 0)
            walking->keepsCreationDates = withCreationDate > 0;
    }
    walking = nullptr;
}

const RunFacts &RunRecorder::runEnded(bool aborted)
{
    facts.ended = now();
    facts.complete = !aborted;
    walking = nullptr;
    return facts;
}
