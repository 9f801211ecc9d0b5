#include "capture/CaptureBuffer.h"

#include <QPainter>

namespace tovrimo {

void CaptureBuffer::clearImage()
{
    if (!image.isNull()) image.fill(kBackground);
}

void CaptureBuffer::transferIntoImage(const QImage& source, bool reverse)
{
    image = transferred(source, reverse);
}

QImage CaptureBuffer::transferred(const QImage& source, bool reverse)
{
    if (source.isNull()) return QImage();
    QImage result;
    if (source.hasAlphaChannel()) {
        // A translucent source lands on the cleared white buffer; a plain format conversion
        // would turn its transparent parts black instead.
        result = QImage(source.size(), QImage::Format_RGB32);
        result.fill(kBackground);
        QPainter painter(&result);
        painter.drawImage(0, 0, source);
    } else {
        result = source.convertToFormat(QImage::Format_RGB32);
        result.detach();  // never share pixels with the caller's image
    }
    if (reverse) result.invertPixels(QImage::InvertRgb);
    return result;
}

}  // namespace tovrimo
