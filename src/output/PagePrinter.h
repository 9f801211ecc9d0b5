#pragma once

#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/PaperSource.h"
#include "core/Settings.h"

namespace tovrimo {

class MessageBoxes;
class PrinterBackend;

// The screen's twips per pixel (15 at 96 dpi).
struct ScreenScale {
    double sx = 15.0;
    double sy = 15.0;
};

// Prepares and prints one page of the capture buffer with a print layout. The current printer,
// its paper size and orientation persist between pages, as on a real printer device.
class PagePrinter {
public:
    using TitleExpander = std::function<std::string(const std::string&)>;

    PagePrinter(PrinterBackend& printers, MessageBoxes& messages, TitleExpander expandTitle,
                ScreenScale screen);

    // Selects the printer, checks paper size, source and orientation, and scales the capture
    // buffer into the page image buffer. Errors are shown here and make pageSetupFailed() true.
    void preparePage(const PrintLayout& layout, const QImage& captureImage, QImage& pageImage);

    // preparePage, then lays out the title and image and submits exactly one page. Returns true
    // only when the printing system accepted the job.
    bool printPage(const PrintLayout& layout, const QImage& captureImage, QImage& pageImage);

    // The last preparePage stopped at an error (already shown); nothing may be printed.
    bool pageSetupFailed() const { return setupFailed_; }
    const std::string& currentPrinter() const { return printer_; }
    // The paper size a page with this layout size would be printed on by this printer: the
    // size itself, or for 0 ("指定なし") the size the printer is set to, which is 0 (its own
    // default) until a page on it set one.
    int paperSizeFor(const std::string& printer, int layoutPaperSize) const
    {
        if (layoutPaperSize != 0) return layoutPaperSize;
        return printer == printer_ ? paperSize_ : 0;
    }
    // The sheet the current printer is set to; invalid for its own default.
    QPageSize pageSize() const;
    void setDocumentName(std::string name) { documentName_ = std::move(name); }
    // Asked at every page: whether to print the capture buffer's own pixels (the option can
    // change while the program runs). Without it the page image buffer is printed.
    void setFullDetail(std::function<bool()> fullDetail) { fullDetail_ = std::move(fullDetail); }

private:
    enum class Outcome { Printed, Failed, PrinterGone };
    // One attempt; a printer that vanished since the printers were listed is not reported.
    Outcome printOnce(const PrintLayout& layout, const QImage& captureImage, QImage& pageImage);
    bool selectPrinter(const PrintLayout& layout);
    void fail(const char* caption, const char* text);

    PrinterBackend& printers_;
    MessageBoxes& messages_;
    TitleExpander expandTitle_;
    ScreenScale screen_;
    std::string printer_;  // the current printer; the system default until one is chosen
    int paperSize_ = 0;    // 0: the printer's own size
    std::optional<PaperSource> paperSource_;  // none: the printer's own
    QPageLayout::Orientation orientation_ = QPageLayout::Portrait;
    std::string documentName_ = "トヴリモ";
    std::function<bool()> fullDetail_;
    bool setupFailed_ = false;
    bool printerGone_ = false;    // the last page's printer was not listed any more
    bool retryWhenGone_ = false;  // printPage tries again instead of saying so
};

}  // namespace tovrimo
