#pragma once

#include <xcb/xcb.h>

#include <string>

#include "platform/WindowSystem.h"

namespace tovrimo {

// Other programs' windows as the window manager (EWMH) describes them.
class X11WindowSystem : public WindowSystem {
public:
    // Null: Qt's connection.
    explicit X11WindowSystem(xcb_connection_t* connection = nullptr);
    ~X11WindowSystem() override;
    X11WindowSystem(const X11WindowSystem&) = delete;
    X11WindowSystem& operator=(const X11WindowSystem&) = delete;

    WindowId foregroundWindow() override;
    void activateOwnWindow() override;
    void withdrawOwnWindow() override;
    bool isOwnWindow(WindowId window) override;
    PixelRect frameRect(WindowId window) override;
    std::string windowTitle(WindowId window) override;

    // The window activateOwnWindow shows; 0 before the first call.
    WindowId ownWindow() const { return own_; }

private:
    void createOwnWindow();
    std::string textProperty(WindowId window, xcb_atom_t property, xcb_atom_t* type);

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
    xcb_window_t own_ = 0;
    bool ownMapped_ = false;
    xcb_atom_t netActiveWindow_ = 0;
    xcb_atom_t netWmName_ = 0;
    xcb_atom_t utf8String_ = 0;
    xcb_atom_t compoundText_ = 0;
};

}  // namespace tovrimo
