#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/PrinterBackend.h"

namespace tovrimo {

// What a printer's PPD says about its sheets, trays and resolution, in the program's codes.
// Read once per printer and kept, because the print preview asks for page metrics on every
// redraw.
class PrinterDescription {
public:
    struct Sheet {
        int code = 0;         // paper-size code
        std::string keyword;  // PPD PageSize keyword, sent as the job's media
        double widthPt = 0;
        double heightPt = 0;
        // Printable area in PPD terms: points from the sheet's bottom-left corner.
        double left = 0, bottom = 0, right = 0, top = 0;
    };
    struct Source {
        int code = 0;
        std::string keyword;  // PPD InputSlot keyword
    };

    // Nothing when the file is not a readable PPD.
    static std::optional<PrinterDescription> fromPpdFile(const std::string& path);

    const std::vector<Sheet>& sheets() const { return sheets_; }
    const std::vector<Source>& sources() const { return sources_; }
    int defaultSizeCode() const { return defaultSizeCode_; }
    int dpiX() const { return dpiX_; }
    int dpiY() const { return dpiY_; }

    const Sheet* sheet(int code) const;  // 0: the default sheet
    std::string sourceKeyword(int code) const;

    // Device geometry of the sheet. Landscape is the portrait sheet turned a quarter turn
    // counter-clockwise, the way the scheduler turns a page for orientation-requested=4: the
    // portrait left margin becomes the top one, the bottom margin the left one, the right
    // margin the bottom one and the top margin the right one. Nothing for an unknown size
    // or an orientation other than 1 or 2.
    std::optional<PageMetrics> metrics(int sizeCode, int orientation) const;

    // For descriptions assembled by hand (tests, or printers described over IPP).
    PrinterDescription(std::vector<Sheet> sheets, std::vector<Source> sources, int defaultSizeCode,
                       int dpiX, int dpiY);

private:
    std::vector<Sheet> sheets_;
    std::vector<Source> sources_;
    int defaultSizeCode_ = 0;
    int dpiX_ = 300;
    int dpiY_ = 300;
};

}  // namespace tovrimo
