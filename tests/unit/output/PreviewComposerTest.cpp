#include <gtest/gtest.h>

#include "doubles/FakePrinterBackend.h"
#include "output/PreviewComposer.h"
#include "output/PrinterCapabilityCache.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

// A4 at 300 dpi with 75-pixel margins: PW 11904, PH 16838, A = B = Ar = Bb = 360 twips.
PreviewInput A4Input()
{
    PreviewInput in;
    in.page = FakePrinterBackend::a4("P").portrait;
    in.imageWidthPixels = 200;
    in.imageHeightPixels = 100;
    in.titleWidthTwips = 1000.4;
    in.titleHeightTwips = 200.2;
    in.titleBlank = false;
    return in;
}

}  // namespace

TEST(PreviewComposer, SheetIsCentredInABoxOfOnePointTwoTimesTheLongerSide)
{
    const PreviewPicture p = ComposePreview(A4Input());
    EXPECT_DOUBLE_EQ(p.scale, 1.2 * 16838);
    // x0 = (nearest(20205.6 - 11904) = 8302) / 2, y0 = (nearest(3367.6) = 3368) / 2
    EXPECT_EQ(p.sheet, QRect(4151, 1684, 11904, 16838));
    EXPECT_EQ(p.printable, QRect(4151 + 360, 1684 + 360, 11904 - 720, 16838 - 720));
    EXPECT_DOUBLE_EQ(p.shadow.x(), 4151 + 202.056);
    EXPECT_DOUBLE_EQ(p.shadow.y(), 1684 + 202.056);
    EXPECT_DOUBLE_EQ(p.shadow.width(), 11904);
}

TEST(PreviewComposer, BoxesFollowThePageGeometry)
{
    struct Case {
        const char* why;
        ScaleMode size;
        PagePosition pos;
        TitlePlacement valign;
        TitleAlignment align;
        bool blank;
        QRect image, title;
        std::optional<int> fit;
        std::optional<double> left, top;
    } cases[] = {
        // Actual size 3000 x 1500 at the top left; the title takes the image's place and the
        // image moves down by T + 5 printer pixels (24 twips).
        {"top left, title above", ScaleMode::ActualSize, PagePosition::TopLeft,
         TitlePlacement::AboveImage, TitleAlignment::ImageLeft, false,
         QRect(4511, 1684 + 584, 3000, 1500), QRect(4511, 1684 + 360, 1000, 200), std::nullopt, 0.0,
         224.0 / 567},
        // Title right-aligned below a bottom-right image, which moves up by T + gap.
        {"bottom right, title below", ScaleMode::ActualSize, PagePosition::BottomRight,
         TitlePlacement::BelowImage, TitleAlignment::ImageRight, false,
         QRect(4151 + 8544, 1684 + 14754, 3000, 1500), QRect(4151 + 10544, 1684 + 16278, 1000, 200),
         std::nullopt, 8184.0 / 567, 14394.0 / 567},
        // Fit: too small both ways and wider than tall, so the width is fitted: W = C = 11184,
        // H = 5592; the measured title height and the gap are still reserved. Centred.
        {"fit, blank title, centred", ScaleMode::FitToPaper, PagePosition::Centre,
         TitlePlacement::AboveImage, TitleAlignment::ImageCentre, true,
         QRect(4511, 1684 + 5623, 11184, 5592), QRect(4511 + 5092, 1684 + 5599, 1000, 0), 372, 0.0,
         5263.0 / 567},
        // 50 %: 1500 x 750 at the centre, title centred above.
        {"half size centred", ScaleMode::Percent, PagePosition::Centre, TitlePlacement::AboveImage,
         TitleAlignment::ImageCentre, false, QRect(4151 + 5202, 1684 + 8044, 1500, 750),
         QRect(4151 + 5452, 1684 + 7820, 1000, 200), std::nullopt, 4842.0 / 567, 7684.0 / 567},
    };
    for (const auto& c : cases) {
        PreviewInput in = A4Input();
        in.scaleMode = c.size;
        in.sizePercent = 50;
        in.position = c.pos;
        in.titlePlacement = c.valign;
        in.titleAlignment = c.align;
        in.titleBlank = c.blank;
        const PreviewPicture p = ComposePreview(in);
        ASSERT_TRUE(p.placed) << c.why;
        EXPECT_EQ(p.image, c.image) << c.why;
        EXPECT_EQ(p.title, c.title) << c.why;
        EXPECT_EQ(p.fitPercent, c.fit) << c.why;
        ASSERT_TRUE(p.leftCm && p.topCm) << c.why;
        EXPECT_NEAR(*p.leftCm, *c.left, 1e-9) << c.why;
        EXPECT_NEAR(*p.topCm, *c.top, 1e-9) << c.why;
    }
}

