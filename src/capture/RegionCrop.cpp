#include "capture/RegionCrop.h"

#include <algorithm>
#include <cstdlib>

namespace tovrimo {

CropRect CropRegion(int x1, int y1, int x2, int y2, int bufferWidth, int bufferHeight)
{
    if (bufferWidth <= 0 || bufferHeight <= 0) return {};
    x1 = std::clamp(x1, 0, bufferWidth - 1);
    x2 = std::clamp(x2, 0, bufferWidth - 1);
    y1 = std::clamp(y1, 0, bufferHeight - 1);
    y2 = std::clamp(y2, 0, bufferHeight - 1);
    return {std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1) + 1, std::abs(y2 - y1) + 1};
}

}  // namespace tovrimo
