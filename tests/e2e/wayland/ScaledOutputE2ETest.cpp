// Actual size on a scaled Wayland output: a capture is in device pixels, and the output's
// scale says how many of them make an inch, as Xft.dpi does on X11.
#include <gtest/gtest.h>

#include <fstream>

#include "harness/Ink.h"
#include "harness/PdfPage.h"
#include "harness/WaylandTestSession.h"

namespace tovrimo::test {
namespace {

using namespace std::chrono_literals;

TEST(ScaledOutputE2E, ActualSizePrintsTheDesktopAsLargeAsTheScreenShowsIt)
{
    WaylandTestSession& shared = WaylandTestSession::current();
    PrivateCups& cups = shared.cups();
    for (const int scale : {1, 2}) {
        SCOPED_TRACE("output scale " + std::to_string(scale));
        // 640 x 320 device pixels of red: at scale 2 that is 320 x 160 of layout, 3.33 inches
        // at 192 dpi; at scale 1, 6.67 inches at 96 dpi.
        WaylandSession::Options options;
        options.width = 640;
        options.height = 320;
        options.scale = scale;
        options.background = "#ff0000";
        WaylandSession session(options);
        ASSERT_TRUE(session.start()) << session.error();
        cups.clearOutput("TovA4");

        auto tovrimo = shared.tovrimo(session.environment());
        ASSERT_NE(tovrimo, nullptr);
        {
            std::ofstream ini(tovrimo->settingsFile());
            ini << "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=0\n"
                << "[DefaultPrinter]\nDeviceName=TovA4\nOrientation=1\nPaperSize=9\nPaperBin=0\n"
                << "Pos=1\nSize=1\nSizeP=100\nFontName=IPAGothic\nFontSize=10\nTitleText=\n";
        }
        ASSERT_TRUE(tovrimo->start({"/d"}));
        const auto code = tovrimo->waitForExit(60s);
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, 0) << tovrimo->process().standardError();
        ASSERT_TRUE(cups.waitForJobs());

        // Rendered at 144 dpi, an inch of paper is 144 pixels.
        constexpr int renderDpi = 144;
        const double screenDpi = 96.0 * scale;
        const QImage page = PdfPage(cups.outputPdf("TovA4")).render(renderDpi);
        const QRect red = Ink::boundsOf(page, QColor(255, 0, 0), 60);
        ASSERT_FALSE(red.isEmpty()) << "nothing red on the page";
        EXPECT_NEAR(red.width(), 640.0 * renderDpi / screenDpi, 1.0);
        EXPECT_NEAR(red.height(), 320.0 * renderDpi / screenDpi, 1.0);
        session.stop();
    }
}

}  // namespace
}  // namespace tovrimo::test
