#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QWindow>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "capture/RegionSelector.h"
#include "doubles/RegionSignalRecorder.h"
#include "harness/Process.h"
#include "harness/XSession.h"

using namespace tovrimo;
using namespace tovrimo::test;
using namespace std::chrono_literals;

namespace {

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 5s)
{
    return WaitFor(
        [&] {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            return condition();
        },
        timeout);
}

bool Xdotool(const std::vector<std::string>& args)
{
    Process::Options options;
    options.args = args;
    Process tool("xdotool", options);
    if (!tool.start()) return false;
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (auto code = tool.wait(10ms)) return *code == 0;
    }
}

// A picture in which every pixel differs from its neighbours and from the outline's grey.
QImage KnownDesktop(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            image.setPixel(x, y, qRgb(x % 256, y % 256, (x / 256 * 16 + y / 256 * 64 + 1) % 256));
        }
    }
    return image;
}

void Mouse(QWidget& w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held)
{
    QMouseEvent event(type, QPointF(at), QPointF(w.mapToGlobal(at)), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &event);
}

void Drag(QWidget& w, QPoint from, QPoint to)
{
    Mouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    Mouse(w, QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    Mouse(w, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    Mouse(w, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

struct Screen {
    explicit Screen(AppState state, QSize size = QSize(400, 300))
    {
        host.currentState = state;
        desktop = KnownDesktop(size);
        buffer.image = desktop;
        window = std::make_unique<RegionSelector>(buffer, host.stateProvider());
        host.listenTo(*window);
        window->freeze();
        window->resize(size);
    }
    RegionSignalRecorder host;
    CaptureBuffer buffer;
    QImage desktop;
    std::unique_ptr<RegionSelector> window;
};

}  // namespace

TEST(RegionSelector, RealDragOverTheFrozenScreenCopiesTheRectangle)
{
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    RegionSignalRecorder host;
    host.currentState = AppState::CopyRegionPending;
    CaptureBuffer buffer;
    const QImage desktop = KnownDesktop(screen);
    buffer.image = desktop;
    RegionSelector window(buffer, host.stateProvider());
    host.listenTo(window);
    window.open();
    ASSERT_TRUE(PumpUntil([&] {
        return window.isVisible() && window.windowHandle()->isExposed() &&
               window.geometry() == QRect(QPoint(0, 0), screen);
    }));
    EXPECT_TRUE(window.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
    // The user drags up and to the left.
    ASSERT_TRUE(Xdotool({"mousemove", "100", "80", "mousedown", "1", "mousemove", "70", "50",
                         "mousemove", "40", "20", "mouseup", "1"}));
    ASSERT_TRUE(PumpUntil([&] { return !host.calls.empty() && host.calls.back() == "copyStep"; }));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"unloadRegionScreen", "copyStep"}));
    ASSERT_EQ(buffer.image.size(), QSize(61, 61));
    EXPECT_EQ(buffer.image, desktop.copy(40, 20, 61, 61).convertToFormat(buffer.image.format()));
    EXPECT_EQ(buffer.staging, buffer.image);
    window.hide();
}

TEST(RegionSelector, RegionHardCopyHandsOnToPrintingThenUnloads)
{
    Screen s(AppState::PrintRegionPending);
    s.host.onCall = [&](const std::string& call) {
        // Printing must already see the cut-out.
        if (call == "printHandOff") {
            EXPECT_EQ(s.buffer.image.size(), QSize(21, 11));
        }
    };
    Drag(*s.window, QPoint(10, 30), QPoint(30, 20));
    EXPECT_EQ(s.host.calls, (std::vector<std::string>{"printHandOff", "unloadRegionScreen"}));
    EXPECT_EQ(s.buffer.image, s.desktop.copy(10, 20, 21, 11));
    EXPECT_FALSE(s.window->dragging());
}

TEST(RegionSelector, CommandLineJobHandsOnThenUnloads)
{
    Screen s(AppState::CommandLine);
    Drag(*s.window, QPoint(5, 6), QPoint(7, 8));
    EXPECT_EQ(s.host.calls, (std::vector<std::string>{"commandLineHandOff", "unloadRegionScreen"}));
    EXPECT_EQ(s.buffer.image, s.desktop.copy(5, 6, 3, 3));
}

TEST(RegionSelector, AClickSelectsOnePixel)
{
    Screen s(AppState::CopyRegionPending);
    Mouse(*s.window, QEvent::MouseButtonPress, QPoint(123, 45), Qt::LeftButton, Qt::LeftButton);
    Mouse(*s.window, QEvent::MouseButtonRelease, QPoint(123, 45), Qt::LeftButton, Qt::NoButton);
    ASSERT_EQ(s.buffer.image.size(), QSize(1, 1));
    EXPECT_EQ(s.buffer.image.pixel(0, 0), s.desktop.pixel(123, 45));
}

TEST(RegionSelector, TheCutComesFromThePictureShownEvenIfTheBufferChangedMeanwhile)
{
    Screen s(AppState::CopyRegionPending);
    // A hot key started another capture while the screen was open.
    s.buffer.image = QImage(50, 50, QImage::Format_RGB32);
    s.buffer.image.fill(Qt::black);
    Drag(*s.window, QPoint(100, 100), QPoint(150, 120));
    EXPECT_EQ(s.buffer.image, s.desktop.copy(100, 100, 51, 21));
}

TEST(RegionSelector, OutlineIsGreyOnTheSelectionBorderAndTheRepaintStaysOnTheOutlines)
{
    Screen s(AppState::CopyRegionPending);
    s.window->show();
    ASSERT_TRUE(PumpUntil([&] { return s.window->windowHandle()->isExposed(); }));
    Mouse(*s.window, QEvent::MouseButtonPress, QPoint(200, 150), Qt::LeftButton, Qt::LeftButton);
    Mouse(*s.window, QEvent::MouseMove, QPoint(260, 200), Qt::NoButton, Qt::LeftButton);
    Mouse(*s.window, QEvent::MouseMove, QPoint(100, 50), Qt::NoButton, Qt::LeftButton);
    const QRegion dirty = s.window->lastDirtyRegion();
    // The old outline (to 260,200) and the new one (to 100,50) are repainted ...
    for (QPoint p : {QPoint(260, 200), QPoint(260, 150), QPoint(100, 50), QPoint(200, 50)}) {
        EXPECT_TRUE(dirty.contains(p)) << p.x() << "," << p.y();
    }
    // ... but nothing inside either rectangle.
    for (QPoint p : {QPoint(230, 175), QPoint(150, 100)}) {
        EXPECT_FALSE(dirty.contains(p)) << p.x() << "," << p.y();
    }
    const QImage shown = s.window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb grey = RegionSelector::kGrey;
    for (QPoint p : {QPoint(100, 50), QPoint(200, 150), QPoint(100, 150), QPoint(200, 50),
                     QPoint(150, 50), QPoint(100, 100)}) {
        EXPECT_EQ(shown.pixel(p), grey) << p.x() << "," << p.y();
    }
    // Inside, outside, and where the old rectangle was: the frozen picture.
    for (QPoint p :
         {QPoint(150, 100), QPoint(99, 49), QPoint(201, 151), QPoint(260, 200), QPoint(230, 150)}) {
        EXPECT_EQ(shown.pixel(p), s.desktop.pixel(p)) << p.x() << "," << p.y();
    }
    s.window->hide();
}

TEST(RegionSelector, RightButtonOffersCancelWhichLeavesEverythingAsItWas)
{
    Screen s(AppState::PrintRegionPending);
    s.window->show();
    ASSERT_TRUE(PumpUntil([&] { return s.window->windowHandle()->isExposed(); }));
    Mouse(*s.window, QEvent::MouseButtonPress, QPoint(50, 60), Qt::RightButton, Qt::RightButton);
    Mouse(*s.window, QEvent::MouseButtonRelease, QPoint(50, 60), Qt::RightButton, Qt::NoButton);
    QMenu* menu = s.window->cancelMenu();
    ASSERT_TRUE(PumpUntil([&] { return menu->isVisible(); }));
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions().front()->text(), QStringLiteral("キャンセル"));
    menu->actions().front()->trigger();
    EXPECT_EQ(s.host.calls, (std::vector<std::string>{"cancel"}));
    EXPECT_EQ(s.host.state(), AppState::Idle);
    EXPECT_EQ(s.buffer.image, s.desktop);  // nothing cut, nothing printed or copied
    menu->hide();
    s.window->hide();
}

