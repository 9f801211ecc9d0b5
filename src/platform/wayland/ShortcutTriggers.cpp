#include "platform/wayland/ShortcutTriggers.h"

#include <charconv>

#include "platform/KeySyms.h"

namespace tovrimo {

namespace {

// The key's name as an XKB keysym name, which is what the trigger notation uses.
std::optional<std::string> KeyName(Qt::Key key)
{
    const auto code = KeysymForKey(key);
    if (!code) return std::nullopt;
    constexpr uint32_t kLetterZ = keysym::kLetterA + 25;
    constexpr uint32_t kDigit9 = keysym::kDigit0 + 9;
    constexpr uint32_t kF12 = keysym::kF1 + 11;
    // Letters and digits are named by their character.
    if ((*code >= keysym::kLetterA && *code <= kLetterZ) ||
        (*code >= keysym::kDigit0 && *code <= kDigit9))
        return std::string(1, static_cast<char>(*code));
    if (*code >= keysym::kF1 && *code <= kF12) return "F" + std::to_string(*code - keysym::kF1 + 1);
    switch (*code) {
    case keysym::kSpace:
        return "space";
    case keysym::kReturn:
        return "Return";
    case keysym::kPrint:
        return "Print";
    default:
        return std::nullopt;
    }
}

}  // namespace

std::optional<std::string> ShortcutTrigger(QKeyCombination keys)
{
    const auto key = KeyName(keys.key());
    if (!key) return std::nullopt;
    const Qt::KeyboardModifiers modifiers = keys.keyboardModifiers();
    std::string trigger;
    if (modifiers & Qt::ControlModifier) trigger += "CTRL+";
    if (modifiers & Qt::AltModifier) trigger += "ALT+";
    if (modifiers & Qt::ShiftModifier) trigger += "SHIFT+";
    return trigger + *key;
}

std::string ShortcutId(int slot)
{
    return "slot" + std::to_string(slot);
}

std::optional<int> SlotOfShortcutId(const std::string& id)
{
    constexpr std::string_view kPrefix = "slot";
    if (id.size() <= kPrefix.size() || id.compare(0, kPrefix.size(), kPrefix) != 0)
        return std::nullopt;
    int slot = -1;
    const char* first = id.data() + kPrefix.size();
    const char* last = id.data() + id.size();
    const auto [rest, error] = std::from_chars(first, last, slot);
    if (error != std::errc{} || rest != last || slot < 0 || slot > 9) return std::nullopt;
    if (std::to_string(slot) != std::string(first, last)) return std::nullopt;  // "slot01"
    return slot;
}

}  // namespace tovrimo
