#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QDir>
#include <QImage>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "harness/ClipboardTool.h"
#include "harness/Desktop.h"
#include "harness/DesktopState.h"
#include "harness/Ink.h"
#include "harness/PaintedDesktop.h"
#include "harness/PdfPage.h"
#include "harness/PrintQueueTest.h"
#include "harness/PrivateCups.h"
#include "harness/TestSession.h"
#include "harness/TovrimoProcess.h"
#include "harness/XSession.h"

using namespace tovrimo::test;
using namespace std::chrono_literals;

namespace {

// A resident program with the given [Option] keys; prints to TovA4 without confirmation at
// actual size, image in the top-left corner.
class Resident {
public:
    explicit Resident(const std::string& options)
    {
        std::ofstream ini(tovrimo.settingsFile());
        ini << "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=0\n"
            << "SelfTime=5\n"
            << options
            << "[DefaultPrinter]\nDeviceName=TovA4\nOrientation=1\nPaperSize=9\nPaperBin=0\n"
            << "Pos=1\nSize=1\nSizeP=100\nFontName=IPAGothic\nFontSize=10\nTitleText=\n"
            << "TitleVAlign=1\n";
    }
    // Starts the program and waits for its tray icon, which is the newest one in the tray.
    bool start()
    {
        FocusRoot();
        const size_t before = TrayIcons().size();
        if (!tovrimo.start()) return false;
        if (!WaitFor([&] { return TrayIcons().size() == before + 1; }, 15s)) return false;
        icon = TrayIcons().front();  // listed from the top of the stacking order
        return tovrimo.running();
    }
    QPoint icon;
    TovrimoProcess tovrimo;
};

}  // namespace

class ResidentE2E : public PrintQueueTest {
protected:
    Desktop desktop;
};

TEST_F(ResidentE2E, TrayMenuHardCopyOfTheDesktopPrintsAPage)
{
    Resident r("");
    ASSERT_TRUE(r.start());
    desktop.mouseMove(r.icon.x(), r.icon.y());
    desktop.click(3);
    std::this_thread::sleep_for(500ms);
    // ハードコピー is the first item; its first sub-item is デスクトップ画面全体.
    desktop.key("Down");
    desktop.key("Right");
    desktop.key("Return");
    ASSERT_TRUE(printedOnePage());
    EXPECT_EQ(PdfPage(cups().outputPdf("TovA4")).pageCount(), 1);
    EXPECT_TRUE(r.tovrimo.running());
}

TEST_F(ResidentE2E, DoubleClickRunsTheConfiguredAction)
{
    Resident r("DoubleClick=1\nDoubleClickDo=1\n");
    ASSERT_TRUE(r.start());
    desktop.mouseMove(r.icon.x(), r.icon.y());
    desktop.doubleClick(1);
    ASSERT_TRUE(printedOnePage());
}

TEST_F(ResidentE2E, HotKeyPrintsUntilItsSlotIsDisabled)
{
    {
        Resident r("HotKeyOn0=1\nHotKeyALT0=1\nHotKeyCTRL0=1\nHotKeySHIFT0=0\nHotKeyButton0=80\n");
        ASSERT_TRUE(r.start());
        desktop.key("ctrl+alt+p");
        ASSERT_TRUE(printedOnePage());
        r.tovrimo.stop();
    }
    jobsBefore = cups().jobCount();
    Resident r("HotKeyOn0=0\nHotKeyALT0=1\nHotKeyCTRL0=1\nHotKeySHIFT0=0\nHotKeyButton0=80\n");
    ASSERT_TRUE(r.start());
    desktop.key("ctrl+alt+p");
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(cups().jobCount(), jobsBefore) << "a disabled slot must not print";
}

