#include "platform/x11/X11Connection.h"

#include <QGuiApplication>
#include <cstdlib>
#include <cstring>

namespace tovrimo {

xcb_connection_t* QtX11Connection()
{
    if (!qGuiApp) return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_screen_t* FirstScreen(xcb_connection_t* connection)
{
    if (!connection) return nullptr;
    return xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
}

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name),
        nullptr);
    if (!reply) return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

}  // namespace tovrimo
