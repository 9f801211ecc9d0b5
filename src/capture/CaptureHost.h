#pragma once

#include <string>

namespace tovrimo {

// What a capture hands on to the rest of the program: the tray icon, printing and the
// region-selection screen. Every call returns at once; dialogs and screens show themselves
// modeless.
class CaptureHost {
public:
    virtual ~CaptureHost() = default;
    virtual void openPrintDialog() = 0;
    // Prints the capture buffer with the current print layout.
    virtual void printHardCopy() = 0;
    // Shows the frozen desktop from the capture buffer for the user to drag a rectangle on.
    virtual void openRegionScreen() = 0;
    virtual void unloadRegionScreen() = 0;
    virtual void removeTrayIcon() = 0;
    virtual void addTrayIcon(const std::string& tooltip) = 0;
    // The whole seconds left until a self-timed capture; told again at each new second.
    virtual void showCountdown(int secondsLeft) = 0;
    // The countdown is over or called off: its counter must be off the screen.
    virtual void endCountdown() = 0;
};

}  // namespace tovrimo
