// Time of one print-preview redraw: the median over many redraws with the printer's answers
// cached, and, when a CUPS scheduler with queues is reachable, the first uncached page query.
// Each redraw recomputes the picture and paints the preview box and its children into an image
// with QWidget::render, which runs the paint events whether or not a window is exposed: a
// repaint() of a widget the platform never showed returns without painting anything.
#include <QApplication>
#include <QImage>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "output/PagePrinter.h"
#include "output/PreviewBox.h"
#include "output/PrintDialog.h"
#include "output/PrintDialogHost.h"
#include "platform/ClipboardAccess.h"
#include "platform/MessageBoxes.h"
#include "platform/cups/CupsPrinterBackend.h"

using namespace tovrimo;
using Clock = std::chrono::steady_clock;

namespace {

class SilentBoxes : public MessageBoxes {
public:
    MsgResult show(const std::string&, const std::string&, MsgButtons, MsgIcon) override
    {
        return MsgResult::Ok;
    }
};

class NoClipboard : public ClipboardAccess {
public:
    void setImage(const QImage&) override {}
    bool hasImage() override { return false; }
    QImage image() override { return {}; }
};

class QuietHost : public PrintDialogHost {
public:
    std::optional<std::string> chooseSaveFile(QWidget*, const std::string&, const std::string&,
                                              const std::string&, int*) override
    {
        return std::nullopt;
    }
    std::optional<QFont> chooseFont(QWidget*, const QFont&) override { return std::nullopt; }
    std::string inputBox(QWidget*, const std::string&, const std::string&,
                         const std::string&) override
    {
        return {};
    }
    void showHelp(const std::string&) override {}
    int stickyNoteCount() override { return 0; }
    void makeStickyNote(const QImage&) override {}
    bool saveSettings() override { return true; }
    void printDialogClosed() override {}
};

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    CupsPrinterBackend printers;
    const auto names = printers.printerNames();
    if (names.empty()) {
        std::printf("no CUPS queue reachable (set CUPS_SERVER); nothing to measure\n");
        return 0;
    }
    const auto t0 = Clock::now();
    printers.pageMetrics(names.front(), QPageSize(), QPageLayout::Landscape);
    std::printf("first uncached page query on %s: %.2f ms\n", names.front().c_str(),
                Ms(Clock::now() - t0));

    SilentBoxes boxes;
    NoClipboard clipboard;
    QuietHost host;
    SettingsData data;
    data.settings.lastNamedSetting = -1;
    data.current.printerName = names.front();
    data.current.position = PagePosition::Centre;
    data.current.scaleMode = ScaleMode::FitToPaper;
    data.current.scalePercent = 100;
    data.current.orientation = PageOrientation::Portrait;
    data.current.fontName = "IPAGothic";
    data.current.fontPoints = 10;
    data.current.titleText = "&[日付] &[時刻] hard copy";
    QImage captureImage(1280, 1024, QImage::Format_RGB32);
    QImage pageImage;
    std::string lastFolder = "/tmp/";
    PagePrinter printer(
        printers, boxes, [](const std::string& t) { return t; }, ScreenScale{});
    PrintDialogServices s{
        data,       printers,     boxes,     clipboard,
        printer,    captureImage, pageImage, [](const std::string& t) { return t; },
        lastFolder, host,         15.0,      15.0,
        QIcon()};
    PrintDialog dlg(s);
    dlg.open();

    PreviewBox* box = dlg.preview();
    QImage frame(box->size(), QImage::Format_ARGB32_Premultiplied);
    std::vector<double> times;
    for (int i = 0; i < 300; ++i) {
        frame.fill(Qt::transparent);
        const auto start = Clock::now();
        dlg.refreshPreview();
        box->render(&frame);
        times.push_back(Ms(Clock::now() - start));
    }
    std::sort(times.begin(), times.end());
    if (box->errorShown() || !box->picture().placed) {
        std::printf("the preview could not be drawn\n");
        return 1;
    }
    // Proof that the paint ran: the printable area's white and the image box's colour are there.
    int white = 0, imageColour = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            const QRgb px = frame.pixel(x, y);
            white += px == qRgb(255, 255, 255);
            imageColour += px == qRgb(192, 192, 255);
        }
    if (white == 0 || imageColour == 0) {
        std::printf("the preview was not painted (%d white, %d image-box pixels)\n", white,
                    imageColour);
        return 1;
    }
    std::printf("preview redraw, cached: median %.3f ms, 95th percentile %.3f ms (%zu runs)\n",
                times[times.size() / 2], times[times.size() * 95 / 100], times.size());
    return 0;
}
