#include "platform/WindowManager.h"

#include <QGuiApplication>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace platform {

namespace {

struct FreeReply
{
    void operator()(void *reply) const { std::free(reply); }
};
template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name, std::uint16_t length)
{
    const ReplyPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, length, name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The window an EWMH window manager names on the root window, or 0.
xcb_window_t announcedWindowManager(xcb_connection_t *connection)
{
    static const char name[] = "_NET_SUPPORTING_WM_CHECK";
    const xcb_atom_t check = internAtom(connection, name, sizeof name - 1);
    if (check == XCB_ATOM_NONE)
        return 0;
    const xcb_screen_t *root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    if (!root)
        return 0;
    const ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, root->root, check, XCB_GET_PROPERTY_TYPE_ANY, 0, 1),
        nullptr));
    if (!reply || xcb_get_property_value_length(reply.get()) < int(sizeof(xcb_window_t)))
        return 0;
    return *static_cast<const xcb_window_t *>(xcb_get_property_value(reply.get()));
}

} // namespace

bool windowManagerRuns()
{
    const auto *x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->connection())
        return true;
    return announcedWindowManager(x11->connection()) != 0;
}

} // namespace platform
