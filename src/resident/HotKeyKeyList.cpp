#include "resident/HotKeyKeyList.h"

#include <cctype>

namespace tovrimo {

namespace {

constexpr std::array<KeyListEntry, kKeyListSize> MakeEntries()
{
    constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    constexpr std::string_view kDigits = "0123456789";
    constexpr std::array<std::string_view, 12> kFunctionKeys = {
        "F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12"};
    std::array<KeyListEntry, kKeyListSize> entries{};
    int i = 0;
    for (size_t k = 0; k < kLetters.size(); ++k)
        entries[i++] = {kLetters.substr(k, 1), 'A' + static_cast<int>(k)};
    for (size_t k = 0; k < kDigits.size(); ++k)
        entries[i++] = {kDigits.substr(k, 1), '0' + static_cast<int>(k)};
    // Virtual-key codes of F1 ... F12 run from 112 on.
    for (size_t k = 0; k < kFunctionKeys.size(); ++k)
        entries[i++] = {kFunctionKeys[k], 112 + static_cast<int>(k)};
    entries[i++] = {"Space", 32};
    entries[i++] = {"Enter", 13};
    entries[i++] = {"PrintScreen", 44};
    return entries;
}

constexpr auto kEntries = MakeEntries();

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

}  // namespace

const std::array<KeyListEntry, kKeyListSize>& KeyListEntries()
{
    return kEntries;
}

std::optional<int> KeyListIndexOfCode(int code)
{
    for (int i = 0; i < kKeyListSize; ++i) {
        if (kEntries[i].code == code) return i;
    }
    return std::nullopt;
}

std::optional<int> KeyListIndexOfText(std::string_view text)
{
    text = Trimmed(text);
    for (int i = 0; i < kKeyListSize; ++i) {
        if (SameIgnoringCase(kEntries[i].text, text)) return i;
    }
    return std::nullopt;
}

}  // namespace tovrimo
