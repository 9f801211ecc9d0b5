#include "platform/wayland/WaylandCursorSource.h"

#include <QCursor>
#include <cmath>

#include "platform/ScreenDensity.h"

namespace tovrimo {

PixelPoint WaylandCursorSource::pointerPosition()
{
    const QPoint logical = QCursor::pos();
    const double scale = PrimaryDevicePixelRatio();
    return {static_cast<int32_t>(std::lround(logical.x() * scale)),
            static_cast<int32_t>(std::lround(logical.y() * scale))};
}

}  // namespace tovrimo
