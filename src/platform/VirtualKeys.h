#pragma once

#include <cstdint>
#include <optional>

namespace tovrimo {

// The keys a hot key may use are named by virtual-key codes in the settings; every window
// system names them by their X keysym (X11 directly, Wayland's shortcut triggers by its name).

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

// The X keysym of a virtual-key code; nothing for a code that names no key the options offer.
std::optional<uint32_t> KeysymForVirtualKey(int virtualKey);

}  // namespace tovrimo
