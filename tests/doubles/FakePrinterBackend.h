#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "platform/PrinterBackend.h"

namespace tovrimo::test {

// Printers described in memory; submitted jobs are recorded instead of printed. Counts what it
// is asked, so that tests can tell how often the printing system would be. Network printers
// (`network`) are listed only once discoverPrinters() found them; `holdDiscovery` keeps a
// discovery waiting until released, as a slow network does.
class FakePrinterBackend : public PrinterBackend {
public:
    struct Printer {
        std::string name;
        std::vector<int> sizes{9};
        std::vector<int> sources{};
        int defaultSize = 9;
        int defaultOrientation = 1;
        PageMetrics portrait;  // landscape is derived by rotating
        // Sheets of their own by paper-size code; a size without one (and 0, the printer's
        // own, when its default has none) has the portrait sheet above.
        std::map<int, PageMetrics> sheets;
    };

    std::vector<std::string> printerNames() override
    {
        ++nameQueries;
        std::vector<std::string> names;
        for (const auto& p : printers)
            if (!isNetwork(p.name) || found.load()) names.push_back(p.name);
        return names;
    }

    std::vector<std::string> discoverPrinters(std::chrono::milliseconds wait) override
    {
        ++discoveries;
        std::unique_lock lock(holdMutex);
        if (holdDiscovery) holdReleased.wait_for(lock, wait, [this] { return !holdDiscovery; });
        found = true;
        return network;
    }
    void releaseDiscovery()
    {
        {
            std::lock_guard lock(holdMutex);
            holdDiscovery = false;
        }
        holdReleased.notify_all();
    }
    bool isNetwork(const std::string& name) const
    {
        return std::find(network.begin(), network.end(), name) != network.end();
    }

    std::optional<PrinterDefaults> defaultPrinter() override
    {
        ++defaultQueries;
        for (const auto& p : printers)
            if (p.name == defaultName)
                return PrinterDefaults{p.name, p.defaultSize, p.defaultOrientation};
        if (printers.empty()) return std::nullopt;
        const auto& p = printers.front();
        return PrinterDefaults{p.name, p.defaultSize, p.defaultOrientation};
    }

    const Printer* find(const std::string& name) const
    {
        for (const auto& p : printers)
            if (p.name == name) return &p;
        return nullptr;
    }

    std::vector<int> paperSizes(const std::string& printer) override
    {
        {
            std::lock_guard lock(countMutex);
            ++sizeQueries[printer];
        }
        auto* p = find(printer);
        return p ? p->sizes : std::vector<int>{};
    }
    std::vector<int> paperSources(const std::string& printer) override
    {
        {
            std::lock_guard lock(countMutex);
            ++sourceQueries[printer];
        }
        auto* p = find(printer);
        return p ? p->sources : std::vector<int>{};
    }
    int defaultPaperSize(const std::string& printer) override
    {
        {
            std::lock_guard lock(countMutex);
            ++defaultSizeQueries[printer];
        }
        auto* p = find(printer);
        return p ? p->defaultSize : 0;
    }

    // A printer listed in `problems` is there but gives no page, for the reason given.
    std::optional<PageProblem> pageProblem(const std::string& printer, int paperSize) override
    {
        (void)paperSize;
        ++problemQueries;
        const auto it = problems.find(printer);
        if (it == problems.end() || !find(printer)) return std::nullopt;
        return it->second;
    }

