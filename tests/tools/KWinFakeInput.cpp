// Pointer and keys for a headless KWin session, through KWin's fake-input protocol (which it
// offers only to a program whose installed .desktop entry names it and lists the interface in
// X-KDE-Wayland-Interfaces). It prints "ready" once KWin took it, then reads lines on standard
// input and prints "done" after each:
//   move <x> <y>          the pointer to (x, y) of the layout
//   click <button>        press and release a button (evdev code: 272 left, 273 right)
//   key <code>            press and release a key (evdev code: 28 Return, 108 Down)

#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>

#include "fake-input-client-protocol.h"

namespace {

org_kde_kwin_fake_input* g_input = nullptr;

void announce(void* /*data*/, wl_registry* registry, uint32_t name, const char* interface,
              uint32_t version)
{
    if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4)
        g_input = static_cast<org_kde_kwin_fake_input*>(
            wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4));
}

void withdraw(void* /*data*/, wl_registry* /*registry*/, uint32_t /*name*/) {}

const wl_registry_listener kRegistryListener = {announce, withdraw};

constexpr uint32_t kReleased = 0;
constexpr uint32_t kPressed = 1;

}  // namespace

int main()
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "kwin fake input: no Wayland display\n");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistryListener, nullptr);
    wl_display_roundtrip(display);
    if (!g_input) {
        std::fprintf(stderr, "kwin fake input: KWin offers no %s (version 4) to this program\n",
                     org_kde_kwin_fake_input_interface.name);
        wl_display_disconnect(display);
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(g_input, "tovrimo tests", "input for the tests");
    if (wl_display_roundtrip(display) < 0) return 1;
    std::printf("ready\n");
    std::fflush(stdout);
    char buffer[256];
    std::string pending;
    while (true) {
        const ssize_t got = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (got <= 0) break;
        pending.append(buffer, static_cast<size_t>(got));
        for (size_t end = pending.find('\n'); end != std::string::npos; end = pending.find('\n')) {
            std::istringstream words(pending.substr(0, end));
            pending.erase(0, end + 1);
            std::string command;
            words >> command;
            if (command == "move") {
                double x = 0, y = 0;
                words >> x >> y;
                org_kde_kwin_fake_input_pointer_motion_absolute(g_input, wl_fixed_from_double(x),
                                                                wl_fixed_from_double(y));
            } else if (command == "click") {
                uint32_t button = 0;
                words >> button;
                org_kde_kwin_fake_input_button(g_input, button, kPressed);
                org_kde_kwin_fake_input_button(g_input, button, kReleased);
            } else if (command == "key") {
                uint32_t key = 0;
                words >> key;
                org_kde_kwin_fake_input_keyboard_key(g_input, key, kPressed);
                org_kde_kwin_fake_input_keyboard_key(g_input, key, kReleased);
            } else {
                std::fprintf(stderr, "kwin fake input: not understood: %s\n", command.c_str());
                continue;
            }
            if (wl_display_roundtrip(display) < 0) return 1;
            std::printf("done\n");
            std::fflush(stdout);
        }
    }
    wl_display_disconnect(display);
    return 0;
}
