#include <gtest/gtest.h>

#include <QImage>

#include "capture/CaptureBuffer.h"
#include "capture/CursorOverlay.h"

using namespace tovrimo;

namespace {
QImage Solid(int w, int h, QRgb colour, QImage::Format format = QImage::Format_RGB32)
{
    QImage img(w, h, format);
    img.fill(colour);
    return img;
}
}  // namespace

TEST(CaptureBuffer, PlainTransferCopiesPixelsAtTheSourceSize)
{
    CaptureBuffer buffer;
    buffer.image = Solid(100, 100, 0xFF123456u);
    QImage source = Solid(7, 5, qRgb(10, 20, 30), QImage::Format_RGB888);
    buffer.transferIntoImage(source, false);
    EXPECT_EQ(buffer.image.size(), QSize(7, 5));
    EXPECT_EQ(buffer.image.format(), QImage::Format_RGB32);
    EXPECT_EQ(buffer.image.pixel(6, 4), qRgb(10, 20, 30));
}

TEST(CaptureBuffer, ReverseGivesTheColourNegativeAndStaysOpaque)
{
    struct Case {
        QRgb in;
        QRgb out;
    };
    const Case cases[] = {
        {qRgb(255, 255, 255), qRgb(0, 0, 0)},
        {qRgb(0, 0, 0), qRgb(255, 255, 255)},
        {qRgb(10, 20, 30), qRgb(245, 235, 225)},
        {qRgb(128, 0, 255), qRgb(127, 255, 0)},
    };
    for (const Case& c : cases) {
        const QImage out = CaptureBuffer::transferred(Solid(2, 2, c.in), true);
        EXPECT_EQ(out.pixel(1, 1), c.out) << std::hex << c.in;
        EXPECT_EQ(qAlpha(out.pixel(0, 0)), 255);
    }
}

