#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QThread>
#include <chrono>
#include <cstring>
#include <string>

#include "capture/CaptureEngine.h"
#include "doubles/RecordingClipboard.h"
#include "harness/Desktop.h"
#include "harness/TestSession.h"
#include "platform/qt/QtTimerFactory.h"
#include "platform/x11/X11CursorSource.h"
#include "platform/x11/X11ScreenGrabber.h"
#include "platform/x11/X11WindowSystem.h"

using namespace tovrimo;
using namespace tovrimo::test;
using namespace std::chrono_literals;

namespace {

// Waits while this process keeps handling its events (timers, clipboard requests).
template <typename Condition>
bool PumpUntil(Condition condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return condition();
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name)
{
    auto* reply = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

// Another program on the same display: its own connection and its own windows.
class OtherProgram {
public:
    OtherProgram() : c_(xcb_connect(nullptr, nullptr))
    {
        screen_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
    }
    ~OtherProgram() { xcb_disconnect(c_); }

    // A plain window filled with one colour (0xRRGGBB). Override-redirect windows are placed
    // exactly where asked and stacked on top; managed ones get a frame from the window manager.
    xcb_window_t createWindow(int x, int y, int w, int h, uint32_t colour, bool overrideRedirect)
    {
        const xcb_window_t win = xcb_generate_id(c_);
        const uint32_t values[] = {colour, overrideRedirect ? 1u : 0u};
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, win, screen_->root, static_cast<int16_t>(x),
                          static_cast<int16_t>(y), static_cast<uint16_t>(w),
                          static_cast<uint16_t>(h), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          screen_->root_visual, XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT,
                          values);
        // Ask the window manager to honour the position.
        const uint32_t sizeHints[18] = {1u | 4u, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, win, XCB_ATOM_WM_NORMAL_HINTS,
                            XCB_ATOM_WM_SIZE_HINTS, 32, 18, sizeHints);
        return win;
    }
    void setNetWmName(xcb_window_t win, const std::string& utf8)
    {
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, win, Atom(c_, "_NET_WM_NAME"),
                            Atom(c_, "UTF8_STRING"), 8, static_cast<uint32_t>(utf8.size()),
                            utf8.data());
    }
    void setWmName(xcb_window_t win, const std::string& latin1)
    {
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, win, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                            static_cast<uint32_t>(latin1.size()), latin1.data());
    }
    bool mapAndWait(xcb_window_t win)
    {
        xcb_map_window(c_, win);
        xcb_flush(c_);
        return WaitFor([&] { return mapState(win) == XCB_MAP_STATE_VIEWABLE; }, 5s);
    }
    void destroy(xcb_window_t win)
    {
        xcb_destroy_window(c_, win);
        xcb_flush(c_);
    }
    uint8_t mapState(xcb_window_t win)
    {
        auto* reply =
            xcb_get_window_attributes_reply(c_, xcb_get_window_attributes(c_, win), nullptr);
        const uint8_t state = reply ? reply->map_state : 0xFF;
        std::free(reply);
        return state;
    }
    // The window's inside in root coordinates.
    PixelRect clientRect(xcb_window_t win)
    {
        auto* geo = xcb_get_geometry_reply(c_, xcb_get_geometry(c_, win), nullptr);
        auto* pos = xcb_translate_coordinates_reply(
            c_, xcb_translate_coordinates(c_, win, screen_->root, 0, 0), nullptr);
        PixelRect r;
        if (geo && pos)
            r = {pos->dst_x, pos->dst_y, pos->dst_x + geo->width, pos->dst_y + geo->height};
        std::free(geo);
        std::free(pos);
        return r;
    }
    // Blocks until the server has handled everything sent so far, painting included.
    void sync() { std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr)); }

private:
    xcb_connection_t* c_;
    xcb_screen_t* screen_;
};

constexpr QRgb kOpaque = 0xFF000000u;

int CountPixels(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == colour;
    return n;
}

}  // namespace

