#include "platform/PrinterCatalog.h"

#include <algorithm>

namespace tovrimo {

namespace {

void Merge(std::vector<std::string>& names, const std::vector<std::string>& more)
{
    names.insert(names.end(), more.begin(), more.end());
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
}

}  // namespace

PrinterCatalog::PrinterCatalog(PrinterBackend& backend) : backend_(backend) {}

PrinterCatalog::~PrinterCatalog()
{
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        discoveryWanted_ = false;
    }
    // The worker gives up between printers; a question already asked of the network still
    // runs to its own timeout.
    joinWorker();
}

void PrinterCatalog::joinWorker()
{
    if (worker_.joinable()) worker_.join();
}

std::vector<std::string> PrinterCatalog::printerNames()
{
    std::unique_lock lock(mutex_);
    if (!names_) {
        const unsigned generation = generation_;
        lock.unlock();
        std::vector<std::string> names = backend_.printerNames();
        lock.lock();
        // No printer at all is not kept: the next question may find one installed meanwhile.
        if (generation == generation_ && !names.empty()) names_ = names;
        if (discovered_) Merge(names, *discovered_);
        return names;
    }
    std::vector<std::string> names = *names_;
    if (discovered_) Merge(names, *discovered_);
    return names;
}

std::optional<PrinterDefaults> PrinterCatalog::defaultPrinter()
{
    std::unique_lock lock(mutex_);
    if (default_) return *default_;
    const unsigned generation = generation_;
    lock.unlock();
    std::optional<PrinterDefaults> answer = backend_.defaultPrinter();
    lock.lock();
    if (generation == generation_ && answer) default_ = answer;
    return answer;
}

template <typename T, typename Ask>
T PrinterCatalog::kept(const std::string& printer, std::optional<T> Capabilities::*field, Ask ask)
{
    std::unique_lock lock(mutex_);
    if (auto it = capabilities_.find(printer); it != capabilities_.end() && it->second.*field)
        return *(it->second.*field);
    const unsigned generation = generation_;
    lock.unlock();
    T answer = ask();
    lock.lock();
    if (generation == generation_) capabilities_[printer].*field = answer;
    return answer;
}

std::vector<QPageSize> PrinterCatalog::pageSizes(const std::string& printer)
{
    return kept(printer, &Capabilities::sizes, [&] { return backend_.pageSizes(printer); });
}

std::vector<PaperSource> PrinterCatalog::paperSources(const std::string& printer)
{
    return kept(printer, &Capabilities::sources, [&] { return backend_.paperSources(printer); });
}

QPageSize PrinterCatalog::defaultPageSize(const std::string& printer)
{
    return kept(printer, &Capabilities::defaultSize,
                [&] { return backend_.defaultPageSize(printer); });
}

std::optional<PageMetrics> PrinterCatalog::pageMetrics(const std::string& printer,
                                                       const QPageSize& pageSize,
                                                       QPageLayout::Orientation orientation)
{
    // The printers offer standard sizes only: a size of the caller's own making is answered
    // afresh each time rather than kept as the printer's own.
    const bool keep = !pageSize.isValid() || pageSize.id() != QPageSize::Custom;
    const auto key =
        std::make_pair(pageSize.isValid() ? pageSize.id() : QPageSize::Custom, orientation);
    std::unique_lock lock(mutex_);
    if (auto it = capabilities_.find(printer); keep && it != capabilities_.end()) {
        if (auto m = it->second.metrics.find(key); m != it->second.metrics.end()) return m->second;
    }
    const unsigned generation = generation_;
    lock.unlock();
    std::optional<PageMetrics> metrics = backend_.pageMetrics(printer, pageSize, orientation);
    if (!metrics) {
        // A printer that is there but reports no usable page gives the same answer when asked
        // again: forgetting everything would only make each preview redraw ask it afresh.
        if (backend_.pageProblem(printer, pageSize)) return metrics;
        // The printer or its size went away: nothing kept about the printers may still hold.
        invalidate();
        return metrics;
    }
    lock.lock();
    if (keep && generation == generation_) capabilities_[printer].metrics.emplace(key, *metrics);
    return metrics;
}

