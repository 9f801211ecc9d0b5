#pragma once

#include <string>
#include <vector>

namespace tovrimo {

inline constexpr size_t kMaxCommandArgs = 50;

// Splits the command-line text into tokens: spaces are trimmed from both ends, then every space
// or tab ends a token, so two separators in a row give an empty token. At most 50 tokens are
// kept; the rest are ignored. An empty text gives one empty token.
std::vector<std::string> SplitCommandLine(const std::string& text);

}  // namespace tovrimo
