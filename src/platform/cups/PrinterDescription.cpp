#include "platform/cups/PrinterDescription.h"

#include <cups/cups.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/Rounding.h"
#include "platform/Translated.h"
#include "platform/cups/PaperCodes.h"

namespace tovrimo {

namespace {

constexpr double kPointsPerHundredthMm = 72.0 / 2540.0;

PrinterDescription::Sheet SheetOf(QPageSize::PageSizeId size,
                                  const PrinterDescription::Media& media)
{
    PrinterDescription::Sheet s;
    s.size = size;
    s.media = media;
    s.widthPt = media.width * kPointsPerHundredthMm;
    s.heightPt = media.length * kPointsPerHundredthMm;
    s.left = media.left * kPointsPerHundredthMm;
    s.bottom = media.bottom * kPointsPerHundredthMm;
    s.right = (media.width - media.right) * kPointsPerHundredthMm;
    s.top = (media.length - media.top) * kPointsPerHundredthMm;
    return s;
}

// A sheet has an area and margins that leave some of it to print on. Worked out in 64 bits:
// a printer may report any int.
bool SaneMedia(const PrinterDescription::Media& m)
{
    const int64_t width = m.width, length = m.length;
    const int64_t left = m.left, right = m.right, top = m.top, bottom = m.bottom;
    return width > 0 && length > 0 && left >= 0 && right >= 0 && top >= 0 && bottom >= 0 &&
           left + right < width && top + bottom < length;
}

// Dots per inch of a reported resolution; 0 when it is outside what a page can be laid out at.
int SaneDpi(int value, bool perCentimetre, bool knownUnit)
{
    if (!knownUnit) return 0;
    const double dpi = perCentimetre ? value * 2.54 : value;
    if (!(dpi >= PrinterDescription::kMinDpi && dpi <= PrinterDescription::kMaxDpi)) return 0;
    return static_cast<int>(std::floor(dpi + 0.5));
}

// A printer's own text in a message: invalid UTF-8 and control characters become '?', and a
// long name is cut, so that what the printer sent cannot garble or flood the box.
std::string Printable(const std::string& text)
{
    constexpr std::size_t kMaxChars = 64;
    std::string out;
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size() && chars < kMaxChars; ++chars) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t len = c < 0x80           ? 1
                          : (c >> 5) == 0x6  ? 2
                          : (c >> 4) == 0xE  ? 3
                          : (c >> 3) == 0x1E ? 4
                                             : 0;
        bool valid = len > 0 && i + len <= text.size();
        for (std::size_t k = 1; valid && k < len; ++k)
            valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
        if (valid && len == 1 && (c < 0x20 || c == 0x7F)) valid = false;
        if (valid) {
            out.append(text, i, len);
            i += len;
        } else {
            out += '?';
            ++i;
        }
    }
    if (chars == kMaxChars && out.size() < text.size()) out += "…";
    return out;
}

}  // namespace

PrinterDescription::Reported::Resolution PrinterDescription::Reported::resolutionOf(
    _ipp_attribute_s* attribute, int index)
{
    ipp_res_t units = IPP_RES_PER_INCH;
    Reported::Resolution r;
    r.x = ippGetResolution(attribute, index, &r.y, &units);
    static_assert(sizeof units == sizeof(int));
    int unit = 0;
    std::memcpy(&unit, &units, sizeof unit);
    r.perCentimetre = unit == IPP_RES_PER_CM;
    r.knownUnit = unit == IPP_RES_PER_CM || unit == IPP_RES_PER_INCH;
    return r;
}

