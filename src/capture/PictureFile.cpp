#include "capture/PictureFile.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <algorithm>
#include <cstdlib>
#include <cstring>
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

// The picture file as the decoder reads it, noting whether the decoder asked for bytes after
// the last one. The JPEG decoder fills in what a cut file lacks (grey rows, a made-up end
// marker) and reports success; asking for more than the file holds is how it shows that the
// data ran out. (After a read the reader itself looks past the end for a next picture, so
// this counts only for a decoder that stops at its own end marker.) Unbuffered, so that each
// read of the decoder is one read here.
class EndWatchingFile : public QFile {
public:
    using QFile::QFile;
    bool ranOut() const { return ranOut_; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 n = QFile::readData(data, maxSize);
        if (n == 0 && maxSize > 0) ranOut_ = true;
        return n;
    }

private:
    bool ranOut_ = false;
};

// Whether a GIF holds its first image whole: the blocks up to the end of that image's data
// are all there. Qt's GIF reader reads on to the end of every file, whole or cut, and hands
// back what it decoded either way, so the structure itself has to tell.
bool GifFirstImageWhole(QFile& file)
{
    const qint64 n = file.size();
    const uchar* p = n > 0 ? file.map(0, n) : nullptr;
    if (!p) return false;
    struct Unmap {
        QFile& f;
        const uchar* p;
        ~Unmap() { f.unmap(const_cast<uchar*>(p)); }
    } unmap{file, p};
    auto colourTable = [](uchar flags) {
        return flags & 0x80 ? 3 * (qint64{2} << (flags & 7)) : 0;
    };
    // Skips data sub-blocks up to and including their zero-length terminator.
    auto skipSubBlocks = [&](qint64& at) {
        for (;;) {
            if (at >= n) return false;
            const qint64 length = p[at++];
            if (length == 0) return true;
            at += length;
        }
    };
    if (n < 13 || std::memcmp(p, "GIF8", 4) != 0) return false;
    qint64 at = 13 + colourTable(p[10]);
    for (;;) {
        if (at >= n) return false;
        const uchar block = p[at++];
        if (block == 0x21) {  // extension: label, then sub-blocks
            ++at;
            if (!skipSubBlocks(at)) return false;
        } else if (block == 0x2C) {  // image: descriptor, local colour table, code size, data
            if (at + 9 > n) return false;
            at += 9 + colourTable(p[at + 8]) + 1;
            return skipSubBlocks(at);
        } else {
            return false;  // the trailer or a stray byte before any image
        }
    }
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
    EndWatchingFile file(name);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {QImage(), LoadedPicture::Error::Unreadable};
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);  // the pixels as stored, as the picture loader shows them
    // Backstop for formats whose header tells no size: the decoder refuses past this.
    reader.setAllocationLimit(
        static_cast<int>(std::max<int64_t>(1, maxBytes / (int64_t{1024} * 1024))));
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
    // Known before the read: afterwards the reader no longer tells.
    const QByteArray format = reader.format();
    QImage image = reader.read();
    if (image.isNull()) return {QImage(), LoadedPicture::Error::Unreadable};
    // A picture that decodes only in part is no picture to print: the part that came out is
    // padded with grey or black and looks like a capture. PNG and the others fail by
    // themselves, bitmaps were measured above; JPEG and GIF decoders say nothing.
    const bool whole = format == "gif"    ? GifFirstImageWhole(file)
                       : format == "jpeg" ? !file.ranOut()
                                          : true;
    if (!whole) return {QImage(), LoadedPicture::Error::Unreadable};
    if (!PictureSizeAllowed(image.width(), image.height(), maxBytes))
        return {QImage(), LoadedPicture::Error::TooLarge};
    return {std::move(image), LoadedPicture::Error::None};
}

}  // namespace tovrimo
