#pragma once

#include <optional>

#include "platform/WindowSystem.h"
#include "platform/wayland/SwayIpc.h"

namespace tovrimo {

class WaylandScreenGrabber;

// Other programs' windows on a Wayland desktop. Wayland keeps them from every client, so
// this asks the compositor where it offers a way:
// - sway (and i3-compatible compositors): the focused window and its frame from the IPC tree;
//   the window's id is sway's node id;
// - elsewhere the desktop captures its active window (KWin) or the user picks the window in
//   the screenshot portal's own dialog: the window reported as active changes at once, so the
//   capture follows without waiting for the user to activate a window, and the grab that
//   follows gives that window.
class WaylandWindowSystem : public WindowSystem {
public:
    WaylandWindowSystem(WaylandScreenGrabber& grabber, std::optional<SwayIpc> sway);

    WindowId foregroundWindow() override;
    // A Wayland client cannot take the focus: the user's next activation is what counts.
    void activateOwnWindow() override {}
    void withdrawOwnWindow() override {}
    bool isOwnWindow(WindowId window) override;
    PixelRect frameRect(WindowId window) override;
    std::string windowTitle(WindowId window) override;

    bool knowsWindows() const { return sway_.has_value(); }

private:
    WaylandScreenGrabber& grabber_;
    std::optional<SwayIpc> sway_;
    WindowId nextPick_ = 1;
};

}  // namespace tovrimo
