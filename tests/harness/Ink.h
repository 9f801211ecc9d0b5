#pragma once

#include <QColor>
#include <QImage>
#include <QRect>

namespace tovrimo::test {

// Where something was printed on a rendered page, to the pixel.
class Ink {
public:
    // Bounding box of every pixel that is not white: one whose darkest channel is below
    // 255 - tolerance. Empty when the page is blank.
    static QRect bounds(const QImage& page, int tolerance = 24);
    // Bounding box of the pixels within tolerance (per channel) of the colour.
    static QRect boundsOf(const QImage& page, QColor colour, int tolerance = 24);
    // How many pixels are within tolerance of the colour.
    static int count(const QImage& page, QColor colour, int tolerance = 24);
};

}  // namespace tovrimo::test
