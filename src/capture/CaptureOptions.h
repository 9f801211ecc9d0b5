#pragma once

#include <cstdint>

namespace tovrimo {

// The settings a capture consults, copied from the settings record by the caller so that the
// capture logic does not depend on the settings file. Each is 1 for on; any other value is off.
struct CaptureOptions {
    int16_t SelfTimer = 0;
    int16_t SelfTime = 0;  // seconds
    int16_t IconDelete = 0;
    int16_t ConfirmBeforePrint = 0;
    int16_t ReversePrint = 0;
    int16_t IconCapture = 0;
};

}  // namespace tovrimo
