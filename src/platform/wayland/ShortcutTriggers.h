#pragma once

#include <optional>
#include <string>

#include "platform/HotKeyRegistrar.h"

namespace tovrimo {

// A hot-key combination as a preferred trigger in the notation of the desktop portal's
// global shortcuts ("CTRL+ALT+p", "SHIFT+F5", "Print"); nothing for a virtual-key code that
// names no key this program offers.
std::optional<std::string> ShortcutTrigger(HotKeyModifiers modifiers, int virtualKey);

// The shortcut id of a hot-key slot ("slot0" …) and back; nothing for a foreign id.
std::string ShortcutId(int slot);
std::optional<int> SlotOfShortcutId(const std::string& id);

}  // namespace tovrimo