    std::optional<PageMetrics> pageMetrics(const std::string& printer, int paperSize,
                                           int orientation) override
    {
        ++metricsQueries;
        {
            std::lock_guard lock(countMutex);
            ++metricsQueriesFor[{printer, paperSize, orientation}];
        }
        auto* p = find(printer);
        if (!p || problems.count(printer)) return std::nullopt;
        const auto own = p->sheets.find(paperSize == 0 ? p->defaultSize : paperSize);
        PageMetrics m = own != p->sheets.end() ? own->second : p->portrait;
        if (orientation == 2) {
            // Landscape turns the sheet a quarter turn counter-clockwise, as CUPS does: the
            // portrait bottom margin becomes the left one and the portrait left the top one;
            // the right and bottom margins follow from the sizes.
            const int bottom = m.physicalHeight - m.vertRes - m.physicalOffsetY;
            PageMetrics r = m;
            r.pageWidthTwips = m.pageHeightTwips;
            r.pageHeightTwips = m.pageWidthTwips;
            r.physicalWidth = m.physicalHeight;
            r.physicalHeight = m.physicalWidth;
            r.horzRes = m.vertRes;
            r.vertRes = m.horzRes;
            r.physicalOffsetX = bottom;
            r.physicalOffsetY = m.physicalOffsetX;
            r.dpiX = m.dpiY;
            r.dpiY = m.dpiX;
            m = r;
        }
        return m;
    }

    JobResult submit(const JobRequest& job) override
    {
        jobs.push_back(job);
        if (!refuseWith.empty()) return JobResult{false, 0, refuseWith};
        // Like a real printer, this one takes only what it offers; 0 leaves its own setting.
        const Printer* p = find(job.printer);
        if (!p) return JobResult{false, 0, "printer not found"};
        auto offers = [](const std::vector<int>& codes, int code) {
            return code == 0 || std::find(codes.begin(), codes.end(), code) != codes.end();
        };
        if (!offers(p->sizes, job.paperSize)) return JobResult{false, 0, "paper size not offered"};
        if (!offers(p->sources, job.paperBin))
            return JobResult{false, 0, "paper source not offered"};
        return JobResult{true, static_cast<int>(jobs.size()), {}};
    }

    // A sheet of w x h pixels at 300 dpi with quarter-inch margins all round.
    static PageMetrics sheet(int w, int h)
    {
        PageMetrics m;
        m.dpiX = m.dpiY = 300;
        m.physicalWidth = w;
        m.physicalHeight = h;
        m.physicalOffsetX = 75;
        m.physicalOffsetY = 75;
        m.horzRes = w - 150;
        m.vertRes = h - 150;
        m.pageWidthTwips = w * 4.8;
        m.pageHeightTwips = h * 4.8;
        return m;
    }

    // An A4 printer at 300 dpi with quarter-inch margins all round.
    static Printer a4(const std::string& name)
    {
        Printer p;
        p.name = name;
        p.portrait.dpiX = p.portrait.dpiY = 300;
        p.portrait.physicalWidth = 2480;
        p.portrait.physicalHeight = 3508;
        p.portrait.physicalOffsetX = 75;
        p.portrait.physicalOffsetY = 75;
        p.portrait.horzRes = 2480 - 150;
        p.portrait.vertRes = 3508 - 150;
        p.portrait.pageWidthTwips = 2480 * 4.8;
        p.portrait.pageHeightTwips = 3508 * 4.8;
        return p;
    }

    std::vector<Printer> printers;
    std::string defaultName;
    std::vector<JobRequest> jobs;
    std::string refuseWith;
    std::atomic<int> metricsQueries = 0;
    std::map<std::string, PageProblem> problems;
    std::atomic<int> problemQueries = 0;
    // Printers listed only once a discovery found them.
    std::vector<std::string> network;
    bool holdDiscovery = false;
    std::atomic<bool> found = false;
    std::atomic<int> nameQueries = 0;
    std::atomic<int> defaultQueries = 0;
    std::atomic<int> discoveries = 0;
    std::map<std::string, int> sizeQueries, sourceQueries, defaultSizeQueries;
    std::map<std::tuple<std::string, int, int>, int> metricsQueriesFor;
    std::atomic<int> invalidations = 0;
    void invalidate() override { ++invalidations; }
    // Held while the per-printer counts change; tests read them once the work is done.
    std::mutex countMutex;

private:
    std::mutex holdMutex;
    std::condition_variable holdReleased;
};

}  // namespace tovrimo::test
