#pragma once

#include <xcb/xcb.h>

#include <cstddef>

#include "platform/ScreenGrabber.h"

namespace tovrimo {

// Reads the root window's pixels. Through a shared-memory segment when the server offers
// MIT-SHM (no copy of the image through the socket), otherwise with a plain GetImage.
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

private:
    bool directFormat() const;
    bool grabShared(int x, int y, int width, int height, QImage& into, int intoX, int intoY);
    bool grabPlain(int x, int y, int width, int height, QImage& into, int intoX, int intoY);
    bool ensureSegment(size_t bytes);
    void releaseSegment();

    xcb_connection_t* connection_ = nullptr;
    xcb_screen_t* screen_ = nullptr;
    bool shmPresent_ = false;
    bool shmAllowed_ = true;
    uint32_t segment_ = 0;  // xcb_shm_seg_t
    int shmId_ = -1;
    unsigned char* shmData_ = nullptr;
    size_t shmSize_ = 0;
};

}  // namespace tovrimo
