#pragma once

#include <QImage>
#include <vector>

#include "platform/ScreenGrabber.h"

namespace tovrimo::test {

// A screen made of an image at the root's origin; grabs read from it like from the real one.
class FakeScreenGrabber : public ScreenGrabber {
public:
    explicit FakeScreenGrabber(QImage screenImage = QImage())
        : screen(std::move(screenImage)), primary{0, 0, screen.width(), screen.height()}
    {
    }

    PixelRect primaryScreenRect() override { return primary; }

    QImage grab(const PixelRect& rect) override
    {
        grabs.push_back(rect);
        if (refuses || rect.width() <= 0 || rect.height() <= 0) return QImage();
        QImage out(rect.width(), rect.height(), QImage::Format_RGB32);
        out.fill(0xFF000000u);
        for (int y = 0; y < rect.height(); ++y)
            for (int x = 0; x < rect.width(); ++x) {
                const int sx = rect.left + x, sy = rect.top + y;
                if (screen.valid(sx, sy)) out.setPixel(x, y, screen.pixel(sx, sy));
            }
        return out;
    }

    QImage screen;
    PixelRect primary;
    std::vector<PixelRect> grabs;
    // As a desktop that does not let the program read the screen: every grab gives nothing.
    bool refuses = false;
};

}  // namespace tovrimo::test
