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
    DtCopy = 0,       // desktop hard copy
    AwCopy = 1,       // active-window hard copy
    RsCopy = 2,       // region hard copy
    FileCopy = 3,     // image-file hard copy
    DtCapture = 4,    // desktop copy
    AwCopyNow = 5,    // the active window onto the clipboard at once, no timer
    RsCapture = 6,    // region copy
    FileCapture = 7,  // image-file copy
    Option = 8,       // options dialog
    Fusen = 9,        // sticky note from the clipboard
};

// X keysym numbers of the keys a virtual-key code can name, spelled out so this table needs
// no X header.
namespace keysym {
inline constexpr uint32_t kSpace = 0x0020;
inline constexpr uint32_t kDigit0 = 0x0030;
inline constexpr uint32_t kLetterA = 0x0061;  // lower case: the key, not the character
inline constexpr uint32_t kReturn = 0xff0d;
inline constexpr uint32_t kPrint = 0xff61;
inline constexpr uint32_t kF1 = 0xffbe;
}  // namespace keysym

// Slot -> command; nothing for a number outside 0..9.
std::optional<HotKeyCommand> CommandForSlot(int slot);

// The modifier mask the slot's settings ask for (ALT, CTRL, SHIFT set to 1).
HotKeyModifiers ModifiersForSlot(const Settings& settings, int slot);

// The X keysym of a virtual-key code; nothing for a code without a key on this system.
std::optional<uint32_t> KeysymForVirtualKey(int virtualKey);

// Slots to register, in order: the enabled ones, none at all in a command-line job, which
// ends before a key could be pressed.
std::vector<int> SlotsToRegister(const Settings& settings, AppState state);

// The identifier name of a slot: "TVRMHOTKEY" and the slot digit.
std::string HotKeyAtomName(int slot);

}  // namespace tovrimo
