#include <gtest/gtest.h>

#include <optional>

#include "platform/cups/PaperCodes.h"
#include "platform/cups/PrinterDescription.h"

using namespace tovrimo;

TEST(PaperCodes, SizesMatchedByDimensionsWithinOnePoint)
{
    struct Case {
        double w, h;
        std::optional<QPageSize::PageSizeId> size;
    };
    const Case cases[] = {
        {595, 842, QPageSize::A4},        // A4 as PPDs round it
        {595.28, 841.89, QPageSize::A4},  // A4 exactly, not A4 Small
        {612, 792, QPageSize::Letter},    // Letter, not Note or Letter Small
        {612, 1008, QPageSize::Legal},
        {842, 1191, QPageSize::A3},
        {420, 595, QPageSize::A5},
        {516, 729, QPageSize::JisB5},  // 182 x 257 mm, not ISO B5
        {729, 1032, QPageSize::JisB4},
        // 250 x 353 mm is both the B4 envelope and ISO B4: the settings name the envelope first.
        {708.66, 1000.63, QPageSize::EnvelopeB4},
        {283.46, 419.53, QPageSize::Postcard},  // the Japanese postcard, 100 x 148 mm
        {596.5, 842, std::nullopt},             // 1.5 pt off is another sheet
        {842, 595, std::nullopt},               // sheets are matched upright only
        {100, 100, std::nullopt},
        // A sheet of Qt's that the settings have no number for: A10, 26 x 37 mm.
        {73.7, 104.88, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        EXPECT_EQ(PaperCodes::pageSizeForPoints(c.w, c.h), c.size);
    }
}

TEST(PaperCodes, SourceKeywordsAndAliases)
{
    struct Case {
        const char* keyword;
        int code;
    };
    const Case cases[] = {
        {"Upper", 1},
        {"upper", 1},
        {"Tray1", 1},
        {"tray-1", 1},
        {"Lower", 2},
        {"Tray2", 2},
        {"Middle", 3},
        {"Tray3", 3},
        {"Manual", 4},
        {"ManualFeed", 4},
        {"Envelope", 5},
        {"EnvManual", 6},
        {"Auto", 7},
        {"AutoSelect", 7},
        {"Tractor", 8},
        {"SmallFormat", 9},
        {"LargeFormat", 10},
        {"LargeCapacity", 11},
        {"large-capacity", 11},
        {"Cassette", 14},
        {"top", 1},
        {"main", 1},
        {"bottom", 2},
        {"by-pass-tray", 4},
        {"auto", 7},
        {"Tray4", 0},
        {"", 0},
        {"Photo", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keyword);
        EXPECT_EQ(PaperCodes::sourceCodeForKeyword(c.keyword), c.code);
    }
}

TEST(PaperCodes, KeywordForACodeComesFromWhatThePrinterOffers)
{
    const std::vector<std::string> offered = {"Tray1", "Tray2", "Auto"};
    EXPECT_EQ(PaperCodes::sourceKeywordForCode(1, offered), "Tray1");
    EXPECT_EQ(PaperCodes::sourceKeywordForCode(2, offered), "Tray2");
    EXPECT_EQ(PaperCodes::sourceKeywordForCode(7, offered), "Auto");
    EXPECT_EQ(PaperCodes::sourceKeywordForCode(4, offered), "");  // no manual feed here
    EXPECT_EQ(PaperCodes::sourceKeywordForCode(0, offered), "");  // 0 is never sent
}

TEST(PrinterDescription, SheetsFromIppMediaInHundredthsOfAMillimetre)
{
    // A4 as the IPP simulator reports it: 3.40 mm left and right, 6.35 mm top and bottom.
    const auto a4 =
        PrinterDescription::sheetFor({"iso_a4_210x297mm", 21000, 29700, 340, 635, 340, 635});
    ASSERT_TRUE(a4);
    EXPECT_EQ(a4->size, QPageSize::A4);
    EXPECT_NEAR(a4->widthPt, 595.2756, 1e-3);
    EXPECT_NEAR(a4->left, 9.6378, 1e-3);
    EXPECT_NEAR(a4->bottom, 18.0, 1e-3);
    EXPECT_NEAR(a4->right, 595.2756 - 9.6378, 1e-3);
    EXPECT_NEAR(a4->top, 841.8898 - 18.0, 1e-3);
    EXPECT_EQ(a4->media.name, "iso_a4_210x297mm");
    // The #10 envelope is a standard size; a size of no standard is left out.
    EXPECT_EQ(PrinterDescription::sheetFor({"na_number-10_4.125x9.5in", 10477, 24130})->size,
              QPageSize::Envelope10);
    EXPECT_FALSE(PrinterDescription::sheetFor({"custom_1x1in", 2540, 2540}));
}

TEST(PrinterDescription, PrinterWithoutSizesPrintsOnItsDefaultSheetWithoutMargins)
{
    const PrinterDescription d({}, {}, QPageSize::Custom, 300, 300,
                               PrinterDescription::Turn::Plus90,
                               PrinterDescription::standInSheet("na_letter_8.5x11in"));
    const auto m = d.metrics(QPageSize(), QPageLayout::Portrait);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->sheetPixels.width(), 2550);  // 8.5 in at 300 dpi
    EXPECT_EQ(m->sheetPixels.height(), 3300);
    EXPECT_EQ(m->printablePixels.x(), 0);
    EXPECT_EQ(m->printablePixels.y(), 0);
    EXPECT_EQ(m->printablePixels.width(), 2550);
    EXPECT_EQ(m->printablePixels.height(), 3300);
    EXPECT_FALSE(d.metrics(QPageSize(QPageSize::Letter), QPageLayout::Portrait))
        << "no size of its own can be chosen";
    // An unknown or missing default name falls back to A4.
    EXPECT_EQ(PrinterDescription::standInSheet("").media.width, 21000);
    EXPECT_EQ(PrinterDescription::standInSheet("no-such-media").media.length, 29700);
}

