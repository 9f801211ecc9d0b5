#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "platform/PrinterBackend.h"

namespace tovrimo {

// The printers as one process sees them: each question goes to the printing system once and
// the answer is kept, because a hard copy asks for the printer list, the default printer and a
// printer's sizes and geometry several times over, and each answer costs a round trip to the
// scheduler (or to the printer). Everything is forgotten when a job or a lookup fails, or when
// invalidate() is called (the print dialog does when its printer list is opened).
//
// Network printers are looked for only in discoverPrinters() and on the worker thread that
// discoverInBackground() starts, which also describes each printer it finds there, so that the
// GUI thread never waits for the network.
class PrinterCatalog : public PrinterBackend {
public:
    explicit PrinterCatalog(PrinterBackend& backend);
    ~PrinterCatalog() override;
    PrinterCatalog(const PrinterCatalog&) = delete;
    PrinterCatalog& operator=(const PrinterCatalog&) = delete;

    std::vector<std::string> printerNames() override;
    std::optional<PrinterDefaults> defaultPrinter() override;
    std::vector<QPageSize> pageSizes(const std::string& printer) override;
    std::vector<PaperSource> paperSources(const std::string& printer) override;
    QPageSize defaultPageSize(const std::string& printer) override;
    std::optional<PageMetrics> pageMetrics(const std::string& printer, const QPageSize& pageSize,
                                           QPageLayout::Orientation orientation) override;
    // Not kept: it is asked only after pageMetrics() gave nothing, which forgot everything.
    std::optional<PageProblem> pageProblem(const std::string& printer,
                                           const QPageSize& pageSize) override;
    JobResult submit(const JobRequest& job) override;
    void invalidate() override;

    // The network printers: what an earlier discovery found, else (waiting for the one under
    // way, or running one) what the network announces within `wait`.
    std::vector<std::string> discoverPrinters(std::chrono::milliseconds wait) override;

    // Reads the default printer's capabilities on a worker thread, then listens on the network
    // for `wait` and describes each printer found. `found` is called on that worker thread
    // after each newly found printer has been described. A discovery under way is not started
    // twice; one asked for meanwhile runs when it ends.
    void discoverInBackground(std::chrono::milliseconds wait, std::function<void()> found);
    // Whether a background discovery is running (for tests and the benchmark).
    bool discovering() const;

private:
    struct Capabilities {
        std::optional<std::vector<QPageSize>> sizes;
        std::optional<std::vector<PaperSource>> sources;
        std::optional<QPageSize> defaultSize;
        // By the sheet's standard size (Custom for the printer's own) and the orientation.
        std::map<std::pair<QPageSize::PageSizeId, QPageLayout::Orientation>, PageMetrics> metrics;
    };
    // The answer kept in `field` for the printer, else what `ask` gets from the backend (kept
    // unless the printers were forgotten meanwhile).
    template <typename T, typename Ask>
    T kept(const std::string& printer, std::optional<T> Capabilities::*field, Ask ask);
    void runDiscovery(std::chrono::milliseconds wait, std::function<void()> found);
    void joinWorker();

    PrinterBackend& backend_;
    mutable std::mutex mutex_;
    std::condition_variable discoveryDone_;
    std::optional<std::vector<std::string>> names_;
    std::optional<std::optional<PrinterDefaults>> default_;
    std::map<std::string, Capabilities> capabilities_;
    std::optional<std::vector<std::string>> discovered_;
    // Bumped by invalidate(), so that a lookup that was under way meanwhile is not kept.
    unsigned generation_ = 0;
    bool discovering_ = false;
    bool discoveryWanted_ = false;
    bool stopping_ = false;
    std::thread worker_;
};

}  // namespace tovrimo
