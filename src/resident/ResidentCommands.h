#pragma once

#include "capture/CaptureCodes.h"
#include "resident/TrayCommands.h"

namespace tovrimo {

// What the resident window's menus and tray notifications act on: the program behind it.
class ResidentCommands {
public:
    virtual ~ResidentCommands() = default;

    virtual AppState appState() const = 0;
    virtual LastOperation lastOperation() const = 0;
    // True while captureDelayTimer or windowDelayTimer runs: a capture is waiting for its delay.
    virtual bool captureDelayRunning() const = 0;
    virtual DoubleClickAction doubleClickSetting() const = 0;
    virtual DoubleClickSource doubleClickSourceSetting() const = 0;

    virtual void run(MenuCommand command) = 0;
    virtual void cancelCapture() = 0;
    virtual void openOptions() = 0;
    virtual void openHelp() = 0;
    virtual void openAbout() = 0;
    virtual void quit() = 0;
    virtual void removeAllNotes() = 0;
    virtual void bringNotesToFront() = 0;
};

}  // namespace tovrimo
