#pragma once

#include "platform/ScreenGrabber.h"

namespace tovrimo {

// A screen grabber of a Wayland desktop, where no program may find another's window by
// itself: the desktop captures the active window for us, or lets the user pick one.
class WaylandScreenGrabber : public ScreenGrabber {
public:
    // The next grab gives the active window (or the window the user picks in the desktop's
    // own dialog) whole, whatever rectangle it is asked for.
    virtual void grabActiveWindowNext() = 0;
};

// The rectangle (in the desktop's layout) cut from a picture of the whole layout; parts beyond
// the picture stay black, as they do on X11. A null image for an empty rectangle.
QImage CutFromLayout(const QImage& shot, const PixelRect& rect);

}  // namespace tovrimo
