#pragma once

#include <optional>
#include <string>

namespace tovrimo {

// Whether an X server answers at `display` (a DISPLAY value). Nothing when it does; otherwise
// a one-line reason for the user. Qt ends the process with abort() when it cannot open its
// display, so this is asked before the application object exists.
std::optional<std::string> X11DisplayProblem(const char* display);

}  // namespace tovrimo
