#pragma once

namespace tovrimo {

// The desktops whose own services the program uses beyond the common portals.
enum class DesktopKind { Gnome, Kde, Other };

// The desktop named by XDG_CURRENT_DESKTOP, a colon-separated list ("ubuntu:GNOME",
// "KDE"); the names are compared as the desktops write them.
DesktopKind DesktopFromCurrentDesktop(const char* currentDesktop);
// The session's own, from the environment.
DesktopKind CurrentDesktop();

}  // namespace tovrimo
