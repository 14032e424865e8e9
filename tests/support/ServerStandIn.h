#pragma once

#include "platform/Volume.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace korvel::test {

// A network server for drive probes to ask. Each probe is a child that notes its folder in a log,
// waits while the server is down, and once it is up answers for the device 0:45 (every mount of
// a test table that goes through the server has that device). A waiting probe gives up when the
// program that started it is gone, so none outlives a test program.
class ServerStandIn
{
public:
    platform::ProbeCommand command() const
    {
        const QString script = QStringLiteral(
            "echo \"$1\" >> \"$0/started\"; "
            "while [ ! -e \"$0/up\" ]; do kill -0 $PPID 2>/dev/null || exit 0; sleep 0.02; done; "
            "echo \"1 45 1000000 400000 4096\"");
        return {QStringLiteral("/bin/sh"),
                {QStringLiteral("sh"), QStringLiteral("-c"), script, folder.path()}};
    }

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
