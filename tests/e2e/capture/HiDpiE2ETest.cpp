#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <fstream>
#include <thread>

#include "harness/ClipboardTool.h"
#include "harness/Desktop.h"
#include "harness/DesktopState.h"
#include "harness/Ink.h"
#include "harness/PaintedDesktop.h"
#include "harness/PdfPage.h"
#include "harness/PrivateCups.h"
#include "harness/Process.h"
#include "harness/ScreenPixels.h"
#include "harness/SessionSettings.h"
#include "harness/TestSession.h"
#include "harness/TovrimoProcess.h"
#include "harness/XSession.h"

using namespace tovrimo::test;
using namespace std::chrono_literals;

// A scaled screen the way desktops set one up: Xft.dpi 192 for 200 %, 144 for 150 %. Qt then
// works in units of 2 or 1.5 device pixels; captures, the printed page, notes and the region
// screen must all keep to device pixels.

namespace {

constexpr int kScaledDensities[] = {192, 144};

void WriteSettings(const std::string& folder, const std::string& options)
{
    std::ofstream ini(folder + "/tovrimo.ini");
    ini << "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=0\n"
        << options << "[DefaultPrinter]\nDeviceName=TovA4\nOrientation=1\nPaperSize=9\nPaperBin=0\n"
        << "Pos=1\nSize=1\nSizeP=100\nFontName=IPAGothic\nFontSize=10\nTitleText=\n"
        << "TitleVAlign=1\n";
}

// A picture whose every pixel differs from its neighbours, so that any enlargement, shrinking
// or smoothing shows.
QImage FinePattern(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool odd = (x + y) % 2 != 0;
            image.setPixel(x, y, odd ? qRgb(255, 255, 255) : qRgb(x * 4 % 256, 0, y * 5 % 256));
        }
    }
    return image;
}

// Pixels of `shown` at its top-left corner that differ from `expected`.
int DifferingPixels(const QImage& shown, const QImage& expected)
{
    int differing = 0;
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            if (x >= shown.width() || y >= shown.height() ||
                (shown.pixel(x, y) & 0xFFFFFF) != (expected.pixel(x, y) & 0xFFFFFF))
                ++differing;
        }
    }
    return differing;
}

}  // namespace

class HiDpiE2E : public ::testing::Test {
protected:
    void SetUp() override { cups().clearOutput("TovA4"); }
    PrivateCups& cups() { return TestSession::current().cups(); }
    Desktop desktop;
};

TEST_F(HiDpiE2E, ActualSizePrintsWhatTheScreenShows)
{
    for (const int dpi : kScaledDensities) {
        SCOPED_TRACE("Xft.dpi " + std::to_string(dpi));
        cups().clearOutput("TovA4");
        XftDpi scaled(dpi);
        ASSERT_TRUE(scaled.ok());
        // 640 x 320 device pixels of red in the desktop's corner.
        PaintedDesktop painted(0, 0, 640, 320);
        TovrimoProcess tovrimo;
        WriteSettings(tovrimo.programFolder(), "");
        ASSERT_TRUE(tovrimo.start({"/d"}));
        const auto code = tovrimo.waitForExit(60s);
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, 0) << tovrimo.process().standardError();
        ASSERT_TRUE(cups().waitForJobs());

        // Rendered at 144 dpi, an inch of paper is 144 pixels: 640 pixels of a 192-dpi screen
        // are 3.33 inches, 480 pixels; of a 144-dpi screen 4.44 inches, 640 pixels.
        constexpr int renderDpi = 144;
        const QImage page = PdfPage(cups().outputPdf("TovA4")).render(renderDpi);
        const QRect red = Ink::boundsOf(page, QColor(255, 0, 0), 60);
        ASSERT_FALSE(red.isEmpty()) << "nothing red on the page";
        EXPECT_NEAR(red.width(), 640.0 * renderDpi / dpi, 1.0);
        EXPECT_NEAR(red.height(), 320.0 * renderDpi / dpi, 1.0);
        EXPECT_NEAR(red.left(), 0.25 * renderDpi, 1.0) << "the printable area's corner";
    }
}

