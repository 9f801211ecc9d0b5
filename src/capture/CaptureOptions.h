#pragma once

#include <cstdint>

namespace tovrimo {

// The settings a capture consults, copied from the settings record by the caller so that the
// capture logic does not depend on the settings file.
struct CaptureOptions {
    bool selfTimerOn = false;
    int16_t selfTimerSeconds = 0;
    bool hideTrayIcon = false;  // while the capture waits, so that it is not in the picture
    bool confirmBeforePrint = false;
    bool reverseColours = false;
    bool drawCursor = false;
    bool showCountdown = false;  // the seconds left while a self-timer delay runs
};

}  // namespace tovrimo
