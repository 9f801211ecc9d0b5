#include "harness/ScreenPixels.h"

#include <cstdlib>
#include <cstring>

#include "harness/Process.h"
#include "harness/TestSession.h"
#include "harness/XSession.h"

namespace tovrimo::test {

QImage ScreenPixels(const QRect& area)
{
    xcb_connection_t* c = TestSession::current().x().connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_get_image_reply_t* reply = xcb_get_image_reply(
        c,
        xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, static_cast<int16_t>(area.x()),
                      static_cast<int16_t>(area.y()), static_cast<uint16_t>(area.width()),
                      static_cast<uint16_t>(area.height()), ~0u),
        nullptr);
    if (!reply) return QImage();
    QImage image(area.size(), QImage::Format_RGB32);
    // Xvfb's 24-bit screen keeps 32 bits a pixel, little-endian xRGB: the same bytes as RGB32.
    const auto bytes = static_cast<size_t>(xcb_get_image_data_length(reply));
    const size_t row = static_cast<size_t>(area.width()) * 4;
    if (bytes >= row * static_cast<size_t>(area.height())) {
        const uint8_t* data = xcb_get_image_data(reply);
        for (int y = 0; y < area.height(); ++y)
            std::memcpy(image.scanLine(y), data + row * static_cast<size_t>(y), row);
    } else {
        image = QImage();
    }
    std::free(reply);
    return image;
}

QRect WindowArea(xcb_window_t window)
{
    xcb_connection_t* c = TestSession::current().x().connection();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_get_geometry_reply_t* geometry =
        xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr);
    xcb_translate_coordinates_reply_t* position = xcb_translate_coordinates_reply(
        c, xcb_translate_coordinates(c, window, screen->root, 0, 0), nullptr);
    QRect area;
    if (geometry && position)
        area = QRect(position->dst_x, position->dst_y, geometry->width, geometry->height);
    std::free(geometry);
    std::free(position);
    return area;
}

bool WindowOfClassShown(const std::string& className)
{
    const Process p = Process::run(
        "xdotool", {{"search", "--onlyvisible", "--classname", "^" + className + "$"}});
    return p.exitedNormally() && p.exitCode() == 0 && !p.standardOutput().empty();
}

PatternWindow::PatternWindow(int x, int y, const QImage& picture)
    : c_(TestSession::current().x().connection())
{
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
    const QImage pixels = picture.convertToFormat(QImage::Format_RGB32);
    const auto width = static_cast<uint16_t>(pixels.width());
    const auto height = static_cast<uint16_t>(pixels.height());
    pixmap_ = xcb_generate_id(c_);
    xcb_create_pixmap(c_, screen->root_depth, pixmap_, screen->root, width, height);
    const xcb_gcontext_t gc = xcb_generate_id(c_);
    xcb_create_gc(c_, gc, pixmap_, 0, nullptr);
    // Row by row: small requests, and the image's rows may be padded differently.
    for (int row = 0; row < pixels.height(); ++row) {
        xcb_put_image(c_, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap_, gc, width, 1, 0,
                      static_cast<int16_t>(row), 0, screen->root_depth,
                      static_cast<uint32_t>(width) * 4, pixels.constScanLine(row));
    }
    xcb_free_gc(c_, gc);
    window_ = xcb_generate_id(c_);
    const uint32_t values[] = {pixmap_, 1};
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, window_, screen->root, static_cast<int16_t>(x),
                      static_cast<int16_t>(y), width, height, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen->root_visual, XCB_CW_BACK_PIXMAP | XCB_CW_OVERRIDE_REDIRECT, values);
    xcb_map_window(c_, window_);
    std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
}

PatternWindow::~PatternWindow()
{
    xcb_destroy_window(c_, window_);
    xcb_free_pixmap(c_, pixmap_);
    std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
}

}  // namespace tovrimo::test
