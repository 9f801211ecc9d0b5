#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "capture/CaptureCodes.h"
#include "core/Settings.h"
#include "platform/HotKeyRegistrar.h"

namespace tovrimo {

// The fixed command of each hot-key slot; the value is the slot number, which the settings
// file also uses.
enum class HotKeyCommand : int {
    PrintDesktop = 0,         // desktop hard copy
    PrintActiveWindow = 1,    // active-window hard copy
    PrintRegion = 2,          // region hard copy
    PrintFile = 3,            // image-file hard copy
    CopyDesktop = 4,          // desktop copy
    CopyActiveWindowNow = 5,  // the active window onto the clipboard at once, no timer
    CopyRegion = 6,           // region copy
    CopyFile = 7,             // image-file copy
    OpenOptions = 8,          // options dialog
    NoteFromClipboard = 9,    // sticky note from the clipboard
};

// Slot -> command; nothing for a number outside 0..9.
std::optional<HotKeyCommand> CommandForSlot(int slot);

// The modifier mask the slot's settings ask for (ALT, CTRL, SHIFT set to 1).
HotKeyModifiers ModifiersForSlot(const Settings& settings, int slot);

// Slots to register, in order: the enabled ones, none at all in a command-line job, which
// ends before a key could be pressed.
std::vector<int> SlotsToRegister(const Settings& settings, AppState state);

}  // namespace tovrimo
