#include "harness/Ink.h"

#include <algorithm>
#include <cstdlib>
#include <functional>

namespace tovrimo::test {

namespace {

QRect BoundsWhere(const QImage& page, const std::function<bool(QRgb)>& matches)
{
    const QImage image = page.convertToFormat(QImage::Format_RGB32);
    int left = image.width(), top = image.height(), right = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (!matches(line[x])) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    if (right < 0) return {};
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

bool Near(QRgb pixel, QColor colour, int tolerance)
{
    return std::abs(qRed(pixel) - colour.red()) <= tolerance &&
           std::abs(qGreen(pixel) - colour.green()) <= tolerance &&
           std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
}

}  // namespace

QRect Ink::bounds(const QImage& page, int tolerance)
{
    return BoundsWhere(page, [tolerance](QRgb p) {
        return std::min({qRed(p), qGreen(p), qBlue(p)}) < 255 - tolerance;
    });
}

QRect Ink::boundsOf(const QImage& page, QColor colour, int tolerance)
{
    return BoundsWhere(page, [&](QRgb p) { return Near(p, colour, tolerance); });
}

int Ink::count(const QImage& page, QColor colour, int tolerance)
{
    const QImage image = page.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) n += Near(line[x], colour, tolerance) ? 1 : 0;
    }
    return n;
}

}  // namespace tovrimo::test
