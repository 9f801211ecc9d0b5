#pragma once

#include <cstdint>

namespace tovrimo {

// Screen pixels in root-window coordinates. A rectangle's right and bottom are exclusive,
// so width = right - left.
struct PixelPoint {
    int32_t x = 0;
    int32_t y = 0;

    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

}  // namespace tovrimo