TEST(PrinterDescription, LandscapeTurnsEachMarginToItsOwnSide)
{
    // 1 x 2 inch sheet at 72 dpi: left 1, bottom 2, right 3, top 4 points of margin.
    PrinterDescription::Sheet s;
    s.size = QPageSize::A4;
    s.widthPt = 72;
    s.heightPt = 144;
    s.left = 1;
    s.bottom = 2;
    s.right = 72 - 3;
    s.top = 144 - 4;
    struct Case {
        PrinterDescription::Turn turn;
        int left, top, right, bottom;
    } cases[] = {
        // Plus90: left <- bottom, top <- left, right <- top, bottom <- right.
        {PrinterDescription::Turn::Plus90, 2, 1, 4, 3},
        // Minus90: left <- top, top <- right, right <- bottom, bottom <- left.
        {PrinterDescription::Turn::Minus90, 4, 3, 2, 1},
    };
    for (const auto& c : cases) {
        PrinterDescription d({s}, {}, QPageSize::A4, 72, 72, c.turn);
        const auto p = d.metrics(QPageSize(QPageSize::A4), QPageLayout::Portrait);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->printablePixels.x(), 1);
        EXPECT_EQ(p->printablePixels.y(), 4);
        EXPECT_EQ(p->printablePixels.width(), 72 - 1 - 3);
        EXPECT_EQ(p->printablePixels.height(), 144 - 4 - 2);
        const auto l = d.metrics(QPageSize(QPageSize::A4), QPageLayout::Landscape);
        ASSERT_TRUE(l);
        EXPECT_EQ(l->sheetPixels.width(), 144);
        EXPECT_EQ(l->sheetPixels.height(), 72);
        EXPECT_EQ(l->printablePixels.x(), c.left);
        EXPECT_EQ(l->printablePixels.y(), c.top);
        EXPECT_EQ(l->sheetPixels.width() - l->printablePixels.width() - l->printablePixels.x(),
                  c.right);
        EXPECT_EQ(l->sheetPixels.height() - l->printablePixels.height() - l->printablePixels.y(),
                  c.bottom);
        EXPECT_FALSE(d.metrics(QPageSize(QPageSize::A3), QPageLayout::Portrait));
    }
}
