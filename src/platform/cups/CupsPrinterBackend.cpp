#include "platform/cups/CupsPrinterBackend.h"

#include <cups/cups.h>
#include <cups/ppd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>

// cupsGetPPD2 is marked deprecated along with the rest of the PPD interface; see
// PrinterDescription.cpp for why the PPD is still what we read.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace tovrimo {

namespace {

// Owns a list from cupsGetDests2.
class DestList {
public:
    DestList() { count_ = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests_); }
    ~DestList() { cupsFreeDests(count_, dests_); }
    DestList(const DestList&) = delete;
    DestList& operator=(const DestList&) = delete;
    cups_dest_t* begin() const { return dests_; }
    cups_dest_t* end() const { return dests_ + count_; }

private:
    int count_ = 0;
    cups_dest_t* dests_ = nullptr;
};

std::string LastError(const char* fallback)
{
    const char* text = cupsLastErrorString();
    return text && *text ? std::string(text) : std::string(fallback);
}

JobResult Refused(std::string reason)
{
    return JobResult{false, 0, std::move(reason)};
}

}  // namespace

CupsPrinterBackend::CupsPrinterBackend() = default;

CupsPrinterBackend::~CupsPrinterBackend() = default;

std::vector<std::string> CupsPrinterBackend::printerNames()
{
    std::vector<std::string> names;
    DestList dests;
    for (const cups_dest_t& d : dests)
        if (!d.instance) names.push_back(d.name);  // instances are option sets, not printers
    std::sort(names.begin(), names.end());
    return names;
}

std::optional<PrinterDefaults> CupsPrinterBackend::defaultPrinter()
{
    DestList dests;
    const cups_dest_t* chosen = nullptr;
    for (const cups_dest_t& d : dests) {
        if (d.instance) continue;
        if (d.is_default) {
            chosen = &d;
            break;
        }
        // With no default set, the first printer by name stands in for it.
        if (!chosen || std::strcmp(d.name, chosen->name) < 0) chosen = &d;
    }
    if (!chosen) return std::nullopt;
    PrinterDefaults defaults;
    defaults.deviceName = chosen->name;
    const char* orientation =
        cupsGetOption("orientation-requested", chosen->num_options, chosen->options);
    defaults.orientation = orientation && std::strcmp(orientation, "4") == 0 ? 2 : 1;
    defaults.paperSize = defaultPaperSize(defaults.deviceName);
    return defaults;
}

const PrinterDescription* CupsPrinterBackend::describe(const std::string& printer)
{
    if (auto it = descriptions_.find(printer); it != descriptions_.end()) return it->second.get();
    std::shared_ptr<const PrinterDescription> description;
    // cupsGetPPD2 copies the queue's PPD into a temporary file that is ours to remove.
    if (const char* file = cupsGetPPD2(CUPS_HTTP_DEFAULT, printer.c_str())) {
        const std::string path = file;
        if (auto d = PrinterDescription::fromPpdFile(path))
            description = std::make_shared<const PrinterDescription>(std::move(*d));
        ::unlink(path.c_str());
    }
    // A printer without a PPD (or gone) is remembered as such too: asking again would not
    // give another answer until the printing system changes, which invalidate() is for.
    descriptions_[printer] = description;
    return description.get();
}

void CupsPrinterBackend::invalidate()
{
    descriptions_.clear();
}

std::vector<int> CupsPrinterBackend::paperSizes(const std::string& printer)
{
    std::vector<int> codes;
    if (const PrinterDescription* d = describe(printer))
        for (const auto& s : d->sheets()) codes.push_back(s.code);
    return codes;
}

std::vector<int> CupsPrinterBackend::paperSources(const std::string& printer)
{
    std::vector<int> codes;
    if (const PrinterDescription* d = describe(printer))
        for (const auto& s : d->sources()) codes.push_back(s.code);
    return codes;
}