TEST_F(ResidentE2E, RegionDraggedUpAndLeftPrintsBothCorners)
{
    // Slot 2: region hard copy on Ctrl+Alt+R.
    Resident r("HotKeyOn2=1\nHotKeyALT2=1\nHotKeyCTRL2=1\nHotKeyButton2=82\n");
    ASSERT_TRUE(r.start());
    {
        PaintedDesktop painted(0, 0, 1, 1, 0xFF0000, 0xFF0000);  // all red
        desktop.key("ctrl+alt+r");
        // The 100 ms delay, then the capture; the painted windows go before the drag because
        // they would sit above the selection screen.
        std::this_thread::sleep_for(600ms);
    }
    std::this_thread::sleep_for(300ms);
    desktop.mouseMove(100, 80);
    desktop.mouseDown(1);
    desktop.mouseMove(70, 50);
    desktop.mouseMove(40, 20);
    desktop.mouseUp(1);
    ASSERT_TRUE(printedOnePage());
    const QImage page = PdfPage(cups().outputPdf("TovA4")).render(150);
    const QRect red = Ink::boundsOf(page, QColor(255, 0, 0), 60);
    // 61 x 61 screen pixels at 96 dpi, from the printable area's corner (18 pt).
    const double side = 61 / 96.0 * 150;
    EXPECT_NEAR(red.width(), side, 1.5);
    EXPECT_NEAR(red.height(), side, 1.5);
    EXPECT_NEAR(red.left(), 0.25 * 150, 1.0);
}

TEST_F(ResidentE2E, RegionCancelFromTheRightButtonPrintsNothing)
{
    Resident r("HotKeyOn2=1\nHotKeyALT2=1\nHotKeyCTRL2=1\nHotKeyButton2=82\n");
    ASSERT_TRUE(r.start());
    desktop.key("ctrl+alt+r");
    std::this_thread::sleep_for(800ms);
    desktop.mouseMove(300, 300);
    desktop.click(3);
    std::this_thread::sleep_for(400ms);
    desktop.key("Down");
    desktop.key("Return");  // キャンセル
    std::this_thread::sleep_for(1000ms);
    EXPECT_EQ(cups().jobCount(), jobsBefore);
    // Idle again: the hot key works once more.
    desktop.key("ctrl+alt+r");
    std::this_thread::sleep_for(800ms);
    desktop.mouseMove(10, 10);
    desktop.mouseDown(1);
    desktop.mouseMove(20, 20);
    desktop.mouseUp(1);
    EXPECT_TRUE(printedOnePage());
}

TEST_F(ResidentE2E, AHotKeyOnTheRegionScreenIsIgnoredAndCancelOrEscapeStillCloseIt)
{
    // Slot 2: region hard copy on Ctrl+Alt+R; slot 0: desktop hard copy on Ctrl+Alt+P.
    Resident r(
        "HotKeyOn0=1\nHotKeyALT0=1\nHotKeyCTRL0=1\nHotKeyButton0=80\n"
        "HotKeyOn2=1\nHotKeyALT2=1\nHotKeyCTRL2=1\nHotKeyButton2=82\n");
    ASSERT_TRUE(r.start());
    for (const bool escape : {false, true}) {
        SCOPED_TRACE(escape ? "Escape" : "キャンセル");
        const int jobs = cups().jobCount();
        desktop.key("ctrl+alt+r");
        std::this_thread::sleep_for(800ms);
        // A desktop hard copy while the region screen is up does not start.
        desktop.key("ctrl+alt+p");
        std::this_thread::sleep_for(1000ms);
        EXPECT_EQ(cups().jobCount(), jobs) << "the hot key was not ignored";
        if (escape) {
            desktop.key("Escape");
        } else {
            desktop.mouseMove(300, 300);
            desktop.click(3);
            std::this_thread::sleep_for(400ms);
            desktop.key("Down");
            desktop.key("Return");  // キャンセル
        }
        std::this_thread::sleep_for(1000ms);
        EXPECT_EQ(cups().jobCount(), jobs);
        // The screen is gone: the desktop hard copy works again and prints the real desktop.
        desktop.key("ctrl+alt+p");
        EXPECT_TRUE(WaitFor([&] { return cups().jobCount() == jobs + 1; }, 20s))
            << "the region screen is still up";
        ASSERT_TRUE(cups().waitForJobs());
        EXPECT_TRUE(r.tovrimo.running());
    }
}

