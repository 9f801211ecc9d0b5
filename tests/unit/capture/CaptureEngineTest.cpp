#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "capture/CaptureEngine.h"
#include "doubles/CaptureSignalRecorder.h"
#include "doubles/FakeCursorSource.h"
#include "doubles/FakeScreenGrabber.h"
#include "doubles/FakeTimerFactory.h"
#include "doubles/FakeWindowSystem.h"
#include "doubles/RecordingClipboard.h"

using namespace tovrimo;
using namespace tovrimo::test;
using Calls = std::vector<std::string>;

namespace {

// Every pixel of the fake screen tells where it is.
QImage PatternScreen(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 3 % 256, y * 5 % 256, 77));
    return img;
}

QImage Inverted(QImage img)
{
    img.invertPixels(QImage::InvertRgb);
    return img;
}

QImage OpaqueCursor(int size, QRgb colour)
{
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(colour);
    return img;
}

constexpr WindowId kEditor = 0x100;
constexpr WindowId kBrowser = 0x200;
const std::string kAddIcon = "addTrayIcon:トヴリモ";

struct Rig {
    Rig()
    {
        windows.windows[kEditor] = {{10, 8, 50, 38}, "  Editor  "};
        windows.windows[kBrowser] = {{20, 4, 70, 44}, "Browser"};
        windows.foreground = kEditor;
    }

    FakeTimer& timer1() { return *timers.created.at(0); }
    FakeTimer& timer2() { return *timers.created.at(1); }
    FakeTimer& timer3() { return *timers.created.at(2); }
    bool anyTimerEnabled() const
    {
        return engine.captureDelayTimer().isEnabled() || engine.foregroundPollTimer().isEnabled() ||
               engine.windowDelayTimer().isEnabled();
    }
    QImage frameOf(WindowId w) const
    {
        const PixelRect r = windows.windows.at(w).frame;
        return screen.screen.copy(r.left, r.top, r.width(), r.height());
    }

    FakeScreenGrabber screen{PatternScreen(80, 60)};
    FakeWindowSystem windows;
    FakeCursorSource cursor;
    RecordingClipboard clipboard;
    FakeTimerFactory timers;
    CaptureOptions options;
    CaptureBuffer buffer;
    CaptureEngine engine{
        buffer, {screen, windows, cursor, clipboard, timers}, [this] { return options; }};
    CaptureSignalRecorder handOffs{engine};
};

}  // namespace

TEST(CaptureEngine, StartsIdleWithNoLastOperationAndNoTimerRunning)
{
    Rig rig;
    EXPECT_EQ(rig.engine.state(), AppState::Idle);
    EXPECT_FALSE(rig.engine.lastCapture().has_value());
    EXPECT_FALSE(rig.anyTimerEnabled());
    EXPECT_EQ(rig.engine.watchedForegroundWindow(), 0u);
    // The three capture timers and the countdown's.
    EXPECT_EQ(rig.timers.created.size(), 4u);
}

TEST(CaptureEngine, CaptureDelayFromTheSelfTimerSettings)
{
    struct Case {
        bool on;
        int16_t seconds;
        int delayMs;
        const char* why;
    };
    const Case cases[] = {
        {false, 5, 100, "self-timer off"},
        {false, 0, 100, "self-timer off, no seconds"},
        {true, 5, 5000, "five seconds"},
        {true, 1, 1000, "one second"},
        {true, 20, 20000, "the largest the options dialog allows"},
        {true, 32, 32000, "largest product that fits 16 bits"},
        {true, 0, 100, "zero seconds would never fire"},
        {true, -3, 100, "negative from a hand-edited file"},
        {true, 33, 100, "33000 wraps to a negative 16-bit value"},
        {true, 65, 100, "65000 wraps to -536"},
        {true, 66, 464, "66000 wraps to 464"},
        {true, 131, 100, "131000 wraps to -32"},
    };
    for (const Case& c : cases) {
        CaptureOptions o;
        o.selfTimerOn = c.on;
        o.selfTimerSeconds = c.seconds;
        EXPECT_EQ(CaptureEngine::captureDelayMs(o), c.delayMs)
            << c.why << " (" << c.on << ", " << c.seconds << ")";
    }
}

TEST(CaptureEngine, DesktopCopyHappens100MsAfterTheCommand)
{
    Rig rig;
    rig.engine.copyDesktop();
    EXPECT_TRUE(rig.engine.captureDelayTimer().isEnabled());
    EXPECT_EQ(rig.engine.captureDelayTimer().interval(), 100);
    rig.timers.advance(99);
    EXPECT_TRUE(rig.screen.grabs.empty());
    EXPECT_EQ(rig.engine.state(), AppState::CopyDesktopPending);
    rig.timers.advance(1);
    ASSERT_EQ(rig.screen.grabs.size(), 1u);
    EXPECT_EQ(rig.engine.state(), AppState::Idle);
    EXPECT_FALSE(rig.engine.captureDelayTimer().isEnabled());
    rig.timers.advance(10000);  // it does not tick again
    EXPECT_EQ(rig.screen.grabs.size(), 1u);
    EXPECT_EQ(rig.timer1().ticks, 1);
}

TEST(CaptureEngine, SelfTimerDelaysTheCaptureByItsSeconds)
{
    Rig rig;
    rig.options.selfTimerOn = true;
    rig.options.selfTimerSeconds = 5;
    rig.engine.printDesktop();
    EXPECT_EQ(rig.engine.captureDelayTimer().interval(), 5000);
    rig.timers.advance(4999);
    EXPECT_TRUE(rig.screen.grabs.empty());
    rig.timers.advance(1);
    EXPECT_EQ(rig.screen.grabs.size(), 1u);
}

