#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/PrinterBackend.h"

struct _ipp_attribute_s;

namespace tovrimo {

// What a printer says about its sheets (as Qt's standard page sizes), trays (as paper-source
// codes), resolution and landscape direction. Read once per printer and kept, because the print
// preview asks for page metrics on every redraw.
class PrinterDescription {
public:
    // Sizes and margins in hundredths of a millimetre, as IPP and libcups's destination API
    // give them.
    struct Media {
        std::string name;  // IPP media name, e.g. "iso_a4_210x297mm"
        int width = 0, length = 0;
        int left = 0, bottom = 0, right = 0, top = 0;
    };
    struct Sheet {
        // The standard size; Custom for the stand-in sheet of a printer without sizes.
        QPageSize::PageSizeId size = QPageSize::Custom;
        Media media;  // sent with the job, so that the printer takes this very sheet
        double widthPt = 0;
        double heightPt = 0;
        // Printable area in points from the sheet's bottom-left corner.
        double left = 0, bottom = 0, right = 0, top = 0;
    };
    struct Source {
        PaperSource source = PaperSource::Auto;
        std::string keyword;  // IPP media-source keyword (or PPD InputSlot), sent with the job
    };
    // Which way the printer turns a sheet for landscape: Plus90 turns the page a quarter turn
    // counter-clockwise onto the sheet (IPP landscape, PPD Plus90), Minus90 clockwise (IPP
    // reverse-landscape, PPD Minus90).
    enum class Turn { Plus90, Minus90 };

    // What a printer reports about itself, as it reports it: nothing in here is trusted yet.
    struct Reported {
        struct Resolution {
            int x = 0, y = 0;
            bool perCentimetre = false;
            bool knownUnit = true;  // per inch or per centimetre; any other is not usable
        };
        // Value `index` of an IPP resolution attribute. The unit byte is the printer's: it is
        // read as a number, since a value outside ipp_res_t is no valid enum value to load.
        static Resolution resolutionOf(_ipp_attribute_s* attribute, int index);
        // Sizes in the order the printer lists them, each with the margins it gives for it.
        std::vector<Media> media;
        std::string defaultMedia;             // the default media's name
        std::optional<Media> defaultSize;     // its size, when the name is one the printer knows
        std::vector<std::string> sources;     // media-source keywords
        std::vector<Resolution> resolutions;  // the default one first
        std::optional<Turn> landscape;
    };

    // A printer may list any number of sizes; only this many are looked at.
    static constexpr std::size_t kMaxMediaRead = 1000;
    // Resolutions a page can be laid out at, in dots per inch: below, the title gap and the
    // title font have no pixels; above, the device pixel counts of a large sheet leave int.
    static constexpr int kMinDpi = 50;
    static constexpr int kMaxDpi = 12000;

    // The description of what a printer reported. Sizes of no standard size, sizes of
    // no area and sizes whose margins are negative or leave no printable area are left out;
    // so are resolutions outside kMinDpi to kMaxDpi. A printer that lists no sizes at all prints
    // on the stand-in sheet at 300 dpi. What cannot make a page is kept as the problem() that
    // pageMetrics() answers with nothing for.
    static PrinterDescription fromReport(const Reported& reported);

    // The sheet of an IPP media entry; nothing when its size is no standard one or its margins
    // leave no printable area.
    static std::optional<Sheet> sheetFor(const Media& media);
    // The sheet assumed for a printer that reports no sizes: its default media when that names
    // a known size (otherwise A4), without margins.
    static Sheet standInSheet(const std::string& defaultMediaName);

    // A printer reporting no sheets still prints on the stand-in sheet, as its own sheet.
    // `defaultSize` is Custom when the printer's default is none of its sheets.
    PrinterDescription(std::vector<Sheet> sheets, std::vector<Source> sources,
                       QPageSize::PageSizeId defaultSize, int dpiX, int dpiY,
                       Turn landscape = Turn::Plus90, std::optional<Sheet> standIn = std::nullopt);

    const std::vector<Sheet>& sheets() const { return sheets_; }
    const std::vector<Source>& sources() const { return sources_; }
    // The sheet the printer is set to; invalid when it is none of its sheets (or it has none).
    QPageSize defaultSize() const;
    int dpiX() const { return dpiX_; }
    int dpiY() const { return dpiY_; }
    Turn landscape() const { return landscape_; }

    const Sheet* sheet(const QPageSize& size) const;  // invalid: the default sheet (or stand-in)
    std::string sourceKeyword(PaperSource source) const;

    // Device geometry of the sheet. Landscape is the portrait sheet turned the printer's way:
    // Plus90 makes the portrait bottom margin the left one, the left the top one, the top the
    // right one and the right the bottom one; Minus90 makes the top margin the left one, the
    // right the top one, the bottom the right one and the left the bottom one. Nothing for an
    // unknown size.
    std::optional<PageMetrics> metrics(const QPageSize& size,
                                       QPageLayout::Orientation orientation) const;
    // Why metrics() gives nothing for a size (invalid: the default sheet) of a printer that is
    // there; nothing when it gives a page or the size is merely not offered.
    std::optional<PageProblem> problem(const QPageSize& size) const;

private:
    std::vector<Sheet> sheets_;
    std::vector<Source> sources_;
    QPageSize::PageSizeId defaultSize_ = QPageSize::Custom;
    int dpiX_ = 300;
    int dpiY_ = 300;
    Turn landscape_ = Turn::Plus90;
    std::optional<Sheet> standIn_;
    std::optional<PageProblem> printerProblem_;
    std::optional<PageProblem> defaultProblem_;
};

}  // namespace tovrimo
