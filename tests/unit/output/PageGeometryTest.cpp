#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "output/PageGeometry.h"

using namespace tovrimo;

namespace {

// A printable area of 10000 x 14000 twips behind margins of 240 / 288.
Margins PortraitMargins()
{
    Margins m;
    m.pageWidth = 10480;
    m.pageHeight = 14576;
    m.left = 240;
    m.top = 288;
    m.right = 240;
    m.bottom = 288;
    m.printableWidth = 10000;
    m.printableHeight = 14000;
    return m;
}

// A4 portrait at 300 dpi: margins A 240, B 288, Ar 240, Bb 384 (see the margins test).
Margins A4Margins()
{
    Margins m;
    m.pageWidth = 11906;
    m.pageHeight = 16838;
    m.left = 240;
    m.top = 288;
    m.right = 240;
    m.bottom = 384;
    m.printableWidth = 11426;
    m.printableHeight = 16166;
    return m;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Margins

TEST(PageGeometryMargins, ComputedFromDevicePixelsWithEachAxisOwnResolution)
{
    struct Case {
        const char* name;
        PageMetrics page;
        Margins expected;
    };
    PageMetrics portrait;                            // A4 at 300 dpi, px = py = 4.8
    portrait.sheetPoints.setWidth(11905.5 / 20.0);   // tie -> 11906
    portrait.sheetPoints.setHeight(16837.5 / 20.0);  // tie -> 16838
    portrait.printablePixels.moveLeft(50);           // 240
    portrait.printablePixels.moveTop(60);            // 288
    portrait.sheetPixels.setWidth(2480);             // right: 2480-2380-50 = 50 px = 240
    portrait.sheetPixels.setHeight(3508);            // bottom: 3508-3368-60 = 80 px = 384
    portrait.printablePixels.setWidth(2380);
    portrait.printablePixels.setHeight(3368);
    portrait.dotsPerInchX = 300;
    portrait.dotsPerInchY = 300;

    // Landscape sheet as the back end hands it over (already rotated), with a different
    // resolution across (600 dpi, px 2.4) than down (300 dpi, py 4.8) so that mixing the
    // axes shows.
    PageMetrics landscape;
    landscape.sheetPoints.setWidth(16837.5 / 20.0);
    landscape.sheetPoints.setHeight(11905.5 / 20.0);
    landscape.printablePixels.moveLeft(120);  // 120 * 2.4 = 288
    landscape.printablePixels.moveTop(60);    // 60 * 4.8 = 288
    landscape.sheetPixels.setWidth(7016);     // right: 7016-6736-120 = 160 px * 2.4 = 384
    landscape.sheetPixels.setHeight(2480);    // bottom: 2480-2340-60 = 80 px * 4.8 = 384
    landscape.printablePixels.setWidth(6736);
    landscape.printablePixels.setHeight(2340);
    landscape.dotsPerInchX = 600;
    landscape.dotsPerInchY = 300;

    // 320 dpi: 4.5 twips per pixel, so every margin lands on a half twip.
    PageMetrics halves;
    halves.sheetPoints.setWidth(1000.5 / 20.0);  // -> 1000
    halves.sheetPoints.setHeight(2000 / 20.0);
    halves.printablePixels.moveLeft(3);  // 13.5 -> 14
    halves.printablePixels.moveTop(5);   // 22.5 -> 22
    halves.sheetPixels.setWidth(230);    // right: 230-220-3 = 7 px = 31.5 -> 32
    halves.sheetPixels.setHeight(450);   // bottom: 450-444-5 = 1 px = 4.5 -> 4
    halves.printablePixels.setWidth(220);
    halves.printablePixels.setHeight(444);
    halves.dotsPerInchX = 320;
    halves.dotsPerInchY = 320;

    const std::vector<Case> cases = {
        // C = 11906-240-240, D = 16838-288-384
        {"portrait", portrait, {11906, 16838, 240, 288, 240, 384, 11426, 16166}},
        // C = 16838-288-384, D = 11906-288-384
        {"landscape", landscape, {16838, 11906, 288, 288, 384, 384, 16166, 11234}},
        // C = 1000-14-32, D = 2000-22-4
        {"half twips round to even", halves, {1000, 2000, 14, 22, 32, 4, 954, 1974}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Margins m = ComputeMargins(c.page);
        EXPECT_EQ(m.pageWidth, c.expected.pageWidth);
        EXPECT_EQ(m.pageHeight, c.expected.pageHeight);
        EXPECT_EQ(m.left, c.expected.left);
        EXPECT_EQ(m.top, c.expected.top);
        EXPECT_EQ(m.right, c.expected.right);
        EXPECT_EQ(m.bottom, c.expected.bottom);
        EXPECT_EQ(m.printableWidth, c.expected.printableWidth);
        EXPECT_EQ(m.printableHeight, c.expected.printableHeight);
    }
}

// ---------------------------------------------------------------------------------------
// Image size

TEST(PageGeometrySize, FixedScaleModes)
{
    struct Case {
        const char* name;
        ScaleMode mode;
        int percent;
        int64_t iw, ih;
        double sx, sy;
        ImageSize expected;
    };
    const std::vector<Case> cases = {
        {"actual size at 96 dpi", ScaleMode::ActualSize, 100, 640, 480, 15, 15, {9600, 7200}},
        {"actual size ignores the percentage",
         ScaleMode::ActualSize,
         50,
         640,
         480,
         15,
         15,
         {9600, 7200}},
        // 3 * 7.5 = 22.5 -> 22, 5 * 7.5 = 37.5 -> 38
        {"actual size rounds half to even", ScaleMode::ActualSize, 100, 3, 5, 7.5, 7.5, {22, 38}},
        {"actual size, unequal screen axes",
         ScaleMode::ActualSize,
         100,
         10,
         10,
         15,
         12,
         {150, 120}},
        {"half size", ScaleMode::Percent, 50, 640, 480, 15, 15, {4800, 3600}},
        {"double size", ScaleMode::Percent, 200, 640, 480, 15, 15, {19200, 14400}},
        // 1 * 15 * 50 / 100 = 7.5 -> 8, 3 * 15 * 50 / 100 = 22.5 -> 22
        {"percentage rounds half to even", ScaleMode::Percent, 50, 1, 3, 15, 15, {8, 22}},
        {"zero percent", ScaleMode::Percent, 0, 640, 480, 15, 15, {0, 0}},
        {"negative percent has no room", ScaleMode::Percent, -10, 640, 480, 15, 15, {0, 0}},
        {"fit mode is not a fixed scale", ScaleMode::FitToPaper, 100, 640, 480, 15, 15, {0, 0}},
        {"unrecognised mode", ScaleMode::Unrecognised, 100, 640, 480, 15, 15, {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FixedScaleSize(c.mode, c.percent, c.iw, c.ih, c.sx, c.sy), c.expected);
    }
}

TEST(PageGeometrySize, FitToPaperBranches)
{
    // Printable 10000 x 14000, title 300, gap 24: height left for the image 13676.
    struct Case {
        const char* name;
        Margins margins;
        int64_t iw, ih;
        double sx, sy;
        int64_t title, gap;
        ImageSize expected;
    };
    Margins landscape = PortraitMargins();
    landscape.printableWidth = 14000;
    landscape.printableHeight = 10000;

    Margins wide = PortraitMargins();
    wide.printableWidth = 10000;
    wide.printableHeight = 5000;

    Margins narrow = PortraitMargins();  // for the rounding of the room across
    narrow.printableWidth = 997;
    narrow.printableHeight = 1000;

    const Margins p = PortraitMargins();
    const std::vector<Case> cases = {
        // 6000 across fits, 15000 down does not: H = 13676, W = 400*13676/1000 = 5470.4
        {"fits across, too tall: fit height", p, 400, 1000, 15, 15, 300, 24, {5470, 13676}},
        // 18000 across does not fit, 7500 down does: W = 10000, H = 500*10000/1200 = 4166.7
        {"too wide, fits down: fit width", p, 1200, 500, 15, 15, 300, 24, {10000, 4167}},
        // Across exactly fills (1000 * 10 = 10000, room 0 counts as fitting), down does not
        // (5000 - 9000 - 324): fit height 4676, W = 1000*4676/900 = 5195.6 -> 5196. Were room
        // 0 not fitting, the wide shape would fit the width instead.
        {"room across of exactly 0 fits", wide, 1000, 900, 10, 10, 300, 24, {5196, 4676}},
        // Both fit, taller: enlarged to H 13676, W = 100*13676/200 = 6838
        {"small tall image is enlarged to the height", p, 100, 200, 15, 15, 300, 24, {6838, 13676}},
        // Both fit, wider: enlarged to W 10000, H = 100*10000/200 = 5000
        {"small wide image is enlarged to the width", p, 200, 100, 15, 15, 300, 24, {10000, 5000}},
        // Square counts as tall: H 13676, W 13676, wider than the printable 10000.
        {"small square image fits height and overhangs",
         p,
         100,
         100,
         15,
         15,
         300,
         24,
         {13676, 13676}},
        // Both too big, wider (22500 < 30000): W 10000, H = 1500*10000/2000 = 7500
        {"large wide image fits width", p, 2000, 1500, 15, 15, 300, 24, {10000, 7500}},
        // Both too big, taller: H 13676, W = 1500*13676/2000 = 10257 (overhangs)
        {"large tall image fits height and overhangs",
         p,
         1500,
         2000,
         15,
         15,
         300,
         24,
         {10257, 13676}},
        // Shape by screen size (1200 down < 1500 across: wide), ratio by pixel counts:
        // W 10000, H = 120*10000/100 = 12000
        {"shape uses twips, ratio uses pixels", p, 100, 120, 15, 10, 300, 24, {10000, 12000}},
        // Landscape paper, landscape image, both too big: fit width 14000, H = 1000*14000/1400
        // = 10000, taller than the 9676 left under the title.
        {"landscape image on landscape paper overhangs down",
         landscape,
         1400,
         1000,
         15,
         15,
         300,
         24,
         {14000, 10000}},
        // Title 299: height left 13677, W = 100*13677/200 = 6838.5 -> 6838
        {"fitted width rounds half to even", p, 100, 200, 15, 15, 299, 24, {6838, 13677}},
        // Across: 997 - 133*7.5 = -0.5, rounds to 0 and so fits; down: 1000 - 982.5 - 24
        // = -6.5 -> -6, too tall. Fit height: H = 976, W = 133*976/131 = 990.9 -> 991.
        // (Unrounded, both would be short and the wide shape would fit the width.)
        {"room is rounded before it is compared", narrow, 133, 131, 7.5, 7.5, 0, 24, {991, 976}},
        // No title height reserved: H = 14000 - 24 = 13976, W = 13976 / 2
        {"without a title only the gap is reserved", p, 100, 200, 15, 15, 0, 24, {6988, 13976}},
        // Title taller than the page: nothing is left for the image.
        {"title taller than the printable area", p, 100, 200, 15, 15, 14100, 24, {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FitSize(c.margins, c.iw, c.ih, c.sx, c.sy, c.title, c.gap), c.expected);
    }
}

TEST(PageGeometrySize, FitToPaperWithEmptyImageGivesNoImage)
{
    const Margins p = PortraitMargins();
    for (auto [iw, ih] : {std::pair<int64_t, int64_t>{0, 0}, {0, 480}, {640, 0}}) {
        SCOPED_TRACE(std::to_string(iw) + "x" + std::to_string(ih));
        EXPECT_EQ(FitSize(p, iw, ih, 15, 15, 300, 24), (ImageSize{0, 0}));
        EXPECT_EQ(TargetImageSize(ScaleMode::FitToPaper, 100, p, iw, ih, 15, 15, 300, 4.8),
                  (ImageSize{0, 0}));
    }
}

TEST(PageGeometrySize, TargetSizeRoundsTheFitGapOnItsOwn)
{
    const Margins p = PortraitMargins();
    // py 4.5 (320 dpi): gap 22.5 -> 22; height left 14000 - 300 - 22 = 13678,
    // W = 100*13678/200 = 6839.
    EXPECT_EQ(TargetImageSize(ScaleMode::FitToPaper, 100, p, 100, 200, 15, 15, 300, 4.5),
              (ImageSize{6839, 13678}));
    // py 4.8 (300 dpi): gap 24.
    EXPECT_EQ(TargetImageSize(ScaleMode::FitToPaper, 100, p, 100, 200, 15, 15, 300, 4.8),
              (ImageSize{6838, 13676}));
    EXPECT_EQ(RoundedTitleGap(4.5), 22);
    EXPECT_EQ(RoundedTitleGap(4.8), 24);
    EXPECT_DOUBLE_EQ(PlacingTitleGap(4.5), 22.5);
    // The other modes do not depend on the page or the title.
    EXPECT_EQ(TargetImageSize(ScaleMode::ActualSize, 50, p, 640, 480, 15, 15, 300, 4.8),
              (ImageSize{9600, 7200}));
    EXPECT_EQ(TargetImageSize(ScaleMode::Percent, 50, p, 640, 480, 15, 15, 300, 4.8),
              (ImageSize{4800, 3600}));
    EXPECT_EQ(TargetImageSize(ScaleMode::Unrecognised, 50, p, 640, 480, 15, 15, 300, 4.8),
              (ImageSize{0, 0}));
}

TEST(PageGeometrySize, StagingPixelsAndPrintedSize)
{
    struct Case {
        const char* name;
        ImageSize target;
        double sx, sy;
        PixelSize pixels;
        ImageSize printed;
    };
    const std::vector<Case> cases = {
        {"whole pixels", {9600, 7200}, 15, 15, {640, 480}, {9600, 7200}},
        // 13676 / 15 = 911.7 -> 912 (printed 13680); 6838 / 15 = 455.9 -> 456 (6840)
        {"nearest pixel", {13676, 6838}, 15, 15, {912, 456}, {13680, 6840}},
        // 45 / 10 = 4.5 -> 4; 55 / 10 = 5.5 -> 6
        {"half pixels round to even", {45, 55}, 10, 10, {4, 6}, {40, 60}},
        // 3 px * 7.5 = 22.5 -> 22, 5 px * 7.5 = 37.5 -> 38
        {"printed size rounds half to even", {22, 38}, 7.5, 7.5, {3, 5}, {22, 38}},
        {"unequal axes", {1500, 1200}, 15, 12, {100, 100}, {1500, 1200}},
        {"empty", {0, 0}, 15, 15, {0, 0}, {0, 0}},
        {"negative size gives an empty buffer", {-30, -45}, 15, 15, {0, 0}, {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const PixelSize px = PageImagePixels(c.target, c.sx, c.sy);
        EXPECT_EQ(px, c.pixels);
        EXPECT_EQ(PrintedImageSize(px, c.sx, c.sy), c.printed);
    }
}

// ---------------------------------------------------------------------------------------
// Title

TEST(PageGeometryTitle, BlankMeansOnlyAsciiSpaces)
{
    struct Case {
        std::string title;
        bool blank;
    };
    const std::vector<Case> cases = {
        {"", true},
        {" ", true},
        {"    ", true},
        {"\xE3\x80\x80", false},  // U+3000 ideographic space
        {" \xE3\x80\x80\xE3\x80\x80 ", false},
        {"\t", false},
        {" a ", false},
        {"印刷", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("[" + c.title + "]");
        EXPECT_EQ(TitleIsBlank(c.title), c.blank);
    }
}

TEST(PageGeometryTitle, PlacingHeightIsZeroOnlyForBlankTitles)
{
    EXPECT_EQ(PlacingTitleHeight("", 240.4), 0);
    EXPECT_EQ(PlacingTitleHeight("   ", 240), 0);
    EXPECT_EQ(PlacingTitleHeight("\xE3\x80\x80\xE3\x80\x80", 240.5), 240);  // tie -> even
    EXPECT_EQ(PlacingTitleHeight("abc", 241.5), 242);
}

// ---------------------------------------------------------------------------------------
// Placement. A4 margins: A 240, B 288, C 11426, D 16166; image 6000 x 4000.

namespace {

PlacementInput Input(PagePosition pos, TitlePlacement vAlign, TitleAlignment align)
{
    PlacementInput in;
    in.position = pos;
    in.titlePlacement = vAlign;
    in.titleAlignment = align;
    in.image = {6000, 4000};
    in.titleWidth = 2000;
    in.titleHeight = 300;
    in.printerTwipsPerPixelY = 4.8;  // gap 24
    return in;
}

}  // namespace

TEST(PageGeometryPlace, ImagePositionByCode)
{
    struct Case {
        const char* name;
        PagePosition pos;
        double leftCm, topCm;
        TwipPoint image;
    };
    const std::vector<Case> cases = {
        {"top left", PagePosition::TopLeft, 0, 0, {240, 288}},
        {"top right: 240 + 11426 - 6000", PagePosition::TopRight, 0, 0, {5666, 288}},
        {"centre: 240 + 5426/2, 288 + 12166/2", PagePosition::Centre, 0, 0, {2953, 6371}},
        {"bottom left: 288 + 16166 - 4000", PagePosition::BottomLeft, 0, 0, {240, 12454}},
        {"bottom right", PagePosition::BottomRight, 0, 0, {5666, 12454}},
        {"offset 1 cm / 2 cm: 567 + 240, 1134 + 288", PagePosition::Manual, 1, 2, {807, 1422}},
        {"offset -1 cm: -567 + 240", PagePosition::Manual, -1, 0, {-327, 288}},
        {"unrecognised: sheet corner", PagePosition::Unrecognised, 1, 2, {0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PlacementInput in = Input(c.pos, TitlePlacement::Unrecognised,
                                  TitleAlignment::Unrecognised);  // title out of the way at (0, 0)
        in.leftCm = c.leftCm;
        in.topCm = c.topCm;
        const PagePlacement p = PlacePage(A4Margins(), in);
        EXPECT_EQ(p.imageX, c.image.x);
        EXPECT_EQ(p.imageY, c.image.y);
        EXPECT_EQ(p.imageWidth, 6000);
        EXPECT_EQ(p.imageHeight, 4000);
        EXPECT_EQ(p.titleX, 0);
        EXPECT_EQ(p.titleY, 0);
    }
}

TEST(PageGeometryPlace, OffsetCentimetresRoundHalfToEven)
{
    Margins m = A4Margins();
    m.left = 101;
    m.top = 100;
    PlacementInput in =
        Input(PagePosition::Manual, TitlePlacement::Unrecognised, TitleAlignment::ImageLeft);
    in.leftCm = 0.5;  // 283.5 + 101 = 384.5 -> 384
    in.topCm = 0.5;   // 283.5 + 100 = 383.5 -> 384
    const PagePlacement p = PlacePage(m, in);
    EXPECT_EQ(p.imageX, 384);
    EXPECT_EQ(p.imageY, 384);
}

TEST(PageGeometryPlace, OffsetIsMeasuredFromThePrintableCornerWhenDrawn)
{
    PlacementInput in =
        Input(PagePosition::Manual, TitlePlacement::Unrecognised, TitleAlignment::ImageLeft);
    in.leftCm = 1;
    in.topCm = 2;
    const Margins m = A4Margins();
    const PagePlacement p = PlacePage(m, in);
    EXPECT_EQ(SheetToDrawing(m, {p.imageX, p.imageY}), (TwipPoint{567, 1134}));
    EXPECT_EQ(SheetToDrawing(m, {0, 0}), (TwipPoint{-240, -288}));
}

TEST(PageGeometryPlace, CentredOverhangHalvesTowardZero)
{
    PlacementInput in =
        Input(PagePosition::Centre, TitlePlacement::Unrecognised, TitleAlignment::ImageLeft);
    // C - W = 11426 - 11431 = -5 -> -2 (not -3); D - H = 16166 - 16173 = -7 -> -3 (not -4)
    in.image = {11431, 16173};
    const PagePlacement p = PlacePage(A4Margins(), in);
    EXPECT_EQ(p.imageX, 238);
    EXPECT_EQ(p.imageY, 285);
}

TEST(PageGeometryPlace, TitleVerticalPositionAndImageMoves)
{
    // Title 300 high, gap 24: T + g = 324.
    struct Case {
        const char* name;
        PagePosition pos;
        TitlePlacement vAlign;
        int64_t imageY;
        int64_t titleY;
    };
    const std::vector<Case> cases = {
        {"above, top left: title takes the top, image moves down", PagePosition::TopLeft,
         TitlePlacement::AboveImage, 612, 288},
        {"above, top right: same move", PagePosition::TopRight, TitlePlacement::AboveImage, 612,
         288},
        {"above, centre: title above the image", PagePosition::Centre, TitlePlacement::AboveImage,
         6371, 6047},
        {"above, bottom left: image stays", PagePosition::BottomLeft, TitlePlacement::AboveImage,
         12454, 12130},
        {"above, bottom right: image stays", PagePosition::BottomRight, TitlePlacement::AboveImage,
         12454, 12130},
        {"above, offset: 1422 - 324", PagePosition::Manual, TitlePlacement::AboveImage, 1422, 1098},
        {"above, sheet corner: off the sheet", PagePosition::Unrecognised,
         TitlePlacement::AboveImage, 0, -324},
        {"below, top left: 288 + 4000 + 24", PagePosition::TopLeft, TitlePlacement::BelowImage, 288,
         4312},
        {"below, top right", PagePosition::TopRight, TitlePlacement::BelowImage, 288, 4312},
        {"below, centre: 6371 + 4024", PagePosition::Centre, TitlePlacement::BelowImage, 6371,
         10395},
        {"below, bottom left: image moves up to 12130", PagePosition::BottomLeft,
         TitlePlacement::BelowImage, 12130, 16154},
        {"below, bottom right: image moves up", PagePosition::BottomRight,
         TitlePlacement::BelowImage, 12130, 16154},
        {"below, offset", PagePosition::Manual, TitlePlacement::BelowImage, 1422, 5446},
        {"below, sheet corner", PagePosition::Unrecognised, TitlePlacement::BelowImage, 0, 4024},
        {"unrecognised: title at y 0, top image stays", PagePosition::TopLeft,
         TitlePlacement::Unrecognised, 288, 0},
        {"unrecognised: title at y 0, bottom image stays", PagePosition::BottomLeft,
         TitlePlacement::Unrecognised, 12454, 0},
        {"unrecognised: title at y 0, bottom right image stays", PagePosition::BottomRight,
         TitlePlacement::Unrecognised, 12454, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PlacementInput in = Input(c.pos, c.vAlign, TitleAlignment::ImageLeft);
        in.leftCm = 1;
        in.topCm = 2;
        const PagePlacement p = PlacePage(A4Margins(), in);
        EXPECT_EQ(p.imageY, c.imageY);
        EXPECT_EQ(p.titleY, c.titleY);
        EXPECT_EQ(p.titleX, p.imageX);  // left-aligned title follows the image
        EXPECT_EQ(p.titleHeight, 300);
    }
}

TEST(PageGeometryPlace, EmptyTitleStillMovesTheImageByTheGap)
{
    struct Case {
        const char* name;
        PagePosition pos;
        TitlePlacement vAlign;
        int64_t imageY;
        int64_t titleY;
    };
    const std::vector<Case> cases = {
        {"above, top left: 288 + 0 + 24", PagePosition::TopLeft, TitlePlacement::AboveImage, 312,
         288},
        {"above, top right", PagePosition::TopRight, TitlePlacement::AboveImage, 312, 288},
        {"below, bottom left: 12454 - 24, title 12430 + 4000 + 24", PagePosition::BottomLeft,
         TitlePlacement::BelowImage, 12430, 16454},
        {"below, bottom right", PagePosition::BottomRight, TitlePlacement::BelowImage, 12430,
         16454},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PlacementInput in = Input(c.pos, c.vAlign, TitleAlignment::ImageLeft);
        in.titleWidth = 0;
        in.titleHeight = PlacingTitleHeight("", 270);
        const PagePlacement p = PlacePage(A4Margins(), in);
        EXPECT_EQ(p.imageY, c.imageY);
        EXPECT_EQ(p.titleY, c.titleY);
    }
}

TEST(PageGeometryPlace, FullWidthSpaceTitleKeepsItsHeight)
{
    PlacementInput in =
        Input(PagePosition::TopLeft, TitlePlacement::AboveImage, TitleAlignment::ImageLeft);
    in.titleHeight = PlacingTitleHeight("\xE3\x80\x80", 300);
    const PagePlacement p = PlacePage(A4Margins(), in);
    EXPECT_EQ(p.titleY, 288);
    EXPECT_EQ(p.imageY, 612);  // 288 + 300 + 24
}

TEST(PageGeometryPlace, PlacingGapIsRoundedOnlyWithThePosition)
{
    // py 4.5: g = 22.5. Rounding g first (to 22) would give one twip less or more.
    PlacementInput in =
        Input(PagePosition::TopLeft, TitlePlacement::AboveImage, TitleAlignment::ImageLeft);
    in.titleHeight = 301;
    in.printerTwipsPerPixelY = 4.5;
    PagePlacement p = PlacePage(A4Margins(), in);
    EXPECT_EQ(p.titleY, 288);
    EXPECT_EQ(p.imageY, 612);  // 288 + 301 + 22.5 = 611.5 -> 612 (not 611)

    in.position = PagePosition::BottomLeft;
    in.titlePlacement = TitlePlacement::BelowImage;
    p = PlacePage(A4Margins(), in);
    EXPECT_EQ(p.imageY, 12130);  // 12454 - 301 - 22.5 = 12130.5 -> 12130 (not 12131)
    EXPECT_EQ(p.titleY, 16152);  // 12130 + 4000 + 22.5 = 16152.5 -> 16152 (not 16153)
}

TEST(PageGeometryPlace, TitleHorizontalAlignment)
{
    // Top left image: X 240, W 6000.
    struct Case {
        const char* name;
        TitleAlignment align;
        int64_t titleWidth;
        int64_t titleX;
    };
    const std::vector<Case> cases = {
        {"left edge", TitleAlignment::ImageLeft, 2000, 240},
        {"centred: 240 + 4000/2", TitleAlignment::ImageCentre, 2000, 2240},
        {"centred, odd room: 240 + 3999/2", TitleAlignment::ImageCentre, 2001, 2239},
        {"centred, wider than the image: 240 + (-5)/2 = 240 - 2", TitleAlignment::ImageCentre, 6005,
         238},
        {"right edge: 240 + 6000 - 2000", TitleAlignment::ImageRight, 2000, 4240},
        {"right edge, wider than the image", TitleAlignment::ImageRight, 6005, 235},
        {"unrecognised: sheet x 0", TitleAlignment::Unrecognised, 2000, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PlacementInput in = Input(PagePosition::TopLeft, TitlePlacement::AboveImage, c.align);
        in.titleWidth = c.titleWidth;
        const PagePlacement p = PlacePage(A4Margins(), in);
        EXPECT_EQ(p.titleX, c.titleX);
        EXPECT_EQ(p.titleWidth, c.titleWidth);
        EXPECT_EQ(p.imageX, 240);
    }
}

TEST(PageGeometryPlace, WholePageFromPrinterToDrawingPosition)
{
    PageMetrics page;  // A4 at 300 dpi, as in the margins test
    page.sheetPoints.setWidth(11905.5 / 20.0);
    page.sheetPoints.setHeight(16837.5 / 20.0);
    page.printablePixels.moveLeft(50);
    page.printablePixels.moveTop(60);
    page.sheetPixels.setWidth(2480);
    page.sheetPixels.setHeight(3508);
    page.printablePixels.setWidth(2380);
    page.printablePixels.setHeight(3368);
    const Margins m = ComputeMargins(page);

    // A 1920 x 1080 desktop at 96 dpi fitted: 28800 x 16200 twips, too big both ways and
    // wide, so W2 = 11426, H2 = 1080 * 11426 / 1920 = 6427.1 -> 6427.
    const ImageSize target =
        TargetImageSize(ScaleMode::FitToPaper, 100, m, 1920, 1080, 15, 15, 300, 4.8);
    EXPECT_EQ(target, (ImageSize{11426, 6427}));
    // 11426 / 15 = 761.73 -> 762 px, 6427 / 15 = 428.47 -> 428 px
    const PixelSize staged = PageImagePixels(target, 15, 15);
    EXPECT_EQ(staged, (PixelSize{762, 428}));
    const ImageSize printed = PrintedImageSize(staged, 15, 15);
    EXPECT_EQ(printed, (ImageSize{11430, 6420}));

    PlacementInput in =
        Input(PagePosition::Centre, TitlePlacement::AboveImage, TitleAlignment::ImageCentre);
    in.image = printed;
    const PagePlacement p = PlacePage(m, in);
    EXPECT_EQ(p.imageX, 238);   // 240 + (11426 - 11430) / 2
    EXPECT_EQ(p.imageY, 5161);  // 288 + (16166 - 6420) / 2 = 288 + 4873
    EXPECT_EQ(p.titleY, 4837);  // 5161 - 300 - 24
    EXPECT_EQ(p.titleX, 4953);  // 238 + (11430 - 2000) / 2
    EXPECT_EQ(SheetToDrawing(m, {p.imageX, p.imageY}), (TwipPoint{-2, 4873}));
    EXPECT_EQ(SheetToDrawing(m, {p.titleX, p.titleY}), (TwipPoint{4713, 4549}));
}

TEST(PageGeometryMargins, ExtremePrinterValuesNeitherDivideByZeroNorOverflow)
{
    struct Case {
        const char* what;
        PageMetrics page;
        int64_t left, top, right, bottom, printableWidth, printableHeight;
    };
    // Sheet 11906 x 16838 twips (A4) unless said otherwise.
    const auto page = [](int dpi, int offX, int offY, int w, int h, int horz, int vert) {
        PageMetrics p;
        p.sheetPoints.setWidth(11905.5 / 20.0);
        p.sheetPoints.setHeight(16837.8 / 20.0);
        p.dotsPerInchX = p.dotsPerInchY = dpi;
        p.printablePixels.moveLeft(offX);
        p.printablePixels.moveTop(offY);
        p.sheetPixels.setWidth(w);
        p.sheetPixels.setHeight(h);
        p.printablePixels.setWidth(horz);
        p.printablePixels.setHeight(vert);
        return p;
    };
    const Case cases[] = {
        // 300 dpi: 4.8 twips a pixel. 59 -> 283.2, 118 -> 566.4, 35 -> 168, 83 -> 398.4.
        {"A4 at 300 dpi", page(300, 59, 118, 2480, 3508, 2386, 3307), 283, 566, 168, 398, 11455,
         15874},
        // No resolution: no pixel has a size, so no margin either (not 1440 / 0).
        {"0 dpi", page(0, 59, 118, 2480, 3508, 2386, 3307), 0, 0, 0, 0, 11906, 16838},
        {"negative dpi", page(-300, 59, 118, 2480, 3508, 2386, 3307), 0, 0, 0, 0, 11906, 16838},
        // 2147483647 - (-2147483647) - 0 = 4294967294 pixels of 4.8 twips = 20615843011.2. (The
        // narrowest rectangle Qt can hold from 0 is -2147483647 wide: its right edge is
        // left + width - 1.)
        {"pixel counts at the ends of int",
         page(300, 0, 0, INT_MAX, INT_MAX, INT_MIN + 1, INT_MIN + 1), 0, 0, 20615843011,
         20615843011, 11906 - 20615843011, 16838 - 20615843011},
        // 1440 / 1000000 = 0.00144 twips a pixel: 2000000 pixels are 2880 twips.
        {"a million dpi", page(1000000, 2000000, 1000000, 8267717, 11692914, 4267717, 9692914),
         2880, 1440, 2880, 1440, 6146, 13958},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Margins m = ComputeMargins(c.page);
        EXPECT_EQ(m.pageWidth, 11906);
        EXPECT_EQ(m.pageHeight, 16838);
        EXPECT_EQ(m.left, c.left);
        EXPECT_EQ(m.top, c.top);
        EXPECT_EQ(m.right, c.right);
        EXPECT_EQ(m.bottom, c.bottom);
        EXPECT_EQ(m.printableWidth, c.printableWidth);
        EXPECT_EQ(m.printableHeight, c.printableHeight);
    }
}
