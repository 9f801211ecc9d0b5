#include "capture/PictureFile.h"

#include <QFileInfo>
#include <QImageReader>
#include <algorithm>

namespace tovrimo {

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
