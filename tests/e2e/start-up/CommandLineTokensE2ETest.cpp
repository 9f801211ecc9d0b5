#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>

#include "harness/Desktop.h"
#include "harness/DesktopState.h"
#include "harness/Ink.h"
#include "harness/PdfPage.h"
#include "harness/PrintQueueTest.h"
#include "harness/PrivateCups.h"
#include "harness/TestSession.h"
#include "harness/TovrimoProcess.h"
#include "harness/XSession.h"

using namespace tovrimo::test;
using namespace std::chrono_literals;

namespace {

// Prints at once, actual size, image in the top-left corner of the printable area.
void WriteSettings(const std::string& path)
{
    std::ofstream ini(path);
    ini << "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=0\n"
        << "[DefaultPrinter]\nDeviceName=TovA4\nOrientation=1\nPaperSize=9\nPaperBin=0\n"
        << "Pos=1\nSize=1\nSizeP=100\nFontName=IPAGothic\nFontSize=10\nTitleText=\n"
        << "TitleVAlign=1\n";
}

}  // namespace

class CommandLineTokensE2E : public PrintQueueTest {
protected:
    void SetUp() override
    {
        PrintQueueTest::SetUp();
        WriteSettings(tovrimo.settingsFile());
    }
    Desktop desktop;
    TovrimoProcess tovrimo;
};

TEST_F(CommandLineTokensE2E, AQtOptionAloneIsAnArgumentErrorNotAMirroredResidentStart)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"-reverse"}, {"-style", "fusion"}}) {
        SCOPED_TRACE(args.front());
        TovrimoProcess run;
        WriteSettings(run.settingsFile());
        ASSERT_TRUE(run.start(args));
        const auto box = desktop.waitForWindow("^トヴリモ$", 15s);
        ASSERT_NE(box, 0u) << "no argument error: the tokens did not reach the job";
        // No icon of its own in the tray. (The tray's count alone can include a window the
        // tray is still taking down from the case before.)
        const std::vector<int> owners = TrayIconOwners();
        EXPECT_EQ(std::count(owners.begin(), owners.end(), run.process().pid()), 0)
            << "it became resident";
        ASSERT_TRUE(desktop.dismiss(box));
        const auto code = run.waitForExit(10s);
        ASSERT_TRUE(code.has_value());
        EXPECT_NE(*code, 0);
    }
}

TEST_F(CommandLineTokensE2E, QtOptionsAmongTheSwitchesAreNeitherLostNorActedOn)
{
    // A display option Qt would obey names a server that does not exist: acted on, it would
    // end the program before anything is printed.
    ASSERT_FALSE(std::filesystem::exists("/tmp/.X11-unix/X5999"));
    ASSERT_TRUE(tovrimo.start({"-style", "fusion", "-display", ":5999", "/d"}));
    const auto code = tovrimo.waitForExit(30s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0) << tovrimo.process().standardError();
    EXPECT_TRUE(printedOnePage());
}

TEST_F(CommandLineTokensE2E, ANegativeWindowHandleNeverPrintsTheActiveWindow)
{
    TestWindow window("Tovrimo active window", 300, 300, 240, 120, 0xFF00FF);
    const auto id = desktop.waitForWindow("^Tovrimo active window$", 10s);
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(desktop.activate(id));
    std::this_thread::sleep_for(300ms);

    ASSERT_TRUE(tovrimo.start({"/a", "/h=-1"}));
    const auto code = tovrimo.waitForExit(30s);
    ASSERT_TRUE(code.has_value());
    // Nothing was captured; whatever the page holds, it is not the active window.
    if (WaitFor([&] { return cups().jobCount() > jobsBefore; }, 5s)) {
        ASSERT_TRUE(cups().waitForJobs());
        const QImage page = PdfPage(cups().outputPdf("TovA4")).render(150);
        EXPECT_TRUE(Ink::boundsOf(page, QColor(255, 0, 255), 60).isEmpty())
            << "the active window was printed";
    }
    EXPECT_TRUE(desktop.findWindows("^Tovrimo active window$").size() == 1u);
}

TEST_F(CommandLineTokensE2E, AHexadecimalHandleAsXwininfoPrintsItPrintsThatWindow)
{
    TestWindow target("Tovrimo hex target", 300, 300, 240, 120, 0xFF00FF);
    ASSERT_NE(desktop.waitForWindow("^Tovrimo hex target$", 10s), 0u);
    // Another window is the active one: a handle that is not understood would print it.
    TestWindow active("Tovrimo hex active", 700, 200, 200, 160, 0x00FFFF);
    const auto activeId = desktop.waitForWindow("^Tovrimo hex active$", 10s);
    ASSERT_NE(activeId, 0u);
    ASSERT_TRUE(desktop.activate(activeId));
    std::this_thread::sleep_for(300ms);

    // The same window, as xwininfo prints its id and in decimal.
    const Process info = Process::run("xwininfo", {{"-name", "Tovrimo hex target"}});
    const std::string said = info.standardOutput();
    const auto at = said.find("Window id: 0x");
    ASSERT_NE(at, std::string::npos) << said;
    const std::string hex = said.substr(at + 11, said.find(' ', at + 11) - (at + 11));
    ASSERT_EQ(std::stoul(hex, nullptr, 16), target.id()) << hex;

    QRect magenta[2];
    const std::string handles[2] = {hex, std::to_string(target.id())};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(handles[i]);
        startCounting();
        TovrimoProcess job;
        WriteSettings(job.settingsFile());
        ASSERT_TRUE(job.start({"/a", "/h=" + handles[i]}));
        const auto code = job.waitForExit(30s);
        ASSERT_TRUE(code.has_value());
        EXPECT_EQ(*code, 0);
        ASSERT_TRUE(printedOnePage());
        const QImage page = PdfPage(cups().outputPdf("TovA4")).render(150);
        magenta[i] = Ink::boundsOf(page, QColor(255, 0, 255), 60);
        EXPECT_NEAR(magenta[i].width(), 240 / 96.0 * 150, 1.5) << "the given window";
        EXPECT_TRUE(Ink::boundsOf(page, QColor(0, 255, 255), 60).isEmpty())
            << "the active window was printed";
    }
    EXPECT_EQ(magenta[0], magenta[1]) << "both forms print the same page";
}
