#include "platform/cups/PaperCodes.h"

#include <QPageSize>
#include <QSizeF>
#include <array>
#include <cctype>
#include <cmath>
#include <utility>

#include "core/SettingsFileCodes.h"

namespace tovrimo {

namespace {

std::string Normalized(std::string_view keyword)
{
    std::string out;
    for (char c : keyword) {
        if (c == '-' || c == '_' || c == ' ') continue;
        out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

struct SourceName {
    int code;
    const char* normalizedKeyword;
};

// PPD InputSlot keywords first, then the IPP media-source names and the aliases drivers use.
constexpr std::array kSourceNames = {
    SourceName{1, "upper"},          SourceName{1, "tray1"},          SourceName{1, "top"},
    SourceName{1, "main"},           SourceName{2, "lower"},          SourceName{2, "tray2"},
    SourceName{2, "bottom"},         SourceName{3, "middle"},         SourceName{3, "tray3"},
    SourceName{4, "manual"},         SourceName{4, "manualfeed"},     SourceName{4, "bypasstray"},
    SourceName{5, "envelope"},       SourceName{5, "envelopefeed"},   SourceName{6, "envmanual"},
    SourceName{6, "manualenvelope"}, SourceName{6, "envelopemanual"}, SourceName{7, "auto"},
    SourceName{7, "autoselect"},     SourceName{8, "tractor"},        SourceName{9, "smallformat"},
    SourceName{10, "largeformat"},   SourceName{11, "largecapacity"}, SourceName{14, "cassette"},
};

}  // namespace

std::optional<QPageSize::PageSizeId> PaperCodes::pageSizeForPoints(double widthPt, double heightPt)
{
    for (const QPageSize::PageSizeId id : PageSizesInFileOrder()) {
        const QSizeF size = QPageSize::size(id, QPageSize::Point);
        if (std::abs(size.width() - widthPt) <= 1.0 && std::abs(size.height() - heightPt) <= 1.0)
            return id;
    }
    return std::nullopt;
}

int PaperCodes::sourceCodeForKeyword(std::string_view keyword)
{
    const std::string key = Normalized(keyword);
    for (const auto& name : kSourceNames)
        if (key == name.normalizedKeyword) return name.code;
    return 0;
}

std::string PaperCodes::sourceKeywordForCode(int code, const std::vector<std::string>& offered)
{
    if (code == 0) return {};
    for (const auto& keyword : offered)
        if (sourceCodeForKeyword(keyword) == code) return keyword;
    return {};
}

}  // namespace tovrimo
