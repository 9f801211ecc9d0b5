#pragma once

#include "capture/CaptureCodes.h"

namespace tovrimo {

// What the region-selection screen needs from the resident window. The screen itself knows
// nothing of printers or the clipboard.
class RegionHost {
public:
    virtual ~RegionHost() = default;
    virtual AppState state() const = 0;
    virtual void setState(AppState state) = 0;
    // Region hard copy: the print dialog, or printing at once, as the settings say.
    virtual void printHandOff() = 0;
    // Region copy: the capture buffer onto the clipboard.
    virtual void copyStep() = 0;
    // Command-line job: the print dialog, or printing and then ending the program.
    virtual void commandLineHandOff() = 0;
    // The cancel command: stops the capture timers, unloads the screen, back to idle.
    virtual void cancel() = 0;
    // Hides and disposes of the screen. Called from inside the screen's own event handler,
    // so the disposal must be deferred (deleteLater).
    virtual void unloadRegionScreen() = 0;
};

}  // namespace tovrimo
