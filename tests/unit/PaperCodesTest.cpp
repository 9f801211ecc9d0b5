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

TEST(PrinterDescription, ReadsTheTestPpds)
{
    const auto a4 = PrinterDescription::fromPpdFile(TOVRIMO_TEST_DATA "/ppd/TovA4.ppd");
    ASSERT_TRUE(a4);
    EXPECT_EQ(a4->defaultSizeCode(), 9);
    EXPECT_EQ(a4->dpiX(), 300);
    ASSERT_EQ(a4->sheets().size(), 4u);
    EXPECT_EQ(a4->sheet(13)->keyword, "B5");
    EXPECT_EQ(a4->sourceKeyword(4), "Manual");
    const auto letter = PrinterDescription::fromPpdFile(TOVRIMO_TEST_DATA "/ppd/TovLetter.ppd");
    ASSERT_TRUE(letter);
    EXPECT_EQ(letter->defaultSizeCode(), 1);
    EXPECT_EQ(letter->dpiY(), 600);
    EXPECT_EQ(letter->sourceKeyword(1), "Tray1");
    EXPECT_EQ(letter->sheet(0)->keyword, "Letter");
    EXPECT_FALSE(PrinterDescription::fromPpdFile("/nonexistent.ppd"));
}

TEST(PrinterDescription, LandscapeTurnsEachMarginToItsOwnSide)
{
    // 1 x 2 inch sheet at 72 dpi: left 1, bottom 2, right 3, top 4 points of margin.
    PrinterDescription d({{9, "S", 72, 144, 1, 2, 72 - 3, 144 - 4}}, {}, 9, 72, 72);
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
    EXPECT_EQ(l->physicalOffsetX, 2);                                   // left   <- bottom
    EXPECT_EQ(l->physicalOffsetY, 1);                                   // top    <- left
    EXPECT_EQ(l->physicalWidth - l->horzRes - l->physicalOffsetX, 4);   // right  <- top
    EXPECT_EQ(l->physicalHeight - l->vertRes - l->physicalOffsetY, 3);  // bottom <- right
    EXPECT_FALSE(d.metrics(9, 0));
    EXPECT_FALSE(d.metrics(8, 1));
}
