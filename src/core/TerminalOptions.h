#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tovrimo {

// "--help" or "--version" as the whole command line: the text to print on standard output
// before the program needs a display or a printer. Any other command line, one that has
// either of them beside another token included, gives nothing and goes to the switches.
std::optional<std::string> TerminalOptionText(const std::vector<std::string>& tokens,
                                              std::string_view version);

// The usage printed for "--help": every switch, with an example of each.
std::string UsageText();

}  // namespace tovrimo
