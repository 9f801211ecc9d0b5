#pragma once

#include <xcb/xcb.h>

#include <QImage>
#include <QRect>
#include <string>

namespace tovrimo::test {

// What the test session's screen shows, read straight from the X server: device pixels, as a
// user's eye (or a screenshot tool) would see them, whatever scale factor the program uses.
QImage ScreenPixels(const QRect& area);

// A window's inner area in root coordinates and device pixels; empty when it is gone.
QRect WindowArea(xcb_window_t window);

// Whether a window of that class (WM_CLASS, "tovrimo" for the program) is mapped.
bool WindowOfClassShown(const std::string& className);

// A picture put on the screen of the test session as it is, device pixel for device pixel,
// at a place of its own: an override-redirect window whose background is the picture, so the
// server itself redraws it and the window manager leaves it alone. Gone with the object.
class PatternWindow {
public:
    PatternWindow(int x, int y, const QImage& picture);
    ~PatternWindow();
    PatternWindow(const PatternWindow&) = delete;
    PatternWindow& operator=(const PatternWindow&) = delete;

private:
    xcb_connection_t* c_;
    xcb_pixmap_t pixmap_ = 0;
    xcb_window_t window_ = 0;
};

}  // namespace tovrimo::test
