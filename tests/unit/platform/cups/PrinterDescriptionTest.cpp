#include <gtest/gtest.h>

#include <QSizeF>
#include <climits>
#include <string>
#include <vector>

#include "platform/cups/PrinterDescription.h"

using namespace tovrimo;

namespace {

using Media = PrinterDescription::Media;
using Reported = PrinterDescription::Reported;

const Media kA4{"iso_a4_210x297mm", 21000, 29700, 500, 700, 300, 1000};
const Media kA5{"iso_a5_148x210mm", 14800, 21000, 400, 400, 400, 400};

Reported Report(std::vector<Media> media, std::string defaultName = "iso_a4_210x297mm",
                std::vector<Reported::Resolution> resolutions = {{300, 300, false}})
{
    Reported r;
    r.media = std::move(media);
    r.defaultMedia = defaultName;
    if (defaultName == "iso_a4_210x297mm") r.defaultSize = Media{defaultName, 21000, 29700};
    if (defaultName == "na_letter_8.5x11in") r.defaultSize = Media{defaultName, 21590, 27940};
    r.resolutions = std::move(resolutions);
    return r;
}

using Ids = std::vector<QPageSize::PageSizeId>;
Ids Codes(const PrinterDescription& d)
{
    Ids ids;
    for (const auto& s : d.sheets()) ids.push_back(s.size);
    return ids;
}

Media WithMargins(Media m, int left, int bottom, int right, int top)
{
    m.left = left;
    m.bottom = bottom;
    m.right = right;
    m.top = top;
    return m;
}

}  // namespace

