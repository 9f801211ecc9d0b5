#include <gtest/gtest.h>

#include <QImage>

#include "capture/CaptureBuffer.h"
#include "capture/RegionCrop.h"
#include "capture/RegionSelector.h"

using namespace tovrimo;

TEST(RegionCrop, BothCornersIncludedInEveryDragDirection)
{
    struct Case {
        const char* name;
        int x1, y1, x2, y2;
        CropRect expected;
    };
    const Case cases[] = {
        {"down right", 40, 20, 100, 80, {40, 20, 61, 61}},
        {"up left", 100, 80, 40, 20, {40, 20, 61, 61}},
        {"down left", 100, 20, 40, 80, {40, 20, 61, 61}},
        {"up right", 40, 80, 100, 20, {40, 20, 61, 61}},
        {"a click is one pixel", 7, 9, 7, 9, {7, 9, 1, 1}},
        {"a horizontal line is one pixel high", 10, 5, 3, 5, {3, 5, 8, 1}},
        {"a vertical line is one pixel wide", 5, 3, 5, 10, {5, 3, 1, 8}},
        {"the whole buffer", 0, 0, 199, 99, {0, 0, 200, 100}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CropRegion(c.x1, c.y1, c.x2, c.y2, 200, 100), c.expected) << c.name;
    }
}

TEST(RegionCrop, CornersOutsideTheBufferStopAtItsEdge)
{
    struct Case {
        const char* name;
        int x1, y1, x2, y2;
        CropRect expected;
    };
    const Case cases[] = {
        {"beyond the bottom right", 150, 60, 400, 300, {150, 60, 50, 40}},
        {"beyond the top left", 20, 30, -15, -1, {0, 0, 21, 31}},
        {"both beyond one edge", 250, 10, 300, 20, {199, 10, 1, 11}},
        {"the screen larger than the buffer", -5, -5, 1000, 1000, {0, 0, 200, 100}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CropRegion(c.x1, c.y1, c.x2, c.y2, 200, 100), c.expected) << c.name;
    }
}

TEST(RegionCrop, AnEmptyBufferGivesAnEmptyRectangle)
{
    EXPECT_EQ(CropRegion(0, 0, 10, 10, 0, 0), CropRect{});
    EXPECT_EQ(CropRegion(0, 0, 10, 10, 100, 0), CropRect{});
}

TEST(RegionCrop, TheCutFillsBothBuffersWithTheSelectedPixels)
{
    QImage source(50, 40, QImage::Format_RGB32);
    for (int y = 0; y < source.height(); ++y) {
        for (int x = 0; x < source.width(); ++x) source.setPixel(x, y, qRgb(x * 5, y * 6, 7));
    }
    CaptureBuffer buffer;
    buffer.image = source;
    RegionSelector::applyCrop(buffer, source, CropRegion(30, 25, 10, 5, 50, 40));
    ASSERT_EQ(buffer.image.size(), QSize(21, 21));
    ASSERT_EQ(buffer.staging.size(), QSize(21, 21));
    for (QPoint p : {QPoint(0, 0), QPoint(20, 20), QPoint(20, 0), QPoint(0, 20), QPoint(7, 11)}) {
        const QRgb expected = source.pixel(p + QPoint(10, 5));
        EXPECT_EQ(buffer.image.pixel(p), expected) << p.x() << "," << p.y();
        EXPECT_EQ(buffer.staging.pixel(p), expected) << p.x() << "," << p.y();
    }
    // Two separate images: the staging surface is reused for printing later.
    buffer.staging.setPixel(0, 0, qRgb(1, 2, 3));
    EXPECT_EQ(buffer.image.pixel(0, 0), source.pixel(10, 5));
}
