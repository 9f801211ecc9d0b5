#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "core/Settings.h"
#include "core/SettingsFileCodes.h"
#include "platform/PrinterBackend.h"

namespace tovrimo {

// The layouts keep paper sizes as the settings number them; the printers speak Qt's page sizes.
// The sheet a layout's paper-size code asks the printers for: an invalid QPageSize for 0 (the
// printer's own); nothing for a code that names no standard sheet, which no printer offers.
inline std::optional<QPageSize> PrinterPageSize(int paperSize)
{
    if (paperSize == 0) return QPageSize();
    const auto id = PageSizeFromFile(static_cast<int16_t>(paperSize));
    if (!id) return std::nullopt;
    return QPageSize(*id);
}

// The paper-size code of a printer's sheet; 0 for an invalid one or one the settings cannot
// name.
inline int PaperSizeCode(const QPageSize& size)
{
    return size.isValid() ? PageSizeToFile(size.id()) : 0;
}

// The paper-size codes of the sheets, in their order; sheets without a code are left out.
std::vector<int> PaperSizeCodes(const std::vector<QPageSize>& sizes);

// What the preview asks of the printers, remembered for as long as the print dialog is open:
// every click redraws, and a redraw must not wait for the printing system each time. It
// answers in the layouts' paper-size codes.
class PrinterCapabilityCache {
public:
    explicit PrinterCapabilityCache(PrinterBackend& printers) : printers_(printers) {}

    const std::vector<int>& paperSizes(const std::string& printer);
    int defaultPaperSize(const std::string& printer);
    // Geometry of a size (0: the printer's own) in an orientation; nothing when refused.
    const std::optional<PageMetrics>& pageMetrics(const std::string& printer, int paperSize,
                                                  QPageLayout::Orientation orientation);
    void clear();

private:
    PrinterBackend& printers_;
    std::map<std::string, std::vector<int>> sizes_;
    std::map<std::string, int> defaultSizes_;
    std::map<std::tuple<std::string, int, QPageLayout::Orientation>, std::optional<PageMetrics>>
        metrics_;
};

}  // namespace tovrimo
