#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

#include "harness/Desktop.h"
#include "harness/Ink.h"
#include "harness/PaintedDesktop.h"
#include "harness/PdfPage.h"
#include "harness/PrivateCups.h"
#include "harness/TestSession.h"
#include "harness/TovrimoProcess.h"
#include "harness/XSession.h"

using namespace tovrimo::test;
using namespace std::chrono_literals;

namespace {

void WriteSettings(const std::string& folder, const std::string& extraOptions,
                   const std::string& layout, int paperSize = 9)
{
    std::ofstream ini(folder + "/tovrimo.ini");
    ini << "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=1\n"
        << extraOptions
        << "[DefaultPrinter]\nDeviceName=TovA4\nOrientation=1\nPaperSize=" << paperSize << "\n"
        << "PaperBin=0\nFontName=IPAGothic\nFontSize=12\n"
        << layout;
}

// Pixels at the render resolution for a length in inches.
double Px(double inches, int dpi)
{
    return inches * dpi;
}

}  // namespace

class DesktopHardCopyE2E : public ::testing::Test {
protected:
    void SetUp() override { cups().clearOutput("TovA4"); }
    PrivateCups& cups() { return TestSession::current().cups(); }

    PdfPage printDesktop(const std::string& options, const std::string& layout)
    {
        TovrimoProcess tovrimo;
        WriteSettings(tovrimo.programFolder(), options, layout);
        EXPECT_TRUE(tovrimo.start({"/d"}));
        const auto code = tovrimo.waitForExit(60s);
        EXPECT_TRUE(code.has_value());
        if (code) {
            EXPECT_EQ(*code, 0) << "the job was not accepted";
        }
        EXPECT_TRUE(cups().waitForJobs());
        return PdfPage(cups().outputPdf("TovA4"));
    }
};

TEST_F(DesktopHardCopyE2E, HalfScaleTopLeftWithTitleBelow)
{
    PaintedDesktop desktop(100, 200, 200, 100);
    const PdfPage page = printDesktop(
        "", "Pos=1\nSize=3\nSizeP=50\nTitleText=TITLE-&[ユーザ名]\nTitleAlign=0\nTitleVAlign=1\n");
    ASSERT_TRUE(page.exists());
    EXPECT_EQ(page.pageCount(), 1);
    EXPECT_NEAR(page.sheetSizePoints().width(), 595.3, 1.0) << "A4";

    constexpr int dpi = 150;
    const QImage image = page.render(dpi);
    const QRect red = Ink::boundsOf(image, QColor(255, 0, 0), 60);
    ASSERT_FALSE(red.isEmpty()) << "the red block is not on the page";
    // The sheet's printable area starts 18 pt (0.25 in) from the corner; the image, at half
    // its screen size (96 dpi), sits there because the title goes below it.
    const double left = 0.25 + 100 * 0.5 / 96.0;
    const double top = 0.25 + 200 * 0.5 / 96.0;
    EXPECT_NEAR(red.left(), Px(left, dpi), 1.0);
    EXPECT_NEAR(red.top(), Px(top, dpi), 1.0);
    EXPECT_NEAR(red.width(), Px(200 * 0.5 / 96.0, dpi), 1.5);
    EXPECT_NEAR(red.height(), Px(100 * 0.5 / 96.0, dpi), 1.5);
    EXPECT_NE(page.text().find("TITLE-"), std::string::npos) << page.text();
}

TEST_F(DesktopHardCopyE2E, CentredActualSizeAndReversePrintInverts)
{
    PaintedDesktop desktop(0, 0, 64, 64);
    const PdfPage page = printDesktop("ReversePrint=1\n", "Pos=3\nSize=3\nSizeP=40\nTitleText=\n");
    const QImage image = page.render(150);
    EXPECT_TRUE(Ink::boundsOf(image, QColor(255, 0, 0), 60).isEmpty()) << "red was inverted";
    const QRect cyan = Ink::boundsOf(image, QColor(0, 255, 255), 60);
    ASSERT_FALSE(cyan.isEmpty());
    // The white screen turns black: the whole image is ink, centred in the printable area.
    const QRect ink = Ink::bounds(image);
    const double imageW = 1280 * 0.4 / 96.0, imageH = 1024 * 0.4 / 96.0;
    const double sheetW = 595.28 / 72.0, sheetH = 841.89 / 72.0;
    EXPECT_NEAR(ink.width(), Px(imageW, 150), 2.0);
    EXPECT_NEAR(ink.height(), Px(imageH, 150), 2.0);
    EXPECT_NEAR(ink.center().x(), Px(sheetW / 2, 150), 2.0);
    // Centred vertically, less the five printer pixels kept for the (empty) title above.
    EXPECT_NEAR(ink.center().y(), Px(sheetH / 2, 150), 2.0);
    EXPECT_EQ(cyan.topLeft(), ink.topLeft()) << "the block is the image's top-left corner";
}

TEST_F(DesktopHardCopyE2E, RefusedPaperSizeShowsTheMessageAndCreatesNoJob)
{
    const int before = cups().jobCount();
    TovrimoProcess tovrimo;
    // Legal (5) is not offered by the A4 queue.
    WriteSettings(tovrimo.programFolder(), "", "Pos=1\nSize=1\n", 5);
    ASSERT_TRUE(tovrimo.start({"/d"}));
    Desktop desktop;
    const auto box = desktop.waitForWindow("^用紙サイズエラー$", 20s);
    ASSERT_NE(box, 0u);
    desktop.dismiss(box);
    const auto code = tovrimo.waitForExit(10s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 1);
    EXPECT_EQ(cups().jobCount(), before);
    // The reason, for a script or terminal: the box's text as one line.
    EXPECT_NE(
        tovrimo.process().standardError().find(
            "tovrimo: 用紙のサイズが不正です。もう一度用紙がプリンタで使用可能か確認してください。 "
            "それでもうまくいかない場合は、用紙サイズを「指定なし」にしてみてください。\n"),
        std::string::npos)
        << tovrimo.process().standardError();
}

TEST_F(DesktopHardCopyE2E, QueueRejectingJobsIsReported)
{
    ASSERT_TRUE(cups().rejectJobs("TovA4"));
    TovrimoProcess tovrimo;
    WriteSettings(tovrimo.programFolder(), "", "Pos=1\nSize=1\n");
    ASSERT_TRUE(tovrimo.start({"/d"}));
    Desktop desktop;
    const auto box = desktop.waitForWindow("^トヴリモ$", 20s);
    EXPECT_NE(box, 0u) << "no message about the refused job";
    if (box) desktop.dismiss(box);
    const auto code = tovrimo.waitForExit(10s);
    ASSERT_TRUE(code.has_value());
    EXPECT_NE(*code, 0) << tovrimo.process().standardError();
    ASSERT_TRUE(cups().acceptJobs("TovA4"));
}
