#pragma once

#include <QPageLayout>
#include <QPageSize>
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
        std::vector<QPageSize::PageSizeId> sizes{QPageSize::A4};
        std::vector<PaperSource> sources{};
        QPageSize::PageSizeId defaultSize = QPageSize::A4;  // Custom: none of its sheets
        QPageLayout::Orientation defaultOrientation = QPageLayout::Portrait;
        PageMetrics portrait;  // landscape is derived by rotating
        // Sheets of their own by size; a size without one (and the printer's own, when its
        // default has none) has the portrait sheet above.
        std::map<QPageSize::PageSizeId, PageMetrics> sheets;
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
                return PrinterDefaults{p.name, SizeOf(p.defaultSize), p.defaultOrientation};
        if (printers.empty()) return std::nullopt;
        const auto& p = printers.front();
        return PrinterDefaults{p.name, SizeOf(p.defaultSize), p.defaultOrientation};
    }

    const Printer* find(const std::string& name) const
    {
        for (const auto& p : printers)
            if (p.name == name) return &p;
        return nullptr;
    }

    // The id a size stands for here: Custom for an invalid one (the printer's own).
    static QPageSize::PageSizeId IdOf(const QPageSize& size)
    {
        return size.isValid() ? size.id() : QPageSize::Custom;
    }
    static QPageSize SizeOf(QPageSize::PageSizeId id)
    {
        return id == QPageSize::Custom ? QPageSize() : QPageSize(id);
    }

    std::vector<QPageSize> pageSizes(const std::string& printer) override
    {
        {
            std::lock_guard lock(countMutex);
            ++sizeQueries[printer];
        }
        std::vector<QPageSize> sizes;
        if (auto* p = find(printer))
            for (QPageSize::PageSizeId id : p->sizes) sizes.emplace_back(id);
        return sizes;
    }
    std::vector<PaperSource> paperSources(const std::string& printer) override
    {
        {
            std::lock_guard lock(countMutex);
            ++sourceQueries[printer];
        }
        auto* p = find(printer);
        return p ? p->sources : std::vector<PaperSource>{};
    }
    QPageSize defaultPageSize(const std::string& printer) override
    {
        {
            std::lock_guard lock(countMutex);
            ++defaultSizeQueries[printer];
        }
        auto* p = find(printer);
        return p ? SizeOf(p->defaultSize) : QPageSize();
    }

    // A printer listed in `problems` is there but gives no page, for the reason given.
    std::optional<PageProblem> pageProblem(const std::string& printer,
                                           const QPageSize& pageSize) override
    {
        (void)pageSize;
        ++problemQueries;
        const auto it = problems.find(printer);
        if (it == problems.end() || !find(printer)) return std::nullopt;
        return it->second;
    }

    std::optional<PageMetrics> pageMetrics(const std::string& printer, const QPageSize& pageSize,
                                           QPageLayout::Orientation orientation) override
    {
        ++metricsQueries;
        {
            std::lock_guard lock(countMutex);
            ++metricsQueriesFor[{printer, IdOf(pageSize), orientation}];
        }
        auto* p = find(printer);
        if (!p || problems.count(printer)) return std::nullopt;
        const auto own = p->sheets.find(pageSize.isValid() ? pageSize.id() : p->defaultSize);
        PageMetrics m = own != p->sheets.end() ? own->second : p->portrait;
        if (orientation == QPageLayout::Landscape) {
            // Landscape turns the sheet a quarter turn counter-clockwise, as CUPS does: the
            // portrait bottom margin becomes the left one and the portrait left the top one;
            // the right and bottom margins follow from the sizes.
            const QRect& printable = m.printablePixels;
            const int bottom = m.sheetPixels.height() - printable.height() - printable.y();
            PageMetrics r;
            r.sheetPoints = m.sheetPoints.transposed();
            r.sheetPixels = m.sheetPixels.transposed();
            r.printablePixels = QRect(bottom, printable.x(), printable.height(), printable.width());
            r.dotsPerInchX = m.dotsPerInchY;
            r.dotsPerInchY = m.dotsPerInchX;
            m = r;
        }
        return m;
    }

    JobResult submit(const JobRequest& job) override
    {
        jobs.push_back(job);
        if (!refuseWith.empty()) return JobResult{false, 0, refuseWith};
        // Like a real printer, this one takes only what it offers; an invalid size and source 0
        // leave its own setting.
        const Printer* p = find(job.printer);
        if (!p) return JobResult{false, 0, "printer not found"};
        if (job.pageSize.isValid() &&
            std::find(p->sizes.begin(), p->sizes.end(), job.pageSize.id()) == p->sizes.end())
            return JobResult{false, 0, "paper size not offered"};
        if (job.paperSource &&
            std::find(p->sources.begin(), p->sources.end(), *job.paperSource) == p->sources.end())
            return JobResult{false, 0, "paper source not offered"};
        return JobResult{true, static_cast<int>(jobs.size()), {}};
    }

    // A sheet of w x h pixels at 300 dpi with quarter-inch margins all round.
    static PageMetrics sheet(int w, int h)
    {
        PageMetrics m;
        m.dotsPerInchX = m.dotsPerInchY = 300;
        m.sheetPixels = QSize(w, h);
        m.printablePixels = QRect(75, 75, w - 150, h - 150);
        m.sheetPoints = QSizeF(w * 0.24, h * 0.24);  // 72 points to 300 pixels
        return m;
    }

    // An A4 printer at 300 dpi with quarter-inch margins all round.
    static Printer a4(const std::string& name)
    {
        Printer p;
        p.name = name;
        p.portrait = sheet(2480, 3508);
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
    // By printer, size (Custom for the printer's own) and orientation.
    std::map<std::tuple<std::string, QPageSize::PageSizeId, QPageLayout::Orientation>, int>
        metricsQueriesFor;
    std::atomic<int> invalidations = 0;
    void invalidate() override { ++invalidations; }
    // Held while the per-printer counts change; tests read them once the work is done.
    std::mutex countMutex;

private:
    std::mutex holdMutex;
    std::condition_variable holdReleased;
};

}  // namespace tovrimo::test
