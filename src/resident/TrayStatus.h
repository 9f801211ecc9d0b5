#pragma once

#include <optional>

#include "capture/CaptureCodes.h"
#include "core/CaptureRequest.h"

namespace tovrimo {

// What the resident window asks before it offers a menu or runs a click: the state of the
// capture behind it and the user's double-click choice.
class TrayStatus {
public:
    virtual ~TrayStatus() = default;

    virtual AppState appState() const = 0;
    virtual std::optional<CaptureRequest> lastCapture() const = 0;
    // True while captureDelayTimer or windowDelayTimer runs: a capture is waiting for its delay.
    virtual bool captureDelayRunning() const = 0;
    virtual std::optional<CaptureDestination> doubleClickDestination() const = 0;
    virtual std::optional<CaptureSource> doubleClickSource() const = 0;
};

}  // namespace tovrimo
