#pragma once

#include <string>
#include <string_view>

namespace tovrimo {

// Longest title kept, in bytes of UTF-8: the title buffer holds 250 bytes with its terminator.
inline constexpr size_t kMaxWindowTitleBytes = 249;

// The title as it is remembered for the page title: cut to at most kMaxWindowTitleBytes
// without splitting a character, then stripped of leading and trailing spaces.
std::string CapturedTitle(std::string_view rawTitle);

}  // namespace tovrimo