TEST(X11ScreenGrabber, PrimaryScreenIsTheWholeRootOfTheTestServer)
{
    X11ScreenGrabber grabber;
    EXPECT_EQ(grabber.primaryScreenRect(), (PixelRect{0, 0, 1280, 1024}));
}

TEST(X11ScreenGrabber, ReadsWhatIsOnTheScreenThroughSharedMemoryAndWithout)
{
    OtherProgram other;
    const uint32_t colour = 0x3080C0;
    const xcb_window_t win = other.createWindow(100, 120, 60, 40, colour, true);
    ASSERT_TRUE(other.mapAndWait(win));
    other.sync();

    X11ScreenGrabber grabber;
    ASSERT_TRUE(grabber.sharedMemoryAvailable()) << "Xvfb offers MIT-SHM; the fast path must work";
    const QImage exact = grabber.grab({100, 120, 160, 160});
    ASSERT_EQ(exact.size(), QSize(60, 40));
    EXPECT_EQ(exact.format(), QImage::Format_RGB32);
    EXPECT_EQ(CountPixels(exact, kOpaque | colour), 60 * 40);

    const QImage around = grabber.grab({90, 110, 170, 170});
    EXPECT_EQ(around.pixel(10, 10), kOpaque | colour);
    EXPECT_EQ(around.pixel(69, 49), kOpaque | colour);
    EXPECT_NE(around.pixel(9, 10), kOpaque | colour);
    EXPECT_NE(around.pixel(70, 49), kOpaque | colour);
    EXPECT_NE(around.pixel(69, 50), kOpaque | colour);

    grabber.setSharedMemoryAllowed(false);
    EXPECT_EQ(grabber.grab({90, 110, 170, 170}), around);
    grabber.setSharedMemoryAllowed(true);
    // A second, larger grab needs a larger segment.
    const QImage screen = grabber.grab(grabber.primaryScreenRect());
    EXPECT_EQ(screen.size(), QSize(1280, 1024));
    EXPECT_EQ(screen.copy(90, 110, 80, 60), around);
    other.destroy(win);
}

TEST(X11ScreenGrabber, PartsOffTheScreenComeBackBlack)
{
    OtherProgram other;
    const uint32_t colour = 0xE0D020;
    const xcb_window_t win = other.createWindow(1250, 1000, 60, 40, colour, true);
    ASSERT_TRUE(other.mapAndWait(win));
    other.sync();

    X11ScreenGrabber grabber;
    for (bool shm : {true, false}) {
        SCOPED_TRACE(shm ? "shared memory" : "plain");
        grabber.setSharedMemoryAllowed(shm);
        const QImage edge = grabber.grab({1250, 1000, 1310, 1040});
        ASSERT_EQ(edge.size(), QSize(60, 40));
        EXPECT_EQ(edge.pixel(0, 0), kOpaque | colour);
        EXPECT_EQ(edge.pixel(29, 23), kOpaque | colour);
        EXPECT_EQ(edge.pixel(30, 0), kOpaque);
        EXPECT_EQ(edge.pixel(0, 24), kOpaque);
        EXPECT_EQ(edge.pixel(59, 39), kOpaque);

        const QImage corner = grabber.grab({-10, -10, 10, 10});
        ASSERT_EQ(corner.size(), QSize(20, 20));
        EXPECT_EQ(corner.pixel(0, 0), kOpaque);
        EXPECT_EQ(corner.pixel(9, 19), kOpaque);

        const QImage outside = grabber.grab({2000, 2000, 2010, 2005});
        EXPECT_EQ(CountPixels(outside, kOpaque), 50);
        EXPECT_TRUE(grabber.grab({5, 5, 5, 10}).isNull());
    }
    other.destroy(win);
}

