#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/PrinterBackend.h"
#include "platform/cups/PrinterDescription.h"

struct cups_dest_s;
struct _cups_dinfo_s;

namespace tovrimo {

// The printing system through libcups's destination API: the scheduler named by CUPS_SERVER (or
// the system's), its queues and the printers DNS-SD announces on the network. The queues are
// asked of the scheduler directly; the network is listened to only in discoverPrinters(), since
// every enumeration with a DNS-SD wait waits that long on a desktop with avahi running, printer
// or not. What a printer offers comes over IPP, from the scheduler or, for a queue the scheduler
// knows nothing about (no PPD), from the printer itself. Jobs go in as the finished PDF page with
// the size, tray and orientation given as job options, and without any scaling by the filters.
// Thread-safe: the slow questions are asked outside the lock.
class CupsPrinterBackend : public PrinterBackend {
public:
    CupsPrinterBackend();
    ~CupsPrinterBackend() override;

    std::vector<std::string> printerNames() override;
    std::vector<std::string> discoverPrinters(std::chrono::milliseconds wait) override;
    std::optional<PrinterDefaults> defaultPrinter() override;
    std::vector<QPageSize> pageSizes(const std::string& printer) override;
    std::vector<PaperSource> paperSources(const std::string& printer) override;
    QPageSize defaultPageSize(const std::string& printer) override;
    std::optional<PageMetrics> pageMetrics(const std::string& printer, const QPageSize& pageSize,
                                           QPageLayout::Orientation orientation) override;
    std::optional<PageProblem> pageProblem(const std::string& printer,
                                           const QPageSize& pageSize) override;
    JobResult submit(const JobRequest& job) override;
    void invalidate() override;

private:
    struct Described {
        std::shared_ptr<const PrinterDescription> description;
        // Where the description came from: the printer itself when the scheduler had nothing
        // to say. Such a queue passes job attributes through unchanged.
        bool fromDevice = false;
        // The scheduler's answer for the destination, which every job needs again.
        std::shared_ptr<_cups_dinfo_s> schedulerInfo;
    };
    using Dest = std::shared_ptr<cups_dest_s>;

    // The printer's facts, read on first use; nothing when the printer is gone.
    std::optional<Described> describe(const std::string& printer);
    const std::vector<std::string>& queuesLocked();
    // The destination of a listed queue or a discovered printer; null for any other name (asking
    // the scheduler for a name it does not know makes libcups listen on the network).
    Dest destination(const std::string& printer);
    JobResult submitJob(const JobRequest& job);

    std::mutex mutex_;
    std::optional<std::vector<std::string>> queues_;
    std::map<std::string, Dest> dests_;       // looked up on first use
    std::map<std::string, Dest> discovered_;  // network printers the scheduler does not list
    std::map<std::string, Described> descriptions_;
};

}  // namespace tovrimo
