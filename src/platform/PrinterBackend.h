#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QRect>
#include <QSize>
#include <QSizeF>
#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "core/PaperSource.h"
#include "core/PrinterDefaults.h"

namespace tovrimo {

// Device geometry of one printer for one sheet and orientation, and the device resolution.
// The page is already rotated for landscape: width runs across the page as it is read.
struct PageMetrics {
    QSizeF sheetPoints{0, 0};  // the whole sheet, in points
    QSize sheetPixels{0, 0};   // the whole sheet, in device pixels
    // The printable area in device pixels, from the sheet's top-left corner: its position is
    // the unprintable left and top margin.
    QRect printablePixels;
    int dotsPerInchX = 300;
    int dotsPerInchY = 300;
};

// Why a printer gives no page: what it reports is not a sheet anything can be printed on.
struct PageProblem {
    enum class Kind {
        Printer,    // the printer as a whole (its resolution, say)
        PaperSize,  // the sheet asked for
    };
    Kind kind = Kind::Printer;
    std::string reason;  // in the words the user reads
};

// Options of one print job.
struct JobRequest {
    std::string printer;
    std::string documentName;
    std::string pdfPath;                     // the finished page, rendered as PDF
    QPageSize pageSize;                      // invalid: leave the printer's own sheet
    std::optional<PaperSource> paperSource;  // none: leave the printer's own source
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};

struct JobResult {
    bool accepted = false;
    int jobId = 0;
    std::string error;  // the printing system's reason when not accepted
};

// The printing system: installed printers, what they offer, and job submission. A backend may
// be asked from a worker thread while the GUI thread asks too.
class PrinterBackend : public FirstRunPrinterSource {
public:
    ~PrinterBackend() override = default;

    // The default printer, else the first one listed with its default sheet, upright.
    std::optional<PrinterDefaults> firstRunPrinter() override
    {
        if (std::optional<PrinterDefaults> printer = defaultPrinter()) return printer;
        const std::vector<std::string> names = printerNames();
        if (names.empty()) return std::nullopt;
        return PrinterDefaults{names.front(), defaultPageSize(names.front()),
                               QPageLayout::Portrait};
    }

    // Printers by device name, in a stable order: the queues the printing system lists, and
    // the network printers an earlier discoverPrinters() found. Never waits for the network.
    // Empty when there are none or the printing system cannot be reached.
    virtual std::vector<std::string> printerNames() = 0;
    // Looks on the network for printers that the printing system does not list itself,
    // listening up to `wait` for their announcements, and returns the names found. Blocks.
    virtual std::vector<std::string> discoverPrinters(std::chrono::milliseconds wait)
    {
        (void)wait;
        return {};
    }
    virtual std::optional<PrinterDefaults> defaultPrinter() = 0;

    // The standard sheets the printer offers, each once, in the printer's order (sheets of no
    // standard size the program can keep in its settings are left out), and the paper-source
    // sources it offers.
    virtual std::vector<QPageSize> pageSizes(const std::string& printer) = 0;
    virtual std::vector<PaperSource> paperSources(const std::string& printer) = 0;
    // The sheet a printer is set to; invalid when it is none of the sheets it offers.
    virtual QPageSize defaultPageSize(const std::string& printer) = 0;

    // Geometry of the given sheet (invalid: the printer's own) and orientation; nothing when
    // the printer or sheet is unknown.
    virtual std::optional<PageMetrics> pageMetrics(const std::string& printer,
                                                   const QPageSize& pageSize,
                                                   QPageLayout::Orientation orientation) = 0;

    // Why pageMetrics() gives nothing for a printer that is there: nothing when it would give
    // a page, or the printer or sheet is simply unknown.
    virtual std::optional<PageProblem> pageProblem(const std::string& printer,
                                                   const QPageSize& pageSize)
    {
        (void)printer;
        (void)pageSize;
        return std::nullopt;
    }

    virtual JobResult submit(const JobRequest& job) = 0;

    // Forgets what was read about the printers, so that the next questions see changes made in
    // the printing system meanwhile (answers are otherwise kept: the preview asks often).
    virtual void invalidate() {}
};

}  // namespace tovrimo