TEST(PreviewComposer, ManualPositionUsesTheOffsetBoxes)
{
    PreviewInput in = A4Input();
    in.position = PagePosition::Manual;
    in.titlePlacement = TitlePlacement::BelowImage;
    in.leftCm = 1;
    in.topCm = 2;
    PreviewPicture p = ComposePreview(in);
    ASSERT_TRUE(p.placed);
    EXPECT_EQ(p.image.topLeft(), QPoint(4151 + 360 + 567, 1684 + 360 + 1134));
    EXPECT_FALSE(p.leftCm.has_value());  // the boxes keep what the user typed

    for (auto bad : {std::pair<std::optional<double>, std::optional<double>>{std::nullopt, 2.0},
                     {1.0, std::nullopt},
                     {1e12, 0.0}}) {
        in.leftCm = bad.first;
        in.topCm = bad.second;
        p = ComposePreview(in);
        EXPECT_FALSE(p.placed);
        EXPECT_EQ(p.sheet, QRect(4151, 1684, 11904, 16838));  // the sheet is still drawn
    }
}

TEST(PreviewComposer, BoxCoordinatesMapOntoPixels)
{
    EXPECT_EQ(PreviewToPixels(QRectF(100, 100, 500, 250), 1000, QSize(100, 200)),
              QRect(10, 20, 50, 50));
    EXPECT_EQ(PreviewToPixels(QRectF(0, 0, 1000, 1000), 1000, QSize(249, 231)),
              QRect(0, 0, 249, 231));
    EXPECT_EQ(PreviewToPixels(QRectF(0, 0, 10, 10), 0, QSize(249, 231)), QRect());
}

TEST(PrinterCapabilityCache, AsksThePrinterOncePerSizeAndOrientation)
{
    constexpr auto kPortrait = QPageLayout::Portrait;
    FakePrinterBackend printers;
    printers.printers = {FakePrinterBackend::a4("P")};
    PrinterCapabilityCache cache(printers);
    ASSERT_TRUE(cache.pageMetrics("P", 9, kPortrait).has_value());
    cache.pageMetrics("P", 9, kPortrait);
    EXPECT_EQ(printers.metricsQueries, 1);
    cache.pageMetrics("P", 9, QPageLayout::Landscape);
    cache.pageMetrics("P", 0, kPortrait);
    EXPECT_EQ(printers.metricsQueries, 3);
    EXPECT_FALSE(cache.pageMetrics("Gone", 9, kPortrait).has_value());
    EXPECT_FALSE(cache.pageMetrics("Gone", 9, kPortrait).has_value());
    EXPECT_EQ(printers.metricsQueries, 4);
    EXPECT_EQ(cache.paperSizes("P"), std::vector<int>{9});
    cache.clear();
    cache.pageMetrics("P", 9, kPortrait);
    EXPECT_EQ(printers.metricsQueries, 5);
}

TEST(PrinterCapabilityCache, AnswersInTheLayoutsPaperSizeCodes)
{
    FakePrinterBackend printers;
    FakePrinterBackend::Printer p = FakePrinterBackend::a4("P");
    // A10 is a sheet the settings have no number for: the dialog never lists it.
    p.sizes = {QPageSize::Letter, QPageSize::A10, QPageSize::A4, QPageSize::Postcard};
    p.defaultSize = QPageSize::Letter;
    FakePrinterBackend::Printer own = FakePrinterBackend::a4("Own");
    own.defaultSize = QPageSize::Custom;  // set to none of its sheets
    printers.printers = {p, own};
    PrinterCapabilityCache cache(printers);
    EXPECT_EQ(cache.paperSizes("P"), (std::vector<int>{1, 9, 43}));
    EXPECT_EQ(cache.defaultPaperSize("P"), 1);
    EXPECT_EQ(cache.defaultPaperSize("Own"), 0);

    // The code goes to the printer as its Qt size, 0 as the printer's own.
    ASSERT_TRUE(cache.pageMetrics("P", 1, QPageLayout::Portrait).has_value());
    ASSERT_TRUE(cache.pageMetrics("P", 0, QPageLayout::Landscape).has_value());
    {
        std::lock_guard lock(printers.countMutex);
        EXPECT_EQ((printers.metricsQueriesFor[{"P", QPageSize::Letter, QPageLayout::Portrait}]), 1);
        EXPECT_EQ((printers.metricsQueriesFor[{"P", QPageSize::Custom, QPageLayout::Landscape}]),
                  1);
    }
    // A code with no standard sheet of its own (17 is Tabloid's second number) is no sheet of
    // any printer: the printer is not even asked.
    EXPECT_FALSE(cache.pageMetrics("P", 17, QPageLayout::Portrait).has_value());
    EXPECT_EQ(printers.metricsQueries, 2);
}
