#include <gtest/gtest.h>

#include <fstream>

#include "harness/Ink.h"
#include "harness/IppEverywhere.h"
#include "harness/PaintedDesktop.h"
#include "harness/PdfPage.h"
#include "harness/PrivateCups.h"
#include "harness/TestSession.h"
#include "harness/TovrimoProcess.h"

using namespace tovrimo::test;
using namespace std::chrono_literals;

// The program as a user runs it, printing on a driverless IPP Everywhere printer (simulated by
// ippeveprinter) through a CUPS queue that has no PPD at all ("EveRaw") and through the one CUPS
// makes for it with -m everywhere ("Eve").
class DriverlessPrinterE2E : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        printers = new IppEverywhere;
        const IppEverywhere::Printer* eve = nullptr;
        if (!printers->start() || !(eve = printers->addPrinter("TovEveE2E"))) {
            setUpError = printers->error();
            return;
        }
        PrivateCups& cups = TestSession::current().cups();
        if (!cups.addIppQueue("EveRaw", eve->uri, false) ||
            !cups.addIppQueue("Eve", eve->uri, true))
            setUpError = cups.error();
    }
    static void TearDownTestSuite()
    {
        for (const char* q : {"EveRaw", "Eve"}) TestSession::current().cups().deleteQueue(q);
        delete printers;
        printers = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(setUpError.empty()) << setUpError; }

    static inline IppEverywhere* printers = nullptr;
    static inline std::string setUpError;
};

TEST_F(DriverlessPrinterE2E, DesktopHardCopyAtActualSizeOnA4)
{
    PaintedDesktop desktop(100, 200, 200, 100);
    for (const char* queue : {"EveRaw", "Eve"}) {
        SCOPED_TRACE(queue);
        printers->clearSpool("TovEveE2E");
        TovrimoProcess tovrimo;
        {
            std::ofstream ini(tovrimo.programFolder() + "/tovrimo.ini");
            ini << "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=0\n"
                << "[DefaultPrinter]\nDeviceName=" << queue
                << "\nOrientation=1\nPaperSize=9\nPaperBin=0\n"
                << "FontName=IPAGothic\nFontSize=12\nPos=1\nSize=1\nTitleText=\nTitleVAlign=2\n";
        }
        ASSERT_TRUE(tovrimo.start({"/d"}));
        const auto code = tovrimo.waitForExit(60s);
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, 0) << "the job was not accepted";
        ASSERT_TRUE(TestSession::current().cups().waitForJobs());
        ASSERT_TRUE(printers->waitForDocument("TovEveE2E"));

        const PdfPage page(printers->lastDocument("TovEveE2E"));
        ASSERT_TRUE(page.exists());
        EXPECT_NEAR(page.sheetSizePoints().width(), 595.3, 0.5) << "A4";
        const std::string attrs = printers->lastJobAttributes("TovEveE2E");
        EXPECT_TRUE(attrs.find("IPP_MEDIA=iso_a4_210x297mm") != std::string::npos ||
                    attrs.find("x-dimension=21000 y-dimension=29700") != std::string::npos)
            << attrs;
        // The printer's A4 margins are 3.40 mm at the sides (80 px at 600 dpi = 9.6 pt) and
        // 6.35 mm at the top (18 pt); the red block is 100 and 200 screen pixels (96 dpi) from
        // the corner of the desktop, which sits on the printable area's corner.
        constexpr int dpi = 150;
        const QRect red = Ink::boundsOf(page.render(dpi), QColor(255, 0, 0), 60);
        ASSERT_FALSE(red.isEmpty()) << "the red block is not on the page";
        EXPECT_NEAR(red.left(), (9.6 / 72 + 100 / 96.0) * dpi, 1.0);
        EXPECT_NEAR(red.top(), (18 / 72.0 + 200 / 96.0) * dpi, 1.0);
        EXPECT_NEAR(red.width(), 200 / 96.0 * dpi, 1.5);
        EXPECT_NEAR(red.height(), 100 / 96.0 * dpi, 1.5);
    }
}
