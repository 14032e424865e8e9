#include "model/RunFacts.h"

#include "platform/DriveSource.h"

#include <QStringList>

DriveFacts driveFacts(const platform::DriveSource &source, QChar letter)
{
    DriveFacts facts;
    facts.letter = letter.toLower();
    const platform::Drive *drive = source.find(letter);
    if (!drive)
        return facts;
    facts.mountPoint = drive->mountPoint;
    facts.fileSystem = drive->fsType;
    facts.accessTimes = drive->accessTimes;
    std::uint64_t freeBytes = 0, totalBytes = 0;
    if (source.space(letter, freeBytes, totalBytes)) {
        facts.capacity = totalBytes;
        facts.freeBytes = freeBytes;
        facts.clusterSize = source.clusterSize(letter);
        facts.usedEntries = source.usedEntries(letter);
    }
    return facts;
}

QString drivesText(const RunFacts &facts)
{
    QStringList letters;
    for (const DriveFacts &drive : facts.drives)
        letters << QString(drive.letter.toUpper()) + QLatin1Char(':');
    return letters.join(QLatin1Char(' '));
}
