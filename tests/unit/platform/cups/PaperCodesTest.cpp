#include <gtest/gtest.h>

#include "platform/cups/PaperCodes.h"
#include "platform/cups/PrinterDescription.h"

using namespace tovrimo;

TEST(PaperCodes, SizesMatchedByDimensionsWithinOnePoint)
{
    struct Case {
        double w, h;
        int code;
    };
    const Case cases[] = {
        {595, 842, 9},        // A4 as PPDs round it
        {595.28, 841.89, 9},  // A4 exactly
        {612, 792, 1},        // Letter, not Note (18) or Letter Small (2)
        {612, 1008, 5},       // Legal
        {842, 1191, 8},       // A3
        {420, 595, 11},       // A5
        {516, 729, 13},       // JIS B5 (182 x 257 mm), not ISO B5
        {729, 1032, 12},      // JIS B4
        {596.5, 842, 0},      // 1.5 pt off is another sheet
        {842, 595, 0},        // sheets are matched upright only
        {100, 100, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.w) + " x " + std::to_string(c.h));
        EXPECT_EQ(PaperCodes::sizeCodeForPoints(c.w, c.h), c.code);
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
    EXPECT_EQ(a4->code, 9);
    EXPECT_NEAR(a4->widthPt, 595.2756, 1e-3);
    EXPECT_NEAR(a4->left, 9.6378, 1e-3);
    EXPECT_NEAR(a4->bottom, 18.0, 1e-3);
    EXPECT_NEAR(a4->right, 595.2756 - 9.6378, 1e-3);
    EXPECT_NEAR(a4->top, 841.8898 - 18.0, 1e-3);
    EXPECT_EQ(a4->media.name, "iso_a4_210x297mm");
    // #10 envelope has a code (20); a size without one is left out.
    EXPECT_EQ(PrinterDescription::sheetFor({"na_number-10_4.125x9.5in", 10477, 24130})->code, 20);
    EXPECT_FALSE(PrinterDescription::sheetFor({"custom_1x1in", 2540, 2540}));
}

TEST(PrinterDescription, PrinterWithoutSizesPrintsOnItsDefaultSheetWithoutMargins)
{
    const PrinterDescription d({}, {}, 0, 300, 300, PrinterDescription::Turn::Plus90,
                               PrinterDescription::standInSheet("na_letter_8.5x11in"));
    const auto m = d.metrics(0, 1);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->physicalWidth, 2550);  // 8.5 in at 300 dpi
    EXPECT_EQ(m->physicalHeight, 3300);
    EXPECT_EQ(m->physicalOffsetX, 0);
    EXPECT_EQ(m->physicalOffsetY, 0);
    EXPECT_EQ(m->horzRes, 2550);
    EXPECT_EQ(m->vertRes, 3300);
    EXPECT_FALSE(d.metrics(1, 1)) << "no size of its own can be chosen";
    // An unknown or missing default name falls back to A4.
    EXPECT_EQ(PrinterDescription::standInSheet("").media.width, 21000);
    EXPECT_EQ(PrinterDescription::standInSheet("no-such-media").media.length, 29700);
}

TEST(PrinterDescription, LandscapeTurnsEachMarginToItsOwnSide)
{
    // 1 x 2 inch sheet at 72 dpi: left 1, bottom 2, right 3, top 4 points of margin.
    PrinterDescription::Sheet s;
    s.code = 9;
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
        PrinterDescription d({s}, {}, 9, 72, 72, c.turn);
        const auto p = d.metrics(9, 1);
        ASSERT_TRUE(p);
        EXPECT_EQ(p->physicalOffsetX, 1);
        EXPECT_EQ(p->physicalOffsetY, 4);
        EXPECT_EQ(p->horzRes, 72 - 1 - 3);
        EXPECT_EQ(p->vertRes, 144 - 4 - 2);
        const auto l = d.metrics(9, 2);
        ASSERT_TRUE(l);
        EXPECT_EQ(l->physicalWidth, 144);
        EXPECT_EQ(l->physicalHeight, 72);
        EXPECT_EQ(l->physicalOffsetX, c.left);
        EXPECT_EQ(l->physicalOffsetY, c.top);
        EXPECT_EQ(l->physicalWidth - l->horzRes - l->physicalOffsetX, c.right);
        EXPECT_EQ(l->physicalHeight - l->vertRes - l->physicalOffsetY, c.bottom);
        EXPECT_FALSE(d.metrics(9, 0));
        EXPECT_FALSE(d.metrics(8, 1));
    }
}
