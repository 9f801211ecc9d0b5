#include "platform/x11/X11ScreenGrabber.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <algorithm>
#include <cstring>

#include "platform/x11/X11Connection.h"

namespace tovrimo {

X11ScreenGrabber::X11ScreenGrabber(xcb_connection_t* connection)
    : connection_(connection ? connection : QtX11Connection())
{
    screen_ = FirstScreen(connection_);
    if (!screen_) return;
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(connection_, &xcb_shm_id);
    if (ext && ext->present) {
        XcbReply<xcb_shm_query_version_reply_t> version(
            xcb_shm_query_version_reply(connection_, xcb_shm_query_version(connection_), nullptr));
        shmPresent_ = version != nullptr;
    }
}

X11ScreenGrabber::~X11ScreenGrabber()
{
    releaseSegment();
}

PixelRect X11ScreenGrabber::primaryScreenRect()
{
    if (qGuiApp) {
        if (const QScreen* primary = QGuiApplication::primaryScreen()) {
            // Qt scales a screen's size by the device pixel ratio but keeps its origin in
            // device pixels.
            const QRect g = primary->geometry();
            const qreal ratio = primary->devicePixelRatio();
            const int width = qRound(g.width() * ratio);
            const int height = qRound(g.height() * ratio);
            if (width > 0 && height > 0) return {g.x(), g.y(), g.x() + width, g.y() + height};
        }
    }
    if (!screen_) return {};
    return {0, 0, screen_->width_in_pixels, screen_->height_in_pixels};
}

bool X11ScreenGrabber::directFormat() const
{
    // The pixels can be taken over byte for byte only when they are 32-bit little-endian
    // xRGB, which is what a 24- or 32-bit TrueColor root gives on a PC.
    const xcb_setup_t* setup = xcb_get_setup(connection_);
    if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST) return false;
    if (screen_->root_depth != 24 && screen_->root_depth != 32) return false;
    bool bpp32 = false;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem; xcb_format_next(&it))
        if (it.data->depth == screen_->root_depth) bpp32 = it.data->bits_per_pixel == 32;
    if (!bpp32) return false;
    for (auto d = xcb_screen_allowed_depths_iterator(screen_); d.rem; xcb_depth_next(&d))
        for (auto v = xcb_depth_visuals_iterator(d.data); v.rem; xcb_visualtype_next(&v))
            if (v.data->visual_id == screen_->root_visual)
                return v.data->red_mask == 0xFF0000u && v.data->green_mask == 0xFF00u &&
                       v.data->blue_mask == 0xFFu;
    return false;
}

QImage X11ScreenGrabber::grab(const PixelRect& rect)
{
    if (rect.width() <= 0 || rect.height() <= 0) return QImage();
    QImage image(rect.width(), rect.height(), QImage::Format_RGB32);
    if (image.isNull()) return image;  // too large to allocate
    if (!screen_) {
        image.fill(0xFF000000u);
        return image;
    }

    // Only the part on the root can be read; asking for more is an error.
    const int left = std::max<int>(rect.left, 0);
    const int top = std::max<int>(rect.top, 0);
    const int right = std::min<int>(rect.right, screen_->width_in_pixels);
    const int bottom = std::min<int>(rect.bottom, screen_->height_in_pixels);
    // Filling costs as much as a copy: only do it when some of the image stays unread.
    if (left != rect.left || top != rect.top || right != rect.right || bottom != rect.bottom)
        image.fill(0xFF000000u);
    if (right <= left || bottom <= top) return image;
    const int intoX = left - rect.left;
    const int intoY = top - rect.top;

    if (directFormat()) {
        if (shmPresent_ && shmAllowed_ &&
            grabShared(left, top, right - left, bottom - top, image, intoX, intoY))
            return image;
        if (grabPlain(left, top, right - left, bottom - top, image, intoX, intoY)) return image;
        image.fill(0xFF000000u);  // the server refused: nothing was read
        return image;
    }
    // An unusual visual: let Qt convert it.
    image.fill(0xFF000000u);
    if (QScreen* primary = qGuiApp ? QGuiApplication::primaryScreen() : nullptr) {
        const QImage part = primary->grabWindow(0, left, top, right - left, bottom - top)
                                .toImage()
                                .convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < std::min(part.height(), bottom - top); ++y)
            std::memcpy(image.scanLine(intoY + y) + intoX * 4, part.constScanLine(y),
                        static_cast<size_t>(std::min(part.width(), right - left)) * 4);
    }
    return image;
}

