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
        std::optional<PaperSource> source;
    };
    const Case cases[] = {
        {"Upper", PaperSource::Upper},
        {"upper", PaperSource::Upper},
        {"Tray1", PaperSource::Upper},
        {"tray-1", PaperSource::Upper},
        {"Lower", PaperSource::Lower},
        {"Tray2", PaperSource::Lower},
        {"Middle", PaperSource::Middle},
        {"Tray3", PaperSource::Middle},
        {"Manual", PaperSource::Manual},
        {"ManualFeed", PaperSource::Manual},
        {"Envelope", PaperSource::Envelope},
        {"EnvManual", PaperSource::EnvelopeManual},
        {"Auto", PaperSource::Auto},
        {"AutoSelect", PaperSource::Auto},
        {"Tractor", PaperSource::Tractor},
        {"SmallFormat", PaperSource::SmallFormat},
        {"LargeFormat", PaperSource::LargeFormat},
        {"LargeCapacity", PaperSource::LargeCapacity},
        {"large-capacity", PaperSource::LargeCapacity},
        {"Cassette", PaperSource::Cassette},
        {"top", PaperSource::Upper},
        {"main", PaperSource::Upper},
        {"bottom", PaperSource::Lower},
        {"by-pass-tray", PaperSource::Manual},
        {"auto", PaperSource::Auto},
        {"Tray4", std::nullopt},
        {"", std::nullopt},
        {"Photo", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keyword);
        EXPECT_EQ(PaperCodes::sourceForKeyword(c.keyword), c.source);
    }
}

TEST(PaperCodes, KeywordForASourceComesFromWhatThePrinterOffers)
{
    const std::vector<std::string> offered = {"Tray1", "Tray2", "Auto"};
    EXPECT_EQ(PaperCodes::keywordForSource(PaperSource::Upper, offered), "Tray1");
    EXPECT_EQ(PaperCodes::keywordForSource(PaperSource::Lower, offered), "Tray2");
    EXPECT_EQ(PaperCodes::keywordForSource(PaperSource::Auto, offered), "Auto");
    EXPECT_EQ(PaperCodes::keywordForSource(PaperSource::Manual, offered), "");  // no manual feed
    // The printer's own spelling is what is sent, the first of two that mean the same tray.
    EXPECT_EQ(PaperCodes::keywordForSource(PaperSource::Upper, {"main", "Upper"}), "main");
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
