#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <chrono>

#include "capture/CaptureEngine.h"
#include "doubles/FakeCursorSource.h"
#include "doubles/FakeScreenGrabber.h"
#include "doubles/FakeTimerFactory.h"
#include "doubles/FakeWindowSystem.h"
#include "harness/ClipboardTool.h"
#include "harness/Process.h"
#include "platform/qt/QtClipboard.h"

using namespace tovrimo;
using namespace tovrimo::test;
using namespace std::chrono_literals;

namespace {

// What another program pastes as PNG. This process owns the clipboard and must go on serving
// it, so the event loop keeps running while xclip waits for the data.
QImage PasteAsPng()
{
    Process xclip("xclip", Process::Options({"-selection", "clipboard", "-t", "image/png", "-o"}));
    if (!xclip.start()) return {};
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (xclip.running() && std::chrono::steady_clock::now() < deadline) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    if (!xclip.finished() || !xclip.exitedNormally() || xclip.exitCode() != 0) return {};
    QImage image;
    image.load(QString::fromStdString(xclip.stdoutPath()), "PNG");
    return image;
}

QImage Pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, 200));
    return img;
}

}  // namespace

TEST(ClipboardRoundTrip, CopyStepImageIsWhatAnotherProgramPastes)
{
    FakeScreenGrabber screen(Pattern(90, 70));
    FakeWindowSystem windows;
    FakeCursorSource cursor;
    QtClipboard clipboard;
    FakeTimerFactory timers;
    CaptureOptions options;
    options.reverseColours = true;
    CaptureBuffer buffer;
    CaptureEngine engine(buffer, {screen, windows, cursor, clipboard, timers},
                         [&] { return options; });

    engine.copyDesktop();
    timers.advance(100);
    ASSERT_EQ(buffer.image.size(), QSize(90, 70));

    const QImage pasted = PasteAsPng();
    ASSERT_FALSE(pasted.isNull());
    EXPECT_EQ(pasted.convertToFormat(QImage::Format_RGB32), buffer.image);
    // Only the image is offered: no text comes along with it.
    Process targets("xclip", Process::Options({"-selection", "clipboard", "-t", "TARGETS", "-o"}));
    ASSERT_TRUE(targets.start());
    while (targets.running()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    const std::string offered = targets.standardOutput();
    EXPECT_NE(offered.find("image/png"), std::string::npos) << offered;
    EXPECT_EQ(offered.find("UTF8_STRING"), std::string::npos) << offered;
    EXPECT_EQ(offered.find("text/plain"), std::string::npos) << offered;
}

TEST(ClipboardRoundTrip, ReadsAnImageAnotherProgramOffers)
{
    ClipboardTool tool;
    const QImage offered = Pattern(33, 21);
    ASSERT_TRUE(tool.offerImage(offered));
    QtClipboard clipboard;
    ASSERT_TRUE(clipboard.hasImage());
    EXPECT_EQ(clipboard.image().convertToFormat(QImage::Format_RGB32), offered);
    tool.stopOffering();
}
