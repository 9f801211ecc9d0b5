// Picture files that stop early decode, with most readers, into a picture of the full size
// whose missing part is grey or black: they must be refused like any unreadable file.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <functional>
#include <string>

#include "capture/PictureFile.h"

using namespace tovrimo;

namespace {

QImage Pattern(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, 90));
    return img;
}

QByteArray Encoded(const char* format, bool progressive = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    writer.setProgressiveScanWrite(progressive);
    EXPECT_TRUE(writer.write(Pattern(200, 150))) << format;
    return bytes;
}

// A two-colour 200 x 150 GIF written by hand (Qt has no GIF writer): every two pixels a clear
// code, so that all codes stay three bits wide.
QByteArray Gif()
{
    const int w = 200, h = 150;
    QByteArray b("GIF89a");
    auto u16 = [&](int v) { b.append(char(v & 0xFF)).append(char(v >> 8)); };
    u16(w);
    u16(h);
    b.append(char(0x80)).append('\0').append('\0');  // a global table of two colours
    b.append(QByteArray("\x00\x00\x00\xFF\xFF\xFF", 6));
    b.append(',');
    u16(0);
    u16(0);
    u16(w);
    u16(h);
    b.append('\0');
    b.append(char(2));  // LZW minimum code size
    QByteArray data;
    uint32_t bits = 0;
    int count = 0;
    auto code = [&](uint32_t c) {
        bits |= c << count;
        count += 3;
        while (count >= 8) {
            data.append(char(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    };
    for (int i = 0; i < w * h; i += 2) {
        code(4);  // clear
        code(uint32_t((i % w / 8 + i / w / 8) & 1));
        code(uint32_t(((i + 1) % w / 8 + i / w / 8) & 1));
    }
    code(5);  // end of information
    if (count) data.append(char(bits & 0xFF));
    for (qsizetype at = 0; at < data.size(); at += 255) {
        const QByteArray block = data.mid(at, 255);
        b.append(char(block.size())).append(block);
    }
    b.append('\0').append(';');
    return b;
}

// The offset of the last start-of-scan marker.
qsizetype LastScan(const QByteArray& jpeg)
{
    return jpeg.lastIndexOf(QByteArray("\xFF\xDA", 2));
}

}  // namespace

TEST(PictureFileCut, AFileThatStopsEarlyIsRefusedWhateverItsFormat)
{
    const QByteArray jpeg = Encoded("JPEG");
    const QByteArray progressive = Encoded("JPEG", true);
    const QByteArray png = Encoded("PNG");
    const QByteArray gif = Gif();
    const QByteArray xbm = Encoded("XBM");
    const QByteArray bmp = Encoded("BMP");
    ASSERT_GT(LastScan(progressive), LastScan(progressive.left(LastScan(progressive))))
        << "a progressive JPEG has several scans";

    struct Case {
        const char* what;
        QByteArray bytes;
        bool loads;
    } cases[] = {
        {"whole JPEG", jpeg, true},
        {"whole JPEG with bytes after its end", jpeg + "trailing bytes", true},
        {"JPEG cut in half", jpeg.left(jpeg.size() / 2), false},
        {"JPEG cut in its last rows", jpeg.left(jpeg.size() - 40), false},
        {"JPEG without its end marker", jpeg.left(jpeg.size() - 2), false},
        {"whole progressive JPEG", progressive, true},
        // The decoder meets the end between two scans and says nothing: only the first
        // passes made it, a blurred picture with wrong colours.
        {"progressive JPEG cut before its last scan", progressive.left(LastScan(progressive)),
         false},
        {"progressive JPEG cut in half", progressive.left(progressive.size() / 2), false},
        {"whole PNG", png, true},
        {"whole bitmap", bmp, true},
        {"bitmap cut in half", bmp.left(bmp.size() / 2), false},
        {"PNG cut in half", png.left(png.size() / 2), false},
        {"whole GIF", gif, true},
        {"GIF cut in half", gif.left(gif.size() / 2), false},
        {"GIF cut before its last data block ends", gif.left(gif.size() - 3), false},
        {"GIF without its trailer", gif.left(gif.size() - 1), true},  // the image is whole
        {"whole XBM", xbm, true},
    };
    QTemporaryDir dir;
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // Named .jpg as a user would pick it in the dialog: the content decides.
        const QString path = dir.filePath(QStringLiteral("picture%1.jpg").arg(++n));
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.bytes);
        }
        const LoadedPicture loaded = LoadPictureFile(path.toStdString());
        if (c.loads) {
            EXPECT_EQ(loaded.error, LoadedPicture::Error::None);
            EXPECT_EQ(loaded.image.size(), QSize(200, 150));
        } else {
            EXPECT_EQ(loaded.error, LoadedPicture::Error::Unreadable);
            EXPECT_TRUE(loaded.image.isNull());
        }
    }
}

TEST(PictureFileCut, AWholeGifShowsItsPixels)
{
    // The hand-made GIF really is the checkerboard it claims to be, so that the cases above
    // test a GIF the reader understands.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("board.gif"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Gif());
    }
    const LoadedPicture loaded = LoadPictureFile(path.toStdString());
    ASSERT_EQ(loaded.error, LoadedPicture::Error::None);
    EXPECT_EQ(loaded.image.pixel(0, 0) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(loaded.image.pixel(8, 0) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(loaded.image.pixel(8, 8) & 0xFFFFFF, 0x000000u);
    EXPECT_EQ(loaded.image.pixel(199, 149) & 0xFFFFFF, 0x000000u);  // 24 + 18 squares: even
}
