// Gives a headless sway session a pointer device. The headless backend has no input devices,
// so the seat offers no pointer and clients never get a wl_pointer; a virtual pointer from
// the wlr protocol makes one. The tests then move and click through sway's IPC
// ("seat seat0 cursor ..."), which drives the cursor of whatever pointer the seat has.
// Prints "ready" once sway has the device and then stays until it is stopped.
//
// With --move <x> <y> <width> <height> it moves the cursor once instead, to (x, y) of a layout
// of that size, and ends. Sway sends no motion to a window while a button pressed through its
// IPC is down (it moves only the cursor), so a drag needs its moves from a device: this one
// goes through the same path as a mouse's.

#include <wayland-client.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace {

struct Globals {
    wl_seat* seat = nullptr;
    zwlr_virtual_pointer_manager_v1* manager = nullptr;
};

void announce(void* data, wl_registry* registry, uint32_t name, const char* interface,
              uint32_t /*version*/)
{
    auto* globals = static_cast<Globals*>(data);
    if (std::strcmp(interface, wl_seat_interface.name) == 0 && !globals->seat) {
        globals->seat =
            static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    } else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0) {
        globals->manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    }
}

void withdraw(void* /*data*/, wl_registry* /*registry*/, uint32_t /*name*/) {}

const wl_registry_listener kRegistryListener = {announce, withdraw};

}  // namespace

int main(int argc, char** argv)
{
    const bool move = argc == 6 && std::strcmp(argv[1], "--move") == 0;
    if (argc != 1 && !move) {
        std::fprintf(stderr, "usage: virtual_pointer [--move <x> <y> <width> <height>]\n");
        return 2;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "virtual pointer: no Wayland display\n");
        return 1;
    }
    Globals globals;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, &globals);
    wl_display_roundtrip(display);
    if (!globals.manager) {
        std::fprintf(stderr, "virtual pointer: the compositor offers no %s\n",
                     zwlr_virtual_pointer_manager_v1_interface.name);
        wl_display_disconnect(display);
        return 1;
    }
    zwlr_virtual_pointer_v1* pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(globals.manager, globals.seat);
    // The compositor has made the device once it has answered a request sent after the one
    // that created it.
    if (!pointer || wl_display_roundtrip(display) < 0) {
        std::fprintf(stderr, "virtual pointer: the compositor refused the pointer\n");
        wl_display_disconnect(display);
        return 1;
    }
    if (move) {
        const auto number = [&](int i) {
            return static_cast<uint32_t>(std::strtoul(argv[i], nullptr, 10));
        };
        zwlr_virtual_pointer_v1_motion_absolute(pointer, 0, number(2), number(3), number(4),
                                                number(5));
        zwlr_virtual_pointer_v1_frame(pointer);
        const bool sent = wl_display_roundtrip(display) >= 0;
        zwlr_virtual_pointer_v1_destroy(pointer);
        wl_display_roundtrip(display);
        wl_display_disconnect(display);
        return sent ? 0 : 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    while (wl_display_dispatch(display) >= 0) {
    }
    return 0;
}
