#include "app/DisplayStart.h"

#include <QList>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <utility>

namespace {

struct HeldMessage
{
    QtMsgType type;
    const char *file, *function, *category; // literals of the code that logged them
    int line;
    QString text;
};

struct Held
{
    std::mutex mutex;
    QtMessageHandler previous = nullptr;
    QString platform;
    QList<HeldMessage> messages;
};

Held &held()
{
    static Held state;
    return state;
}

// What to say when no window system could be started: which display could not be reached, or
// which plugin of Qt's is missing, from the display variables and what Qt said meanwhile.
QString failure(const QString &platform, const QList<HeldMessage> &messages)
{
    if (!platform.isEmpty())
        return QStringLiteral("Qt cannot open a window with the platform \"%1\"").arg(platform);
    const bool noWaylandPlugin = std::any_of(messages.begin(), messages.end(), [](auto &m) {
        return m.text.contains(QLatin1String("find the Qt platform plugin \"wayland\""));
    });
    QStringList reasons;
    if (const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY"); !wayland.isEmpty()) {
        if (noWaylandPlugin)
            reasons << QStringLiteral("cannot open a window on Wayland: Qt's Wayland plugin is not "
                                      "installed (on Debian: qt6-wayland)");
        else
            reasons << QStringLiteral("cannot connect to the Wayland display \"%1\"").arg(wayland);
    }
    if (const QString x11 = qEnvironmentVariable("DISPLAY"); !x11.isEmpty())
        reasons << QStringLiteral("cannot connect to the X display \"%1\"").arg(x11);
    if (reasons.isEmpty())
        reasons << QStringLiteral("Qt cannot open a window");
    return reasons.join(QLatin1String("; "));
}

void holdMessage(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    Held &state = held();
    std::unique_lock lock(state.mutex);
    if (type != QtFatalMsg) {
        state.messages.append(
            {type, context.file, context.function, context.category, context.line, text});
        return;
    }
    // Only the platform's failure is ours to word; any other fatal error stays Qt's.
    if (!text.contains(QLatin1String("platform plugin"))) {
        lock.unlock();
        state.previous(type, context, text);
        return;
    }
    std::fprintf(stderr, "korvel98: %s\n", qPrintable(failure(state.platform, state.messages)));
    std::fflush(stderr);
    std::_Exit(1);
}

} // namespace

DisplayStart::DisplayStart(const QString &platform)
{
    Held &state = held();
    const std::lock_guard lock(state.mutex);
    state.platform = platform;
    state.previous = qInstallMessageHandler(holdMessage);
}

DisplayStart::~DisplayStart()
{
    done();
}

void DisplayStart::done()
{
    if (!std::exchange(active, false))
        return;
    Held &state = held();
    QList<HeldMessage> messages;
    {
        const std::lock_guard lock(state.mutex);
        qInstallMessageHandler(state.previous);
        messages.swap(state.messages);
    }
    for (const HeldMessage &m : messages)
        state.previous(m.type, QMessageLogContext(m.file, m.line, m.function, m.category), m.text);
}
