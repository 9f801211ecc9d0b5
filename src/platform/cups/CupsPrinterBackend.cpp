#include "platform/cups/CupsPrinterBackend.h"

#include <cups/cups.h>
#include <cups/ppd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "platform/cups/PaperCodes.h"
#include "platform/cups/PrinterRefusal.h"

// The PPD is read for one fact only (see LandscapeFromPpd), through the interface libcups marks
// deprecated.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace tovrimo {

namespace {

// A destination of our own, freed with the list of one that libcups made it in.
std::shared_ptr<cups_dest_t> Owned(cups_dest_t* dest)
{
    if (!dest) return nullptr;
    return std::shared_ptr<cups_dest_t>(dest, [](cups_dest_t* d) { cupsFreeDests(1, d); });
}

// The queues the scheduler lists, by name, in one request: no DNS-SD, no lpoptions.
std::vector<std::string> SchedulerQueues()
{
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "printer-name");
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    std::vector<std::string> names;
    for (ipp_attribute_t* attr = ippFindAttribute(response, "printer-name", IPP_TAG_NAME); attr;
         attr = ippFindNextAttribute(response, "printer-name", IPP_TAG_NAME))
        if (const char* name = ippGetString(attr, 0, nullptr)) names.emplace_back(name);
    ippDelete(response);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

std::string LastError()
{
    const char* text = cupsLastErrorString();
    return text ? std::string(text) : std::string();
}

JobResult Refused(std::string reason)
{
    return JobResult{false, 0, std::move(reason)};
}

JobResult RefusedByCups()
{
    const std::string raw = LastError();
    return Refused(RefusalText(ClassifyRefusal(cupsLastError(), raw), raw));
}

// The direction the queue's PPD gives for landscape, when it has a PPD that says so. The
// scheduler does not pass *LandscapeOrientation on over IPP, so this is the one thing the PPD
// still adds.
std::optional<PrinterDescription::Turn> LandscapeFromPpd(const std::string& printer)
{
    const char* file = cupsGetPPD2(CUPS_HTTP_DEFAULT, printer.c_str());
    if (!file) return std::nullopt;
    const std::string path = file;
    std::optional<PrinterDescription::Turn> turn;
    if (ppd_file_t* ppd = ppdOpenFile(path.c_str())) {
        if (ppd_attr_t* attr = ppdFindAttr(ppd, "LandscapeOrientation", nullptr);
            attr && attr->value)
            turn = std::strcmp(attr->value, "Minus90") == 0 ? PrinterDescription::Turn::Minus90
                                                            : PrinterDescription::Turn::Plus90;
        ppdClose(ppd);
    }
    ::unlink(path.c_str());  // cupsGetPPD2 made a temporary copy for us
    return turn;
}

// landscape-orientation-requested-preferred, asked of the printer itself.
std::optional<PrinterDescription::Turn> LandscapeFromPrinter(http_t* http, const char* resource,
                                                             const cups_dest_t* dest)
{
    const char* uri = cupsGetOption("device-uri", dest->num_options, dest->options);
    if (!uri) uri = cupsGetOption("printer-uri-supported", dest->num_options, dest->options);
    if (!uri) return std::nullopt;
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "landscape-orientation-requested-preferred");
    ipp_t* response = cupsDoRequest(http, request, resource);
    std::optional<PrinterDescription::Turn> turn;
    if (ipp_attribute_t* attr =
            ippFindAttribute(response, "landscape-orientation-requested-preferred", IPP_TAG_ENUM)) {
        const int value = ippGetInteger(attr, 0);
        if (value == IPP_ORIENT_LANDSCAPE) turn = PrinterDescription::Turn::Plus90;
        if (value == IPP_ORIENT_REVERSE_LANDSCAPE) turn = PrinterDescription::Turn::Minus90;
    }
    ippDelete(response);
    return turn;
}

