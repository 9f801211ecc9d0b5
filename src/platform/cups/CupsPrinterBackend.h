#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/PrinterBackend.h"
#include "platform/cups/PrinterDescription.h"

namespace tovrimo {

// The printing system through libcups's destination API: the scheduler named by CUPS_SERVER (or
// the system's), its queues and the printers it discovers on the network. What a printer offers
// comes over IPP, from the scheduler or, for a queue the scheduler knows nothing about (no PPD),
// from the printer itself. Jobs go in as the finished PDF page with the size, tray and
// orientation given as job options, and without any scaling by the filters.
class CupsPrinterBackend : public PrinterBackend {
public:
    CupsPrinterBackend();
    ~CupsPrinterBackend() override;

    std::vector<std::string> printerNames() override;
    std::optional<PrinterDefaults> defaultPrinter() override;
    std::vector<int> paperSizes(const std::string& printer) override;
    std::vector<int> paperSources(const std::string& printer) override;
    int defaultPaperSize(const std::string& printer) override;
    std::optional<PageMetrics> pageMetrics(const std::string& printer, int paperSize,
                                           int orientation) override;
    JobResult submit(const JobRequest& job) override;
    void invalidate() override;

private:
    struct Described {
        std::shared_ptr<const PrinterDescription> description;
        // Where the description came from: the printer itself when the scheduler had nothing
        // to say. Such a queue passes job attributes through unchanged.
        bool fromDevice = false;
    };
    // The printer's facts, read on first use; null when the printer is gone.
    const Described* describe(const std::string& printer);

    std::map<std::string, Described> descriptions_;
};

}  // namespace tovrimo
