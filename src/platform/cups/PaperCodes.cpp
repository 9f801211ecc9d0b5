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
    PaperSource source;
    const char* normalizedKeyword;
};

// PPD InputSlot keywords first, then the IPP media-source names and the aliases drivers use.
constexpr std::array kSourceNames = {
    SourceName{PaperSource::Upper, "upper"},
    SourceName{PaperSource::Upper, "tray1"},
    SourceName{PaperSource::Upper, "top"},
    SourceName{PaperSource::Upper, "main"},
    SourceName{PaperSource::Lower, "lower"},
    SourceName{PaperSource::Lower, "tray2"},
    SourceName{PaperSource::Lower, "bottom"},
    SourceName{PaperSource::Middle, "middle"},
    SourceName{PaperSource::Middle, "tray3"},
    SourceName{PaperSource::Manual, "manual"},
    SourceName{PaperSource::Manual, "manualfeed"},
    SourceName{PaperSource::Manual, "bypasstray"},
    SourceName{PaperSource::Envelope, "envelope"},
    SourceName{PaperSource::Envelope, "envelopefeed"},
    SourceName{PaperSource::EnvelopeManual, "envmanual"},
    SourceName{PaperSource::EnvelopeManual, "manualenvelope"},
    SourceName{PaperSource::EnvelopeManual, "envelopemanual"},
    SourceName{PaperSource::Auto, "auto"},
    SourceName{PaperSource::Auto, "autoselect"},
    SourceName{PaperSource::Tractor, "tractor"},
    SourceName{PaperSource::SmallFormat, "smallformat"},
    SourceName{PaperSource::LargeFormat, "largeformat"},
    SourceName{PaperSource::LargeCapacity, "largecapacity"},
    SourceName{PaperSource::Cassette, "cassette"},
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

std::optional<PaperSource> PaperCodes::sourceForKeyword(std::string_view keyword)
{
    const std::string key = Normalized(keyword);
    for (const auto& name : kSourceNames)
        if (key == name.normalizedKeyword) return name.source;
    return std::nullopt;
}

std::string PaperCodes::keywordForSource(PaperSource source,
                                         const std::vector<std::string>& offered)
{
    for (const auto& keyword : offered)
        if (sourceForKeyword(keyword) == source) return keyword;
    return {};
}

}  // namespace tovrimo
