#pragma once

#include <QPageSize>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/PaperSource.h"

namespace tovrimo {

// The sheets and paper sources the program knows against what the printing system calls them:
// sheets as Qt's standard page sizes, sources as the program's paper sources. Pure functions, so
// that the matching rules are testable without a scheduler.
class PaperCodes {
public:
    // The standard size of a portrait sheet of the given size in points, matched within 1 pt,
    // among the sizes the settings can keep; where several are the same sheet, the one the
    // settings name first (Letter before Letter Small and Note). Nothing for any other sheet.
    static std::optional<QPageSize::PageSizeId> pageSizeForPoints(double widthPt, double heightPt);

    // The source a PPD InputSlot keyword or IPP media-source name stands for, matched without
    // regard to case, '-', '_' or spaces, including common aliases (Tray1 for the upper tray
    // ...). Nothing for a name of no source the program knows.
    static std::optional<PaperSource> sourceForKeyword(std::string_view keyword);
    // The first of the offered keywords that stands for the source; empty when the printer
    // offers none.
    static std::string keywordForSource(PaperSource source,
                                        const std::vector<std::string>& offered);
};

}  // namespace tovrimo
