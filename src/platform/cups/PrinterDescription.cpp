#include "platform/cups/PrinterDescription.h"

#include <cups/ppd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/Rounding.h"
#include "platform/cups/PaperCodes.h"

// libcups marks its PPD interface deprecated in favour of IPP attributes, but the PPD is the
// only place that states a queue's printable area exactly, and CUPS 2.x still ships it.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace tovrimo {

namespace {

// "300dpi" or "600x300dpi"; 300 dpi when the PPD does not say.
std::pair<int, int> ParseResolution(const char* text)
{
    int x = 0, y = 0;
    if (text && std::sscanf(text, "%dx%ddpi", &x, &y) == 2 && x > 0 && y > 0) return {x, y};
    if (text && std::sscanf(text, "%ddpi", &x) == 1 && x > 0) return {x, x};
    return {300, 300};
}

}  // namespace

PrinterDescription::PrinterDescription(std::vector<Sheet> sheets, std::vector<Source> sources,
                                       int defaultSizeCode, int dpiX, int dpiY)
    : sheets_(std::move(sheets)),
      sources_(std::move(sources)),
      defaultSizeCode_(defaultSizeCode),
      dpiX_(dpiX),
      dpiY_(dpiY)
{
}

std::optional<PrinterDescription> PrinterDescription::fromPpdFile(const std::string& path)
{
    ppd_file_t* ppd = ppdOpenFile(path.c_str());
    if (!ppd) return std::nullopt;
    ppdMarkDefaults(ppd);

    std::vector<Sheet> sheets;
    for (int i = 0; i < ppd->num_sizes; ++i) {
        const ppd_size_t& size = ppd->sizes[i];
        if (std::strcmp(size.name, "Custom") == 0) continue;
        const int code = PaperCodes::sizeCodeForPoints(size.width, size.length);
        if (code == 0) continue;
        if (std::any_of(sheets.begin(), sheets.end(),
                        [&](const Sheet& s) { return s.code == code; }))
            continue;  // a second name for a sheet already listed (A4 and A4.Full ...)
        sheets.push_back(Sheet{code, size.name, size.width, size.length, size.left, size.bottom,
                               size.right, size.top});
    }

    int defaultCode = 0;
    if (ppd_option_t* pageSize = ppdFindOption(ppd, "PageSize")) {
        if (ppd_size_t* size = ppdPageSize(ppd, pageSize->defchoice))
            defaultCode = PaperCodes::sizeCodeForPoints(size->width, size->length);
    }

    std::vector<Source> sources;
    if (ppd_option_t* slot = ppdFindOption(ppd, "InputSlot")) {
        for (int i = 0; i < slot->num_choices; ++i) {
            const int code = PaperCodes::sourceCodeForKeyword(slot->choices[i].choice);
            if (code == 0) continue;
            if (std::any_of(sources.begin(), sources.end(),
                            [&](const Source& s) { return s.code == code; }))
                continue;
            sources.push_back(Source{code, slot->choices[i].choice});
        }
    }

    ppd_attr_t* resolution = ppdFindAttr(ppd, "DefaultResolution", nullptr);
    const auto [dpiX, dpiY] = ParseResolution(resolution ? resolution->value : nullptr);
    ppdClose(ppd);
    return PrinterDescription(std::move(sheets), std::move(sources), defaultCode, dpiX, dpiY);
}

const PrinterDescription::Sheet* PrinterDescription::sheet(int code) const
{
    if (code == 0) code = defaultSizeCode_;
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
    } else {
        m.pageWidthTwips = s->heightPt * 20;
        m.pageHeightTwips = s->widthPt * 20;
        m.physicalWidth = height;
        m.physicalHeight = width;
        m.physicalOffsetX = bottom;
        m.physicalOffsetY = left;
        m.horzRes = height - top - bottom;
        m.vertRes = width - left - right;
        m.dpiX = dpiY_;
        m.dpiY = dpiX_;
    }
    return m;
}

}  // namespace tovrimo
