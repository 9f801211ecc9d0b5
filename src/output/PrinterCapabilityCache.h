#pragma once

#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "core/Settings.h"
#include "platform/PrinterBackend.h"

namespace tovrimo {

// The printer interface numbers the orientations as printer drivers do.
inline int PrinterOrientation(PageOrientation orientation)
{
    return orientation == PageOrientation::Landscape ? 2 : 1;
}

// What the preview asks of the printers, remembered for as long as the print dialog is open:
// every click redraws, and a redraw must not wait for the printing system each time.
class PrinterCapabilityCache {
public:
    explicit PrinterCapabilityCache(PrinterBackend& printers) : printers_(printers) {}

    const std::vector<int>& paperSizes(const std::string& printer);
    int defaultPaperSize(const std::string& printer);
    // Geometry of a size (0: the printer's own) in an orientation; nothing when refused.
    const std::optional<PageMetrics>& pageMetrics(const std::string& printer, int paperSize,
                                                  int orientation);
    void clear();

private:
    PrinterBackend& printers_;
    std::map<std::string, std::vector<int>> sizes_;
    std::map<std::string, int> defaultSizes_;
    std::map<std::tuple<std::string, int, int>, std::optional<PageMetrics>> metrics_;
};

}  // namespace tovrimo