TEST(CaptureEngine, SelfTimerWithZeroSecondsStillCaptures)
{
    Rig rig;
    rig.options.selfTimerOn = true;
    rig.options.selfTimerSeconds = 0;
    rig.engine.copyRegion();
    rig.timers.advance(100);
    EXPECT_EQ(rig.screen.grabs.size(), 1u);
    EXPECT_EQ(rig.handOffs.calls, (Calls{"openRegionScreen"}));
}

TEST(CaptureEngine, DelayedScreenCommandsPendingStateLastOperationAndHandOff)
{
    struct Case {
        const char* name;
        void (CaptureEngine::*command)();
        AppState pending;
        CaptureRequest last;
        Calls hostCalls;
        AppState after;
        size_t clipboardImages;
    };
    const Case cases[] = {
        {"desktop hard copy",
         &CaptureEngine::printDesktop,
         AppState::PrintDesktopPending,
         CaptureRequest{CaptureSource::Desktop, CaptureDestination::Printer},
         {"printHardCopy"},
         AppState::Idle,
         0},
        {"region hard copy",
         &CaptureEngine::printRegion,
         AppState::PrintRegionPending,
         CaptureRequest{CaptureSource::Region, CaptureDestination::Printer},
         {"openRegionScreen"},
         AppState::PrintRegionPending,
         0},
        {"desktop copy",
         &CaptureEngine::copyDesktop,
         AppState::CopyDesktopPending,
         CaptureRequest{CaptureSource::Desktop, CaptureDestination::Clipboard},
         {},
         AppState::Idle,
         1},
        {"region copy",
         &CaptureEngine::copyRegion,
         AppState::CopyRegionPending,
         CaptureRequest{CaptureSource::Region, CaptureDestination::Clipboard},
         {"openRegionScreen"},
         AppState::CopyRegionPending,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        (rig.engine.*c.command)();
        // Written at once, before anything was captured.
        EXPECT_EQ(rig.engine.state(), c.pending);
        EXPECT_EQ(rig.engine.lastCapture(), c.last);
        EXPECT_TRUE(rig.engine.captureDelayTimer().isEnabled());
        EXPECT_FALSE(rig.engine.foregroundPollTimer().isEnabled());
        EXPECT_FALSE(rig.engine.windowDelayTimer().isEnabled());
        EXPECT_TRUE(rig.handOffs.calls.empty());
        EXPECT_EQ(rig.windows.activations, 0);

        rig.timers.advance(100);
        EXPECT_EQ(rig.screen.grabs, (std::vector<PixelRect>{{0, 0, 80, 60}}));
        EXPECT_EQ(rig.buffer.image, rig.screen.screen);
        EXPECT_EQ(rig.handOffs.calls, c.hostCalls);
        EXPECT_EQ(rig.engine.state(), c.after);
        EXPECT_EQ(rig.clipboard.images.size(), c.clipboardImages);
        EXPECT_FALSE(rig.anyTimerEnabled());
        EXPECT_EQ(rig.engine.lastCapture(), c.last);
    }
}

TEST(CaptureEngine, AScreenThatCannotBeReadEndsTheCommandWithNothingPrintedOrCopied)
{
    const std::pair<const char*, void (CaptureEngine::*)()> commands[] = {
        {"desktop hard copy", &CaptureEngine::printDesktop},
        {"region hard copy", &CaptureEngine::printRegion},
        {"desktop copy", &CaptureEngine::copyDesktop},
        {"region copy", &CaptureEngine::copyRegion},
    };
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        Rig rig;
        rig.screen.refuses = true;
        (rig.engine.*command)();
        rig.timers.advance(100);
        EXPECT_EQ(rig.screen.grabs.size(), 1u);
        EXPECT_TRUE(rig.buffer.image.isNull());
        // No print, no print dialog, no region screen.
        EXPECT_TRUE(rig.handOffs.calls.empty()) << rig.handOffs.calls.size();
        EXPECT_TRUE(rig.clipboard.images.empty());
        EXPECT_EQ(rig.engine.state(), AppState::Idle);
        EXPECT_FALSE(rig.anyTimerEnabled());
    }
}

TEST(CaptureEngine, ActiveWindowCommandsWaitForTheForegroundToChange)
{
    struct Case {
        const char* name;
        void (CaptureEngine::*command)();
        AppState pending;
        CaptureDestination action;
    };
    const Case cases[] = {
        {"hard copy", &CaptureEngine::printActiveWindow, AppState::PrintActiveWindowPending,
         CaptureDestination::Printer},
        {"copy", &CaptureEngine::copyActiveWindow, AppState::CopyActiveWindowPending,
         CaptureDestination::Clipboard},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.options.hideTrayIcon = true;  // the tray icon stays for these commands
        (rig.engine.*c.command)();
        EXPECT_EQ(rig.engine.state(), c.pending);
        EXPECT_EQ(rig.engine.lastCapture(),
                  (CaptureRequest{CaptureSource::ActiveWindow, c.action}));
        EXPECT_TRUE(rig.engine.foregroundPollTimer().isEnabled());
        EXPECT_EQ(rig.engine.foregroundPollTimer().interval(), 100);
        EXPECT_FALSE(rig.engine.captureDelayTimer().isEnabled());
        EXPECT_FALSE(rig.engine.windowDelayTimer().isEnabled());
        EXPECT_EQ(rig.windows.activations, 1);
        EXPECT_EQ(rig.engine.watchedForegroundWindow(), 0u);

        rig.timers.advance(100);  // first poll: our own window, now in front, is remembered
        EXPECT_EQ(rig.engine.watchedForegroundWindow(), FakeWindowSystem::kOwnWindow);
        rig.timers.advance(5000);  // no limit: it keeps waiting
        EXPECT_TRUE(rig.engine.foregroundPollTimer().isEnabled());
        EXPECT_FALSE(rig.engine.windowDelayTimer().isEnabled());
        EXPECT_TRUE(rig.screen.grabs.empty());

        rig.windows.foreground = kBrowser;  // the user picks the window
        rig.timers.advance(100);
        EXPECT_FALSE(rig.engine.foregroundPollTimer().isEnabled());
        EXPECT_TRUE(rig.engine.windowDelayTimer().isEnabled());
        EXPECT_EQ(rig.engine.windowDelayTimer().interval(), 100);
        EXPECT_FALSE(rig.windows.ownWindowShown);
        rig.timers.advance(99);  // the delay runs from the change
        EXPECT_TRUE(rig.screen.grabs.empty());
        rig.timers.advance(1);
        EXPECT_EQ(rig.screen.grabs, (std::vector<PixelRect>{{20, 4, 70, 44}}));
        EXPECT_EQ(rig.buffer.image, rig.frameOf(kBrowser));
        EXPECT_EQ(rig.engine.capturedWindowTitle(), "Browser");
        EXPECT_EQ(rig.engine.capturedWindowRect(), (PixelRect{20, 4, 70, 44}));
        EXPECT_EQ(rig.engine.state(), AppState::Idle);
        EXPECT_FALSE(rig.anyTimerEnabled());
        EXPECT_EQ(rig.handOffs.calls,
                  c.action == CaptureDestination::Printer ? Calls{"printHardCopy"} : Calls{});
        EXPECT_EQ(rig.clipboard.images.size(), c.action == CaptureDestination::Clipboard ? 1u : 0u);
    }
}

