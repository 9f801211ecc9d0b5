#pragma once

#include <xcb/xcb.h>

#include <QImage>
#include <QPoint>
#include <QRect>
#include <cstdint>
#include <string>
#include <vector>

namespace tovrimo::test {

// Centres of the icons embedded in trayer's panel, in root coordinates, the newest first.
std::vector<QPoint> TrayIcons();
// The processes that own the icons in trayer's panel (their _NET_WM_PID; 0 for an icon
// without one).
std::vector<int> TrayIconOwners();

// Hands the keyboard focus back to the root. A tray icon that was clicked keeps the focus;
// when its program ends the focus is left on nothing and key presses reach no one, global
// grabs included. A real session's window manager moves it on; a test does it here.
void FocusRoot();
void FocusRoot(xcb_connection_t* connection);

// The screen's pixels inside the rectangle, read from the X server.
QImage GrabScreen(xcb_connection_t* connection, const QRect& area);
// The centre of the pixels that differ between two pictures of the same area; (-1, -1) when
// they are the same.
QPoint CentreOfDifference(const QImage& before, const QImage& after);
// Whether the top-level window holding a is stacked above the one holding b.
bool StackedAbove(xcb_connection_t* connection, xcb_window_t a, xcb_window_t b);

// What the window shows on the screen now (its inside, without the frame); a null image when
// it is not viewable.
QImage GrabWindow(uint32_t window);

// A plain window of one colour that the window manager frames and activates, on the test
// session's X server; destroyed with the object.
class TestWindow {
public:
    TestWindow(const std::string& title, int x, int y, int width, int height, uint32_t rgb);
    // On another X server than the test session's.
    TestWindow(xcb_connection_t* connection, const std::string& title, int x, int y, int width,
               int height, uint32_t rgb);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    xcb_window_t id() const { return id_; }

private:
    xcb_connection_t* c_;
    xcb_window_t id_ = 0;
};

}  // namespace tovrimo::test
