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
    // True while Timer1 or Timer3 runs: a capture is waiting for its delay.
    virtual bool captureDelayRunning() const = 0;
    virtual int16_t doubleClickSetting() const = 0;
    virtual int16_t doubleClickSourceSetting() const = 0;

    virtual void run(MenuCommand command) = 0;
    virtual void Pop_Can_Click() = 0;
    virtual void Pop_Option_Click() = 0;
    virtual void Pop_Help_Click() = 0;
    virtual void Pop_About_Click() = 0;
    virtual void Pop_End_Click() = 0;
    virtual void Pop_FusenAllDelete_Click() = 0;
    virtual void BringNotesToFront() = 0;
};

}  // namespace tovrimo
