#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "core/TitleFields.h"

namespace tovrimo {

// The current local time, broken down.
std::tm LocalTimeNow();

// The machine's host name; nothing when it cannot be read.
std::optional<std::string> HostName();

// Login name of the user the program runs as (effective user id); nothing when the user
// has no entry in the user database.
std::optional<std::string> LoginName();

// Sources backed by the system clock, the host name and the login name.
TitleFieldSources SystemTitleFieldSources(std::function<std::string()> capturedWindowTitle);

}  // namespace tovrimo
