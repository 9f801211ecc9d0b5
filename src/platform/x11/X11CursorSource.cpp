#include "platform/x11/X11CursorSource.h"

#include <xcb/xfixes.h>

#include <cstring>

#include "platform/x11/X11Connection.h"

namespace tovrimo {

X11CursorSource::X11CursorSource(xcb_connection_t* connection)
    : connection_(connection ? connection : QtX11Connection())
{
    xcb_screen_t* screen = FirstScreen(connection_);
    if (!screen) return;
    root_ = screen->root;
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(connection_, &xcb_xfixes_id);
    if (ext && ext->present) {
        // XFixes answers nothing until the client has announced the version it speaks.
        XcbReply<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
            connection_, xcb_xfixes_query_version(connection_, 4, 0), nullptr));
        xfixes_ = version && version->major_version >= 1;
    }
}

CursorImage X11CursorSource::cursorImage()
{
    CursorImage cursor;
    if (!xfixes_) return cursor;
    XcbReply<xcb_xfixes_get_cursor_image_reply_t> reply(xcb_xfixes_get_cursor_image_reply(
        connection_, xcb_xfixes_get_cursor_image(connection_), nullptr));
    if (!reply || reply->width == 0 || reply->height == 0) return cursor;
    const int count = xcb_xfixes_get_cursor_image_cursor_image_length(reply.get());
    if (count < reply->width * reply->height) return cursor;
    // Premultiplied ARGB, one 32-bit value a pixel: exactly QImage's premultiplied format.
    QImage image(reply->width, reply->height, QImage::Format_ARGB32_Premultiplied);
    const uint32_t* pixels = xcb_xfixes_get_cursor_image_cursor_image(reply.get());
    for (int y = 0; y < reply->height; ++y)
        std::memcpy(image.scanLine(y), pixels + static_cast<size_t>(y) * reply->width,
                    static_cast<size_t>(reply->width) * 4);
    cursor.image = image;
    cursor.hotSpot = {reply->xhot, reply->yhot};
    return cursor;
}

PixelPoint X11CursorSource::pointerPosition()
{
    if (!root_) return {};
    XcbReply<xcb_query_pointer_reply_t> reply(
        xcb_query_pointer_reply(connection_, xcb_query_pointer(connection_, root_), nullptr));
    if (!reply) return {};
    return {reply->root_x, reply->root_y};
}

}  // namespace tovrimo
