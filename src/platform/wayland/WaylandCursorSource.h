#pragma once

#include "platform/CursorSource.h"

namespace tovrimo {

// The pointer on a Wayland desktop. No client may read the cursor's image there, so captures
// show none; the position is the last one our own windows saw.
class WaylandCursorSource : public CursorSource {
public:
    CursorImage cursorImage() override { return {}; }
    PixelPoint pointerPosition() override;
};

}  // namespace tovrimo
