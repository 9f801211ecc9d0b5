#pragma once

#include <cstdint>

namespace tovrimo {

// What happens to a captured image. The numbers are stored in the settings file
// (DoubleClick) and drive the tray double-click and the repeat command.
enum class ActionCode : int16_t {
    None = 0,
    HardCopy = 1,
    Copy = 2,
    StickyNote = 3,
};

// Where an image comes from; stored as DoubleClickDo, same numbering as the repeat command.
enum class SourceCode : int16_t {
    None = 0,
    Desktop = 1,
    ActiveWindow = 2,
    Region = 3,
    ImageFile = 4,
    Clipboard = 5,
};

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

// The pair the repeat command runs again; both None until the first command.
struct LastOperation {
    ActionCode action = ActionCode::None;
    SourceCode source = SourceCode::None;

    friend bool operator==(const LastOperation&, const LastOperation&) = default;
};

}  // namespace tovrimo
