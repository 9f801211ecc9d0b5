#pragma once

namespace tovrimo {

// A rectangle of the capture buffer, in buffer pixels.
struct CropRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    friend bool operator==(const CropRect&, const CropRect&) = default;
};

// The rectangle between two corners, both included, whatever the drag direction; a click
// without movement gives one pixel. The corners are first brought inside the buffer, so a
// release beyond the screen's edge selects up to that edge. An empty buffer gives an empty
// rectangle.
CropRect CropRegion(int x1, int y1, int x2, int y2, int bufferWidth, int bufferHeight);

}  // namespace tovrimo