TEST(X11WindowSystem, ActiveWindowFrameAndTitle)
{
    OtherProgram other;
    Desktop desktop;
    const uint32_t colour = 0x40A040;
    const xcb_window_t win = other.createWindow(300, 200, 200, 150, colour, false);
    other.setNetWmName(win, "  テスト窓 Capture  ");
    other.setWmName(win, "fallback not used");
    ASSERT_TRUE(other.mapAndWait(win));
    ASSERT_TRUE(desktop.activate(win));

    X11WindowSystem windows;
    ASSERT_TRUE(WaitFor([&] { return windows.foregroundWindow() == win; }, 5s));
    EXPECT_EQ(windows.windowTitle(win), "  テスト窓 Capture  ");  // as the window carries it

    const PixelRect client = other.clientRect(win);
    const PixelRect frame = windows.frameRect(win);
    EXPECT_EQ(client.width(), 200);
    EXPECT_EQ(client.height(), 150);
    // The frame holds the client and is larger: the window manager's title bar at least.
    EXPECT_LE(frame.left, client.left);
    EXPECT_LT(frame.top, client.top);
    EXPECT_GE(frame.right, client.right);
    EXPECT_GE(frame.bottom, client.bottom);
    EXPECT_GT(frame.height(), client.height());
    EXPECT_FALSE(windows.isOwnWindow(win));
    other.destroy(win);
}

TEST(X11WindowSystem, TitleFallsBackToWmNameAndMayBeMissing)
{
    OtherProgram other;
    const xcb_window_t latin = other.createWindow(50, 400, 80, 60, 0x808080, false);
    other.setWmName(latin, "Caf\xe9 menu");  // Latin-1
    const xcb_window_t none = other.createWindow(50, 500, 80, 60, 0x808080, false);
    ASSERT_TRUE(other.mapAndWait(latin));
    ASSERT_TRUE(other.mapAndWait(none));

    X11WindowSystem windows;
    EXPECT_EQ(windows.windowTitle(latin), "Café menu");
    EXPECT_EQ(windows.windowTitle(none), "");
    EXPECT_EQ(windows.windowTitle(0), "");
    EXPECT_EQ(windows.frameRect(0), (PixelRect{}));
    other.destroy(latin);
    other.destroy(none);
    other.sync();
    EXPECT_EQ(windows.frameRect(latin), (PixelRect{}));  // gone: no rectangle, no crash
}

TEST(X11WindowSystem, OwnWindowTakesTheFocusAndAnyOtherWindowCountsAsAChange)
{
    OtherProgram other;
    Desktop desktop;
    const xcb_window_t win = other.createWindow(600, 300, 120, 90, 0x2020A0, false);
    ASSERT_TRUE(other.mapAndWait(win));
    ASSERT_TRUE(desktop.activate(win));

    X11WindowSystem windows;
    ASSERT_TRUE(WaitFor([&] { return windows.foregroundWindow() == win; }, 5s));
    windows.activateOwnWindow();
    ASSERT_TRUE(WaitFor([&] { return windows.isOwnWindow(windows.foregroundWindow()); }, 5s));
    EXPECT_NE(windows.ownWindow(), 0u);

    // Going back to the window that was active before is a change too.
    ASSERT_TRUE(desktop.activate(win));
    ASSERT_TRUE(WaitFor([&] { return windows.foregroundWindow() == win; }, 5s));

    windows.withdrawOwnWindow();
    EXPECT_TRUE(
        WaitFor([&] { return other.mapState(windows.ownWindow()) == XCB_MAP_STATE_UNMAPPED; }, 5s));
    EXPECT_EQ(windows.foregroundWindow(), win);  // withdrawing does not move the focus
    windows.withdrawOwnWindow();                 // twice is harmless
    other.destroy(win);
}

