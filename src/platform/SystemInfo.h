#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace tovrimo {

// The current local time, broken down.
std::tm LocalTimeNow();

// The machine's host name; nothing when it cannot be read.
std::optional<std::string> HostName();

// Login name of the user the program runs as (effective user id); nothing when the user
// has no entry in the user database.
std::optional<std::string> LoginName();

}  // namespace tovrimo
