#pragma once

#include <QKeyCombination>
#include <cstdint>
#include <optional>

namespace tovrimo {

// Every window system names the keys a hot key may use by their X keysym (X11 directly,
// Wayland's shortcut triggers by its name).

// X keysym numbers of the keys a hot key can use, spelled out so this table needs no X header.
namespace keysym {
inline constexpr uint32_t kSpace = 0x0020;
inline constexpr uint32_t kDigit0 = 0x0030;
inline constexpr uint32_t kLetterA = 0x0061;  // lower case: the key, not the character
inline constexpr uint32_t kReturn = 0xff0d;
inline constexpr uint32_t kPrint = 0xff61;
inline constexpr uint32_t kF1 = 0xffbe;
}  // namespace keysym

// The X keysym of a key; nothing for a key the options do not offer (letters, digits, F1 to
// F12, space, Return and Print Screen are offered).
std::optional<uint32_t> KeysymForKey(Qt::Key key);

}  // namespace tovrimo
