#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/CaptureRequest.h"

namespace tovrimo {

inline constexpr size_t kMaxCommandArgs = 50;

// Splits the command-line text into tokens: spaces are trimmed from both ends, then every space
// or tab ends a token, so two separators in a row give an empty token. At most 50 tokens are
// kept; the rest are ignored. An empty text gives one empty token.
std::vector<std::string> SplitCommandLine(const std::string& text);

}  // namespace tovrimo

namespace tovrimo {

// What the switches of a one-off job ask for: a hard copy of the desktop, a window or a
// region, taken at once.
struct CommandJob {
    // Nothing when no switch named a source.
    std::optional<CaptureRequest> request;
    // For the active-window source: the 32-bit handle as given; 0 means the active window.
    int32_t window = 0;
    std::string settingName;  // named print setting to use; empty for the stored layout
    bool confirm = false;     // show the print dialog first
    bool error() const { return !request; }
};

// Reads the switches in order; the later of two switches wins and anything unrecognised
// (an empty token included) is ignored. Switches compare exactly, letter case included:
// "/d" "/D", "/a" "/A", "/r" "/R", "/c" "/C" "-c" "-C" must be the whole token; "/h=" "/H="
// "/h:" "/H:" take a number (decimal, or hexadecimal after "0x") and "/S:" "/s:" "/s=" "/S="
// a name after their three characters.
// The name starts as initialSettingName.
CommandJob ParseCommandSwitches(const std::vector<std::string>& tokens,
                                const std::string& initialSettingName);

}  // namespace tovrimo