TEST(X11CursorSource, ReadsTheCursorImageAndThePointer)
{
    Desktop desktop;
    ASSERT_TRUE(desktop.mouseMove(200, 300));
    X11CursorSource cursor;
    ASSERT_TRUE(WaitFor([&] { return cursor.pointerPosition() == PixelPoint{200, 300}; }, 5s));

    const CursorImage image = cursor.cursorImage();
    ASSERT_FALSE(image.image.isNull());
    EXPECT_EQ(image.image.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_GT(image.image.width(), 0);
    EXPECT_GE(image.hotSpot.x, 0);
    EXPECT_LT(image.hotSpot.x, image.image.width());
    EXPECT_LT(image.hotSpot.y, image.image.height());
    int visible = 0;
    for (int y = 0; y < image.image.height(); ++y)
        for (int x = 0; x < image.image.width(); ++x)
            visible += qAlpha(image.image.pixel(x, y)) > 0;
    EXPECT_GT(visible, 0);
}

namespace {
// The engine on the real screen, window manager and timers; printing and the clipboard are
// recorded.
struct RealRig {
    X11ScreenGrabber screen;
    X11WindowSystem windows;
    X11CursorSource cursor;
    RecordingClipboard clipboard;
    QtTimerFactory timers;
    CaptureOptions options;
    CaptureBuffer buffer;
    CaptureEngine engine{
        buffer, {screen, windows, cursor, clipboard, timers}, [this] { return options; }};
};
}  // namespace

TEST(CaptureOnTheRealScreen, DesktopCopyAfterItsTimer)
{
    OtherProgram other;
    const uint32_t colour = 0xC03070;
    const xcb_window_t win = other.createWindow(400, 500, 50, 30, colour, true);
    ASSERT_TRUE(other.mapAndWait(win));
    other.sync();

    RealRig rig;
    rig.options.reverseColours = true;
    rig.engine.copyDesktop();
    EXPECT_TRUE(rig.engine.captureDelayTimer().isEnabled());
    ASSERT_TRUE(PumpUntil([&] { return rig.engine.state() == AppState::Idle; }, 5s));
    EXPECT_FALSE(rig.engine.captureDelayTimer().isEnabled());
    ASSERT_EQ(rig.clipboard.images.size(), 1u);
    const QImage& shot = rig.clipboard.current;
    EXPECT_EQ(shot.size(), QSize(1280, 1024));
    EXPECT_EQ(shot.pixel(400, 500), kOpaque | (~colour & 0xFFFFFFu));
    EXPECT_EQ(shot.pixel(449, 529), kOpaque | (~colour & 0xFFFFFFu));
    other.destroy(win);
}

TEST(CaptureOnTheRealScreen, ActiveWindowCopyWaitsForTheUserToPickAWindow)
{
    OtherProgram other;
    Desktop desktop;
    const uint32_t colour = 0x10B0E0;
    const xcb_window_t win = other.createWindow(200, 300, 160, 100, colour, false);
    other.setNetWmName(win, "   Pick me   ");
    ASSERT_TRUE(other.mapAndWait(win));
    ASSERT_TRUE(desktop.activate(win));

    RealRig rig;
    ASSERT_TRUE(WaitFor([&] { return rig.windows.foregroundWindow() == win; }, 5s));
    rig.engine.copyActiveWindow();
    // Our window comes to the front and the engine settles on it.
    ASSERT_TRUE(PumpUntil(
        [&] { return rig.windows.isOwnWindow(rig.engine.watchedForegroundWindow()); }, 5s));
    PumpUntil([] { return false; }, 300ms);
    EXPECT_EQ(rig.engine.state(), AppState::CopyActiveWindowPending);
    EXPECT_TRUE(rig.clipboard.images.empty());

    ASSERT_TRUE(desktop.activate(win));  // the user picks the window again
    ASSERT_TRUE(PumpUntil([&] { return rig.engine.state() == AppState::Idle; }, 5s));
    ASSERT_EQ(rig.clipboard.images.size(), 1u);
    EXPECT_EQ(rig.engine.capturedWindowTitle(), "Pick me");
    const PixelRect frame = rig.engine.capturedWindowRect();
    EXPECT_EQ(frame, rig.windows.frameRect(win));
    const QImage& shot = rig.clipboard.current;
    EXPECT_EQ(shot.size(), QSize(frame.width(), frame.height()));
    const PixelRect client = other.clientRect(win);
    const QImage inside = shot.copy(client.left - frame.left, client.top - frame.top,
                                    client.width(), client.height());
    EXPECT_EQ(CountPixels(inside, kOpaque | colour), 160 * 100);
    EXPECT_GT(shot.height(), 100);  // the title bar came with it
    EXPECT_EQ(other.mapState(rig.windows.ownWindow()), XCB_MAP_STATE_UNMAPPED);
    other.destroy(win);
}
