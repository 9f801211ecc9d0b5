#pragma once

#include <string>

namespace tovrimo {

// Whether the X display named by DISPLAY can be opened. Qt aborts the process when it cannot
// open its display, so the program asks first and explains itself instead. On failure the
// reason comes back in plain words.
bool CanOpenDisplay(std::string* reason);

}  // namespace tovrimo
