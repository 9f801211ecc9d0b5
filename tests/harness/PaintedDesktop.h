#pragma once

#include <xcb/xcb.h>

#include <cstdint>

namespace tovrimo::test {

// A screen of one colour with one block of another on it, made of override-redirect windows on
// the test session's X server, so the window manager leaves them where they are. Gone again
// when the object goes.
class PaintedDesktop {
public:
    PaintedDesktop(int blockX, int blockY, int blockW, int blockH, uint32_t blockRgb = 0xFF0000,
                   uint32_t screenRgb = 0xFFFFFF);
    ~PaintedDesktop();
    PaintedDesktop(const PaintedDesktop&) = delete;
    PaintedDesktop& operator=(const PaintedDesktop&) = delete;

private:
    xcb_window_t make(int x, int y, int w, int h, uint32_t rgb);
    void sync();

    xcb_connection_t* c_;
    const xcb_screen_t* screen_;
    xcb_window_t background_ = 0;
    xcb_window_t block_ = 0;
};

}  // namespace tovrimo::test
