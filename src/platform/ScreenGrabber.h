#pragma once

#include <QImage>

#include "platform/PixelGeometry.h"

namespace tovrimo {

// Reads pixels straight off the screen: whatever is visible there, windows on top included.
class ScreenGrabber {
public:
    virtual ~ScreenGrabber() = default;
    // The primary screen in root coordinates.
    virtual PixelRect primaryScreenRect() = 0;
    // An image of exactly the rectangle's size in Format_RGB32. Parts of the rectangle that lie
    // off the screen come back black. An empty rectangle gives a null image.
    virtual QImage grab(const PixelRect& rect) = 0;
};

}  // namespace tovrimo
