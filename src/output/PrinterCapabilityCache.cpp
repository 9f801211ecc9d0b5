#include "output/PrinterCapabilityCache.h"

namespace tovrimo {

std::vector<int> PaperSizeCodes(const std::vector<QPageSize>& sizes)
{
    std::vector<int> codes;
    for (const QPageSize& size : sizes)
        if (const int code = PaperSizeCode(size); code != 0) codes.push_back(code);
    return codes;
}

const std::vector<int>& PrinterCapabilityCache::paperSizes(const std::string& printer)
{
    auto it = sizes_.find(printer);
    if (it == sizes_.end()) {
        it = sizes_.emplace(printer, PaperSizeCodes(printers_.pageSizes(printer))).first;
    }
    return it->second;
}

int PrinterCapabilityCache::defaultPaperSize(const std::string& printer)
{
    auto it = defaultSizes_.find(printer);
    if (it == defaultSizes_.end()) {
        it =
            defaultSizes_.emplace(printer, PaperSizeCode(printers_.defaultPageSize(printer))).first;
    }
    return it->second;
}

const std::optional<PageMetrics>& PrinterCapabilityCache::pageMetrics(
    const std::string& printer, int paperSize, QPageLayout::Orientation orientation)
{
    const auto key = std::make_tuple(printer, paperSize, orientation);
    auto it = metrics_.find(key);
    if (it == metrics_.end()) {
        const std::optional<QPageSize> size = PrinterPageSize(paperSize);
        it = metrics_
                 .emplace(key,
                          size ? printers_.pageMetrics(printer, *size, orientation) : std::nullopt)
                 .first;
    }
    return it->second;
}

void PrinterCapabilityCache::clear()
{
    sizes_.clear();
    defaultSizes_.clear();
    metrics_.clear();
}

}  // namespace tovrimo
