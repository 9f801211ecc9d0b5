#pragma once

#include <array>
#include <string>

namespace tovrimo {

// Japanese names of the paper-size codes 0..256 and the paper-source codes 0..100, as the
// printing system numbers them. An empty entry marks a code the program does not name; entry 0
// of both tables is "指定なし" (leave the printer's own choice). Callers check the range before
// indexing.
const std::array<std::string, 257>& PaperSizeNames();
const std::array<std::string, 101>& PaperBinNames();

// Builds both tables. Start-up calls it before the settings are loaded; the look-ups above
// build the tables themselves when called first, so the order cannot go wrong.
void BuildPaperNames();

}  // namespace tovrimo
