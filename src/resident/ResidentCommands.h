#pragma once

#include <optional>

#include "capture/CaptureCodes.h"
#include "core/CaptureRequest.h"
#include "resident/TrayCommands.h"

namespace tovrimo {

// What the resident window's menus and tray notifications act on: the program behind it.
class ResidentCommands {
public:
    virtual ~ResidentCommands() = default;

    virtual AppState appState() const = 0;
    virtual std::optional<CaptureRequest> lastCapture() const = 0;
    // True while captureDelayTimer or windowDelayTimer runs: a capture is waiting for its delay.
    virtual bool captureDelayRunning() const = 0;
    virtual std::optional<CaptureDestination> doubleClickDestination() const = 0;
    virtual std::optional<CaptureSource> doubleClickSource() const = 0;

    virtual void run(const Command& command) = 0;
    virtual void cancelCapture() = 0;
};

}  // namespace tovrimo