TEST(RegionSelector, DismissingTheMenuKeepsTheScreenWorking)
{
    Screen s(AppState::CopyRegionPending);
    s.window->show();
    ASSERT_TRUE(PumpUntil([&] { return s.window->windowHandle()->isExposed(); }));
    Mouse(*s.window, QEvent::MouseButtonPress, QPoint(50, 60), Qt::RightButton, Qt::RightButton);
    Mouse(*s.window, QEvent::MouseButtonRelease, QPoint(50, 60), Qt::RightButton, Qt::NoButton);
    ASSERT_TRUE(PumpUntil([&] { return s.window->cancelMenu()->isVisible(); }));
    s.window->cancelMenu()->hide();
    EXPECT_TRUE(s.host.calls.empty());
    Drag(*s.window, QPoint(1, 2), QPoint(3, 4));
    EXPECT_EQ(s.host.calls, (std::vector<std::string>{"unloadRegionScreen", "copyStep"}));
    EXPECT_EQ(s.buffer.image.size(), QSize(3, 3));
    s.window->hide();
}

TEST(RegionSelector, AReleaseWithoutAPressOnTheScreenIsIgnored)
{
    Screen s(AppState::CopyRegionPending);
    Mouse(*s.window, QEvent::MouseButtonRelease, QPoint(80, 90), Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(s.host.calls.empty());
    EXPECT_EQ(s.buffer.image, s.desktop);
    // A right press abandons a drag: its left release does not cut either.
    Mouse(*s.window, QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
    Mouse(*s.window, QEvent::MouseButtonPress, QPoint(20, 20), Qt::RightButton,
          Qt::LeftButton | Qt::RightButton);
    EXPECT_FALSE(s.window->dragging());
    Mouse(*s.window, QEvent::MouseButtonRelease, QPoint(20, 20), Qt::LeftButton, Qt::RightButton);
    EXPECT_TRUE(s.host.calls.empty());
}

TEST(RegionSelector, OutsideARegionJobTheReleaseDoesNothing)
{
    for (AppState state :
         {AppState::Idle, AppState::PrintDialogOpen, AppState::PrintDesktopPending}) {
        Screen s(state);
        Drag(*s.window, QPoint(10, 10), QPoint(40, 40));
        EXPECT_TRUE(s.host.calls.empty()) << static_cast<int>(state);
        EXPECT_EQ(s.buffer.image, s.desktop) << static_cast<int>(state);
        EXPECT_FALSE(s.window->dragging());
    }
}

TEST(RegionSelector, AReleaseBeyondThePictureStopsAtItsEdge)
{
    Screen s(AppState::CopyRegionPending, QSize(300, 200));
    Drag(*s.window, QPoint(250, 150), QPoint(900, -40));
    EXPECT_EQ(s.buffer.image, s.desktop.copy(250, 0, 50, 151));
}
