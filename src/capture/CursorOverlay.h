#pragma once

#include <QImage>
#include <optional>

#include "platform/PixelGeometry.h"

namespace tovrimo {

// Where the cursor goes in a desktop capture: its image's top-left corner 10 pixels up and
// left of the pointer, relative to the captured screen. No bounds test; drawing clips.
PixelPoint DesktopCursorOrigin(PixelPoint pointer, const PixelRect& screen);

// Where the cursor goes in a window capture, in buffer coordinates: 8 pixels up and left of
// the pointer, and only when that corner lies within the window's rectangle (edges included).
std::optional<PixelPoint> WindowCursorOrigin(PixelPoint pointer, const PixelRect& window);

// Composites an ARGB cursor image onto the target with its top-left corner at origin; the
// parts outside the target are clipped.
void DrawCursorImage(QImage& target, const QImage& cursor, PixelPoint origin);

}  // namespace tovrimo
