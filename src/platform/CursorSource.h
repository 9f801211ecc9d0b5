#pragma once

#include <QImage>

#include "platform/PixelGeometry.h"

namespace tovrimo {

// The mouse cursor as currently shown. The image is null when the cursor cannot be read.
struct CursorImage {
    QImage image;  // Format_ARGB32_Premultiplied
    PixelPoint hotSpot;
};

class CursorSource {
public:
    virtual ~CursorSource() = default;
    virtual CursorImage cursorImage() = 0;
    // The pointer in root coordinates.
    virtual PixelPoint pointerPosition() = 0;
};

}  // namespace tovrimo
