#include "output/PrinterCapabilityCache.h"

namespace tovrimo {

const std::vector<int>& PrinterCapabilityCache::paperSizes(const std::string& printer)
{
    auto it = sizes_.find(printer);
    if (it == sizes_.end()) {
        it = sizes_.emplace(printer, printers_.paperSizes(printer)).first;
    }
    return it->second;
}

int PrinterCapabilityCache::defaultPaperSize(const std::string& printer)
{
    auto it = defaultSizes_.find(printer);
    if (it == defaultSizes_.end()) {
        it = defaultSizes_.emplace(printer, printers_.defaultPaperSize(printer)).first;
    }
    return it->second;
}

const std::optional<PageMetrics>& PrinterCapabilityCache::pageMetrics(const std::string& printer,
                                                                      int paperSize,
                                                                      int orientation)
{
    const auto key = std::make_tuple(printer, paperSize, orientation);
    auto it = metrics_.find(key);
    if (it == metrics_.end()) {
        it = metrics_.emplace(key, printers_.pageMetrics(printer, paperSize, orientation)).first;
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