TEST(CaptureEngine, ReturningToThePreviouslyActiveWindowCountsAsAChange)
{
    Rig rig;
    rig.engine.copyActiveWindow();
    rig.timers.advance(100);
    rig.windows.foreground = kEditor;  // the window that was in front before the command
    rig.timers.advance(200);
    ASSERT_EQ(rig.clipboard.images.size(), 1u);
    EXPECT_EQ(rig.clipboard.current, rig.frameOf(kEditor));
    EXPECT_EQ(rig.engine.capturedWindowTitle(), "Editor");
}

TEST(CaptureEngine, FirstPollStoresTheForegroundAndOnlyADifferentOneArmsTheDelay)
{
    Rig rig;
    rig.windows.activateAtOnce = false;  // our window does not come to the front (no manager)
    rig.options.selfTimerOn = true;
    rig.options.selfTimerSeconds = 3;
    rig.engine.printActiveWindow();
    rig.timers.advance(100);
    EXPECT_EQ(rig.engine.watchedForegroundWindow(), kEditor);
    rig.timers.advance(300);  // same window: wait
    EXPECT_EQ(rig.engine.watchedForegroundWindow(), kEditor);
    EXPECT_FALSE(rig.engine.windowDelayTimer().isEnabled());
    rig.windows.foreground = kBrowser;
    rig.timers.advance(100);
    EXPECT_TRUE(rig.engine.windowDelayTimer().isEnabled());
    EXPECT_EQ(rig.engine.windowDelayTimer().interval(), 3000);
    rig.timers.advance(2999);
    EXPECT_TRUE(rig.screen.grabs.empty());
    rig.timers.advance(1);
    EXPECT_EQ(rig.buffer.image, rig.frameOf(kBrowser));
}

TEST(CaptureEngine, OurOwnWindowComingToTheFrontLateIsNotTheWindowToCapture)
{
    Rig rig;
    rig.windows.activateAtOnce = false;
    rig.engine.copyActiveWindow();
    rig.timers.advance(100);
    EXPECT_EQ(rig.engine.watchedForegroundWindow(), kEditor);
    rig.windows.foreground = FakeWindowSystem::kOwnWindow;  // the activation we asked for
    rig.timers.advance(1000);
    EXPECT_FALSE(rig.engine.windowDelayTimer().isEnabled());
    EXPECT_EQ(rig.engine.watchedForegroundWindow(), FakeWindowSystem::kOwnWindow);
    rig.windows.foreground = kEditor;  // now the user picks the editor again
    rig.timers.advance(200);
    ASSERT_EQ(rig.clipboard.images.size(), 1u);
    EXPECT_EQ(rig.clipboard.current, rig.frameOf(kEditor));
}

TEST(CaptureEngine, DesktopCopyOvertakesAWaitingActiveWindowCommand)
{
    Rig rig;
    rig.engine.printActiveWindow();
    rig.timers.advance(100);
    rig.engine.copyDesktop();
    EXPECT_EQ(rig.engine.lastCapture(),
              (CaptureRequest{CaptureSource::Desktop, CaptureDestination::Clipboard}));
    rig.timers.advance(100);
    EXPECT_EQ(rig.clipboard.images.size(), 1u);
    EXPECT_EQ(rig.clipboard.current, rig.screen.screen);
    EXPECT_EQ(rig.engine.state(), AppState::Idle);

    // The old command still notices the change, but its capture tick finds the state changed.
    rig.windows.foreground = kBrowser;
    rig.timers.advance(100);
    EXPECT_TRUE(rig.engine.windowDelayTimer().isEnabled());
    rig.timers.advance(100);
    EXPECT_EQ(rig.timer3().ticks, 1);
    EXPECT_FALSE(rig.engine.windowDelayTimer().isEnabled());
    EXPECT_EQ(rig.screen.grabs.size(), 1u);
    EXPECT_TRUE(rig.handOffs.calls.empty());  // nothing printed
    EXPECT_EQ(rig.engine.state(), AppState::Idle);
    EXPECT_EQ(rig.engine.capturedWindowTitle(), "");
}

