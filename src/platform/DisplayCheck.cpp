#include "platform/DisplayCheck.h"

#include <xcb/xcb.h>

#include <cstdlib>

namespace tovrimo {

bool CanOpenDisplay(std::string* reason)
{
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        if (reason) *reason = "no X display (DISPLAY is not set)";
        return false;
    }
    xcb_connection_t* c = xcb_connect(display, nullptr);
    const bool ok = c && xcb_connection_has_error(c) == 0;
    if (c) xcb_disconnect(c);
    if (!ok && reason) *reason = std::string("cannot open the X display \"") + display + "\"";
    return ok;
}

}  // namespace tovrimo
