#include "platform/x11/X11Display.h"

#include <xcb/xcb.h>

namespace tovrimo {

std::optional<std::string> X11DisplayProblem(const char* display)
{
    if (!display || !*display) return "no X display (DISPLAY is not set)";
    xcb_connection_t* connection = xcb_connect(display, nullptr);
    const int error = xcb_connection_has_error(connection);
    xcb_disconnect(connection);
    if (error == 0) return std::nullopt;
    return "cannot open the X display \"" + std::string(display) + "\"";
}

}  // namespace tovrimo
