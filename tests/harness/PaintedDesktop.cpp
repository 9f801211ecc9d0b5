#include "harness/PaintedDesktop.h"

#include <cstdlib>

#include "harness/TestSession.h"
#include "harness/XSession.h"

namespace tovrimo::test {

PaintedDesktop::PaintedDesktop(int blockX, int blockY, int blockW, int blockH, uint32_t blockRgb,
                               uint32_t screenRgb)
    : c_(TestSession::current().x().connection()),
      screen_(xcb_setup_roots_iterator(xcb_get_setup(c_)).data)
{
    background_ = make(0, 0, screen_->width_in_pixels, screen_->height_in_pixels, screenRgb);
    block_ = make(blockX, blockY, blockW, blockH, blockRgb);
    sync();
}

PaintedDesktop::~PaintedDesktop()
{
    xcb_destroy_window(c_, block_);
    xcb_destroy_window(c_, background_);
    sync();
}

xcb_window_t PaintedDesktop::make(int x, int y, int w, int h, uint32_t rgb)
{
    const xcb_window_t id = xcb_generate_id(c_);
    const uint32_t values[] = {rgb, 1};
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, id, screen_->root, static_cast<int16_t>(x),
                      static_cast<int16_t>(y), static_cast<uint16_t>(w), static_cast<uint16_t>(h),
                      0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen_->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
    xcb_map_window(c_, id);
    return id;
}

void PaintedDesktop::sync()
{
    // A round trip: everything sent before is on the screen when it returns.
    std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
}

}  // namespace tovrimo::test