TEST(CaptureEngine, ATimerFiringInAnotherCommandsStateDoesNothingButStop)
{
    Rig rig;
    rig.engine.printDesktop();
    rig.engine.copyActiveWindow();  // overwrites the state; captureDelayTimer stays armed
    rig.timers.advance(100);
    EXPECT_EQ(rig.timer1().ticks, 1);
    EXPECT_FALSE(rig.engine.captureDelayTimer().isEnabled());
    EXPECT_TRUE(rig.screen.grabs.empty());
    EXPECT_TRUE(rig.handOffs.calls.empty());
    EXPECT_EQ(rig.engine.state(), AppState::CopyActiveWindowPending);

    for (AppState other : {AppState::OptionsOpen, AppState::PrintDialogOpen, AppState::AboutOpen,
                           AppState::CommandLine, AppState::Idle}) {
        Rig r;
        r.engine.setState(other);
        r.timer1().setEnabled(true);
        r.timer3().setEnabled(true);
        r.timer1().fire();
        r.timer3().fire();
        EXPECT_TRUE(r.screen.grabs.empty()) << static_cast<int>(other);
        EXPECT_EQ(r.engine.state(), other);
        EXPECT_FALSE(r.anyTimerEnabled());
    }
}

TEST(CaptureEngine, ANewCommandReArmsTheTimerAndWins)
{
    Rig rig;
    rig.engine.printDesktop();
    rig.timers.advance(60);
    rig.engine.copyDesktop();
    rig.timers.advance(99);  // 159 ms after the first command, 99 after the second
    EXPECT_TRUE(rig.screen.grabs.empty());
    rig.timers.advance(1);
    EXPECT_EQ(rig.screen.grabs.size(), 1u);
    EXPECT_EQ(rig.clipboard.images.size(), 1u);
    EXPECT_TRUE(rig.handOffs.calls.empty());
}

TEST(CaptureEngine, CancelInEachState)
{
    for (int s = 1; s <= 11; ++s) {
        const auto state = static_cast<AppState>(s);
        SCOPED_TRACE(s);
        Rig rig;
        rig.engine.printDesktop();
        rig.engine.printActiveWindow();
        rig.timer3().setInterval(100);
        rig.timer3().setEnabled(true);
        rig.engine.setState(state);
        rig.handOffs.calls.clear();

        rig.engine.cancel();
        EXPECT_FALSE(rig.anyTimerEnabled());
        EXPECT_EQ(rig.engine.state(), AppState::Idle);
        const bool regionScreen = s == 7 || s == 9 || s == 10;
        EXPECT_EQ(rig.handOffs.calls, regionScreen ? Calls{"unloadRegionScreen"} : Calls{});
        EXPECT_FALSE(rig.windows.ownWindowShown);
        rig.timers.advance(10000);
        EXPECT_TRUE(rig.screen.grabs.empty());
    }
}

