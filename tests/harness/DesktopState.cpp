#include "harness/DesktopState.h"

#include <cstdlib>
#include <sstream>

#include "harness/Process.h"
#include "harness/TestSession.h"
#include "harness/XSession.h"

namespace tovrimo::test {

std::vector<QPoint> TrayIcons()
{
    const Process p = Process::run(
        "/bin/sh",
        {{"-c",
          "for w in $(xdotool search --onlyvisible --class trayer); do "
          "  for c in $(xwininfo -children -id $w | sed -n 's/^ *\\(0x[0-9a-f]*\\) .*/\\1/p'); do "
          "    xwininfo -id $c | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} "
          "      /Width:/{w=$2} /Height:/{h=$2} END{print x+int(w/2), y+int(h/2)}'; "
          "  done; "
          "done"}});
    std::istringstream out(p.standardOutput());
    std::vector<QPoint> icons;
    for (int x = 0, y = 0; out >> x >> y;) icons.emplace_back(x, y);
    return icons;
}

void FocusRoot()
{
    xcb_connection_t* c = TestSession::current().x().connection();
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, XCB_INPUT_FOCUS_POINTER_ROOT,
                        XCB_CURRENT_TIME);
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

QImage GrabWindow(uint32_t window)
{
    xcb_connection_t* c = TestSession::current().x().connection();
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
    if (!geometry) return {};
    const uint16_t width = geometry->width;
    const uint16_t height = geometry->height;
    const uint8_t depth = geometry->depth;
    std::free(geometry);
    xcb_get_image_reply_t* reply = xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0, width, height, ~0u), nullptr);
    if (!reply) return {};
    QImage image;
    const int length = xcb_get_image_data_length(reply);
    // Depth 24 and 32 come as 32 bits per pixel, blue first: Qt's RGB32 in memory.
    if ((depth == 24 || depth == 32) && length >= int(width) * height * 4) {
        image =
            QImage(xcb_get_image_data(reply), width, height, int(width) * 4, QImage::Format_RGB32)
                .copy();
    }
    std::free(reply);
    return image;
}

TestWindow::TestWindow(const std::string& title, int x, int y, int width, int height,
                       uint32_t rgb)
    : c_(TestSession::current().x().connection())
{
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
    id_ = xcb_generate_id(c_);
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, id_, screen->root, static_cast<int16_t>(x),
                      static_cast<int16_t>(y), static_cast<uint16_t>(width),
                      static_cast<uint16_t>(height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_BACK_PIXEL, &rgb);
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, id_, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        static_cast<uint32_t>(title.size()), title.data());
    xcb_map_window(c_, id_);
    xcb_flush(c_);
}

TestWindow::~TestWindow()
{
    xcb_destroy_window(c_, id_);
    xcb_flush(c_);
}

}  // namespace tovrimo::test