int CupsPrinterBackend::defaultPaperSize(const std::string& printer)
{
    const PrinterDescription* d = describe(printer);
    return d ? d->defaultSizeCode() : 0;
}

std::optional<PageMetrics> CupsPrinterBackend::pageMetrics(const std::string& printer,
                                                           int paperSize, int orientation)
{
    const PrinterDescription* d = describe(printer);
    if (!d) return std::nullopt;
    return d->metrics(paperSize, orientation);
}

JobResult CupsPrinterBackend::submit(const JobRequest& job)
{
    if (job.orientation != 1 && job.orientation != 2) return Refused("unsupported orientation");
    // Asked afresh, not from the cache: the printer may have gone since the page was laid out.
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, job.printer.c_str(), nullptr);
    if (!dest) return Refused(LastError("printer not found") + " (" + job.printer + ")");

    const PrinterDescription* description = describe(job.printer);
    int numOptions = 0;
    cups_option_t* options = nullptr;
    // The page is already composed at its final size: the filters must not fit it again.
    numOptions = cupsAddOption("print-scaling", "none", numOptions, &options);
    numOptions = cupsAddOption("orientation-requested", job.orientation == 2 ? "4" : "3",
                               numOptions, &options);
    std::string refusal;
    if (job.paperSize != 0) {
        const PrinterDescription::Sheet* sheet =
            description ? description->sheet(job.paperSize) : nullptr;
        if (sheet)
            numOptions = cupsAddOption("media", sheet->keyword.c_str(), numOptions, &options);
        else
            refusal = "paper size not offered by the printer";
    }
    if (job.paperBin != 0 && refusal.empty()) {
        const std::string keyword = description ? description->sourceKeyword(job.paperBin) : "";
        if (!keyword.empty())
            numOptions = cupsAddOption("InputSlot", keyword.c_str(), numOptions, &options);
        else
            refusal = "paper source not offered by the printer";
    }

    JobResult result;
    std::ifstream pdf(job.pdfPath, std::ios::binary);
    if (!refusal.empty()) {
        result = Refused(refusal);
    } else if (!pdf) {
        result = Refused("cannot read " + job.pdfPath);
    } else {
        cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest);
        int jobId = 0;
        const ipp_status_t created = cupsCreateDestJob(
            CUPS_HTTP_DEFAULT, dest, info, &jobId, job.documentName.c_str(), numOptions, options);
        if (created > IPP_STATUS_OK_CONFLICTING || jobId <= 0) {
            result = Refused(LastError("the printer did not accept the job"));
        } else if (cupsStartDestDocument(CUPS_HTTP_DEFAULT, dest, info, jobId,
                                         job.documentName.c_str(), CUPS_FORMAT_PDF, 0, nullptr,
                                         1) != HTTP_STATUS_CONTINUE) {
            result = Refused(LastError("the printer did not take the document"));
            cupsCancelDestJob(CUPS_HTTP_DEFAULT, dest, jobId);
        } else {
            char buffer[65536];
            bool written = true;
            while (written && pdf) {
                pdf.read(buffer, sizeof buffer);
                const std::streamsize n = pdf.gcount();
                if (n > 0)
                    written = cupsWriteRequestData(CUPS_HTTP_DEFAULT, buffer,
                                                   static_cast<size_t>(n)) == HTTP_STATUS_CONTINUE;
            }
            const ipp_status_t finished = cupsFinishDestDocument(CUPS_HTTP_DEFAULT, dest, info);
            if (!written || finished > IPP_STATUS_OK_CONFLICTING) {
                result = Refused(LastError("sending the document failed"));
                cupsCancelDestJob(CUPS_HTTP_DEFAULT, dest, jobId);
            } else {
                result = JobResult{true, jobId, {}};
            }
        }
        cupsFreeDestInfo(info);
    }
    cupsFreeOptions(numOptions, options);
    cupsFreeDests(1, dest);
    return result;
}

}  // namespace tovrimo