std::optional<PageProblem> PrinterCatalog::pageProblem(const std::string& printer,
                                                       const QPageSize& pageSize)
{
    return backend_.pageProblem(printer, pageSize);
}

JobResult PrinterCatalog::submit(const JobRequest& job)
{
    JobResult result = backend_.submit(job);
    if (!result.accepted) invalidate();
    return result;
}

void PrinterCatalog::invalidate()
{
    {
        std::lock_guard lock(mutex_);
        ++generation_;
        names_.reset();
        default_.reset();
        capabilities_.clear();
        // Network printers found before stay listed until the next discovery says otherwise:
        // forgetting them would take them out of an open printer list.
    }
    backend_.invalidate();
}

std::vector<std::string> PrinterCatalog::discoverPrinters(std::chrono::milliseconds wait)
{
    std::unique_lock lock(mutex_);
    if (discovered_ && !discovering_) return *discovered_;
    if (discovering_) {
        discoveryDone_.wait_for(lock, wait, [this] { return !discovering_; });
        return discovered_.value_or(std::vector<std::string>{});
    }
    lock.unlock();
    std::vector<std::string> found = backend_.discoverPrinters(wait);
    lock.lock();
    std::vector<std::string> names = discovered_.value_or(std::vector<std::string>{});
    Merge(names, found);
    discovered_ = names;
    return names;
}

void PrinterCatalog::discoverInBackground(std::chrono::milliseconds wait,
                                          std::function<void()> found)
{
    std::lock_guard lock(mutex_);
    if (stopping_) return;
    if (discovering_) {
        discoveryWanted_ = true;
        return;
    }
    // The previous worker has finished (it cleared discovering_ as its last step).
    joinWorker();
    discovering_ = true;
    worker_ = std::thread([this, wait, found = std::move(found)] { runDiscovery(wait, found); });
}

bool PrinterCatalog::discovering() const
{
    std::lock_guard lock(mutex_);
    return discovering_;
}

void PrinterCatalog::runDiscovery(std::chrono::milliseconds wait, std::function<void()> found)
{
    // What the first hard copy would otherwise wait for: the default printer's capabilities.
    if (const auto def = defaultPrinter()) {
        pageSizes(def->deviceName);
        paperSources(def->deviceName);
        pageMetrics(def->deviceName, QPageSize(), def->orientation);
    }
    for (;;) {
        const std::vector<std::string> names = backend_.discoverPrinters(wait);
        for (const auto& name : names) {
            {
                std::lock_guard lock(mutex_);
                if (stopping_) break;
                if (discovered_ &&
                    std::find(discovered_->begin(), discovered_->end(), name) != discovered_->end())
                    continue;
            }
            // Described here, off the GUI thread: a network printer can take seconds to answer.
            pageSizes(name);
            paperSources(name);
            defaultPageSize(name);
            pageMetrics(name, QPageSize(), QPageLayout::Portrait);
            {
                std::lock_guard lock(mutex_);
                std::vector<std::string> listed = discovered_.value_or(std::vector<std::string>{});
                Merge(listed, {name});
                discovered_ = listed;
            }
            if (found) found();
        }
        std::lock_guard lock(mutex_);
        // A printer no longer announced leaves the list.
        std::vector<std::string> listed = discovered_.value_or(std::vector<std::string>{});
        listed.erase(std::remove_if(listed.begin(), listed.end(),
                                    [&](const std::string& n) {
                                        return std::find(names.begin(), names.end(), n) ==
                                               names.end();
                                    }),
                     listed.end());
        discovered_ = listed;
        if (stopping_ || !discoveryWanted_) {
            discovering_ = false;
            discoveryDone_.notify_all();
            return;
        }
        discoveryWanted_ = false;
    }
}

}  // namespace tovrimo
