#include "capture/CursorOverlay.h"

#include <QPainter>

namespace tovrimo {

namespace {
constexpr int32_t kDesktopCursorOffset = 10;
constexpr int32_t kWindowCursorOffset = 8;
}  // namespace

PixelPoint DesktopCursorOrigin(PixelPoint pointer, const PixelRect& screen)
{
    return {pointer.x - kDesktopCursorOffset - screen.left,
            pointer.y - kDesktopCursorOffset - screen.top};
}

std::optional<PixelPoint> WindowCursorOrigin(PixelPoint pointer, const PixelRect& window)
{
    const int32_t x = pointer.x - kWindowCursorOffset;
    const int32_t y = pointer.y - kWindowCursorOffset;
    if (x < window.left || x > window.right || y < window.top || y > window.bottom)
        return std::nullopt;
    return PixelPoint{x - window.left, y - window.top};
}

void DrawCursorImage(QImage& target, const QImage& cursor, PixelPoint origin)
{
    if (target.isNull() || cursor.isNull()) return;
    QPainter painter(&target);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(origin.x, origin.y, cursor);
}

}  // namespace tovrimo
