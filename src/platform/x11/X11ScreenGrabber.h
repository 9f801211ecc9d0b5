#pragma once

#include <xcb/xcb.h>

#include <cstddef>

#include "platform/ScreenGrabber.h"

namespace tovrimo {

// Reads the root window's pixels. Through a shared-memory segment when the server offers
// MIT-SHM (no copy of the image through the socket), otherwise with a plain GetImage.
//
// A grab that lies wholly on the screen comes back as an image over the segment itself: the
// server writes the pixels once and nobody copies them again. While such an image lives the
// segment is its own; the next grab hands it over for good and makes a new one, so an image
// never changes under its holder.
class X11ScreenGrabber : public ScreenGrabber {
public:
    // Null: Qt's connection.
    explicit X11ScreenGrabber(xcb_connection_t* connection = nullptr);
    ~X11ScreenGrabber() override;
    X11ScreenGrabber(const X11ScreenGrabber&) = delete;
    X11ScreenGrabber& operator=(const X11ScreenGrabber&) = delete;

    PixelRect primaryScreenRect() override;
    QImage grab(const PixelRect& rect) override;

    // For tests and measurements: turn the shared-memory path off (or back on, when offered).
    void setSharedMemoryAllowed(bool allowed) { shmAllowed_ = allowed; }
    bool sharedMemoryAvailable() const { return shmPresent_; }

    struct Segment;  // public for the clean-up of the images shown over one

private:
    bool directFormat() const;
    bool sharedPathReady();
    QImage grabIntoSegment(int x, int y, int width, int height);
    bool grabShared(int x, int y, int width, int height, QImage& into, int intoX, int intoY);
    bool grabPlain(int x, int y, int width, int height, QImage& into, int intoX, int intoY);
    bool readIntoSegment(int x, int y, int width, int height);
    bool ensureSegment(size_t bytes);
    void releaseSegment();

    xcb_connection_t* connection_ = nullptr;
    xcb_screen_t* screen_ = nullptr;
    bool shmPresent_ = false;
    bool shmAllowed_ = true;
    int grabs_ = 0;
    Segment* segment_ = nullptr;  // ours, unless an image still shows it
};

}  // namespace tovrimo