PrinterDescription PrinterDescription::fromReport(const Reported& reported)
{
    std::vector<Sheet> sheets;
    std::vector<std::string> dropped;  // names of media whose numbers make no sheet
    const std::size_t mediaCount = std::min(reported.media.size(), kMaxMediaRead);
    for (std::size_t i = 0; i < mediaCount; ++i) {
        const Media& media = reported.media[i];
        if (!SaneMedia(media)) {
            dropped.push_back(media.name);
            continue;
        }
        auto sheet = sheetFor(media);
        if (!sheet) continue;
        const bool listed = std::any_of(sheets.begin(), sheets.end(),
                                        [&](const Sheet& s) { return s.size == sheet->size; });
        if (!listed) sheets.push_back(*sheet);
    }

    std::vector<Source> sources;
    for (const auto& keyword : reported.sources) {
        const std::optional<PaperSource> source = PaperCodes::sourceForKeyword(keyword);
        if (!source) continue;
        const bool listed = std::any_of(sources.begin(), sources.end(),
                                        [&](const Source& s) { return s.source == *source; });
        if (!listed) sources.push_back({*source, keyword});
    }

    QPageSize::PageSizeId defaultSize = QPageSize::Custom;
    if (reported.defaultSize)
        if (auto sheet = sheetFor(*reported.defaultSize)) defaultSize = sheet->size;

    int dpiX = 300, dpiY = 300;
    std::optional<PageProblem> printerProblem;
    if (!reported.resolutions.empty()) {
        dpiX = dpiY = 0;
        for (const auto& r : reported.resolutions) {
            const int x = SaneDpi(r.x, r.perCentimetre, r.knownUnit);
            const int y = SaneDpi(r.y, r.perCentimetre, r.knownUnit);
            if (x > 0 && y > 0) {
                dpiX = x;
                dpiY = y;
                break;
            }
        }
        if (dpiX == 0) {
            const auto& r = reported.resolutions.front();
            const std::string unit = !r.knownUnit ? "" : r.perCentimetre ? " dpcm" : " dpi";
            printerProblem = PageProblem{
                PageProblem::Kind::Printer,
                TranslatedWith(kMessageBoxContext,
                               QT_TRANSLATE_NOOP("tovrimo::MessageBox",
                                                 "プリンタの解像度（%1）では印刷できません。"),
                               {std::to_string(r.x) + "×" + std::to_string(r.y) + unit})};
            dpiX = dpiY = 300;
        }
    }

    std::optional<Sheet> standIn;
    std::optional<PageProblem> defaultProblem;
    if (sheets.empty() && dropped.empty()) {
        // A printer that names no size still prints, on its own default sheet; nothing is known
        // of its margins or resolution.
        standIn = standInSheet(reported.defaultMedia);
        defaultSize = QPageSize::Custom;
        dpiX = dpiY = 300;
        printerProblem.reset();
    } else if (sheets.empty()) {
        defaultProblem = PageProblem{
            PageProblem::Kind::PaperSize,
            TranslatedUtf8(kMessageBoxContext,
                           QT_TRANSLATE_NOOP("tovrimo::MessageBox",
                                             "プリンタの用紙は、どれも寸法か余白が不正です。"))};
    } else if (std::none_of(sheets.begin(), sheets.end(),
                            [&](const Sheet& s) { return s.size == defaultSize; })) {
        const std::string name = Printable(reported.defaultMedia);
        const bool bad =
            std::find(dropped.begin(), dropped.end(), reported.defaultMedia) != dropped.end();
        defaultProblem = PageProblem{
            PageProblem::Kind::PaperSize,
            bad ? TranslatedWith(
                      kMessageBoxContext,
                      QT_TRANSLATE_NOOP("tovrimo::MessageBox",
                                        "プリンタの既定の用紙「%1」は、寸法か余白が不正です。"),
                      {name})
                : TranslatedWith(
                      kMessageBoxContext,
                      QT_TRANSLATE_NOOP(
                          "tovrimo::MessageBox",
                          "プリンタの既定の用紙「%1」は、プリンタの用紙の一覧にありません。"),
                      {name})};
    }

    PrinterDescription d(std::move(sheets), std::move(sources), defaultSize, dpiX, dpiY,
                         reported.landscape.value_or(Turn::Plus90), std::move(standIn));
    d.printerProblem_ = std::move(printerProblem);
    d.defaultProblem_ = std::move(defaultProblem);
    return d;
}

