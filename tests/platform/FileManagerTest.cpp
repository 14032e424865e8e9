#include "platform/FileManager.h"

#include "platform/ShellOpen.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// A file manager on a bus of the test's own: it notes the folders it is asked to show.
class FakeFileManager : public QDBusVirtualObject
{
public:
    bool handleMessage(const QDBusMessage &message, const QDBusConnection &connection) override
    {
        if (message.member() != QLatin1String("ShowFolders") &&
            message.member() != QLatin1String("ShowItems"))
            return false;
        for (const QString &address : message.arguments().value(0).toStringList())
            shown << message.member() + u' ' + address;
        connection.send(message.createReply());
        return true;
    }
    QString introspect(const QString &) const override { return {}; }

    QStringList shown;
};

// A private session bus for one test, gone with it.
struct PrivateBus
{
    PrivateBus()
    {
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--nofork"),
                      QStringLiteral("--print-address=1")});
        if (!daemon.waitForStarted() || !daemon.waitForReadyRead(5000))
            return;
        const QString address = QString::fromUtf8(daemon.readLine().trimmed());
        bus = QDBusConnection::connectToBus(address, QStringLiteral("korvel98-file-manager"));
    }
    ~PrivateBus()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("korvel98-file-manager"));
        daemon.kill();
        daemon.waitForFinished();
    }
    QProcess daemon;
    QDBusConnection bus{QStringLiteral("none")};
};

// Asked on a bus with a file manager, the file manager shows the folder; on a bus without one the
// desktop's handler opens it. Either way the answer says whether it worked, and an address keeps
// every byte of the path.
TEST(FileManager, ShowsTheFolderThroughTheBusOrTheHandler)
{
    PrivateBus bus;
    if (!bus.bus.isConnected())
        GTEST_SKIP() << "no dbus-daemon to run a private bus";
    QList<QUrl> opened;
    bool handlerWorks = true;
    platform::setUrlOpener([&](const QUrl &url) {
        opened << url;
        return handlerWorks;
    });
    const QByteArray folder = "/srv/data/a b\xff%";
    const QString address = "file:///srv/data/a%20b%FF%25";
    EXPECT_EQ(platform::folderAddress(folder), address.toLatin1());

    const struct
    {
        bool fileManager, handlerWorks, shown, file;
    } cases[] = {{true, false, true, false},
                 {false, true, true, false},
                 {false, false, false, false},
                 {true, false, true, true},
                 {false, true, true, true}};
    for (const auto &c : cases) {
        FakeFileManager fileManager;
        if (c.fileManager) {
            ASSERT_TRUE(
                bus.bus.registerVirtualObject("/org/freedesktop/FileManager1", &fileManager));
            ASSERT_TRUE(bus.bus.registerService("org.freedesktop.FileManager1"));
        }
        platform::setFileManagerBus(bus.bus);
        handlerWorks = c.handlerWorks;
        opened.clear();
        std::optional<bool> answer;
        // A file is picked out in its folder, or its folder opened.
        if (c.file)
            platform::showFile(folder + "/f.txt", [&](bool shown) { answer = shown; });
        else
            platform::showFolder(folder, [&](bool shown) { answer = shown; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return answer.has_value(); }, 5000));
        EXPECT_EQ(answer, c.shown);
        const QString asked = c.file ? "ShowItems " + address + "/f.txt" : "ShowFolders " + address;
        EXPECT_EQ(fileManager.shown, c.fileManager ? QStringList{asked} : QStringList());
        EXPECT_EQ(opened, c.fileManager ? QList<QUrl>()
                                        : QList<QUrl>{QUrl::fromEncoded(address.toLatin1())});
        if (c.fileManager) {
            bus.bus.unregisterService("org.freedesktop.FileManager1");
            bus.bus.unregisterObject("/org/freedesktop/FileManager1");
        }
    }
    platform::setUrlOpener({});
}

} // namespace
