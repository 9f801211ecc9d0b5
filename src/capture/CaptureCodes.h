#pragma once

#include <cstdint>

namespace tovrimo {

// The program-wide state: which dialog is open or which capture is waiting. The tray ignores
// clicks in the busy states and a firing capture timer only acts in its own state.
enum class AppState : int16_t {
    Idle = 1,
    OptionsOpen = 2,
    PrintDialogOpen = 3,
    PrintActiveWindowPending = 4,
    PrintDesktopPending = 5,
    AboutOpen = 6,
    CommandLine = 7,
    CopyActiveWindowPending = 8,
    CopyRegionPending = 9,
    PrintRegionPending = 10,
    CopyDesktopPending = 11,
};

}  // namespace tovrimo