// Everything the destination API tells about one printer, through one connection, as the
// printer reported it: PrinterDescription::fromReport decides what of it can be used.
PrinterDescription::Reported ReadFacts(http_t* http, cups_dest_t* dest, cups_dinfo_t* info)
{
    PrinterDescription::Reported facts;
    // Sizes in the order the printer lists them; each size looked up by name gives its margins
    // (the first entry of the printer's media database for it, whatever tray suffix it has).
    if (ipp_attribute_t* media = cupsFindDestSupported(http, dest, info, "media")) {
        const int count =
            std::min(ippGetCount(media), static_cast<int>(PrinterDescription::kMaxMediaRead));
        for (int i = 0; i < count; ++i) {
            const char* name = ippGetString(media, i, nullptr);
            cups_size_t size;
            if (!name ||
                !cupsGetDestMediaByName(http, dest, info, name, CUPS_MEDIA_FLAGS_DEFAULT, &size))
                continue;
            facts.media.push_back(PrinterDescription::Media{
                name, size.width, size.length, size.left, size.bottom, size.right, size.top});
        }
    }
    // Not cupsGetDestMediaDefault: it answered Letter for a printer whose default is A4.
    if (ipp_attribute_t* def = cupsFindDestDefault(http, dest, info, "media")) {
        if (const char* name = ippGetString(def, 0, nullptr)) {
            facts.defaultMedia = name;
            cups_size_t size;
            if (cupsGetDestMediaByName(http, dest, info, name, CUPS_MEDIA_FLAGS_DEFAULT, &size))
                facts.defaultSize = PrinterDescription::Media{name, size.width, size.length};
        }
    }
    if (ipp_attribute_t* sources = cupsFindDestSupported(http, dest, info, "media-source")) {
        for (int i = 0; i < ippGetCount(sources); ++i)
            if (const char* keyword = ippGetString(sources, i, nullptr))
                facts.sources.emplace_back(keyword);
    }
    for (const char* which : {"default", "supported"}) {
        ipp_attribute_t* resolution =
            std::strcmp(which, "default") == 0
                ? cupsFindDestDefault(http, dest, info, "printer-resolution")
                : cupsFindDestSupported(http, dest, info, "printer-resolution");
        if (!resolution || ippGetValueTag(resolution) != IPP_TAG_RESOLUTION) continue;
        for (int i = 0; i < ippGetCount(resolution); ++i)
            facts.resolutions.push_back(PrinterDescription::Reported::resolutionOf(resolution, i));
    }
    return facts;
}

// A connection to the printer behind a destination, for a queue the scheduler cannot describe.
class DeviceConnection {
public:
    explicit DeviceConnection(cups_dest_t* dest)
        : http_(cupsConnectDest(dest, CUPS_DEST_FLAGS_DEVICE, 5000, nullptr, resource_,
                                sizeof resource_, nullptr, nullptr))
    {
    }
    ~DeviceConnection()
    {
        if (http_) httpClose(http_);
    }
    DeviceConnection(const DeviceConnection&) = delete;
    DeviceConnection& operator=(const DeviceConnection&) = delete;
    http_t* get() const { return http_; }
    const char* resource() const { return resource_; }

private:
    char resource_[1024] = "";
    http_t* http_;
};

}  // namespace

CupsPrinterBackend::CupsPrinterBackend() = default;

CupsPrinterBackend::~CupsPrinterBackend() = default;

const std::vector<std::string>& CupsPrinterBackend::queuesLocked()
{
    // No queue (or no scheduler) is not kept: the next question may find one.
    if (!queues_ || queues_->empty()) queues_ = SchedulerQueues();
    return *queues_;
}

