// The mount table reader and the drive table made from it. The input is mount-table text (the
// first byte chooses which mount points the fake machine calls removable or not a folder):
// - the reader passes over what it cannot read and never gives more mounts than lines;
// - the drives have distinct letters, c: for "/" alone and d: to z: in the order of their mount
//   points, each entry text starting with its letter, each drive one of the mounts read.

#include "fuzz/FuzzInput.h"
#include "platform/FolderDriveSource.h"
#include "platform/MountTable.h"

#include <QSet>

using korvel::fuzz::FuzzInput;
using namespace platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzInput input(data, size);
    const std::uint8_t machine = input.byte();
    const QByteArray text = input.rest();
    const QList<MountEntry> mounts = parseMountInfo(text);
    FUZZ_CHECK(mounts.size() <= text.count('\n') + 1);

    // Nothing of the real machine is asked: what a path is follows from its length.
    MountTableOptions options;
    options.isRemovable = [&](const QString &source) { return (source.size() + machine) % 3 == 0; };
    options.isDirectory = [&](const QString &point) { return (point.size() + machine) % 5 != 0; };
    options.folderOf = [](const QString &point) { return point; };
    options.probe = [](const QString &) { return VolumeFacts(); };
    const QList<Drive> drives = drivesFromMountTable(mounts, options);

    QSet<QString> points;
    for (const MountEntry &mount : mounts)
        points.insert(mount.mountPoint);
    QSet<QChar> letters;
    QString previous;
    FUZZ_CHECK(drives.size() <= 24);
    for (const Drive &drive : drives) {
        FUZZ_CHECK(drive.letter >= u'c' && drive.letter <= u'z' && !letters.contains(drive.letter));
        letters.insert(drive.letter);
        FUZZ_CHECK((drive.letter == u'c') == (drive.mountPoint == u"/"));
        FUZZ_CHECK(drive.entry.startsWith(QString(drive.letter) + u':'));
        FUZZ_CHECK(points.contains(drive.mountPoint));
        if (drive.letter != u'c') {
            FUZZ_CHECK(previous.isNull() || previous < drive.mountPoint);
            previous = drive.mountPoint;
        }
    }
    return 0;
}
