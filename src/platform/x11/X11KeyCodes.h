#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tovrimo {

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

// The X keysym of a virtual-key code; nothing for a code without a key on this system.
std::optional<uint32_t> KeysymForVirtualKey(int virtualKey);

// The identifier name of a slot: "TVRMHOTKEY" and the slot digit.
std::string HotKeyAtomName(int slot);

}  // namespace tovrimo
