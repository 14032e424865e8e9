#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// What reading a file gave: its bytes, or why there are none ("it is not a regular file",
// "No such file or directory").
struct RegularFileRead
{
    std::optional<QByteArray> bytes;
    QString reason;
};

// Reads at most limit + 1 bytes of a regular file, so that a caller tells a file larger than
// limit from one that just fits, also when the file grows while it is read. A pipe, a device, a
// socket or a folder is refused without reading a byte and without waiting, even when the path
// is swapped for one between any look the caller took and the read.
RegularFileRead readRegularFile(const QString &path, qint64 limit);
// The last count bytes of a regular file (all of a shorter one), refused as above.
RegularFileRead readRegularFileEnd(const QString &path, qint64 count);

} // namespace platform
