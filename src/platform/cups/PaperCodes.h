#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tovrimo {

// The program's paper codes (sizes numbered as DMPAPER_*, sources as DMBIN_*) against what
// the printing system calls them. Pure functions, so that the matching rules are testable
// without a scheduler.
class PaperCodes {
public:
    // Size code of a portrait sheet of the given size in points, matched within 1 pt; the
    // lowest code wins where several name the same sheet (Letter before Note). 0: no code.
    static int sizeCodeForPoints(double widthPt, double heightPt);

    // Source code of a PPD InputSlot keyword or IPP media-source name, matched without regard
    // to case, '-', '_' or spaces, including common aliases (Tray1 for the upper tray ...).
    // 0: no code.
    static int sourceCodeForKeyword(std::string_view keyword);
    // The first of the offered keywords that stands for the source code; empty when the
    // printer offers none.
    static std::string sourceKeywordForCode(int code, const std::vector<std::string>& offered);
};

}  // namespace tovrimo