TEST_F(HiDpiE2E, NoteShowsTheCaptureAtItsOnScreenSize)
{
    const QImage picture = FinePattern(64, 48);
    for (const int dpi : kScaledDensities) {
        SCOPED_TRACE("Xft.dpi " + std::to_string(dpi));
        XftDpi scaled(dpi);
        ASSERT_TRUE(scaled.ok());
        // Slot 9, a note from the clipboard, on Ctrl+Alt+N.
        TovrimoProcess tovrimo;
        WriteSettings(tovrimo.programFolder(),
                      "HotKeyOn9=1\nHotKeyALT9=1\nHotKeyCTRL9=1\nHotKeyButton9=78\n");
        FocusRoot();
        const size_t iconsBefore = TrayIcons().size();
        ASSERT_TRUE(tovrimo.start());
        ASSERT_TRUE(WaitFor([&] { return TrayIcons().size() == iconsBefore + 1; }, 15s));

        ClipboardTool clipboard;
        ASSERT_TRUE(clipboard.offerImage(picture));
        desktop.mouseMove(400, 300);
        desktop.key("ctrl+alt+n");
        const auto note = desktop.waitForWindow("^付せん 1$", 10s);
        ASSERT_NE(note, 0u) << "no note appeared";

        // The note's window is as large as the picture in device pixels (on a fractional
        // scale, a whole number of Qt's units may leave one spare pixel) and shows it pixel for
        // pixel from its corner.
        QRect area;
        int differing = -1;
        WaitFor(
            [&] {
                area = WindowArea(note);
                if (area.isEmpty()) return false;
                differing = DifferingPixels(ScreenPixels(area), picture);
                return differing == 0;
            },
            5s);
        EXPECT_GE(area.width(), picture.width());
        EXPECT_LE(area.width(), picture.width() + 1);
        EXPECT_GE(area.height(), picture.height());
        EXPECT_LE(area.height(), picture.height() + 1);
        EXPECT_EQ(differing, 0) << "the note does not show the picture one to one";
        tovrimo.stop();
    }
}

TEST_F(HiDpiE2E, RegionScreenShowsTheFrozenDesktopPixelForPixel)
{
    for (const int dpi : kScaledDensities) {
        SCOPED_TRACE("Xft.dpi " + std::to_string(dpi));
        XftDpi scaled(dpi);
        ASSERT_TRUE(scaled.ok());
        const XSession& session = TestSession::current().x();
        const QRect screen(0, 0, session.rootWidth(), session.rootHeight());
        const QImage pattern = FinePattern(97, 61);
        QImage expected;
        TovrimoProcess tovrimo;
        WriteSettings(tovrimo.programFolder(), "");
        {
            // A block with fine detail, well away from the corner, on a white desktop.
            PaintedDesktop painted(300, 200, 1, 1, 0xFFFFFF, 0xFFFFFF);
            PatternWindow detail(300, 200, pattern);
            expected = ScreenPixels(screen);
            ASSERT_EQ(DifferingPixels(expected.copy(300, 200, 97, 61), pattern), 0)
                << "the test pattern is not on the screen";
            ASSERT_TRUE(tovrimo.start({"/r"}));
            ASSERT_TRUE(WaitFor([&] { return WindowOfClassShown("tovrimo"); }, 15s))
                << "the region screen did not appear";
            std::this_thread::sleep_for(300ms);
        }
        // The painted desktop is gone: what shows now is the program's frozen picture.
        QImage shown;
        WaitFor(
            [&] {
                shown = ScreenPixels(screen);
                return DifferingPixels(shown, expected) == 0;
            },
            5s);
        EXPECT_EQ(DifferingPixels(shown, expected), 0)
            << "the region screen does not show the desktop one to one";

        // Dragging repaints strips of the picture where the outline was; at odd positions
        // they start in the middle of one of Qt's units. Corners at odd device pixels, over
        // the fine pattern, with the outline moved once so that a wiped one is checked too.
        const QPoint start(301, 203), wide(371, 241), end(341, 223);
        desktop.mouseMove(start.x(), start.y());
        desktop.mouseDown(1);
        desktop.mouseMove(wide.x(), wide.y());
        desktop.mouseMove(end.x(), end.y());
        // The outline runs along the selection's border. Where exactly is a matter of how
        // Qt reports the pointer (in its own units, so within a unit of the device pixel);
        // everywhere else the picture must be the frozen desktop, pixel for pixel.
        const QRect outline(start, end);
        auto nearOutline = [&](int px, int py) {
            return outline.adjusted(-2, -2, 2, 2).contains(px, py) &&
                   !outline.adjusted(2, 2, -2, -2).contains(px, py);
        };
        int wrong = -1, grey = 0;
        WaitFor(
            [&] {
                shown = ScreenPixels(screen);
                wrong = 0;
                grey = 0;
                for (int y = 150; y < 300; ++y) {
                    for (int x = 250; x < 450; ++x) {
                        const QRgb pixel = shown.pixel(x, y) & 0xFFFFFF;
                        if (nearOutline(x, y))
                            grey += pixel == 0x808080;
                        else
                            wrong += pixel != (expected.pixel(x, y) & 0xFFFFFF);
                    }
                }
                return wrong == 0 && grey >= 100;
            },
            5s);
        EXPECT_EQ(wrong, 0) << "the picture is off while dragging";
        EXPECT_GE(grey, 100) << "no outline";
        // The release ends the job: it prints the selection and the program exits.
        desktop.mouseUp(1);
        EXPECT_TRUE(tovrimo.waitForExit(30s).has_value());
        EXPECT_TRUE(cups().waitForJobs());
    }
}