std::vector<std::string> CupsPrinterBackend::printerNames()
{
    std::lock_guard lock(mutex_);
    std::vector<std::string> names = queuesLocked();
    for (const auto& [name, dest] : discovered_) names.push_back(name);
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

std::vector<std::string> CupsPrinterBackend::discoverPrinters(std::chrono::milliseconds wait)
{
    struct Found {
        std::vector<std::string> queues;
        std::map<std::string, Dest> printers;
    } found;
    found.queues = SchedulerQueues();
    cupsEnumDests(
        CUPS_DEST_FLAGS_NONE, static_cast<int>(wait.count()), nullptr, 0, 0,
        [](void* data, unsigned flags, cups_dest_t* dest) -> int {
            auto* f = static_cast<Found*>(data);
            // Instances are option sets, not printers; the queues are listed already.
            if (dest->instance ||
                std::binary_search(f->queues.begin(), f->queues.end(), std::string(dest->name)))
                return 1;
            if (flags & CUPS_DEST_FLAGS_REMOVED) {
                f->printers.erase(dest->name);
            } else {
                cups_dest_t* copy = nullptr;
                cupsCopyDest(dest, 0, &copy);
                if (copy) f->printers[dest->name] = Owned(copy);
            }
            return 1;
        },
        &found);
    std::vector<std::string> names;
    std::lock_guard lock(mutex_);
    for (auto& [name, dest] : found.printers) {
        names.push_back(name);
        discovered_[name] = dest;
    }
    return names;
}

CupsPrinterBackend::Dest CupsPrinterBackend::destination(const std::string& printer)
{
    {
        std::lock_guard lock(mutex_);
        if (auto it = dests_.find(printer); it != dests_.end()) return it->second;
        if (auto it = discovered_.find(printer); it != discovered_.end()) return it->second;
        const auto& queues = queuesLocked();
        if (!std::binary_search(queues.begin(), queues.end(), printer)) return nullptr;
    }
    Dest dest = Owned(cupsGetNamedDest(CUPS_HTTP_DEFAULT, printer.c_str(), nullptr));
    std::lock_guard lock(mutex_);
    if (dest) dests_.emplace(printer, dest);
    return dest;
}

std::optional<PrinterDefaults> CupsPrinterBackend::defaultPrinter()
{
    std::string name;
    {
        std::lock_guard lock(mutex_);
        if (queuesLocked().empty()) return std::nullopt;
    }
    // The user's and the system's default (lpoptions, LPDEST, PRINTER, the scheduler's).
    Dest dest = Owned(cupsGetNamedDest(CUPS_HTTP_DEFAULT, nullptr, nullptr));
    if (dest && dest->name) name = dest->name;
    if (name.empty()) {
        // With no default set, the first printer by name stands in for it.
        std::lock_guard lock(mutex_);
        name = queuesLocked().front();
    }
    if (!dest || name != dest->name) dest = destination(name);
    PrinterDefaults defaults;
    defaults.deviceName = name;
    const char* orientation =
        dest ? cupsGetOption("orientation-requested", dest->num_options, dest->options) : nullptr;
    defaults.orientation = orientation && std::strcmp(orientation, "4") == 0
                               ? QPageLayout::Landscape
                               : QPageLayout::Portrait;
    defaults.pageSize = defaultPageSize(defaults.deviceName);
    return defaults;
}

std::optional<CupsPrinterBackend::Described> CupsPrinterBackend::describe(
    const std::string& printer)
{
    {
        std::lock_guard lock(mutex_);
        if (auto it = descriptions_.find(printer); it != descriptions_.end()) {
            if (!it->second.description) return std::nullopt;
            return it->second;
        }
    }
    Described described;
    bool discovered = false;
    {
        std::lock_guard lock(mutex_);
        discovered = discovered_.count(printer) != 0;
    }
    if (Dest shared = destination(printer)) {
        cups_dest_t* dest = shared.get();
        PrinterDescription::Reported facts;
        // A printer found on the network is asked directly: asking the scheduler about it
        // makes the scheduler set up a queue for it first, which takes seconds (a minute
        // when the scheduler cannot resolve the printer itself).
        if (!discovered) {
            if (cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
                facts = ReadFacts(CUPS_HTTP_DEFAULT, dest, info);
                described.schedulerInfo.reset(info, cupsFreeDestInfo);
            }
        }
        std::optional<PrinterDescription::Turn> turn =
            discovered ? std::nullopt : LandscapeFromPpd(printer);
        const auto offersSheets = [](const PrinterDescription::Reported& r) {
            return !PrinterDescription::fromReport(r).sheets().empty();
        };
        const bool schedulerKnowsNothing = !offersSheets(facts);
        if (schedulerKnowsNothing || !turn) {
            // A queue without a PPD: the scheduler has no sizes, the printer itself has.
            DeviceConnection device(dest);
            if (device.get()) {
                if (schedulerKnowsNothing) {
                    if (cups_dinfo_t* deviceInfo = cupsCopyDestInfo(device.get(), dest)) {
                        PrinterDescription::Reported fromDevice =
                            ReadFacts(device.get(), dest, deviceInfo);
                        cupsFreeDestInfo(deviceInfo);
                        if (offersSheets(fromDevice)) {
                            facts = std::move(fromDevice);
                            described.fromDevice = true;
                        }
                    }
                }
                if (!turn) turn = LandscapeFromPrinter(device.get(), device.resource(), dest);
            }
        }
        facts.landscape = turn;
        described.description =
            std::make_shared<const PrinterDescription>(PrinterDescription::fromReport(facts));
    }
    // A printer that is gone is remembered as such too: asking again would not give another
    // answer until the printing system changes, which invalidate() is for.
    std::lock_guard lock(mutex_);
    auto& slot = descriptions_.try_emplace(printer, std::move(described)).first->second;
    if (!slot.description) return std::nullopt;
    return slot;
}

void CupsPrinterBackend::invalidate()
{
    std::lock_guard lock(mutex_);
    queues_.reset();
    dests_.clear();
    discovered_.clear();
    descriptions_.clear();
}

std::vector<QPageSize> CupsPrinterBackend::pageSizes(const std::string& printer)
{
    std::vector<QPageSize> sizes;
    if (const auto d = describe(printer))
        for (const auto& s : d->description->sheets()) sizes.emplace_back(s.size);
    return sizes;
}

std::vector<PaperSource> CupsPrinterBackend::paperSources(const std::string& printer)
{
    std::vector<PaperSource> sources;
    if (const auto d = describe(printer))
        for (const auto& s : d->description->sources()) sources.push_back(s.source);
    return sources;
}

QPageSize CupsPrinterBackend::defaultPageSize(const std::string& printer)
{
    const auto d = describe(printer);
    return d ? d->description->defaultSize() : QPageSize();
}

std::optional<PageMetrics> CupsPrinterBackend::pageMetrics(const std::string& printer,
                                                           const QPageSize& pageSize,
                                                           QPageLayout::Orientation orientation)
{
    const auto d = describe(printer);
    if (!d) return std::nullopt;
    return d->description->metrics(pageSize, orientation);
}

std::optional<PageProblem> CupsPrinterBackend::pageProblem(const std::string& printer,
                                                           const QPageSize& pageSize)
{
    const auto d = describe(printer);
    if (!d) return std::nullopt;
    return d->description->problem(pageSize);
}

JobResult CupsPrinterBackend::submit(const JobRequest& job)
{
    JobResult result = submitJob(job);
    // What was read about the printers may be what made the job fail: read it afresh next time.
    if (!result.accepted) invalidate();
    return result;
}

JobResult CupsPrinterBackend::submitJob(const JobRequest& job)
{
    // The destination as listed before: a queue deleted since then makes the scheduler refuse
    // the job, and the refusal says so.
    const Dest shared = destination(job.printer);
    if (!shared) {
        const std::string raw = LastError();
        const Refusal kind = ClassifyRefusal(cupsLastError(), raw);
        return Refused(RefusalText(kind == Refusal::Other ? Refusal::PrinterNotFound : kind, raw));
    }
    cups_dest_t* dest = shared.get();

    const auto described = describe(job.printer);
    const PrinterDescription* description = described ? described->description.get() : nullptr;
    const PrinterDescription::Sheet* sheet = nullptr;
    if (job.pageSize.isValid()) {
        sheet = description ? description->sheet(job.pageSize) : nullptr;
        if (!sheet) return Refused(RefusalText(Refusal::PaperSizeNotOffered));
    }
    std::string source;
    if (job.paperSource) {
        source = description ? description->sourceKeyword(*job.paperSource) : "";
        if (source.empty()) return Refused(RefusalText(Refusal::PaperSourceNotOffered));
    }
    std::ifstream pdf(job.pdfPath, std::ios::binary);
    if (!pdf) return Refused(RefusalText(Refusal::Other, "cannot read " + job.pdfPath));

    int numOptions = 0;
    cups_option_t* options = nullptr;
    // The page is already composed at its final size: the filters must not fit it again.
    numOptions = cupsAddOption("print-scaling", "none", numOptions, &options);
    // Landscape is asked for the way the printer turns its sheets, which is the way the page
    // metrics rotated the margins.
    const bool minus90 =
        description && description->landscape() == PrinterDescription::Turn::Minus90;
    numOptions =
        cupsAddOption("orientation-requested",
                      job.orientation == QPageLayout::Portrait ? "3" : (minus90 ? "5" : "4"),
                      numOptions, &options);
    if (!source.empty() && described && !described->fromDevice) {
        // The scheduler turns a media collection's source into the queue's own tray choice; a
        // separate media-source would be dropped together with the size.
        const PrinterDescription::Sheet* size = sheet ? sheet : description->sheet(QPageSize());
        std::string col = "{";
        if (size)
            col += "media-size={x-dimension=" + std::to_string(size->media.width) +
                   " y-dimension=" + std::to_string(size->media.length) + "} ";
        col += "media-source=" + source + "}";
        numOptions = cupsAddOption("media-col", col.c_str(), numOptions, &options);
    } else {
        // A queue without a PPD passes its job attributes to the printer as they are.
        if (sheet)
            numOptions = cupsAddOption("media", sheet->media.name.c_str(), numOptions, &options);
        if (!source.empty())
            numOptions = cupsAddOption("media-source", source.c_str(), numOptions, &options);
    }

    JobResult result;
    // The destination's details as read when it was described; asked afresh only when that
    // failed.
    std::shared_ptr<cups_dinfo_t> info =
        described && described->schedulerInfo
            ? described->schedulerInfo
            : std::shared_ptr<cups_dinfo_t>(cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest),
                                            cupsFreeDestInfo);
    int jobId = 0;
    const ipp_status_t created = cupsCreateDestJob(CUPS_HTTP_DEFAULT, dest, info.get(), &jobId,
                                                   job.documentName.c_str(), numOptions, options);
    if (created > IPP_STATUS_OK_CONFLICTING || jobId <= 0) {
        result = RefusedByCups();
    } else if (cupsStartDestDocument(CUPS_HTTP_DEFAULT, dest, info.get(), jobId,
                                     job.documentName.c_str(), CUPS_FORMAT_PDF, 0, nullptr,
                                     1) != HTTP_STATUS_CONTINUE) {
        result = RefusedByCups();
        cupsCancelDestJob(CUPS_HTTP_DEFAULT, dest, jobId);
    } else {
        char buffer[65536];
        bool written = true;
        while (written && pdf) {
            pdf.read(buffer, sizeof buffer);
            const std::streamsize n = pdf.gcount();
            if (n > 0)
                written = cupsWriteRequestData(CUPS_HTTP_DEFAULT, buffer, static_cast<size_t>(n)) ==
                          HTTP_STATUS_CONTINUE;
        }
        const ipp_status_t finished = cupsFinishDestDocument(CUPS_HTTP_DEFAULT, dest, info.get());
        if (!written || finished > IPP_STATUS_OK_CONFLICTING) {
            result = RefusedByCups();
            cupsCancelDestJob(CUPS_HTTP_DEFAULT, dest, jobId);
        } else {
            result = JobResult{true, jobId, {}};
        }
    }
    cupsFreeOptions(numOptions, options);
    return result;
}

}  // namespace tovrimo
