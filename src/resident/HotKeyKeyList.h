#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace tovrimo {

// One entry of a hot-key row's key list: the text shown and the virtual-key code stored in the
// settings file.
struct KeyListEntry {
    std::string_view text;
    int code;
};

inline constexpr int kKeyListSize = 51;

// The keys a hot key can use, in list order: A-Z, 0-9, F1-F12, Space, Enter, PrintScreen.
const std::array<KeyListEntry, kKeyListSize>& KeyListEntries();

// Index of the first entry with this code; nothing for a code the list does not hold (0
// included), which leaves the list without a selection.
std::optional<int> KeyListIndexOfCode(int code);

// Index of the entry whose text equals `text`, ignoring letter case and surrounding blanks;
// nothing when no entry does.
std::optional<int> KeyListIndexOfText(std::string_view text);

}  // namespace tovrimo
