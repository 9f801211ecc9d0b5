#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "capture/CaptureCodes.h"
#include "core/Settings.h"
#include "platform/HotKeyRegistrar.h"

namespace tovrimo {

// The modifier mask the slot's settings ask for (ALT, CTRL, SHIFT set to 1).
HotKeyModifiers ModifiersForSlot(const Settings& settings, int slot);

// Slots to register, in order: the enabled ones, none at all in a command-line job, which
// ends before a key could be pressed.
std::vector<int> SlotsToRegister(const Settings& settings, AppState state);

}  // namespace tovrimo
