#include "platform/DisplayCheck.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <string_view>

namespace tovrimo {

WindowSystemKind PreferredWindowSystem(const char* qtPlatform, const char* waylandDisplay)
{
    const std::string_view platform = qtPlatform ? qtPlatform : "";
    if (!platform.empty()) {
        // "wayland", "wayland-egl" or a fallback list such as "wayland;xcb".
        return platform.substr(0, 7) == "wayland" ? WindowSystemKind::Wayland
                                                  : WindowSystemKind::X11;
    }
    return waylandDisplay && *waylandDisplay ? WindowSystemKind::Wayland : WindowSystemKind::X11;
}

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

bool CanOpenWaylandDisplay(std::string* reason)
{
    const char* name = std::getenv("WAYLAND_DISPLAY");
    std::string path = name && *name ? name : "wayland-0";
    if (path.front() != '/') {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (!runtime || !*runtime) {
            if (reason) *reason = "no Wayland display (XDG_RUNTIME_DIR is not set)";
            return false;
        }
        path = std::string(runtime) + "/" + path;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    bool ok = path.size() < sizeof(address.sun_path);
    if (ok) {
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        ok = fd >= 0 &&
             ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
        if (fd >= 0) ::close(fd);
    }
    if (!ok && reason) *reason = "cannot open the Wayland display \"" + path + "\"";
    return ok;
}

}  // namespace tovrimo
