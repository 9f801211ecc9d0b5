#include "platform/wayland/WaylandScreenGrabber.h"

#include <algorithm>

namespace tovrimo {

QImage CutFromLayout(const QImage& shot, const PixelRect& rect)
{
    if (rect.width() <= 0 || rect.height() <= 0 || shot.isNull()) return QImage();
    const QImage source = shot.convertToFormat(QImage::Format_RGB32);
    QImage result(rect.width(), rect.height(), QImage::Format_RGB32);
    result.fill(Qt::black);
    const QRect wanted(rect.left, rect.top, rect.width(), rect.height());
    const QRect available = wanted.intersected(source.rect());
    for (int y = available.top(); y <= available.bottom(); ++y) {
        const auto* from =
            reinterpret_cast<const QRgb*>(source.constScanLine(y)) + available.left();
        auto* to =
            reinterpret_cast<QRgb*>(result.scanLine(y - rect.top)) + (available.left() - rect.left);
        std::copy(from, from + available.width(), to);
    }
    return result;
}

}  // namespace tovrimo
