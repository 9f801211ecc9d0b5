#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <regex>

#include "harness/Ink.h"
#include "harness/PdfPage.h"
#include "harness/PrivateCups.h"
#include "harness/Process.h"
#include "harness/TestSession.h"
#include "harness/TovrimoProcess.h"

using namespace tovrimo::test;
using namespace std::chrono_literals;

namespace {

constexpr const char* kRuntimeWarning = "XDG_RUNTIME_DIR";

std::string BuildFolder()
{
    return std::filesystem::path(TOVRIMO_BINARY).parent_path().string();
}

}  // namespace

// The program does not need a runtime folder: started without XDG_RUNTIME_DIR (as from a plain
// X session, a script or cron) it prints its hard copy and says nothing about the folder.
TEST(RuntimeFolderE2E, AHardCopyWithoutARuntimeFolderSaysNothingAboutIt)
{
    PrivateCups& cups = TestSession::current().cups();
    cups.clearOutput("TovA4");
    TovrimoProcess tovrimo;
    {
        std::ofstream ini(tovrimo.settingsFile());
        ini << "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=0\n"
            << "[DefaultPrinter]\nDeviceName=TovA4\nOrientation=1\nPaperSize=9\nSize=2\nPos=1\n";
    }
    tovrimo.unsetEnvironment("XDG_RUNTIME_DIR");
    ASSERT_TRUE(tovrimo.start({"/d"}));
    const auto code = tovrimo.waitForExit(60s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0);
    EXPECT_TRUE(cups.waitForJobs());
    EXPECT_TRUE(PdfPage(cups.outputPdf("TovA4")).exists());
    const std::string err = tovrimo.process().standardError();
    EXPECT_EQ(err.find(kRuntimeWarning), std::string::npos) << err;
}

// The README's run command without a display: the demo puts a test card on its private
// desktop, prints it, says what the page shows, and no program in it warns about the runtime
// folder.
TEST(RuntimeFolderE2E, TheDemoPrintsTheTestCardAndSaysWhatThePageShows)
{
    Process::Options options;
    options.args = {std::string(TOVRIMO_SOURCE_DIR) + "/scripts/demo.sh"};
    options.env["BUILD_DIR"] = BuildFolder();
    options.unsetEnv = {"DISPLAY", "XDG_RUNTIME_DIR", "CUPS_SERVER", "DBUS_SESSION_BUS_ADDRESS"};
    Process demo("bash", options);
    ASSERT_TRUE(demo.start());
    const auto code = demo.wait(120s);
    ASSERT_TRUE(code.has_value()) << "the demo did not finish";
    const std::string out = demo.standardOutput();
    const std::string err = demo.standardError();
    EXPECT_EQ(*code, 0) << out << err;
    EXPECT_EQ(out.find(kRuntimeWarning), std::string::npos) << out;
    EXPECT_EQ(err.find(kRuntimeWarning), std::string::npos) << err;
    EXPECT_NE(out.find("The page shows: the demo desktop"), std::string::npos) << out;
    EXPECT_EQ(out.find("did not appear"), std::string::npos) << out;

    std::smatch landed;
    ASSERT_TRUE(std::regex_search(out, landed, std::regex("The page landed in: (\\S+)"))) << out;
    const std::string pdf = landed[1];
    const PdfPage page(pdf);
    ASSERT_TRUE(page.exists()) << pdf;
    EXPECT_EQ(page.pageCount(), 1);
    const QImage image = page.render(40);
    // The blue desktop and, on it, the card's yellow bar and red sun: not an empty screen.
    EXPECT_GT(Ink::count(image, QColor(0x30, 0x60, 0xa0), 30), 1000) << "no demo desktop";
    EXPECT_GT(Ink::count(image, QColor(255, 255, 0), 40), 50) << "no colour bars";
    EXPECT_GT(Ink::count(image, QColor(220, 30, 40), 40), 20) << "no red sun";

    // The demo leaves its folder for the user to look at; the test removes it.
    const std::filesystem::path work =
        std::filesystem::path(pdf).parent_path().parent_path().parent_path();
    if (work.filename().string().rfind("tovrimo-demo.", 0) == 0) {
        std::error_code ignored;
        std::filesystem::remove_all(work, ignored);
    }
}
