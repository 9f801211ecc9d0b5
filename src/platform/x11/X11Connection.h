#pragma once

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace tovrimo {

// xcb replies are malloc'd and must be freed by the caller.
struct XcbFree {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using XcbReply = std::unique_ptr<T, XcbFree>;

// Qt's own connection to the X server; null when the application does not run on xcb.
xcb_connection_t* QtX11Connection();

// The connection's first screen, whose root is the desktop.
xcb_screen_t* FirstScreen(xcb_connection_t* connection);

xcb_atom_t InternAtom(xcb_connection_t* connection, const char* name);

}  // namespace tovrimo
