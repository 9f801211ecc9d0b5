#pragma once

#include <map>
#include <string>

#include "platform/WindowSystem.h"

namespace tovrimo::test {

// Windows as a table; the test decides which one is active.
class FakeWindowSystem : public WindowSystem {
public:
    struct Window {
        PixelRect frame;
        std::string title;
    };

    static constexpr WindowId kOwnWindow = 0x7000;

    WindowId foregroundWindow() override { return foreground; }
    void activateOwnWindow() override
    {
        ++activations;
        ownWindowShown = true;
        if (activateAtOnce) foreground = kOwnWindow;
    }
    void withdrawOwnWindow() override
    {
        ++withdrawals;
        ownWindowShown = false;
    }
    bool isOwnWindow(WindowId window) override { return window == kOwnWindow; }
    PixelRect frameRect(WindowId window) override
    {
        auto it = windows.find(window);
        return it == windows.end() ? PixelRect{} : it->second.frame;
    }
    std::string windowTitle(WindowId window) override
    {
        auto it = windows.find(window);
        return it == windows.end() ? std::string() : it->second.title;
    }

    std::map<WindowId, Window> windows;
    WindowId foreground = 0;
    // Whether our own window becomes active as soon as it is asked to, or only when the test
    // says so (a window manager that takes its time).
    bool activateAtOnce = true;
    bool ownWindowShown = false;
    int activations = 0;
    int withdrawals = 0;
};

}  // namespace tovrimo::test
