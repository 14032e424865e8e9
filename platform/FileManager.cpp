#include "platform/FileManager.h"

#include "platform/ShellOpen.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QStringList>
#include <QUrl>
#include <optional>

namespace platform {

namespace {

// A file manager that is not running yet is started by the bus first.
constexpr int answerWithinMs = 10'000;

std::optional<QDBusConnection> &testBus()
{
    static std::optional<QDBusConnection> bus;
    return bus;
}

QDBusConnection fileManagerBus()
{
    return testBus() ? *testBus() : QDBusConnection::sessionBus();
}

bool openWithHandler(const QByteArray &address)
{
    return openUrl(QUrl::fromEncoded(address));
}

} // namespace

QByteArray folderAddress(const QByteArray &path)
{
    return QByteArrayLiteral("file://") + path.toPercentEncoding("/");
}

namespace {

// Asks the file manager's method for path; where it does not answer, the handler opens fallback.
void askFileManager(const char *method, const QByteArray &path, const QByteArray &fallback,
                    std::function<void(bool shown)> done)
{
    const QByteArray address = folderAddress(path);
    const QByteArray fallbackAddress = folderAddress(fallback);
    QDBusConnection bus = fileManagerBus();
    if (!bus.isConnected()) {
        const bool shown = openWithHandler(fallbackAddress);
        if (done)
            done(shown);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QString::fromLatin1(method));
    // The address is plain ASCII once percent-encoded; no start-up notification to hand on.
    call << QStringList{QString::fromLatin1(address)} << QString();
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, answerWithinMs));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished,
                     [fallbackAddress, done = std::move(done)](QDBusPendingCallWatcher *answer) {
                         answer->deleteLater();
                         const bool shown = !answer->isError() || openWithHandler(fallbackAddress);
                         if (done)
                             done(shown);
                     });
}

} // namespace

void showFolder(const QByteArray &path, std::function<void(bool shown)> done)
{
    askFileManager("ShowFolders", path, path, std::move(done));
}

void showFile(const QByteArray &path, std::function<void(bool shown)> done)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash <= 0 ? QByteArray("/") : path.first(slash);
    askFileManager("ShowItems", path, folder, std::move(done));
}

void setFileManagerBus(const QDBusConnection &bus)
{
    testBus() = bus;
}

} // namespace platform