TEST_F(ResidentE2E, SlotFiveCopiesTheActiveWindowAtOnce)
{
    // Slot 5 on Ctrl+Alt+C.
    Resident r("HotKeyOn5=1\nHotKeyALT5=1\nHotKeyCTRL5=1\nHotKeyButton5=67\n");
    ASSERT_TRUE(r.start());

    // A green window that openbox manages, frames and activates.
    TestWindow window("Tovrimo slot five", 200, 150, 300, 200, 0x00C000);
    const auto found = desktop.waitForWindow("^Tovrimo slot five$", 10s);
    ASSERT_NE(found, 0u);
    desktop.activate(found);

    ClipboardTool clipboard;
    desktop.key("ctrl+alt+c");
    QImage copied;
    EXPECT_TRUE(WaitFor([&] { return !(copied = clipboard.readImage()).isNull(); }, 10s));
    // The window with its frame: at least the client area, and the client's green inside.
    EXPECT_GE(copied.width(), 300);
    EXPECT_GE(copied.height(), 200);
    EXPECT_GT(Ink::count(copied, QColor(0, 0xC0, 0), 10), 300 * 200 * 9 / 10);
    EXPECT_EQ(cups().jobCount(), jobsBefore) << "a copy prints nothing";
}

TEST_F(ResidentE2E, SelfTimerCounterIsOnTheScreenWhileItRunsAndAbsentFromTheCapture)
{
    // Slot 4 (copy of the desktop) on Ctrl+Alt+D, a self-timer of 3 s, the countdown as a new
    // install has it (no key in the file).
    Resident r("SelfTimer=1\nHotKeyOn4=1\nHotKeyALT4=1\nHotKeyCTRL4=1\nHotKeyButton4=68\n");
    ASSERT_TRUE(r.start());
    // A desktop of one colour over everything, the tray included.
    PaintedDesktop painted(0, 0, 1, 1, 0x3060C0, 0x3060C0);
    xcb_connection_t* c = TestSession::current().x().connection();
    const xcb_screen_t* root = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const int width = root->width_in_pixels;
    const int height = root->height_in_pixels;
    const QRect screen(0, 0, width, height);
    // The counter goes to the screen's corner nearest the pointer: here the bottom-right one.
    desktop.mouseMove(width * 3 / 4, height * 3 / 4);
    std::this_thread::sleep_for(300ms);
    const QImage before = GrabScreen(c, screen);
    ASSERT_EQ(Ink::count(before, QColor(0x30, 0x60, 0xC0), 0), width * height)
        << "the test needs a desktop of one colour";

    ClipboardTool clipboard;
    desktop.key("ctrl+alt+d");
    // While it runs the counter is a window on the screen, in the corner near the pointer.
    EXPECT_NE(desktop.waitForWindow("^トヴリモ カウントダウン$", 3s), 0u);
    QImage during;
    EXPECT_TRUE(WaitFor(
        [&] {
            during = GrabScreen(c, screen);
            return Ink::count(during, QColor(0x30, 0x60, 0xC0), 0) < width * height;
        },
        3s));
    const QPoint counter = CentreOfDifference(before, during);
    EXPECT_GT(counter.x(), width / 2);
    EXPECT_GT(counter.y(), height / 2);
    QString artifacts = qEnvironmentVariable("TOVRIMO_ARTIFACTS");
    if (artifacts.isEmpty()) artifacts = QDir::currentPath() + QStringLiteral("/artifacts");
    QDir().mkpath(artifacts);
    during.save(artifacts + QStringLiteral("/countdown-on-screen.png"));

    QImage copied;
    ASSERT_TRUE(WaitFor([&] { return !(copied = clipboard.readImage()).isNull(); }, 10s));
    ASSERT_EQ(copied.size(), QSize(width, height));
    // Not one pixel of the counter, nor of anything else, in the picture.
    EXPECT_EQ(Ink::count(copied, QColor(0x30, 0x60, 0xC0), 0), width * height)
        << "foreign pixels around x "
        << CentreOfDifference(before, copied.convertToFormat(before.format())).x();
    EXPECT_EQ(GrabScreen(c, screen), before) << "and the counter has gone from the screen";
}