namespace {
void CopyRows(const unsigned char* from, int width, int height, QImage& into, int intoX, int intoY)
{
    const auto* src = reinterpret_cast<const uint32_t*>(from);
    for (int y = 0; y < height; ++y) {
        auto* dst = reinterpret_cast<uint32_t*>(into.scanLine(intoY + y)) + intoX;
        const uint32_t* row = src + static_cast<size_t>(width) * y;
        // The unused top byte of a 24-bit pixel is not guaranteed to be 0xFF.
        for (int x = 0; x < width; ++x) dst[x] = row[x] | 0xFF000000u;
    }
}
}  // namespace

bool X11ScreenGrabber::grabPlain(int x, int y, int width, int height, QImage& into, int intoX,
                                 int intoY)
{
    XcbReply<xcb_get_image_reply_t> reply(xcb_get_image_reply(
        connection_,
        xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, screen_->root,
                      static_cast<int16_t>(x), static_cast<int16_t>(y),
                      static_cast<uint16_t>(width), static_cast<uint16_t>(height), ~0u),
        nullptr));
    if (!reply) return false;
    const size_t needed = static_cast<size_t>(width) * height * 4;
    if (static_cast<size_t>(xcb_get_image_data_length(reply.get())) < needed) return false;
    CopyRows(xcb_get_image_data(reply.get()), width, height, into, intoX, intoY);
    return true;
}

bool X11ScreenGrabber::ensureSegment(size_t bytes)
{
    if (shmData_ && shmSize_ >= bytes) return true;
    releaseSegment();
    shmId_ = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (shmId_ < 0) return false;
    void* data = shmat(shmId_, nullptr, 0);
    if (data == reinterpret_cast<void*>(-1)) {
        shmctl(shmId_, IPC_RMID, nullptr);
        shmId_ = -1;
        return false;
    }
    shmData_ = static_cast<unsigned char*>(data);
    shmSize_ = bytes;
    segment_ = xcb_generate_id(connection_);
    xcb_generic_error_t* error = xcb_request_check(
        connection_,
        xcb_shm_attach_checked(connection_, segment_, static_cast<uint32_t>(shmId_), 0));
    // Marked for removal once the server holds it too, so nothing is left behind if we crash.
    shmctl(shmId_, IPC_RMID, nullptr);
    if (error) {
        // A server on another machine cannot see our memory: stop trying.
        std::free(error);
        segment_ = 0;
        releaseSegment();
        shmPresent_ = false;
        return false;
    }
    return true;
}

void X11ScreenGrabber::releaseSegment()
{
    if (segment_ && connection_) {
        xcb_shm_detach(connection_, segment_);
        xcb_flush(connection_);
    }
    segment_ = 0;
    if (shmData_) shmdt(shmData_);
    shmData_ = nullptr;
    shmSize_ = 0;
    shmId_ = -1;
}

bool X11ScreenGrabber::grabShared(int x, int y, int width, int height, QImage& into, int intoX,
                                  int intoY)
{
    const size_t bytes = static_cast<size_t>(width) * height * 4;
    if (!ensureSegment(bytes)) return false;
    XcbReply<xcb_shm_get_image_reply_t> reply(xcb_shm_get_image_reply(
        connection_,
        xcb_shm_get_image(connection_, screen_->root, static_cast<int16_t>(x),
                          static_cast<int16_t>(y), static_cast<uint16_t>(width),
                          static_cast<uint16_t>(height), ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP, segment_,
                          0),
        nullptr));
    if (!reply || reply->size < bytes) return false;
    CopyRows(shmData_, width, height, into, intoX, intoY);
    return true;
}

}  // namespace tovrimo
