#pragma once

namespace tovrimo {

// Whether a window of ours can ask to be kept above the others. X11 window managers honour
// the request; Wayland has no such request for ordinary windows, so there it cannot be made.
bool WindowsCanStayOnTop();

// Whether a menu can pop up on its own, with no window of ours under it. Wayland places a
// popup only relative to a window of the program that the user has just used; without one Qt
// makes the menu a window of its own.
bool MenusCanOpenAnywhere();

}  // namespace tovrimo
