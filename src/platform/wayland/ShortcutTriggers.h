#pragma once

#include <QKeyCombination>
#include <optional>
#include <string>

namespace tovrimo {

// A hot-key combination as a preferred trigger in the notation of the desktop portal's
// global shortcuts ("CTRL+ALT+p", "SHIFT+F5", "Print"); nothing for a key this program does
// not offer.
std::optional<std::string> ShortcutTrigger(QKeyCombination keys);

// The shortcut id of a hot-key slot ("slot0" …) and back; nothing for a foreign id.
std::string ShortcutId(int slot);
std::optional<int> SlotOfShortcutId(const std::string& id);

}  // namespace tovrimo
