#pragma once

#include <xcb/xcb.h>

#include "platform/CursorSource.h"

namespace tovrimo {

// The cursor image as the server shows it (XFixes), whichever program set it.
class X11CursorSource : public CursorSource {
public:
    // Null: Qt's connection.
    explicit X11CursorSource(xcb_connection_t* connection = nullptr);

    CursorImage cursorImage() override;
    PixelPoint pointerPosition() override;

private:
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = 0;
    bool xfixes_ = false;
};

}  // namespace tovrimo