std::optional<PrinterDescription::Sheet> PrinterDescription::sheetFor(const Media& media)
{
    if (!SaneMedia(media)) return std::nullopt;
    const std::optional<QPageSize::PageSizeId> size = PaperCodes::pageSizeForPoints(
        media.width * kPointsPerHundredthMm, media.length * kPointsPerHundredthMm);
    if (!size) return std::nullopt;
    return SheetOf(*size, media);
}

PrinterDescription::Sheet PrinterDescription::standInSheet(const std::string& defaultMediaName)
{
    Media media;
    const pwg_media_t* known =
        defaultMediaName.empty() ? nullptr : pwgMediaForPWG(defaultMediaName.c_str());
    // A name of the printer's own making can state any size at all ("om_x_0x0mm"): only one
    // that is a standard sheet stands in.
    if (known && !sheetFor(Media{known->pwg, known->width, known->length})) known = nullptr;
    if (!known) known = pwgMediaForPWG("iso_a4_210x297mm");
    media.name = known->pwg;
    media.width = known->width;
    media.length = known->length;
    return SheetOf(QPageSize::Custom, media);
}

PrinterDescription::PrinterDescription(std::vector<Sheet> sheets, std::vector<Source> sources,
                                       QPageSize::PageSizeId defaultSize, int dpiX, int dpiY,
                                       Turn landscape, std::optional<Sheet> standIn)
    : sheets_(std::move(sheets)),
      sources_(std::move(sources)),
      defaultSize_(defaultSize),
      dpiX_(dpiX),
      dpiY_(dpiY),
      landscape_(landscape),
      standIn_(std::move(standIn))
{
}

QPageSize PrinterDescription::defaultSize() const
{
    if (defaultSize_ == QPageSize::Custom) return {};
    return QPageSize(defaultSize_);
}

const PrinterDescription::Sheet* PrinterDescription::sheet(const QPageSize& size) const
{
    QPageSize::PageSizeId id = size.isValid() ? size.id() : defaultSize_;
    if (!size.isValid() && sheets_.empty() && standIn_) return &*standIn_;
    // A size of the caller's own making is none of the printer's sheets.
    if (id == QPageSize::Custom) return nullptr;
    for (const auto& s : sheets_)
        if (s.size == id) return &s;
    return nullptr;
}

std::string PrinterDescription::sourceKeyword(PaperSource source) const
{
    for (const auto& s : sources_)
        if (s.source == source) return s.keyword;
    return {};
}

std::optional<PageMetrics> PrinterDescription::metrics(const QPageSize& size,
                                                       QPageLayout::Orientation orientation) const
{
    if (printerProblem_) return std::nullopt;
    const Sheet* s = sheet(size);
    if (!s) return std::nullopt;

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
    if (orientation == QPageLayout::Portrait) {
        m.sheetPoints = QSizeF(s->widthPt, s->heightPt);
        m.sheetPixels = QSize(width, height);
        m.printablePixels = QRect(left, top, width - left - right, height - top - bottom);
        m.dotsPerInchX = dpiX_;
        m.dotsPerInchY = dpiY_;
        return m;
    }
    m.sheetPoints = QSizeF(s->heightPt, s->widthPt);
    m.sheetPixels = QSize(height, width);
    m.dotsPerInchX = dpiY_;
    m.dotsPerInchY = dpiX_;
    const QSize printable(height - top - bottom, width - left - right);
    if (landscape_ == Turn::Plus90) {
        m.printablePixels = QRect(QPoint(bottom, left), printable);
    } else {
        m.printablePixels = QRect(QPoint(top, right), printable);
    }
    return m;
}

std::optional<PageProblem> PrinterDescription::problem(const QPageSize& size) const
{
    if (printerProblem_) return printerProblem_;
    if (!size.isValid() && !sheet(size)) return defaultProblem_;
    return std::nullopt;
}

}  // namespace tovrimo
