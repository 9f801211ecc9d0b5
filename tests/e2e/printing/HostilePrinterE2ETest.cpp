// Printers on the network that report nonsense, as a broken or hostile device on a desktop's
// network may: announced on the private avahi, found by the program itself. The command line
// ends with the box and exit status 1; the resident program shows the box and stays.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "harness/Desktop.h"
#include "harness/DesktopState.h"
#include "harness/IppEverywhere.h"
#include "harness/PaintedDesktop.h"
#include "harness/PrivateCups.h"
#include "harness/TestSession.h"
#include "harness/TovrimoProcess.h"
#include "harness/XSession.h"
#include "platform/cups/CupsPrinterBackend.h"

using namespace tovrimo;
using namespace tovrimo::test;
using namespace std::chrono_literals;

namespace {

// Prints the desktop on the printer given, with the printer's own size (0) unless told; Ctrl+Alt+P
// is the desktop hard copy.
void WriteSettings(const std::string& folder, const std::string& printer, int paperSize = 0)
{
    std::ofstream ini(folder + "/tovrimo.ini");
    ini << "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=0\n"
        << "HotKeyOn0=1\nHotKeyALT0=1\nHotKeyCTRL0=1\nHotKeySHIFT0=0\nHotKeyButton0=80\n"
        << "[DefaultPrinter]\nDeviceName=" << printer << "\nOrientation=1\nPaperSize=" << paperSize
        << "\nPaperBin=0\nFontName=IPAGothic\nFontSize=12\nPos=1\nSize=1\nTitleText=\n"
        << "TitleVAlign=2\n";
}

}  // namespace

class HostilePrinterE2E : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        network = new IppEverywhere;
        if (!network->start() ||
            !network->addPrinter("TovEveHostile", TOVRIMO_TEST_DATA "/ipp/TovEveHostile.attrs") ||
            !network->addPrinter("TovEveDpi", TOVRIMO_TEST_DATA "/ipp/TovEveDpi.attrs")) {
            setUpError = network->error();
            return;
        }
        // The names the program will find them under, as libcups names announced printers.
        ::setenv("DBUS_SYSTEM_BUS_ADDRESS", network->systemBusAddress().c_str(), 1);
        CupsPrinterBackend backend;
        const std::string pid = std::to_string(::getpid());
        for (int attempt = 0; attempt < 5 && (hostile.empty() || badDpi.empty()); ++attempt) {
            for (const auto& name : backend.discoverPrinters(3000ms)) {
                if (name.find(pid) == std::string::npos) continue;
                if (name.rfind("TovEveHostile", 0) == 0) hostile = name;
                if (name.rfind("TovEveDpi", 0) == 0) badDpi = name;
            }
        }
        ::unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
        if (hostile.empty() || badDpi.empty()) setUpError = "the printers were not announced";
    }
    static void TearDownTestSuite()
    {
        delete network;
        network = nullptr;
    }
    void SetUp() override
    {
        ASSERT_TRUE(setUpError.empty()) << setUpError;
        FocusRoot();
    }
    static std::map<std::string, std::string> desktopEnvironment()
    {
        return {{"DBUS_SYSTEM_BUS_ADDRESS", network->systemBusAddress()}};
    }

    static inline IppEverywhere* network = nullptr;
    static inline std::string setUpError;
    static inline std::string hostile;
    static inline std::string badDpi;
};

TEST_F(HostilePrinterE2E, CommandLineEndsWithTheBoxAndStatusOne)
{
    struct Case {
        const std::string* printer;
        int paperSize;
        const char* box;
    };
    const Case cases[] = {
        {&badDpi, 0, "^プリンタ名エラー$"},   // 0 dpi
        {&hostile, 0, "^用紙サイズエラー$"},  // its default A4 has margins wider than the sheet
        {&hostile, 8, "^用紙サイズエラー$"},  // A3: dropped, so not offered
    };
    PaintedDesktop desktop(100, 200, 200, 100);
    for (const auto& c : cases) {
        SCOPED_TRACE(*c.printer + " " + std::to_string(c.paperSize));
        const int jobsBefore = TestSession::current().cups().jobCount();
        TovrimoProcess tovrimo({}, desktopEnvironment());
        WriteSettings(tovrimo.programFolder(), *c.printer, c.paperSize);
        ASSERT_TRUE(tovrimo.start({"/d"}));
        Desktop screen;
        const auto box = screen.waitForWindow(c.box, 30s);
        ASSERT_NE(box, 0u) << tovrimo.process().standardError();
        screen.dismiss(box);
        const auto code = tovrimo.waitForExit(20s);
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, 1);
        EXPECT_EQ(network->lastDocument(*c.printer), "");
        EXPECT_EQ(TestSession::current().cups().jobCount(), jobsBefore);
    }
}

TEST_F(HostilePrinterE2E, TheResidentProgramShowsTheBoxAndStays)
{
    PaintedDesktop desktop(100, 200, 200, 100);
    TovrimoProcess tovrimo({}, desktopEnvironment());
    WriteSettings(tovrimo.programFolder(), badDpi);
    const size_t iconsBefore = TrayIcons().size();
    ASSERT_TRUE(tovrimo.start());
    ASSERT_TRUE(WaitFor([&] { return TrayIcons().size() == iconsBefore + 1; }, 15s));
    Desktop screen;
    for (int copy = 0; copy < 3; ++copy) {
        SCOPED_TRACE(copy);
        FocusRoot();
        screen.key("ctrl+alt+p");
        const auto box = screen.waitForWindow("^プリンタ名エラー$", 30s);
        ASSERT_NE(box, 0u);
        screen.dismiss(box);
        ASSERT_TRUE(screen.waitForNoWindowId(box));
        EXPECT_TRUE(tovrimo.running());
    }
    EXPECT_EQ(TrayIcons().size(), iconsBefore + 1);
}
