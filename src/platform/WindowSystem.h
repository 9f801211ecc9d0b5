#pragma once

#include <cstdint>
#include <string>

#include "platform/PixelGeometry.h"

namespace tovrimo {

// A top-level window as the window system names it; 0 is no window.
using WindowId = uint32_t;

// The little the capture commands need to know about other programs' windows.
class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // The window the window manager reports as active, or 0.
    virtual WindowId foregroundWindow() = 0;
    // Makes a window of our own the active one, so that the user activating any other window,
    // the previously active one included, shows up as a change. Activation may complete later.
    virtual void activateOwnWindow() = 0;
    // Takes that window away again once it has served its purpose; harmless when not shown.
    virtual void withdrawOwnWindow() = 0;
    virtual bool isOwnWindow(WindowId window) = 0;
    // The outer rectangle of the window's frame (decorations included) in root coordinates;
    // all zero for an unknown window.
    virtual PixelRect frameRect(WindowId window) = 0;
    // The title in UTF-8 exactly as the window carries it; empty when it has none.
    virtual std::string windowTitle(WindowId window) = 0;
};

}  // namespace tovrimo