TEST(CaptureBuffer, TranslucentSourceLandsOnTheWhiteBackground)
{
    QImage source(3, 1, QImage::Format_ARGB32);
    source.setPixel(0, 0, qRgba(0, 0, 0, 0));      // transparent
    source.setPixel(1, 0, qRgba(0, 0, 255, 255));  // opaque blue
    source.setPixel(2, 0, qRgba(0, 0, 0, 128));    // half black
    const QImage plain = CaptureBuffer::transferred(source, false);
    EXPECT_EQ(plain.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(plain.pixel(1, 0), qRgb(0, 0, 255));
    EXPECT_NEAR(qRed(plain.pixel(2, 0)), 127, 1);
    const QImage reversed = CaptureBuffer::transferred(source, true);
    EXPECT_EQ(reversed.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(reversed.pixel(1, 0), qRgb(255, 255, 0));
    EXPECT_EQ(qAlpha(reversed.pixel(2, 0)), 255);
}

TEST(CaptureBuffer, TransferDoesNotShareThePixelsOfTheSource)
{
    CaptureBuffer buffer;
    QImage source = Solid(4, 4, qRgb(1, 2, 3));
    buffer.transferIntoImage(source, false);
    source.fill(qRgb(9, 9, 9));
    EXPECT_EQ(buffer.image.pixel(0, 0), qRgb(1, 2, 3));
}

TEST(CaptureBuffer, StagingTransferAndNullSource)
{
    CaptureBuffer buffer;
    buffer.staging = Solid(3, 2, qRgb(0, 255, 0));
    buffer.transferStagingIntoImage(true);
    EXPECT_EQ(buffer.image.size(), QSize(3, 2));
    EXPECT_EQ(buffer.image.pixel(2, 1), qRgb(255, 0, 255));
    EXPECT_EQ(buffer.staging.pixel(2, 1), qRgb(0, 255, 0));  // the staging image is kept

    buffer.transferIntoImage(QImage(), false);
    EXPECT_TRUE(buffer.image.isNull());
    buffer.clearImage();  // clearing an empty buffer is harmless
    EXPECT_TRUE(buffer.image.isNull());
}

TEST(CaptureBuffer, ClearFillsWithTheWindowColourKeepingTheSize)
{
    CaptureBuffer buffer;
    buffer.image = Solid(5, 6, qRgb(1, 1, 1));
    buffer.clearImage();
    EXPECT_EQ(buffer.image.size(), QSize(5, 6));
    EXPECT_EQ(buffer.image.pixel(4, 5), qRgb(255, 255, 255));
}

TEST(CursorOverlay, DesktopOriginIsTenUpAndLeftOfThePointer)
{
    EXPECT_EQ(DesktopCursorOrigin({100, 50}, {0, 0, 1280, 1024}), (PixelPoint{90, 40}));
    EXPECT_EQ(DesktopCursorOrigin({3, 4}, {0, 0, 1280, 1024}), (PixelPoint{-7, -6}));
    // A primary screen away from the root's origin: buffer coordinates follow the screen.
    EXPECT_EQ(DesktopCursorOrigin({130, 60}, {100, 20, 900, 620}), (PixelPoint{20, 30}));
}

TEST(CursorOverlay, WindowOriginNeedsTheCornerInsideTheRectangle)
{
    const PixelRect window{100, 200, 300, 400};
    struct Case {
        const char* name;
        PixelPoint pointer;
        std::optional<PixelPoint> origin;
    };
    const Case cases[] = {
        {"exactly 8 inside the top-left", {108, 208}, PixelPoint{0, 0}},
        {"well inside", {150, 260}, PixelPoint{42, 52}},
        {"7 inside on x", {107, 260}, std::nullopt},
        {"7 inside on y", {150, 207}, std::nullopt},
        {"on the top-left corner", {100, 200}, std::nullopt},
        {"corner on the right edge counts", {308, 260}, PixelPoint{200, 52}},
        {"corner on the bottom edge counts", {150, 408}, PixelPoint{42, 200}},
        {"past the right edge", {309, 260}, std::nullopt},
        {"past the bottom edge", {150, 409}, std::nullopt},
        {"far away", {-50, -50}, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WindowCursorOrigin(c.pointer, window), c.origin) << c.name;
}

TEST(CursorOverlay, BlendsTheCursorAndClipsAtTheEdges)
{
    QImage cursor(4, 4, QImage::Format_ARGB32_Premultiplied);
    cursor.fill(Qt::transparent);
    cursor.setPixel(0, 0, qRgba(255, 0, 0, 255));
    cursor.setPixel(3, 3, qRgba(128, 0, 0, 128));  // premultiplied half red
    cursor.setPixel(1, 1, qRgba(0, 0, 255, 255));

    QImage target = Solid(10, 10, qRgb(255, 255, 255));
    DrawCursorImage(target, cursor, {2, 3});
    EXPECT_EQ(target.pixel(2, 3), qRgb(255, 0, 0));
    EXPECT_EQ(target.pixel(3, 4), qRgb(0, 0, 255));
    EXPECT_EQ(target.pixel(3, 3), qRgb(255, 255, 255));  // transparent part leaves the pixel
    const QRgb half = target.pixel(5, 6);
    EXPECT_EQ(qRed(half), 255);
    EXPECT_NEAR(qGreen(half), 127, 1);
    EXPECT_NEAR(qBlue(half), 127, 1);

    QImage edge = Solid(10, 10, qRgb(255, 255, 255));
    DrawCursorImage(edge, cursor, {-1, -1});  // only the blue pixel lands, at (0,0)
    EXPECT_EQ(edge.pixel(0, 0), qRgb(0, 0, 255));
    DrawCursorImage(edge, cursor, {9, 9});  // only the red corner lands
    EXPECT_EQ(edge.pixel(9, 9), qRgb(255, 0, 0));
    QImage untouched = Solid(10, 10, qRgb(255, 255, 255));
    DrawCursorImage(untouched, cursor, {10, 0});
    DrawCursorImage(untouched, cursor, {-4, -4});
    EXPECT_EQ(untouched, Solid(10, 10, qRgb(255, 255, 255)));
    DrawCursorImage(untouched, QImage(), {0, 0});  // no cursor: nothing to draw
    EXPECT_EQ(untouched, Solid(10, 10, qRgb(255, 255, 255)));
}