TEST(CaptureEngine, AHiddenTrayIconComesBackWhenItsCaptureIsCancelledOrTakenOver)
{
    // With IconDelete on, every way a desktop or region capture can end puts the icon back
    // exactly once; nothing leaves the program without an icon.
    struct Case {
        const char* name;
        void (CaptureEngine::*command)();
        std::function<void(Rig&)> then;
        Calls calls;
        size_t grabs;
    };
    const Case cases[] = {
        {"self-timer of a desktop hard copy cancelled",
         &CaptureEngine::printDesktop,
         [](Rig& r) { r.engine.cancel(); },
         {"removeTrayIcon", kAddIcon},
         0},
        {"region copy cancelled before its tick",
         &CaptureEngine::copyRegion,
         [](Rig& r) { r.engine.cancel(); },
         {"removeTrayIcon", kAddIcon, "unloadRegionScreen"},
         0},
        {"an active-window command takes over at once",
         &CaptureEngine::printDesktop,
         [](Rig& r) { r.engine.copyActiveWindow(); },
         {"removeTrayIcon", kAddIcon},
         0},
        {"the options dialog opens meanwhile: back at the tick that does nothing",
         &CaptureEngine::printRegion,
         [](Rig& r) { r.engine.setState(AppState::OptionsOpen); },
         {"removeTrayIcon", kAddIcon},
         0},
        {"IconDelete turned off before the read",
         &CaptureEngine::copyDesktop,
         [](Rig& r) { r.options.hideTrayIcon = false; },
         {"removeTrayIcon", kAddIcon},
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.options.hideTrayIcon = true;
        rig.options.selfTimerOn = true;
        rig.options.selfTimerSeconds = 3;
        (rig.engine.*c.command)();
        EXPECT_TRUE(rig.engine.trayIconHidden());
        c.then(rig);
        rig.timers.advance(10000);
        EXPECT_EQ(rig.handOffs.calls, c.calls);
        EXPECT_EQ(rig.screen.grabs.size(), c.grabs);
        EXPECT_FALSE(rig.engine.trayIconHidden());
        // A later cancel has nothing left to put back.
        rig.engine.cancel();
        EXPECT_EQ(std::count(rig.handOffs.calls.begin(), rig.handOffs.calls.end(), kAddIcon), 1);
    }
}

TEST(CaptureEngine, IconDeleteHidesTheIconAtTheCommandAndRestoresItAfterTheRead)
{
    struct Case {
        const char* name;
        void (CaptureEngine::*command)();
        Calls after;
    };
    const Case cases[] = {
        {"desktop hard copy",
         &CaptureEngine::printDesktop,
         {"removeTrayIcon", kAddIcon, "printHardCopy"}},
        {"desktop copy", &CaptureEngine::copyDesktop, {"removeTrayIcon", kAddIcon}},
        {"region hard copy",
         &CaptureEngine::printRegion,
         {"removeTrayIcon", kAddIcon, "openRegionScreen"}},
        {"region copy",
         &CaptureEngine::copyRegion,
         {"removeTrayIcon", kAddIcon, "openRegionScreen"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.options.hideTrayIcon = true;
        std::vector<size_t> grabsAtCall;
        rig.handOffs.onCall = [&](const std::string&) {
            grabsAtCall.push_back(rig.screen.grabs.size());
        };
        (rig.engine.*c.command)();
        EXPECT_EQ(rig.handOffs.calls, (Calls{"removeTrayIcon"}));  // gone before the delay runs
        rig.timers.advance(100);
        EXPECT_EQ(rig.handOffs.calls, c.after);
        EXPECT_EQ(grabsAtCall[0], 0u);
        EXPECT_EQ(grabsAtCall[1], 1u);  // back only after the screen was read
    }
}

TEST(CaptureEngine, IconDeleteOffLeavesTheTrayIconAlone)
{
    Rig rig;
    rig.engine.copyDesktop();
    rig.timers.advance(100);
    rig.engine.copyRegion();
    rig.timers.advance(100);
    EXPECT_EQ(rig.handOffs.calls, (Calls{"openRegionScreen"}));
}

TEST(CaptureEngine, DesktopCaptureBringsTheIconBackEvenWhenNothingHidIt)
{
    Rig rig;
    rig.options.hideTrayIcon = true;
    rig.engine.setState(AppState::CommandLine);
    rig.engine.captureDesktop();
    EXPECT_EQ(rig.handOffs.calls, (Calls{kAddIcon}));
    // A window capture never touches the icon.
    rig.engine.captureWindow(kEditor);
    EXPECT_EQ(rig.handOffs.calls, (Calls{kAddIcon}));
}

TEST(CaptureEngine, ReversePrintInvertsDesktopAndWindowCaptures)
{
    Rig rig;
    rig.options.reverseColours = true;
    rig.engine.captureDesktop();
    EXPECT_EQ(rig.buffer.image, Inverted(rig.screen.screen));
    EXPECT_EQ(qAlpha(rig.buffer.image.pixel(5, 5)), 255);
    rig.engine.captureWindow(kBrowser);
    EXPECT_EQ(rig.buffer.image, Inverted(rig.frameOf(kBrowser)));
    rig.options.reverseColours = false;
    rig.engine.captureDesktop();
    EXPECT_EQ(rig.buffer.image, rig.screen.screen);
}

TEST(CaptureEngine, OptionsChangedWhileACaptureWaitsApplyToIt)
{
    Rig rig;
    rig.engine.copyDesktop();
    rig.options.reverseColours = true;
    rig.timers.advance(100);
    EXPECT_EQ(rig.clipboard.current, Inverted(rig.screen.screen));
}

TEST(CaptureEngine, CursorOnTheDesktopGoesTenPixelsUpAndLeftWithoutABoundsTest)
{
    // A 6x6 cursor whose 4x4 top-left is red and the rest transparent.
    QImage cur(6, 6, QImage::Format_ARGB32_Premultiplied);
    cur.fill(0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) cur.setPixel(x, y, 0xFFFF0000u);
    struct Case {
        const char* name;
        PixelPoint pointer;
        std::vector<QPoint> red;    // pixels the cursor covers
        std::vector<QPoint> clear;  // pixels just beside it
    };
    const Case cases[] = {
        {"middle", {40, 30}, {{30, 20}, {33, 23}}, {{29, 20}, {34, 23}, {35, 25}}},
        {"top-left, partly clipped", {8, 9}, {{0, 0}, {1, 2}}, {{2, 0}, {0, 3}}},
        {"bottom-right, partly clipped", {89, 69}, {{79, 59}}, {{78, 58}}},
        {"pointer at the origin: wholly off the buffer", {0, 0}, {}, {{0, 0}, {1, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.options.drawCursor = true;
        rig.options.reverseColours = true;  // the cursor is drawn over the inverted image, as is
        rig.cursor.cursor.image = cur;
        rig.cursor.pointer = c.pointer;
        rig.engine.captureDesktop();
        EXPECT_EQ(rig.buffer.image.size(), QSize(80, 60));
        const QImage expected = Inverted(rig.screen.screen);
        for (QPoint p : c.red)
            EXPECT_EQ(rig.buffer.image.pixel(p), qRgb(255, 0, 0)) << p.x() << "," << p.y();
        for (QPoint p : c.clear)
            EXPECT_EQ(rig.buffer.image.pixel(p), expected.pixel(p)) << p.x() << "," << p.y();
    }
}

TEST(CaptureEngine, CursorOutsideTheDesktopIsClippedAway)
{
    Rig rig;
    rig.options.drawCursor = true;
    rig.cursor.cursor.image = OpaqueCursor(8, qRgb(255, 0, 0));
    rig.cursor.pointer = {200, 200};
    rig.engine.captureDesktop();
    EXPECT_EQ(rig.buffer.image, rig.screen.screen);
}

TEST(CaptureEngine, CursorInAWindowCaptureNeedsToBeEightPixelsInside)
{
    // The editor's frame is (10, 8) - (50, 38).
    struct Case {
        const char* name;
        PixelPoint pointer;
        bool drawn;
        QPoint at;
    };
    const Case cases[] = {
        {"exactly 8 inside the corner", {18, 16}, true, {0, 0}},
        {"well inside", {30, 25}, true, {12, 9}},
        {"7 inside on x", {17, 25}, false, {}},
        {"7 inside on y", {30, 15}, false, {}},
        {"left of the window", {2, 25}, false, {}},
        {"below the window", {30, 47}, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.options.drawCursor = true;
        rig.cursor.cursor.image = OpaqueCursor(3, qRgb(0, 255, 0));
        rig.cursor.pointer = c.pointer;
        rig.engine.captureWindow(kEditor);
        if (c.drawn) {
            EXPECT_EQ(rig.buffer.image.pixel(c.at), qRgb(0, 255, 0));
            EXPECT_EQ(rig.buffer.image.pixel(c.at + QPoint(3, 3)),
                      rig.frameOf(kEditor).pixel(c.at + QPoint(3, 3)));
        } else {
            EXPECT_EQ(rig.buffer.image, rig.frameOf(kEditor));
        }
    }
}

TEST(CaptureEngine, NoCursorWithoutIconCaptureOrWithoutACursorImage)
{
    Rig rig;
    rig.cursor.cursor.image = OpaqueCursor(8, qRgb(255, 0, 0));
    rig.cursor.pointer = {30, 25};
    rig.engine.captureDesktop();
    EXPECT_EQ(rig.buffer.image, rig.screen.screen);
    rig.engine.captureWindow(kEditor);
    EXPECT_EQ(rig.buffer.image, rig.frameOf(kEditor));
    EXPECT_EQ(rig.cursor.imageReads, 0);

    rig.options.drawCursor = true;
    rig.cursor.cursor.image = QImage();  // the cursor could not be read
    rig.engine.captureDesktop();
    EXPECT_EQ(rig.buffer.image, rig.screen.screen);
}

TEST(CaptureEngine, DesktopCaptureCoversThePrimaryScreenOnly)
{
    Rig rig;
    rig.screen.primary = {8, 4, 48, 34};
    rig.options.drawCursor = true;
    rig.cursor.cursor.image = OpaqueCursor(2, qRgb(0, 0, 255));
    rig.cursor.pointer = {30, 20};
    rig.engine.captureDesktop();
    EXPECT_EQ(rig.buffer.image.size(), QSize(40, 30));
    EXPECT_EQ(rig.buffer.image.pixel(0, 0), rig.screen.screen.pixel(8, 4));
    EXPECT_EQ(rig.buffer.image.pixel(12, 6), qRgb(0, 0, 255));  // (30-10-8, 20-10-4)
}

TEST(CaptureEngine, WindowTitleIsTrimmedAndDesktopCaptureClearsIt)
{
    Rig rig;
    rig.windows.windows[0x300] = {{0, 0, 10, 10}, "      "};
    rig.engine.captureWindow(kEditor);
    EXPECT_EQ(rig.engine.capturedWindowTitle(), "Editor");
    rig.engine.captureWindow(0x300);
    EXPECT_EQ(rig.engine.capturedWindowTitle(), "");
    rig.engine.captureWindow(kBrowser);
    EXPECT_EQ(rig.engine.capturedWindowTitle(), "Browser");
    rig.engine.captureDesktop();
    EXPECT_EQ(rig.engine.capturedWindowTitle(), "");
}

TEST(CaptureEngine, CaptureWindowTakesTheGivenWindowOrTheForegroundOne)
{
    Rig rig;
    rig.windows.foreground = kBrowser;
    rig.engine.captureWindow(kEditor);
    EXPECT_EQ(rig.engine.capturedWindowRect(), (PixelRect{10, 8, 50, 38}));
    EXPECT_EQ(rig.buffer.image, rig.frameOf(kEditor));
    rig.engine.captureWindow(0);
    EXPECT_EQ(rig.engine.capturedWindowRect(), (PixelRect{20, 4, 70, 44}));
    EXPECT_EQ(rig.buffer.image, rig.frameOf(kBrowser));
}

TEST(CaptureEngine, WindowPartlyOffTheScreenKeepsItsSize)
{
    Rig rig;
    rig.windows.windows[0x400] = {{-5, -3, 15, 7}, "Off"};
    rig.engine.captureWindow(0x400);
    EXPECT_EQ(rig.buffer.image.size(), QSize(20, 10));
    EXPECT_EQ(rig.buffer.image.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(rig.buffer.image.pixel(5, 3), rig.screen.screen.pixel(0, 0));
}

TEST(CaptureEngine, NoActiveWindowGivesAnEmptyCaptureNotACrash)
{
    Rig rig;
    rig.engine.captureDesktop();
    rig.windows.foreground = 0;
    rig.engine.captureWindow(0);
    EXPECT_TRUE(rig.buffer.image.isNull());
    EXPECT_EQ(rig.engine.capturedWindowRect(), (PixelRect{}));
    EXPECT_EQ(rig.engine.capturedWindowTitle(), "");
}

TEST(CaptureEngine, PrintHandOffWithConfirmationOpensThePrintDialog)
{
    for (auto command : {&CaptureEngine::printDesktop, &CaptureEngine::printActiveWindow}) {
        Rig rig;
        rig.options.confirmBeforePrint = true;
        std::vector<AppState> stateAtCall;
        rig.handOffs.onCall = [&](const std::string&) {
            stateAtCall.push_back(rig.engine.state());
        };
        (rig.engine.*command)();
        rig.timers.advance(100);
        rig.windows.foreground = kBrowser;
        rig.timers.advance(200);
        EXPECT_EQ(rig.handOffs.calls, (Calls{"openPrintDialog"}));
        EXPECT_EQ(stateAtCall, (std::vector<AppState>{AppState::PrintDialogOpen}));
        EXPECT_EQ(rig.engine.state(), AppState::PrintDialogOpen);
        EXPECT_TRUE(rig.clipboard.images.empty());
    }
}

TEST(CaptureEngine, PrintHandOffWithoutConfirmationPrintsThenGoesIdle)
{
    Rig rig;
    std::vector<AppState> stateAtCall;
    QImage printed;
    rig.handOffs.onCall = [&](const std::string&) {
        stateAtCall.push_back(rig.engine.state());
        printed = rig.buffer.image;
    };
    rig.engine.printDesktop();
    rig.timers.advance(100);
    EXPECT_EQ(rig.handOffs.calls, (Calls{"printHardCopy"}));
    EXPECT_EQ(printed, rig.screen.screen);  // the buffer holds the capture when printing starts
    EXPECT_EQ(stateAtCall, (std::vector<AppState>{AppState::PrintDesktopPending}));
    EXPECT_EQ(rig.engine.state(), AppState::Idle);
    EXPECT_TRUE(rig.clipboard.images.empty());

    // Part of the shared hand-off: any source can use it directly.
    rig.engine.printHandOff();
    EXPECT_EQ(rig.handOffs.calls, (Calls{"printHardCopy", "printHardCopy"}));
}

TEST(CaptureEngine, CopyStepPutsTheCaptureBufferOnTheClipboard)
{
    Rig rig;
    rig.options.reverseColours = true;
    rig.engine.copyActiveWindow();
    rig.timers.advance(100);
    rig.windows.foreground = kEditor;
    rig.timers.advance(200);
    ASSERT_EQ(rig.clipboard.images.size(), 1u);
    EXPECT_EQ(rig.clipboard.current, rig.buffer.image);
    EXPECT_EQ(rig.clipboard.current, Inverted(rig.frameOf(kEditor)));
    EXPECT_TRUE(rig.handOffs.calls.empty());
}

TEST(CaptureEngine, OtherSourcesRecordTheirLastOperationThemselves)
{
    Rig rig;
    rig.engine.recordLastCapture({CaptureSource::Clipboard, CaptureDestination::StickyNote});
    EXPECT_EQ(rig.engine.lastCapture(),
              (CaptureRequest{CaptureSource::Clipboard, CaptureDestination::StickyNote}));
    rig.engine.copyRegion();
    EXPECT_EQ(rig.engine.lastCapture(),
              (CaptureRequest{CaptureSource::Region, CaptureDestination::Clipboard}));
}

namespace {

// What the counter showed and when, on the simulated clock: (ms, seconds), 0 for the end.
using Shown = std::vector<std::pair<int, int>>;

// Advances the clock a millisecond at a time for `ms`, noting every countdown call after the
// first `seen` ones; `seen` follows.
void Watch(Rig& rig, int ms, Shown& shown, size_t& seen)
{
    auto note = [&] {
        for (; seen < rig.handOffs.countdown.size(); ++seen)
            shown.emplace_back(rig.timers.now, rig.handOffs.countdown[seen]);
    };
    note();
    for (int i = 0; i < ms; ++i) {
        rig.timers.advance(1);
        note();
    }
}

}  // namespace

TEST(CaptureEngine, CountdownShowsEachSecondAndLeavesBeforeTheGrab)
{
    struct Case {
        const char* name;
        bool selfTimer;
        int16_t seconds;
        bool countdown;
        Shown expected;
    };
    const Case cases[] = {
        {"three seconds", true, 3, true, {{0, 3}, {1000, 2}, {2000, 1}, {2700, 0}}},
        {"one second", true, 1, true, {{0, 1}, {700, 0}}},
        {"twenty seconds: first and last", true, 20, true, {}},
        {"option off", true, 3, false, {}},
        {"no self-timer: the 100 ms delay shows nothing", false, 3, true, {}},
        {"zero seconds falls back to 100 ms: nothing", true, 0, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.options.selfTimerOn = c.selfTimer;
        rig.options.selfTimerSeconds = c.seconds;
        rig.options.showCountdown = c.countdown;
        std::vector<int> countdownAtGrab;
        rig.handOffs.onCall = [&](const std::string& call) {
            if (call == "printHardCopy") countdownAtGrab = rig.handOffs.countdown;
        };
        rig.engine.printDesktop();
        Shown shown;
        size_t seen = 0;
        Watch(rig, 21000, shown, seen);
        ASSERT_EQ(rig.screen.grabs.size(), 1u);
        if (std::string(c.name).rfind("twenty", 0) == 0) {
            ASSERT_EQ(shown.size(), 21u);
            EXPECT_EQ(shown.front(), (std::pair<int, int>{0, 20}));
            EXPECT_EQ(shown[19], (std::pair<int, int>{19000, 1}));
            EXPECT_EQ(shown.back(), (std::pair<int, int>{19700, 0}));
        } else {
            EXPECT_EQ(shown, c.expected);
        }
        // The counter is gone by the time the picture is handed on, and nothing follows it.
        if (!shown.empty()) {
            ASSERT_FALSE(countdownAtGrab.empty());
            EXPECT_EQ(countdownAtGrab.back(), 0);
            EXPECT_EQ(countdownAtGrab.size(), rig.handOffs.countdown.size());
        }
        EXPECT_EQ(rig.engine.countdownSeconds(), 0);
        EXPECT_FALSE(rig.engine.countdownTimer().isEnabled());
    }
}

TEST(CaptureEngine, CountdownEndsOnCancelAndStartsAfreshWhenTakenOver)
{
    Rig rig;
    rig.options.selfTimerOn = true;
    rig.options.selfTimerSeconds = 3;
    rig.options.showCountdown = true;
    Shown shown;
    size_t seen = 0;
    rig.engine.copyDesktop();
    Watch(rig, 1500, shown, seen);
    rig.engine.cancel();
    Watch(rig, 5000, shown, seen);
    EXPECT_EQ(shown, (Shown{{0, 3}, {1000, 2}, {1500, 0}}));
    EXPECT_TRUE(rig.screen.grabs.empty());

    // A second command while the first counts: the count restarts from its own delay.
    shown.clear();
    const int start = rig.timers.now;
    rig.engine.copyDesktop();
    Watch(rig, 1200, shown, seen);
    rig.options.selfTimerSeconds = 2;
    rig.engine.printRegion();
    Watch(rig, 3000, shown, seen);
    EXPECT_EQ(shown, (Shown{{start, 3},
                            {start + 1000, 2},
                            {start + 1200, 0},
                            {start + 1200, 2},
                            {start + 2200, 1},
                            {start + 2900, 0}}));
    EXPECT_EQ(rig.screen.grabs.size(), 1u);
    EXPECT_EQ(rig.handOffs.calls, (Calls{"openRegionScreen"}));
}

TEST(CaptureEngine, ActiveWindowCountdownRunsFromTheChangeOfWindow)
{
    Rig rig;
    rig.options.selfTimerOn = true;
    rig.options.selfTimerSeconds = 2;
    rig.options.showCountdown = true;
    Shown shown;
    size_t seen = 0;
    rig.engine.copyActiveWindow();
    Watch(rig, 3000, shown, seen);
    EXPECT_TRUE(shown.empty()) << "nothing counts while the user has not chosen a window";
    rig.windows.foreground = kBrowser;
    Watch(rig, 2500, shown, seen);
    // The poll that sees the change comes at 3100.
    EXPECT_EQ(shown, (Shown{{3100, 2}, {4100, 1}, {4800, 0}}));
    EXPECT_EQ(rig.clipboard.images.size(), 1u);
}

TEST(CaptureEngine, CapturedNamesWhereTheFinishedPictureGoes)
{
    using Destinations = std::vector<CaptureDestination>;
    constexpr auto kPrinter = CaptureDestination::Printer;
    constexpr auto kClipboard = CaptureDestination::Clipboard;
    struct Case {
        const char* name;
        std::function<void(Rig&)> run;
        Destinations captures;
        size_t clipboardImages;
        AppState after;
    };
    const Case cases[] = {
        {"a desktop hard copy prints once its delay is over",
         [](Rig& r) {
             r.engine.printDesktop();
             r.timers.advance(100);
         },
         {kPrinter},
         0,
         AppState::Idle},
        {"an immediate desktop hard copy prints at once",
         [](Rig& r) {
             r.engine.capture({CaptureSource::Desktop, kPrinter, true});
         },
         {kPrinter},
         0,
         AppState::Idle},
        {"a desktop copy is on the clipboard when it is told",
         [](Rig& r) {
             r.engine.copyDesktop();
             r.timers.advance(100);
         },
         {kClipboard},
         1,
         AppState::Idle},
        {"a hard copy to be confirmed is nothing for the printer yet",
         [](Rig& r) {
             r.options.confirmBeforePrint = true;
             r.engine.printDesktop();
             r.timers.advance(100);
         },
         {},
         0,
         AppState::PrintDialogOpen},
        {"a region hard copy waits for the region screen",
         [](Rig& r) {
             r.engine.printRegion();
             r.timers.advance(100);
         },
         {},
         0,
         AppState::PrintRegionPending},
        {"a region copy the screen has cut goes onto the clipboard and ends the command",
         [](Rig& r) {
             r.engine.copyRegion();
             r.timers.advance(100);
             r.engine.finishRegionCopy();
         },
         {kClipboard},
         1,
         AppState::Idle},
        {"a desktop the screen refused goes nowhere",
         [](Rig& r) {
             r.screen.refuses = true;
             r.engine.printDesktop();
             r.timers.advance(100);
         },
         {},
         0,
         AppState::Idle},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        c.run(rig);
        EXPECT_EQ(rig.handOffs.captures, c.captures);
        EXPECT_EQ(rig.clipboard.images.size(), c.clipboardImages);
        EXPECT_EQ(rig.engine.state(), c.after);
    }
}

TEST(CaptureEngine, TheClipboardHoldsTheCutWhenARegionCopyIsTold)
{
    Rig rig;
    rig.engine.copyRegion();
    rig.timers.advance(100);
    rig.handOffs.calls.clear();
    // What the region screen leaves in the buffer.
    rig.buffer.image = rig.screen.screen.copy(10, 5, 20, 15);
    QImage onClipboard;
    QObject::connect(&rig.engine, &CaptureEngine::captured, &rig.engine,
                     [&](CaptureDestination) { onClipboard = rig.clipboard.current; });
    rig.engine.finishRegionCopy();
    EXPECT_EQ(onClipboard, rig.screen.screen.copy(10, 5, 20, 15));
    EXPECT_TRUE(rig.handOffs.calls.empty()) << "nothing printed, no screen opened or closed";
}

TEST(CaptureEngine, StateChangedComesWithEveryStepTheTrayMenuFollows)
{
    struct Case {
        const char* name;
        std::function<void(Rig&)> before;
        std::function<void(Rig&)> step;
    };
    const auto nothing = [](Rig&) {};
    const auto armDesktopPrint = [](Rig& r) { r.engine.printDesktop(); };
    const Case cases[] = {
        {"a command arms its delay", nothing, armDesktopPrint},
        {"the delay runs out", armDesktopPrint, [](Rig& r) { r.timers.advance(100); }},
        {"the capture is cancelled", armDesktopPrint, [](Rig& r) { r.engine.cancel(); }},
        {"an active-window command starts watching", nothing,
         [](Rig& r) { r.engine.copyActiveWindow(); }},
        {"a source records its capture", nothing,
         [](Rig& r) {
             r.engine.recordLastCapture({CaptureSource::Clipboard, CaptureDestination::Printer});
         }},
        {"the last capture is forgotten", armDesktopPrint,
         [](Rig& r) { r.engine.forgetLastCapture(); }},
        {"the state is set", nothing, [](Rig& r) { r.engine.setState(AppState::OptionsOpen); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        c.before(rig);
        rig.handOffs.stateChanges = 0;
        c.step(rig);
        EXPECT_GT(rig.handOffs.stateChanges, 0);
    }
}
