#pragma once

#include <QImage>

namespace tovrimo {

// The one image every output works from (image) and the surface that holds a clipboard or
// file image or a region crop before it moves into image, and that printing later reuses
// as its page image (staging).
class CaptureBuffer {
public:
    // The buffer's background, the usual window colour.
    static constexpr QRgb kBackground = 0xFFFFFFFFu;

    // Fills image with the background, keeping its size.
    void clearImage();

    // Replaces image with the source at the source's size. With reverse set the colours
    // come out negative, the way an exclusive-or with the freshly cleared white buffer turns
    // them; the image stays opaque.
    void transferIntoImage(const QImage& source, bool reverse);
    void transferStagingIntoImage(bool reverse) { transferIntoImage(staging, reverse); }

    // The transfer alone: an opaque Format_RGB32 copy of the source, negative when reverse.
    static QImage transferred(const QImage& source, bool reverse);

    QImage image;
    QImage staging;
};

}  // namespace tovrimo
