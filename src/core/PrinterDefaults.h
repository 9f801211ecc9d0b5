#pragma once

#include <optional>
#include <string>

namespace tovrimo {

// What the system's default printer is set to, in the program's own codes.
struct PrinterDefaults {
    std::string deviceName;
    int paperSize = 0;    // paper-size code (9 = A4 ...), 0 when the size has no code
    int orientation = 1;  // 1 portrait, 2 landscape
};

// What the settings store asks of the printers: the printer a first run lays its page out for.
class FirstRunPrinterSource {
public:
    virtual ~FirstRunPrinterSource() = default;
    // Nothing when there is no printer at all.
    virtual std::optional<PrinterDefaults> firstRunPrinter() = 0;
};

}  // namespace tovrimo
