#pragma once

namespace tovrimo {

// Whether a window of ours can ask to be kept above the others. X11 window managers honour
// the request; Wayland has no such request for ordinary windows, so there it cannot be made.
bool WindowsCanStayOnTop();

}  // namespace tovrimo
