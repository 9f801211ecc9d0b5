#include <gtest/gtest.h>

#include <fstream>

#include "harness/Ink.h"
#include "harness/PaintedDesktop.h"
#include "harness/PdfPage.h"
#include "harness/PrivateCups.h"
#include "harness/TestSession.h"
#include "harness/TovrimoProcess.h"

using namespace tovrimo::test;
using namespace std::chrono_literals;

namespace {

constexpr int kScreenW = 1280;  // the harness's screen
constexpr int kScreenH = 1024;

}  // namespace

// A desktop hard copy fitted to A4 on the PDF queue, printed by the real program, once as the
// page image at screen resolution and once at full detail.
class FullDetailE2E : public ::testing::Test {
protected:
    PrivateCups& cups() { return TestSession::current().cups(); }

    PdfPage print(bool fullDetail, const std::string& name)
    {
        cups().clearOutput("TovA4");
        TovrimoProcess tovrimo;
        {
            std::ofstream ini(tovrimo.programFolder() + "/tovrimo.ini");
            ini << "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=1\n"
                << (fullDetail ? "FullDetailPrint=1\n" : "")
                << "[DefaultPrinter]\nDeviceName=TovA4\nOrientation=1\nPaperSize=9\nPaperBin=0\n"
                   "FontName=IPAGothic\nFontSize=12\nPos=3\nSize=2\nTitleText=\n";
        }
        EXPECT_TRUE(tovrimo.start({"/d"}));
        const auto code = tovrimo.waitForExit(60s);
        EXPECT_TRUE(code.has_value());
        if (code) {
            EXPECT_EQ(*code, 0) << tovrimo.process().standardError();
        }
        EXPECT_TRUE(cups().waitForJobs());
        // Kept apart: the next job writes the queue's output file again.
        const std::string kept = cups().folder() + "/" + name + ".pdf";
        std::ifstream in(cups().outputPdf("TovA4"), std::ios::binary);
        std::ofstream(kept, std::ios::binary) << in.rdbuf();
        return PdfPage(kept);
    }
};

TEST_F(FullDetailE2E, PrintsTheCapturesOwnPixelsLosslesslyInTheSameRectangle)
{
    // Grey, so that the whole image is ink; a red block to see where the picture lies inside.
    PaintedDesktop desktop(100, 200, 200, 100, 0xFF0000, 0xA0A0A0);
    const PdfPage screenScale = print(false, "screen-scale");
    const PdfPage fullDetail = print(true, "full-detail");
    ASSERT_TRUE(screenScale.exists());
    ASSERT_TRUE(fullDetail.exists());
    EXPECT_EQ(fullDetail.pageCount(), 1);

    // Without the option: the page image, 559 pt of printable width at 96 pixels per inch.
    const auto small = screenScale.images();
    ASSERT_EQ(small.size(), 1u);
    EXPECT_EQ(small[0].width, 745);
    EXPECT_EQ(small[0].encoding, "image");
    EXPECT_EQ(small[0].interpolate, "no") << "the page image is scaled as it always was";
    // With it: the screen's own size, Flate (pdfimages says "image"), never JPEG.
    const auto big = fullDetail.images();
    ASSERT_EQ(big.size(), 1u);
    EXPECT_EQ(big[0].width, kScreenW);
    EXPECT_EQ(big[0].height, kScreenH);
    EXPECT_EQ(big[0].color, "rgb");
    EXPECT_EQ(big[0].encoding, "image");
    EXPECT_EQ(big[0].interpolate, "yes");

    // The pixels in the file are the screen's, the block exactly where it was on the screen.
    const QImage stored = fullDetail.firstImage();
    ASSERT_EQ(stored.size(), QSize(kScreenW, kScreenH));
    const QRect block = Ink::boundsOf(stored, QColor(255, 0, 0), 8);
    EXPECT_EQ(block, QRect(100, 200, 200, 100));
    EXPECT_EQ(stored.pixelColor(99, 250), QColor(0xA0, 0xA0, 0xA0));

    // On the sheet: the same rectangle within one pixel at 144 dpi, and the block in it too.
    constexpr int dpi = 144;
    const QImage a = screenScale.render(dpi);
    const QImage b = fullDetail.render(dpi);
    const QRect inkA = Ink::bounds(a);
    const QRect inkB = Ink::bounds(b);
    ASSERT_FALSE(inkB.isEmpty());
    // Fitted to the width of A4's printable area (18 pt margins): 559 pt = 1118 px at 144 dpi.
    EXPECT_NEAR(inkB.width(), 1118, 2);
    EXPECT_NEAR(inkB.left(), 36, 1);
    const QRect redA = Ink::boundsOf(a, QColor(255, 0, 0), 60);
    const QRect redB = Ink::boundsOf(b, QColor(255, 0, 0), 60);
    for (auto [x, y] : {std::pair{inkA.topLeft(), inkB.topLeft()},
                        std::pair{inkA.bottomRight(), inkB.bottomRight()},
                        std::pair{redA.topLeft(), redB.topLeft()},
                        std::pair{redA.bottomRight(), redB.bottomRight()}}) {
        EXPECT_LE(std::abs(x.x() - y.x()), 1) << x.x() << " vs " << y.x();
        EXPECT_LE(std::abs(x.y() - y.y()), 1) << x.y() << " vs " << y.y();
    }
}
