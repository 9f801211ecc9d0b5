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

struct X11ScreenGrabber::Segment {
    xcb_connection_t* connection = nullptr;  // null once the grabber is gone
    uint32_t id = 0;                         // xcb_shm_seg_t
    unsigned char* data = nullptr;
    size_t size = 0;
    bool shown = false;     // an image is drawn over it
    bool orphaned = false;  // the grabber moved on: the last image over it frees it

    ~Segment()
    {
        if (id && connection) {
            xcb_shm_detach(connection, id);
            xcb_flush(connection);
        }
        if (data) shmdt(data);
    }
};

namespace {

// The unused top byte of a 24-bit pixel is not guaranteed to be 0xFF, and Format_RGB32 wants
// it so. Whole blocks of eight pixels let the compiler use vector instructions at -O2.
void MakeOpaque(uint32_t* pixels, size_t count)
{
    size_t i = 0;
    for (; i + 8 <= count; i += 8)
        for (size_t k = 0; k < 8; ++k) pixels[i + k] |= 0xFF000000u;
    for (; i < count; ++i) pixels[i] |= 0xFF000000u;
}

void CopyOpaque(uint32_t* to, const uint32_t* from, size_t count)
{
    size_t i = 0;
    for (; i + 8 <= count; i += 8)
        for (size_t k = 0; k < 8; ++k) to[i + k] = from[i + k] | 0xFF000000u;
    for (; i < count; ++i) to[i] = from[i] | 0xFF000000u;
}

void CopyRows(const unsigned char* from, int width, int height, QImage& into, int intoX, int intoY)
{
    const auto* src = reinterpret_cast<const uint32_t*>(from);
    for (int y = 0; y < height; ++y) {
        auto* dst = reinterpret_cast<uint32_t*>(into.scanLine(intoY + y)) + intoX;
        CopyOpaque(dst, src + static_cast<size_t>(width) * y, static_cast<size_t>(width));
    }
}

void ReleaseShownSegment(void* info)
{
    auto* segment = static_cast<X11ScreenGrabber::Segment*>(info);
    segment->shown = false;
    if (segment->orphaned) delete segment;
}

}  // namespace

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
    const bool shared = sharedPathReady();
    const bool onScreen = screen_ && rect.left >= 0 && rect.top >= 0 &&
                          rect.right <= screen_->width_in_pixels &&
                          rect.bottom <= screen_->height_in_pixels;
    if (shared && onScreen && directFormat()) {
        QImage shown = grabIntoSegment(rect.left, rect.top, rect.width(), rect.height());
        if (!shown.isNull()) return shown;
    }
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
        if (shared && grabShared(left, top, right - left, bottom - top, image, intoX, intoY))
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
            std::memcpy(image.scanLine(intoY + y) + static_cast<ptrdiff_t>(intoX) * 4,
                        part.constScanLine(y),
                        static_cast<size_t>(std::min(part.width(), right - left)) * 4);
    }
    return image;
}

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

bool X11ScreenGrabber::sharedPathReady()
{
    // The server faults a new segment in page by page on its first write, which costs more than
    // sending one image through the socket (tens of milliseconds for a full screen on a virtual
    // machine). A single grab, as a one-shot hard copy makes, takes the plain path; the segment
    // pays off from the second grab on.
    const bool first = grabs_ == 0;
    ++grabs_;
    return shmPresent_ && shmAllowed_ && !first;
}

bool X11ScreenGrabber::ensureSegment(size_t bytes)
{
    if (segment_ && segment_->shown) {
        // An image still shows this one: leave it to that image.
        segment_->orphaned = true;
        segment_ = nullptr;
    }
    if (segment_ && segment_->size >= bytes) return true;
    releaseSegment();
    const int shmId = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (shmId < 0) return false;
    void* data = shmat(shmId, nullptr, 0);
    if (data == reinterpret_cast<void*>(-1)) {
        shmctl(shmId, IPC_RMID, nullptr);
        return false;
    }
    auto* segment = new Segment;
    segment->connection = connection_;
    segment->data = static_cast<unsigned char*>(data);
    segment->size = bytes;
    segment->id = xcb_generate_id(connection_);
    xcb_generic_error_t* error = xcb_request_check(
        connection_,
        xcb_shm_attach_checked(connection_, segment->id, static_cast<uint32_t>(shmId), 0));
    // Marked for removal once the server holds it too, so nothing is left behind if we crash.
    shmctl(shmId, IPC_RMID, nullptr);
    if (error) {
        // A server on another machine cannot see our memory: stop trying.
        std::free(error);
        segment->id = 0;
        delete segment;
        shmPresent_ = false;
        return false;
    }
    segment_ = segment;
    return true;
}

void X11ScreenGrabber::releaseSegment()
{
    if (!segment_) return;
    if (segment_->shown) {
        // The image outlives us; our connection may not outlive it, and the server lets go of
        // the segment when the connection closes anyway.
        segment_->orphaned = true;
        segment_->connection = nullptr;
    } else {
        delete segment_;
    }
    segment_ = nullptr;
}

bool X11ScreenGrabber::readIntoSegment(int x, int y, int width, int height)
{
    const size_t bytes = static_cast<size_t>(width) * height * 4;
    if (!ensureSegment(bytes)) return false;
    XcbReply<xcb_shm_get_image_reply_t> reply(xcb_shm_get_image_reply(
        connection_,
        xcb_shm_get_image(connection_, screen_->root, static_cast<int16_t>(x),
                          static_cast<int16_t>(y), static_cast<uint16_t>(width),
                          static_cast<uint16_t>(height), ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP,
                          segment_->id, 0),
        nullptr));
    return reply && reply->size >= bytes;
}

QImage X11ScreenGrabber::grabIntoSegment(int x, int y, int width, int height)
{
    if (!readIntoSegment(x, y, width, height)) return QImage();
    MakeOpaque(reinterpret_cast<uint32_t*>(segment_->data), static_cast<size_t>(width) * height);
    QImage shown(segment_->data, width, height, static_cast<qsizetype>(width) * 4,
                 QImage::Format_RGB32, &ReleaseShownSegment, segment_);
    if (!shown.isNull()) segment_->shown = true;
    return shown;
}

bool X11ScreenGrabber::grabShared(int x, int y, int width, int height, QImage& into, int intoX,
                                  int intoY)
{
    if (!readIntoSegment(x, y, width, height)) return false;
    CopyRows(segment_->data, width, height, into, intoX, intoY);
    return true;
}

}  // namespace tovrimo
