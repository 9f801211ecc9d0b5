// The program where users are: a desktop has a system bus and avahi-daemon running, and often a
// printer announcing itself on the network. There every question with a DNS-SD wait waits in
// full, so a hard copy must not ask one. Pages still go to the private cupsd's queues and are
// measured there.
#include <gtest/gtest.h>

#include <fstream>

#include "harness/Desktop.h"
#include "harness/DesktopState.h"
#include "harness/Ink.h"
#include "harness/IppEverywhere.h"
#include "harness/PaintedDesktop.h"
#include "harness/PdfPage.h"
#include "harness/PrivateCups.h"
#include "harness/TestSession.h"
#include "harness/TovrimoProcess.h"
#include "harness/XSession.h"

using namespace tovrimo::test;
using namespace std::chrono_literals;

namespace {

constexpr int kDpi = 150;

// Settings that print the desktop at actual size in the printable area's top-left corner with
// no title, on the queue and paper size given; Ctrl+Alt+P is the desktop hard copy.
void WriteSettings(const std::string& folder, const std::string& queue, int paperSize)
{
    std::ofstream ini(folder + "/tovrimo.ini");
    ini << "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=0\n"
        << "HotKeyOn0=1\nHotKeyALT0=1\nHotKeyCTRL0=1\nHotKeySHIFT0=0\nHotKeyButton0=80\n"
        << "[DefaultPrinter]\nDeviceName=" << queue << "\nOrientation=1\nPaperSize=" << paperSize
        << "\nPaperBin=0\nFontName=IPAGothic\nFontSize=12\nPos=1\nSize=1\nTitleText=\n"
        << "TitleVAlign=2\n";
}

}  // namespace

class DesktopLikeE2E : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        network = new IppEverywhere;
        if (!network->start() || !network->addPrinter("TovEveAnnounced")) {
            setUpError = network->error();
            return;
        }
        // Announced and resolvable before the first hard copy starts.
        std::this_thread::sleep_for(1s);
    }
    static void TearDownTestSuite()
    {
        delete network;
        network = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(setUpError.empty()) << setUpError;
        for (const char* q : {TestSession::kA4Queue, TestSession::kLetterQueue})
            cups().clearOutput(q);
        FocusRoot();
    }
    PrivateCups& cups() { return TestSession::current().cups(); }
    static std::map<std::string, std::string> desktopEnvironment()
    {
        return {{"DBUS_SYSTEM_BUS_ADDRESS", network->systemBusAddress()}};
    }
    // The red block of the painted desktop, 200×100 screen pixels at (100, 200), lies that far
    // from the printable area's corner (margins in points) at its own size.
    static void expectBlockAt(const PdfPage& page, double leftPt, double topPt)
    {
        const QRect red = Ink::boundsOf(page.render(kDpi), QColor(255, 0, 0), 60);
        ASSERT_FALSE(red.isEmpty()) << "the red block is not on the page";
        EXPECT_NEAR(red.left(), (leftPt / 72 + 100 / 96.0) * kDpi, 1.0);
        EXPECT_NEAR(red.top(), (topPt / 72 + 200 / 96.0) * kDpi, 1.0);
        EXPECT_NEAR(red.width(), 200 / 96.0 * kDpi, 1.5);
        EXPECT_NEAR(red.height(), 100 / 96.0 * kDpi, 1.5);
    }

    static inline IppEverywhere* network = nullptr;
    static inline std::string setUpError;
};

TEST_F(DesktopLikeE2E, CommandLineHardCopyOnLetterToThePrinterThatIsNotTheDefault)
{
    PaintedDesktop desktop(100, 200, 200, 100);
    TovrimoProcess tovrimo({}, desktopEnvironment());
    WriteSettings(tovrimo.programFolder(), TestSession::kLetterQueue, 1);
    ASSERT_TRUE(tovrimo.start({"/d"}));
    const auto code = tovrimo.waitForExit(60s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0) << "the job was not accepted";
    ASSERT_TRUE(cups().waitForJobs());
    const PdfPage page(cups().outputPdf(TestSession::kLetterQueue));
    ASSERT_TRUE(page.exists());
    EXPECT_EQ(page.pageCount(), 1);
    EXPECT_NEAR(page.sheetSizePoints().width(), 612, 1.0) << "Letter";
    EXPECT_NEAR(page.sheetSizePoints().height(), 792, 1.0);
    // TovLetter's Letter sheet is printable from 18 pt at the left and 36 pt at the top.
    expectBlockAt(page, 18, 36);
}

TEST_F(DesktopLikeE2E, HotKeyHardCopyOnLetterFromTheResidentProgram)
{
    PaintedDesktop desktop(100, 200, 200, 100);
    TovrimoProcess tovrimo({}, desktopEnvironment());
    WriteSettings(tovrimo.programFolder(), TestSession::kA4Queue, 1);
    const size_t iconsBefore = TrayIcons().size();
    ASSERT_TRUE(tovrimo.start());
    ASSERT_TRUE(WaitFor([&] { return TrayIcons().size() == iconsBefore + 1; }, 15s));
    const int jobsBefore = cups().jobCount();
    Desktop keys;
    keys.key("ctrl+alt+p");
    ASSERT_TRUE(WaitFor([&] { return cups().jobCount() == jobsBefore + 1; }, 20s));
    ASSERT_TRUE(cups().waitForJobs());
    const PdfPage page(cups().outputPdf(TestSession::kA4Queue));
    ASSERT_TRUE(page.exists());
    EXPECT_EQ(page.pageCount(), 1);
    EXPECT_NEAR(page.sheetSizePoints().width(), 612, 1.0) << "Letter on the A4 printer";
    // TovA4's Letter sheet is printable from 18 pt at the left and at the top.
    expectBlockAt(page, 18, 18);
    EXPECT_TRUE(tovrimo.running());
}
