#include "platform/cups/PrinterDescription.h"

#include <cups/cups.h>

#include "core/Rounding.h"
#include "platform/cups/PaperCodes.h"

namespace tovrimo {

namespace {

constexpr double kPointsPerHundredthMm = 72.0 / 2540.0;

PrinterDescription::Sheet SheetOf(int code, const PrinterDescription::Media& media)
{
    PrinterDescription::Sheet s;
    s.code = code;
    s.media = media;
    s.widthPt = media.width * kPointsPerHundredthMm;
    s.heightPt = media.length * kPointsPerHundredthMm;
    s.left = media.left * kPointsPerHundredthMm;
    s.bottom = media.bottom * kPointsPerHundredthMm;
    s.right = (media.width - media.right) * kPointsPerHundredthMm;
    s.top = (media.length - media.top) * kPointsPerHundredthMm;
    return s;
}

}  // namespace

std::optional<PrinterDescription::Sheet> PrinterDescription::sheetFor(const Media& media)
{
    const int code = PaperCodes::sizeCodeForPoints(media.width * kPointsPerHundredthMm,
                                                   media.length * kPointsPerHundredthMm);
    if (code == 0) return std::nullopt;
    return SheetOf(code, media);
}

PrinterDescription::Sheet PrinterDescription::standInSheet(const std::string& defaultMediaName)
{
    Media media;
    const pwg_media_t* known =
        defaultMediaName.empty() ? nullptr : pwgMediaForPWG(defaultMediaName.c_str());
    if (!known) known = pwgMediaForPWG("iso_a4_210x297mm");
    media.name = known->pwg;
    media.width = known->width;
    media.length = known->length;
    return SheetOf(0, media);
}

PrinterDescription::PrinterDescription(std::vector<Sheet> sheets, std::vector<Source> sources,
                                       int defaultSizeCode, int dpiX, int dpiY, Turn landscape,
                                       std::optional<Sheet> standIn)
    : sheets_(std::move(sheets)),
      sources_(std::move(sources)),
      defaultSizeCode_(defaultSizeCode),
      dpiX_(dpiX),
      dpiY_(dpiY),
      landscape_(landscape),
      standIn_(std::move(standIn))
{
}

const PrinterDescription::Sheet* PrinterDescription::sheet(int code) const
{
    if (code == 0) {
        if (sheets_.empty() && standIn_) return &*standIn_;
        code = defaultSizeCode_;
    }
    for (const auto& s : sheets_)
        if (s.code == code) return &s;
    return nullptr;
}

std::string PrinterDescription::sourceKeyword(int code) const
{
    for (const auto& s : sources_)
        if (s.code == code) return s.keyword;
    return {};
}

std::optional<PageMetrics> PrinterDescription::metrics(int sizeCode, int orientation) const
{
    const Sheet* s = sheet(sizeCode);
    if (!s || (orientation != 1 && orientation != 2)) return std::nullopt;

    // Edges are converted to pixels and the margins taken as differences, so that margins and
    // printable area always add up to the whole sheet.
    const double perPtX = dpiX_ / 72.0;
    const double perPtY = dpiY_ / 72.0;
    const int width = static_cast<int>(nearestEven(s->widthPt * perPtX));
    const int height = static_cast<int>(nearestEven(s->heightPt * perPtY));
    const int left = static_cast<int>(nearestEven(s->left * perPtX));
    const int right = width - static_cast<int>(nearestEven(s->right * perPtX));
    const int bottom = static_cast<int>(nearestEven(s->bottom * perPtY));
    const int top = height - static_cast<int>(nearestEven(s->top * perPtY));

    PageMetrics m;
    if (orientation == 1) {
        m.pageWidthTwips = s->widthPt * 20;
        m.pageHeightTwips = s->heightPt * 20;
        m.physicalWidth = width;
        m.physicalHeight = height;
        m.physicalOffsetX = left;
        m.physicalOffsetY = top;
        m.horzRes = width - left - right;
        m.vertRes = height - top - bottom;
        m.dpiX = dpiX_;
        m.dpiY = dpiY_;
        return m;
    }
    m.pageWidthTwips = s->heightPt * 20;
    m.pageHeightTwips = s->widthPt * 20;
    m.physicalWidth = height;
    m.physicalHeight = width;
    m.horzRes = height - top - bottom;
    m.vertRes = width - left - right;
    m.dpiX = dpiY_;
    m.dpiY = dpiX_;
    if (landscape_ == Turn::Plus90) {
        m.physicalOffsetX = bottom;
        m.physicalOffsetY = left;
    } else {
        m.physicalOffsetX = top;
        m.physicalOffsetY = right;
    }
    return m;
}

}  // namespace tovrimo
