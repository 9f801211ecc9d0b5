#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "capture/CaptureCodes.h"
#include "core/CaptureRequest.h"

namespace tovrimo {

// Clicks on the tray icon are taken only while idle, while a desktop hard copy waits for its
// delay, and during a command-line job; every other state means a dialog is open or another
// capture is pending.
bool TrayClickAccepted(AppState state);

// What a right click on the icon offers: nothing in the busy states, only the cancel item while
// a capture waits for its delay (captureDelayTimer or windowDelayTimer runs), otherwise the command
// menu.
enum class TrayMenuKind { None, Commands, Cancel };
TrayMenuKind TrayMenuFor(AppState state, bool captureDelayRunning);

struct RepeatItem {
    std::string caption;
    bool enabled = false;
};

// The repeat item's caption and state for the last capture.
RepeatItem RepeatCaption(const std::optional<CaptureRequest>& last);

// The capture a double click on the tray icon runs for the chosen destination and source (no
// destination: the last capture again); nothing when the choice captures nothing.
std::optional<CaptureRequest> DoubleClickRequest(std::optional<CaptureDestination> destination,
                                                 std::optional<CaptureSource> source,
                                                 const std::optional<CaptureRequest>& last);

}  // namespace tovrimo
