#pragma once

#include <string>

namespace tovrimo {

enum class WindowSystemKind { X11, Wayland };

// Which window system the program runs on, from the variables a desktop session sets: Wayland
// when QT_QPA_PLATFORM asks for it, or when that is unset and WAYLAND_DISPLAY names a display
// (a Wayland session, where X11 programs would see only other X11 programs); X11 otherwise.
WindowSystemKind PreferredWindowSystem(const char* qtPlatform, const char* waylandDisplay);

// Whether the X display named by DISPLAY can be opened. Qt aborts the process when it cannot
// open its display, so the program asks first and explains itself instead. On failure the
// reason comes back in plain words.
bool CanOpenDisplay(std::string* reason);
// The same for the Wayland display named by WAYLAND_DISPLAY (in XDG_RUNTIME_DIR).
bool CanOpenWaylandDisplay(std::string* reason);

}  // namespace tovrimo
