#pragma once

#include <QKeyCombination>
#include <optional>
#include <string>
#include <vector>

#include "capture/CaptureCodes.h"
#include "core/Settings.h"

namespace tovrimo {

// The key combination the slot's settings ask for: its key with the modifiers whose ALT, CTRL
// and SHIFT are set to 1. A key code that names no key the options offer gives Qt::Key_unknown
// with those modifiers, which every registrar refuses; so does a slot outside the table.
QKeyCombination KeysForSlot(const Settings& settings, int slot);

// Slots to register, in order: the enabled ones, none at all in a command-line job, which
// ends before a key could be pressed.
std::vector<int> SlotsToRegister(const Settings& settings, AppState state);

}  // namespace tovrimo
