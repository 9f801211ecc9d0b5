#include "output/PagePrinter.h"

#include <QDir>
#include <QTemporaryFile>
#include <algorithm>
#include <chrono>

#include "core/Rounding.h"
#include "core/SettingsFileCodes.h"
#include "output/OutputTexts.h"
#include "output/PageGeometry.h"
#include "output/PageRenderer.h"
#include "output/PrinterCapabilityCache.h"
#include "platform/MessageBoxes.h"
#include "platform/PrinterBackend.h"

namespace tovrimo {

namespace {

// How long a page for a printer that the printing system does not list waits for the network
// to announce it.
constexpr std::chrono::milliseconds kDiscoveryWait{1500};

template <typename T>
bool Offers(const std::vector<T>& codes, const T& code)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

TitleFont FontOf(const PrintLayout& layout)
{
    TitleFont f;
    f.family = QString::fromStdString(layout.fontName);
    f.pointSize = layout.fontPoints;
    f.bold = layout.bold;
    f.italic = layout.italic;
    f.underline = layout.underline;
    return f;
}

}  // namespace

PagePrinter::PagePrinter(PrinterBackend& printers, MessageBoxes& messages,
                         TitleExpander expandTitle, ScreenScale screen)
    : printers_(printers),
      messages_(messages),
      expandTitle_(std::move(expandTitle)),
      screen_(screen)
{
    if (auto def = printers_.defaultPrinter()) printer_ = def->deviceName;
}

QPageSize PagePrinter::pageSize() const
{
    // Only a size the printer offered is ever set, and each of those has a Qt size.
    return PrinterPageSize(paperSize_).value_or(QPageSize());
}

void PagePrinter::fail(const char* caption, const char* text)
{
    messages_.show(caption, text, MsgButtons::Ok, MsgIcon::None);
    setupFailed_ = true;
}

bool PagePrinter::selectPrinter(const PrintLayout& layout)
{
    auto names = printers_.printerNames();
    if (!layout.printerName.empty() && !Offers(names, layout.printerName)) {
        // Not a queue of the scheduler: perhaps a printer on the network, which only listening
        // for its announcement finds.
        printers_.discoverPrinters(kDiscoveryWait);
        names = printers_.printerNames();
    }
    for (const auto& name : names) {
        if (name == layout.printerName) {
            if (name != printer_) {
                // A size or source set on one printer means nothing to another: the new
                // printer starts from its own settings, so nothing is sent that it never
                // offered.
                paperSize_ = 0;
                paperSource_.reset();
            }
            printer_ = name;
            return true;
        }
    }
    // An unknown name is not an error: the current printer stays, as long as it still exists.
    return Offers(names, printer_);
}

void PagePrinter::preparePage(const PrintLayout& layout, const QImage& captureImage,
                              QImage& pageImage)
{
    pageImage = QImage();
    setupFailed_ = false;
    printerGone_ = false;

    if (printer_.empty()) {
        if (auto def = printers_.defaultPrinter()) printer_ = def->deviceName;
    }
    if (printer_.empty() && printers_.printerNames().empty()) {
        // Nothing to select at all.
        fail(texts::kPrinterNameErrorCaption, texts::kPrinterNameError);
        return;
    }
    if (!selectPrinter(layout)) {
        // The printer in use was removed from the system since it was chosen.
        messages_.show(texts::kAppCaption,
                       texts::PrinterUnavailable(printer_, texts::kPrinterMissingReason),
                       MsgButtons::Ok, MsgIcon::Warning);
        setupFailed_ = true;
        return;
    }
    if (layout.paperSize != 0) {
        if (!Offers(PaperSizeCodes(printers_.pageSizes(printer_)),
                    static_cast<int>(layout.paperSize))) {
            fail(texts::kPaperSizeErrorCaption, texts::kPaperSizeError);
            return;
        }
        paperSize_ = layout.paperSize;
    }
    if (layout.paperSource != 0) {
        // A number that names no source is one no printer offers.
        const std::optional<PaperSource> source = PaperSourceFromFile(layout.paperSource);
        if (!source || !Offers(printers_.paperSources(printer_), *source)) {
            fail(texts::kPaperBinErrorCaption, texts::kPaperBinError);
            return;
        }
        paperSource_ = source;
    }
    if (layout.orientation == PageOrientation::Unrecognised) {
        fail(texts::kPaperBinErrorCaption, texts::kPaperBinError);
        return;
    }
    orientation_ = PageLayoutOrientation(layout.orientation);

    const auto metrics = printers_.pageMetrics(printer_, pageSize(), orientation_);
    if (!metrics) {
        // A printer that is there but reports nothing a page can be laid out on: the box for
        // the printer or the size, with what was wrong.
        if (const auto problem = printers_.pageProblem(printer_, pageSize())) {
            const bool printer = problem->kind == PageProblem::Kind::Printer;
            const std::string text = texts::WithReason(
                printer ? texts::kPrinterNameError : texts::kPaperSizeError, problem->reason);
            messages_.show(
                printer ? texts::kPrinterNameErrorCaption : texts::kPaperSizeErrorCaption, text,
                MsgButtons::Ok, MsgIcon::None);
            setupFailed_ = true;
            return;
        }
        // The printer went away (or lost the size) after it was chosen. The failed lookup
        // made the printers be read afresh; a page about to print tries again (printPage).
        printerGone_ = !Offers(printers_.printerNames(), printer_);
        if (printerGone_ && retryWhenGone_) {
            setupFailed_ = true;
            return;
        }
        messages_.show(texts::kAppCaption, texts::PrinterUnavailable(printer_, ""), MsgButtons::Ok,
                       MsgIcon::Warning);
        setupFailed_ = true;
        return;
    }
    const std::string title = expandTitle_(layout.titleText);
    const auto measured = PageRenderer::measureTitle(FontOf(layout), QString::fromStdString(title),
                                                     metrics->dotsPerInchY);
    const int64_t t = nearestEven(measured.heightTwips);
    const Margins margins = ComputeMargins(*metrics);
    const ImageSize target =
        TargetImageSize(layout.scaleMode, layout.scalePercent, margins, captureImage.width(),
                        captureImage.height(), screen_.sx, screen_.sy, t, TwipsPerPixelY(*metrics));
    const PixelSize pixels = PageImagePixels(target, screen_.sx, screen_.sy);
    if (pixels.width > 0 && pixels.height > 0 && !captureImage.isNull()) {
        pageImage =
            captureImage.scaled(static_cast<int>(pixels.width), static_cast<int>(pixels.height),
                                Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    } else if (pixels.width > 0 && pixels.height > 0) {
        pageImage = QImage(static_cast<int>(pixels.width), static_cast<int>(pixels.height),
                           QImage::Format_RGB32);
        pageImage.fill(Qt::white);
    }
}

bool PagePrinter::printPage(const PrintLayout& layout, const QImage& captureImage,
                            QImage& pageImage)
{
    const std::string inUse = printer_;
    retryWhenGone_ = true;
    Outcome outcome = printOnce(layout, captureImage, pageImage);
    retryWhenGone_ = false;
    if (outcome == Outcome::PrinterGone) {
        // The printers were listed before the layout's printer went away. Now that the list
        // is read afresh, the page goes where it would have gone had the list said so at once:
        // to the printer in use before, or nowhere, with the reason.
        printer_ = inUse;
        outcome = printOnce(layout, captureImage, pageImage);
        if (outcome == Outcome::PrinterGone) {
            messages_.show(texts::kAppCaption,
                           texts::PrinterUnavailable(printer_, texts::kPrinterMissingReason),
                           MsgButtons::Ok, MsgIcon::Warning);
        }
    }
    return outcome == Outcome::Printed;
}

PagePrinter::Outcome PagePrinter::printOnce(const PrintLayout& layout, const QImage& captureImage,
                                            QImage& pageImage)
{
    preparePage(layout, captureImage, pageImage);
    if (setupFailed_)
        return printerGone_ && retryWhenGone_ ? Outcome::PrinterGone : Outcome::Failed;

    const auto metrics = printers_.pageMetrics(printer_, pageSize(), orientation_);
    if (!metrics) return Outcome::Failed;
    const Margins margins = ComputeMargins(*metrics);
    const std::string title = expandTitle_(layout.titleText);
    const TitleFont font = FontOf(layout);
    const auto measured =
        PageRenderer::measureTitle(font, QString::fromStdString(title), metrics->dotsPerInchY);

    PlacementInput in;
    in.position = layout.position;
    in.leftCm = layout.leftCm;
    in.topCm = layout.topCm;
    in.titlePlacement = layout.titlePlacement;
    in.titleAlignment = layout.titleAlignment;
    in.image =
        PrintedImageSize(PixelSize{pageImage.width(), pageImage.height()}, screen_.sx, screen_.sy);
    in.titleWidth = nearestEven(measured.widthTwips);
    in.titleHeight = PlacingTitleHeight(title, measured.heightTwips);
    in.printerTwipsPerPixelY = TwipsPerPixelY(*metrics);
    const PagePlacement placed = PlacePage(margins, in);

    PageRenderer::Page page;
    page.widthPoints = margins.pageWidth / 20.0;
    page.heightPoints = margins.pageHeight / 20.0;
    page.dpi = metrics->dotsPerInchX;
    page.title = QString::fromStdString(expandTitle_(layout.titleText));
    page.font = font;
    page.titleX = placed.titleX;
    page.titleY = placed.titleY;
    // At full detail the capture goes to the printer as it is, in the rectangle that the page
    // image would fill; the page image stays what the print dialog's other commands use.
    const bool fullDetail = fullDetail_ && fullDetail_() && !captureImage.isNull();
    page.image = fullDetail ? captureImage : pageImage;
    page.smoothScaling = fullDetail;
    page.imageX = placed.imageX;
    page.imageY = placed.imageY;
    page.imageW = placed.imageWidth;
    page.imageH = placed.imageHeight;
    page.documentTitle = QString::fromStdString(documentName_);

    QTemporaryFile pdf(QDir::tempPath() + QStringLiteral("/tovrimo-page-XXXXXX.pdf"));
    if (!pdf.open()) {
        messages_.show(texts::kAppCaption,
                       texts::PrinterUnavailable(printer_, pdf.errorString().toStdString()),
                       MsgButtons::Ok, MsgIcon::Warning);
        return Outcome::Failed;
    }
    pdf.close();
    QString error;
    if (!PageRenderer::render(page, pdf.fileName(), &error)) {
        messages_.show(texts::kAppCaption, texts::PrinterUnavailable(printer_, error.toStdString()),
                       MsgButtons::Ok, MsgIcon::Warning);
        return Outcome::Failed;
    }
    JobRequest job;
    job.printer = printer_;
    job.documentName = documentName_;
    job.pdfPath = pdf.fileName().toStdString();
    job.pageSize = pageSize();
    job.paperSource = paperSource_;
    job.orientation = orientation_;
    const JobResult result = printers_.submit(job);
    if (!result.accepted) {
        // A refused job made the printers be read afresh: is the printer still there?
        if (!Offers(printers_.printerNames(), printer_)) return Outcome::PrinterGone;
        messages_.show(texts::kAppCaption, texts::PrinterUnavailable(printer_, result.error),
                       MsgButtons::Ok, MsgIcon::Warning);
        return Outcome::Failed;
    }
    return Outcome::Printed;
}

}  // namespace tovrimo
