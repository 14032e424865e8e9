#pragma once

#include "platform/MountTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sys/sysmacros.h>

namespace korvel::test {

// A network server for drive probes to ask. Each probe is a child that notes its folder in a log,
// waits while the server is down, and once it is up answers for the device 0:45 (every mount of
// a test table that goes through the server has that device). A waiting probe gives up when the
// program that started it is gone or the server's folder has been removed (a probe started just
// as its program ended takes init for its parent), so none outlives a test program.
class ServerStandIn
{
public:
    platform::ProbeCommand command() const
    {
        const QString script = QStringLiteral(
            "echo \"$1\" >> \"$0/started\"; "
            "while [ ! -e \"$0/up\" ]; do "
            "[ -d \"$0\" ] && kill -0 $PPID 2>/dev/null || exit 0; sleep 0.02; done; "
            "echo \"1 45 1000000 400000 4096 1234\"");
        return {QStringLiteral("/bin/sh"),
                {QStringLiteral("sh"), QStringLiteral("-c"), script, folder.path()}};
    }

    // A root drive c: and three network drives, d: to f:, on this server.
    static constexpr char networkTable[] = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                                           "2 1 0:45 /a /mnt/a rw - nfs4 nas:/a rw\n"
                                           "3 1 0:45 /b /mnt/b rw - nfs4 nas:/b rw\n"
                                           "4 1 0:45 /c /mnt/c rw - cifs //nas/c rw\n";

    // Options for a table of drives on this server, asking nothing of this machine: mount points
    // lead below base(), and local drives answer without being looked at.
    platform::MountTableOptions tableOptions(std::chrono::milliseconds timeLimit) const
    {
        platform::MountTableOptions options;
        options.isRemovable = [](const QString &) { return false; };
        options.isDirectory = [](const QString &) { return true; };
        options.folderOf = [base = base()](const QString &mountPoint) { return base + mountPoint; };
        options.probe = [](const QString &) {
            return platform::VolumeFacts{true, makedev(8, 1), 4000000, 1000000, 4096};
        };
        options.remote.command = command();
        options.remote.timeLimit = timeLimit;
        return options;
    }
    QString base() const { return folder.filePath(QStringLiteral("mounts")); }

    void setUp(bool up)
    {
        QFile mark(folder.filePath(QStringLiteral("up")));
        if (up)
            mark.open(QIODevice::WriteOnly);
        else
            mark.remove();
    }
    bool isUp() const { return QFile::exists(folder.filePath(QStringLiteral("up"))); }

    // How many probes have asked so far.
    int probesStarted() const
    {
        QFile log(folder.filePath(QStringLiteral("started")));
        return log.open(QIODevice::ReadOnly) ? int(log.readAll().count('\n')) : 0;
    }

private:
    QTemporaryDir folder;
};

} // namespace korvel::test
