#include "capture/PictureFile.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <cstdlib>
#include <optional>

namespace tovrimo {

namespace {

// What a Windows bitmap's headers say about its pixels, read directly: Qt's reader decodes a
// bitmap whose pixel data stops early without complaint (the missing rows come out black), and
// describes none of a bitmap too large for it, so that both cases would otherwise go unseen.
struct BitmapHeader {
    int width = 0;
    int height = 0;                 // magnitude; negative heights mean top-down rows
    int64_t pixelBytesNeeded = -1;  // -1 when compressed or unknown
    int64_t pixelOffset = 0;
};

uint32_t Le32(const QByteArray& b, int at)
{
    return uint32_t(uint8_t(b[at])) | uint32_t(uint8_t(b[at + 1])) << 8 |
           uint32_t(uint8_t(b[at + 2])) << 16 | uint32_t(uint8_t(b[at + 3])) << 24;
}

std::optional<BitmapHeader> ReadBitmapHeader(const QString& name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray b = file.read(54);
    // BITMAPFILEHEADER followed by a BITMAPINFOHEADER or a later, longer version of it.
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M' || Le32(b, 14) < 40) return std::nullopt;
    BitmapHeader h;
    const auto width = static_cast<int32_t>(Le32(b, 18));
    const auto height = static_cast<int32_t>(Le32(b, 22));
    if (width <= 0 || height == 0 || height == INT32_MIN) return std::nullopt;
    h.width = width;
    h.height = std::abs(height);
    h.pixelOffset = Le32(b, 10);
    const int bitsPerPixel = uint8_t(b[28]) | uint8_t(b[29]) << 8;
    const uint32_t compression = Le32(b, 30);
    constexpr uint32_t kRgb = 0, kBitFields = 3;
    if ((compression == kRgb || compression == kBitFields) && bitsPerPixel > 0 &&
        bitsPerPixel <= 32) {
        const int64_t rowBytes = (int64_t{h.width} * bitsPerPixel + 31) / 32 * 4;
        h.pixelBytesNeeded = rowBytes * h.height;
    }
    return h;
}

}  // namespace

bool PictureSizeAllowed(int width, int height, int64_t maxBytes)
{
    if (width <= 0 || height <= 0) return true;  // unknown here; decoding will tell
    if (width > kMaxPictureSide || height > kMaxPictureSide) return false;
    return int64_t{width} * height * 4 <= maxBytes;
}

LoadedPicture LoadPictureFile(const std::string& path, int64_t maxBytes)
{
    const QString name = QString::fromStdString(path);
    if (!QFileInfo(name).isFile()) return {QImage(), LoadedPicture::Error::Unreadable};
    QImageReader reader(name);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);  // the pixels as stored, as the picture loader shows them
    // Backstop for formats whose header tells no size: the decoder refuses past this.
    reader.setAllocationLimit(static_cast<int>(std::max<int64_t>(1, maxBytes / (1024 * 1024))));
    if (const std::optional<BitmapHeader> bmp = ReadBitmapHeader(name)) {
        if (!PictureSizeAllowed(bmp->width, bmp->height, maxBytes))
            return {QImage(), LoadedPicture::Error::TooLarge};
        if (bmp->pixelBytesNeeded >= 0 &&
            QFileInfo(name).size() < bmp->pixelOffset + bmp->pixelBytesNeeded)
            return {QImage(), LoadedPicture::Error::Unreadable};
    }
    if (!reader.canRead()) return {QImage(), LoadedPicture::Error::Unreadable};
    const QSize size = reader.size();
    if (size.isValid() && !PictureSizeAllowed(size.width(), size.height(), maxBytes))
        return {QImage(), LoadedPicture::Error::TooLarge};
    QImage image = reader.read();
    if (image.isNull()) return {QImage(), LoadedPicture::Error::Unreadable};
    if (!PictureSizeAllowed(image.width(), image.height(), maxBytes))
        return {QImage(), LoadedPicture::Error::TooLarge};
    return {std::move(image), LoadedPicture::Error::None};
}

}  // namespace tovrimo
