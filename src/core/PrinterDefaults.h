#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <optional>
#include <string>

namespace tovrimo {

// What the system's default printer is set to.
struct PrinterDefaults {
    std::string deviceName;
    QPageSize pageSize;  // invalid when the printer's sheet is no standard size
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

// What the settings store asks of the printers: the printer a first run lays its page out for.
class FirstRunPrinterSource {
public:
    virtual ~FirstRunPrinterSource() = default;
    // Nothing when there is no printer at all.
    virtual std::optional<PrinterDefaults> firstRunPrinter() = 0;
};

}  // namespace tovrimo
