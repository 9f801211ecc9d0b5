#pragma once

#include "core/SettingsNotice.h"

namespace tovrimo {

class MessageBoxes;

// Shows what the settings store has to say, one box each, in order.
void ShowSettingsNotices(MessageBoxes& boxes, const SettingsNotices& notices);

}  // namespace tovrimo
