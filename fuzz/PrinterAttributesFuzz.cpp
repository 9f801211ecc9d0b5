// An IPP message from a printer, read by libcups's own parser, through everything the program
// makes of it: the printer description, each sheet's page metrics in both orientations, the
// margins and the print preview. Whatever the printer says, the description offers only sheets
// with a printable area inside the sheet, and the layout of those stays on the sheet.
#include <cups/cups.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

#include "FuzzCheck.h"
#include "output/PageGeometry.h"
#include "output/PreviewComposer.h"
#include "platform/cups/PrinterDescription.h"

using namespace tovrimo;

namespace {

struct Input {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
};

ssize_t ReadInput(void* context, ipp_uchar_t* buffer, size_t bytes)
{
    auto* in = static_cast<Input*>(context);
    const size_t n = std::min(bytes, in->size - in->at);
    std::memcpy(buffer, in->data + in->at, n);
    in->at += n;
    return static_cast<ssize_t>(n);
}

int Member(ipp_t* col, const char* name)
{
    ipp_attribute_t* a = col ? ippFindAttribute(col, name, IPP_TAG_INTEGER) : nullptr;
    return a ? ippGetInteger(a, 0) : 0;
}

int FirstInteger(ipp_t* response, const char* name)
{
    ipp_attribute_t* a = ippFindAttribute(response, name, IPP_TAG_INTEGER);
    return a ? ippGetInteger(a, 0) : 0;
}

// The size of a media-col-database entry.
bool EntrySize(ipp_t* entry, int& width, int& length)
{
    ipp_attribute_t* size = ippFindAttribute(entry, "media-size", IPP_TAG_BEGIN_COLLECTION);
    ipp_t* col = size ? ippGetCollection(size, 0) : nullptr;
    if (!col) return false;
    width = Member(col, "x-dimension");
    length = Member(col, "y-dimension");
    return true;
}

// The attributes the destination API reads, the way it reads them: each supported media name
// sized by its PWG name, with the margins of the first database entry of that size (else the
// printer's first supported margins).
PrinterDescription::Reported Reported(ipp_t* response)
{
    PrinterDescription::Reported r;
    ipp_attribute_t* database =
        ippFindAttribute(response, "media-col-database", IPP_TAG_BEGIN_COLLECTION);
    const auto sized = [&](const char* name, bool withMargins) {
        PrinterDescription::Media m;
        m.name = name;
        const pwg_media_t* pwg = pwgMediaForPWG(name);
        if (!pwg) return std::optional<PrinterDescription::Media>();
        m.width = pwg->width;
        m.length = pwg->length;
        if (!withMargins) return std::optional(m);
        m.left = FirstInteger(response, "media-left-margin-supported");
        m.right = FirstInteger(response, "media-right-margin-supported");
        m.top = FirstInteger(response, "media-top-margin-supported");
        m.bottom = FirstInteger(response, "media-bottom-margin-supported");
        for (int i = 0; database && i < ippGetCount(database); ++i) {
            ipp_t* entry = ippGetCollection(database, i);
            int w = 0, l = 0;
            if (!EntrySize(entry, w, l) || w != m.width || l != m.length) continue;
            m.left = Member(entry, "media-left-margin");
            m.right = Member(entry, "media-right-margin");
            m.top = Member(entry, "media-top-margin");
            m.bottom = Member(entry, "media-bottom-margin");
            break;
        }
        return std::optional(m);
    };
    if (ipp_attribute_t* media = ippFindAttribute(response, "media-supported", IPP_TAG_ZERO)) {
        for (int i = 0; i < ippGetCount(media); ++i)
            if (const char* name = ippGetString(media, i, nullptr))
                if (auto m = sized(name, true)) r.media.push_back(*m);
    }
    if (ipp_attribute_t* def = ippFindAttribute(response, "media-default", IPP_TAG_ZERO)) {
        if (const char* name = ippGetString(def, 0, nullptr)) {
            r.defaultMedia = name;
            r.defaultSize = sized(name, false);
        }
    }
    if (ipp_attribute_t* sources =
            ippFindAttribute(response, "media-source-supported", IPP_TAG_ZERO)) {
        for (int i = 0; i < ippGetCount(sources); ++i)
            if (const char* keyword = ippGetString(sources, i, nullptr))
                r.sources.emplace_back(keyword);
    }
    for (const char* name : {"printer-resolution-default", "printer-resolution-supported"}) {
        ipp_attribute_t* res = ippFindAttribute(response, name, IPP_TAG_RESOLUTION);
        for (int i = 0; res && i < ippGetCount(res); ++i)
            r.resolutions.push_back(PrinterDescription::Reported::resolutionOf(res, i));
    }
    if (ipp_attribute_t* turn =
            ippFindAttribute(response, "landscape-orientation-requested-preferred", IPP_TAG_ENUM)) {
        const int value = ippGetInteger(turn, 0);
        if (value == IPP_ORIENT_LANDSCAPE) r.landscape = PrinterDescription::Turn::Plus90;
        if (value == IPP_ORIENT_REVERSE_LANDSCAPE) r.landscape = PrinterDescription::Turn::Minus90;
    }
    return r;
}

void CheckPage(const PrinterDescription& d, const QPageSize& size,
               QPageLayout::Orientation orientation, uint8_t choice)
{
    const auto m = d.metrics(size, orientation);
    if (!m) {
        return;
    }
    FUZZ_CHECK(m->dotsPerInchX >= PrinterDescription::kMinDpi &&
               m->dotsPerInchX <= PrinterDescription::kMaxDpi);
    FUZZ_CHECK(m->dotsPerInchY >= PrinterDescription::kMinDpi &&
               m->dotsPerInchY <= PrinterDescription::kMaxDpi);
    const QRect& printable = m->printablePixels;
    FUZZ_CHECK(m->sheetPixels.width() > 0 && m->sheetPixels.height() > 0);
    FUZZ_CHECK(printable.x() >= 0 && printable.y() >= 0);
    FUZZ_CHECK(printable.width() >= 0 && printable.height() >= 0);
    FUZZ_CHECK(int64_t{printable.x()} + printable.width() <= m->sheetPixels.width());
    FUZZ_CHECK(int64_t{printable.y()} + printable.height() <= m->sheetPixels.height());

    const Margins margins = ComputeMargins(*m);
    FUZZ_CHECK(margins.pageWidth > 0 && margins.pageHeight > 0);
    FUZZ_CHECK(margins.printableWidth >= 0 && margins.printableHeight >= 0);
    FUZZ_CHECK(margins.left + margins.printableWidth <= margins.pageWidth + 1);
    FUZZ_CHECK(margins.top + margins.printableHeight <= margins.pageHeight + 1);

    PreviewInput in;
    in.page = *m;
    in.scaleMode = (choice & 1) ? ScaleMode::FitToPaper : ScaleMode::ActualSize;
    in.position = static_cast<PagePosition>((choice >> 1) % 5);
    in.imageWidthPixels = 1 + (choice >> 4) * 300;
    in.imageHeightPixels = 1 + (choice & 0xF) * 200;
    in.titleWidthTwips = 2000;
    in.titleHeightTwips = 240;
    in.titleBlank = (choice & 2) != 0;
    const PreviewPicture pic = ComposePreview(in);
    FUZZ_CHECK(pic.scale > 0 && std::isfinite(pic.scale));
    FUZZ_CHECK(pic.sheet.width() == margins.pageWidth && pic.sheet.height() == margins.pageHeight);
    FUZZ_CHECK(pic.sheet.left() >= 0 && pic.sheet.top() >= 0);
    FUZZ_CHECK(pic.printable.left() >= pic.sheet.left() && pic.printable.top() >= pic.sheet.top());
    if (in.scaleMode == ScaleMode::FitToPaper && pic.placed) {
        // A fitted image fills the printable area one way; the other way its own shape decides,
        // so a picture of another shape than the sheet's may overhang there.
        FUZZ_CHECK(pic.placement.imageWidth <= margins.printableWidth + 1 ||
                   pic.placement.imageHeight <= margins.printableHeight + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input input{data, size};
    ipp_t* response = ippNew();
    const ipp_state_t state = ippReadIO(&input, ReadInput, 1, nullptr, response);
    if (state != IPP_STATE_DATA) {
        ippDelete(response);
        return 0;
    }
    const PrinterDescription d = PrinterDescription::fromReport(Reported(response));
    ippDelete(response);

    const uint8_t choice = size > 0 ? data[size - 1] : 0;
    for (const auto& sheet : d.sheets()) {
        FUZZ_CHECK(sheet.size != QPageSize::Custom);
        FUZZ_CHECK(sheet.left >= 0 && sheet.bottom >= 0);
        FUZZ_CHECK(sheet.left < sheet.right && sheet.right <= sheet.widthPt);
        FUZZ_CHECK(sheet.bottom < sheet.top && sheet.top <= sheet.heightPt);
        for (auto orientation : {QPageLayout::Portrait, QPageLayout::Landscape})
            CheckPage(d, QPageSize(sheet.size), orientation, choice);
    }
    // The default sheet gives a page or says why not; a problem of the printer as a whole means
    // no page at all.
    for (auto orientation : {QPageLayout::Portrait, QPageLayout::Landscape}) {
        const bool page = d.metrics(QPageSize(), orientation).has_value();
        const auto problem = d.problem(QPageSize());
        if (problem) FUZZ_CHECK(!page && !problem->reason.empty());
        CheckPage(d, QPageSize(), orientation, choice);
    }
    FUZZ_CHECK(d.sheets().size() <= PrinterDescription::kMaxMediaRead);
    return 0;
}
