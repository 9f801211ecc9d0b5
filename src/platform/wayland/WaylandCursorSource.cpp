#include "platform/wayland/WaylandCursorSource.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace tovrimo {

PixelPoint WaylandCursorSource::pointerPosition()
{
    const QPoint logical = QCursor::pos();
    const QScreen* primary = QGuiApplication::primaryScreen();
    const double scale = primary ? primary->devicePixelRatio() : 1.0;
    return {static_cast<int32_t>(std::lround(logical.x() * scale)),
            static_cast<int32_t>(std::lround(logical.y() * scale))};
}

}  // namespace tovrimo
