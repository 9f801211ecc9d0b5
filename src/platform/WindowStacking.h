#pragma once

#include <string>

namespace tovrimo {

// Keeps a window of ours above the others where the window system itself has no request for
// it: a compositor's own service (KWin's scripting on Plasma's Wayland session).
class KeepAboveService {
public:
    virtual ~KeepAboveService() = default;
    // The window of this process with this title goes into the band above the others, or
    // back out of it. False when the compositor could not be asked.
    virtual bool keepAbove(const std::string& windowTitle, bool above) = 0;
};

// The service the composition root found for this session; none by default.
void SetKeepAboveService(KeepAboveService* service);
KeepAboveService* CurrentKeepAboveService();

// Whether a window of ours can ask to be kept above the others. X11 window managers honour
// the request; Wayland has no such request for ordinary windows, so there it needs the
// compositor's own service.
bool WindowsCanStayOnTop();

// Whether a menu can pop up on its own, with no window of ours under it. Wayland places a
// popup only relative to a window of the program that the user has just used; without one Qt
// makes the menu a window of its own.
bool MenusCanOpenAnywhere();

}  // namespace tovrimo
