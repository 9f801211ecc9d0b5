#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/PrinterBackend.h"
#include "platform/cups/PrinterDescription.h"

namespace tovrimo {

// The printing system through libcups: the scheduler named by CUPS_SERVER (or the system's),
// its queues and their PPDs. Jobs go in as the finished PDF page with the size, tray and
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
    // The printer's PPD facts, read on first use; null when the printer has none (or is gone).
    const PrinterDescription* describe(const std::string& printer);

    std::map<std::string, std::shared_ptr<const PrinterDescription>> descriptions_;
};

}  // namespace tovrimo
