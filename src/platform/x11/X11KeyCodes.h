#pragma once

#include <string>

#include "platform/KeySyms.h"

namespace tovrimo {

// The identifier name of a slot: "TVRMHOTKEY" and the slot digit.
std::string HotKeyAtomName(int slot);

}  // namespace tovrimo