TEST(PrinterDescription, SheetsOutOfRangeAreLeftOut)
{
    struct Case {
        const char* what;
        std::vector<Media> media;
        Ids codes;
        const char* defaultReason;  // nullptr: the default sheet gives a page
    };
    Media zeroWidth = kA4;
    zeroWidth.width = 0;
    Media negativeLength = kA4;
    negativeLength.length = -29700;
    const Case cases[] = {
        {"sane", {kA4, kA5}, {QPageSize::A4, QPageSize::A5}, nullptr},
        {"the same size twice is listed once",
         {kA4, kA4, kA5},
         {QPageSize::A4, QPageSize::A5},
         nullptr},
        {"left and right margins as wide as the sheet",
         {WithMargins(kA4, 10500, 0, 10500, 0), kA5},
         {QPageSize::A5},
         "プリンタの既定の用紙「iso_a4_210x297mm」は、寸法か余白が不正です。"},
        {"one hundredth of a millimetre left to print on",
         {WithMargins(kA4, 10499, 0, 10500, 0)},
         {QPageSize::A4},
         nullptr},
        {"top and bottom margins longer than the sheet",
         {WithMargins(kA4, 0, 20000, 0, 20000), kA5},
         {QPageSize::A5},
         "プリンタの既定の用紙「iso_a4_210x297mm」は、寸法か余白が不正です。"},
        {"a negative margin",
         {WithMargins(kA4, -1, 0, 0, 0), kA5},
         {QPageSize::A5},
         "プリンタの既定の用紙「iso_a4_210x297mm」は、寸法か余白が不正です。"},
        {"margins that would overflow an int when added",
         {WithMargins(kA4, INT_MAX, INT_MAX, INT_MAX, INT_MAX), kA5},
         {QPageSize::A5},
         "プリンタの既定の用紙「iso_a4_210x297mm」は、寸法か余白が不正です。"},
        {"a sheet of no width",
         {zeroWidth, kA5},
         {QPageSize::A5},
         "プリンタの既定の用紙「iso_a4_210x297mm」は、寸法か余白が不正です。"},
        {"a sheet of negative length",
         {negativeLength, kA5},
         {QPageSize::A5},
         "プリンタの既定の用紙「iso_a4_210x297mm」は、寸法か余白が不正です。"},
        {"every sheet broken",
         {WithMargins(kA4, 0, 0, 30000, 0), WithMargins(kA5, -5, 0, 0, 0)},
         {},
         "プリンタの用紙は、どれも寸法か余白が不正です。"},
        {"a default the printer does not list",
         {kA5},
         {QPageSize::A5},
         "プリンタの既定の用紙「iso_a4_210x297mm」は、プリンタの用紙の一覧にありません。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const PrinterDescription d = PrinterDescription::fromReport(Report(c.media));
        EXPECT_EQ(Codes(d), c.codes);
        const auto problem = d.problem(QPageSize());
        if (c.defaultReason) {
            ASSERT_TRUE(problem);
            EXPECT_EQ(problem->kind, PageProblem::Kind::PaperSize);
            EXPECT_EQ(problem->reason, c.defaultReason);
            EXPECT_FALSE(d.metrics(QPageSize(), QPageLayout::Portrait));
        } else {
            EXPECT_FALSE(problem);
            EXPECT_TRUE(d.metrics(QPageSize(), QPageLayout::Portrait));
        }
        // Every size that is listed gives a page.
        for (QPageSize::PageSizeId id : c.codes) {
            EXPECT_TRUE(d.metrics(QPageSize(id), QPageLayout::Portrait));
            EXPECT_FALSE(d.problem(QPageSize(id)));
        }
    }
}

TEST(PrinterDescription, ResolutionsOutOfRangeRefuseThePrinter)
{
    struct Case {
        std::vector<Reported::Resolution> resolutions;
        int dpiX, dpiY;      // of a page; 0: no page
        const char* reason;  // of the printer's problem
    };
    const Case cases[] = {
        {{}, 300, 300, nullptr},  // none reported: the usual 300 dpi
        {{{600, 1200, false}}, 600, 1200, nullptr},
        {{{0, 0, false}}, 0, 0, "プリンタの解像度（0×0 dpi）では印刷できません。"},
        {{{1000000, 1000000, false}},
         0,
         0,
         "プリンタの解像度（1000000×1000000 dpi）では印刷できません。"},
        {{{-300, 300, false}}, 0, 0, "プリンタの解像度（-300×300 dpi）では印刷できません。"},
        {{{0, 0, false}, {1000000, 600, false}, {600, 600, false}}, 600, 600, nullptr},
        {{{50, 12000, false}}, 50, 12000, nullptr},
        {{{49, 300, false}}, 0, 0, "プリンタの解像度（49×300 dpi）では印刷できません。"},
        {{{300, 12001, false}}, 0, 0, "プリンタの解像度（300×12001 dpi）では印刷できません。"},
        // 118 dots per cm are 299.72 per inch.
        {{{118, 236, true}}, 300, 599, nullptr},
        // 5000 per cm are 12700 per inch.
        {{{5000, 5000, true}}, 0, 0, "プリンタの解像度（5000×5000 dpcm）では印刷できません。"},
        // A unit that is neither per inch nor per centimetre says nothing of the size of a dot.
        {{{300, 300, false, false}}, 0, 0, "プリンタの解像度（300×300）では印刷できません。"},
        {{{INT_MAX, INT_MAX, true}},
         0,
         0,
         "プリンタの解像度（2147483647×2147483647 dpcm）では印刷できません。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reason ? c.reason : std::to_string(c.dpiX));
        const PrinterDescription d =
            PrinterDescription::fromReport(Report({kA4}, "iso_a4_210x297mm", c.resolutions));
        const auto page = d.metrics(QPageSize(QPageSize::A4), QPageLayout::Portrait);
        const auto problem = d.problem(QPageSize(QPageSize::A4));
        if (c.reason) {
            EXPECT_FALSE(page);
            ASSERT_TRUE(problem);
            EXPECT_EQ(problem->kind, PageProblem::Kind::Printer);
            EXPECT_EQ(problem->reason, c.reason);
            EXPECT_TRUE(d.problem(QPageSize()));
        } else {
            ASSERT_TRUE(page);
            EXPECT_EQ(page->dotsPerInchX, c.dpiX);
            EXPECT_EQ(page->dotsPerInchY, c.dpiY);
            EXPECT_FALSE(problem);
        }
    }
}

TEST(PrinterDescription, PrinterWithoutSizesPrintsOnTheStandInWhateverItsResolution)
{
    const PrinterDescription d =
        PrinterDescription::fromReport(Report({}, "iso_a4_210x297mm", {{0, 0, false}}));
    EXPECT_TRUE(d.sheets().empty());
    const auto page = d.metrics(QPageSize(), QPageLayout::Portrait);
    ASSERT_TRUE(page);
    // A4 at 300 dpi: 595.28 x 841.89 pt, 2480.3 x 3507.9 pixels, no margins.
    EXPECT_EQ(page->sheetPixels.width(), 2480);
    EXPECT_EQ(page->sheetPixels.height(), 3508);
    EXPECT_EQ(page->printablePixels.width(), 2480);
    EXPECT_EQ(page->printablePixels.x(), 0);
    EXPECT_FALSE(d.problem(QPageSize()));
}

TEST(PrinterDescription, MetricsOfAnA4WithFourMargins)
{
    // 300 dpi: 300 / 2540 pixels per hundredth of a millimetre. Sheet 2480.3 x 3507.9 -> 2480 x
    // 3508; left edge 59.06 -> 59; right edge (21000 - 300) -> 2444.9 -> 2445, margin 35;
    // bottom 82.68 -> 83; top edge (29700 - 1000) -> 3389.8 -> 3390, margin 118.
    const PrinterDescription d = PrinterDescription::fromReport(Report({kA4}));
    struct Case {
        QPageLayout::Orientation orientation;
        PrinterDescription::Turn turn;
        int width, height, offsetX, offsetY, horz, vert;
    };
    const Case cases[] = {
        {QPageLayout::Portrait, PrinterDescription::Turn::Plus90, 2480, 3508, 59, 118, 2386, 3307},
        {QPageLayout::Landscape, PrinterDescription::Turn::Plus90, 3508, 2480, 83, 59, 3307, 2386},
        {QPageLayout::Landscape, PrinterDescription::Turn::Minus90, 3508, 2480, 118, 35, 3307,
         2386},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.orientation * 10 + static_cast<int>(c.turn));
        Reported r = Report({kA4});
        r.landscape = c.turn;
        const auto m =
            PrinterDescription::fromReport(r).metrics(QPageSize(QPageSize::A4), c.orientation);
        ASSERT_TRUE(m);
        EXPECT_EQ(m->sheetPixels.width(), c.width);
        EXPECT_EQ(m->sheetPixels.height(), c.height);
        EXPECT_EQ(m->printablePixels.x(), c.offsetX);
        EXPECT_EQ(m->printablePixels.y(), c.offsetY);
        EXPECT_EQ(m->printablePixels.width(), c.horz);
        EXPECT_EQ(m->printablePixels.height(), c.vert);
    }
    // A size of no standard is none of the printer's sheets, not the printer's own.
    EXPECT_FALSE(
        d.metrics(QPageSize(QSizeF(123, 45), QPageSize::Millimeter, "own"), QPageLayout::Portrait));
}

TEST(PrinterDescription, OnlyTheFirstThousandSizesAreRead)
{
    // 1,200 sizes without a paper-size code (1 x 1 mm upwards) before the A4.
    std::vector<Media> media;
    for (int i = 0; i < 1200; ++i) media.push_back({"om_odd", 100 + i, 100 + i});
    media.push_back(kA4);
    const PrinterDescription late = PrinterDescription::fromReport(Report(media, ""));
    EXPECT_TRUE(late.sheets().empty());
    media.erase(media.begin() + 10, media.begin() + 1000);  // the A4 is now the 211th
    const PrinterDescription early = PrinterDescription::fromReport(Report(media, ""));
    EXPECT_EQ(Codes(early), Ids{QPageSize::A4});
}

TEST(PrinterDescription, PrinterNamesInTheReasonAreMadePrintable)
{
    struct Case {
        std::string name;
        std::string shown;
    };
    const Case cases[] = {
        {"iso_\xff\xfe_a4", "iso_??_a4"},
        {"tab\tand\nnewline", "tab?and?newline"},
        {"用紙\xe7", "用紙?"},
        {std::string(70, 'x'), std::string(64, 'x') + "…"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.shown);
        Reported r = Report({kA5}, c.name);
        const auto problem = PrinterDescription::fromReport(r).problem(QPageSize());
        ASSERT_TRUE(problem);
        EXPECT_EQ(problem->reason,
                  "プリンタの既定の用紙「" + c.shown + "」は、プリンタの用紙の一覧にありません。");
    }
}

TEST(PrinterDescription, OnlyASheetWithACodeStandsInForAPrinterWithoutSizes)
{
    struct Case {
        const char* defaultName;
        int width, length;  // hundredths of a millimetre
    };
    const Case cases[] = {
        {"na_letter_8.5x11in", 21590, 27940},
        {"om_nothing_0x0mm", 21000, 29700},         // no area: A4
        {"om_huge_100000x100000mm", 21000, 29700},  // a 100 m sheet has no code: A4
        {"om_odd_123x45mm", 21000, 29700},
        {"custom_min_1x1in", 21000, 29700},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.defaultName);
        const auto sheet = PrinterDescription::standInSheet(c.defaultName);
        EXPECT_EQ(sheet.media.width, c.width);
        EXPECT_EQ(sheet.media.length, c.length);
    }
}
