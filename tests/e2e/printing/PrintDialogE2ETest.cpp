#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <thread>

#include "harness/Desktop.h"
#include "harness/DesktopState.h"
#include "harness/PdfPage.h"
#include "harness/PrivateCups.h"
#include "harness/TestSession.h"
#include "harness/TovrimoProcess.h"
#include "harness/XSession.h"

using namespace tovrimo::test;
using namespace std::chrono_literals;

namespace {

const char* kDialogTitle = "^【印刷確認】画面のキャプチャが終了しました。$";

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Settings with confirmation on, slot 0 on Ctrl+Alt+P, and a layout the file spells out
// without the keys a save would add.
void WriteConfirmingSettings(const std::string& path)
{
    std::ofstream ini(path);
    ini << "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=1\n"
        << "HotKeyOn0=1\nHotKeyALT0=1\nHotKeyCTRL0=1\nHotKeyButton0=80\n"
        << "[DefaultPrinter]\nDeviceName=TovA4\nOrientation=1\nPaperSize=9\nPaperBin=0\nPos=1\n"
        << "Size=3\nSizeP=50\nFontName=IPAGothic\nFontSize=10\nTitleText=E2E-TITLE\n";
}

}  // namespace

class PrintDialogE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        cups().clearOutput("TovA4");
        jobsBefore = cups().jobCount();
        FocusRoot();
    }
    PrivateCups& cups() { return TestSession::current().cups(); }
    int jobsBefore = 0;
    Desktop desktop;
};

TEST_F(PrintDialogE2E, HardCopyWithConfirmationPrintsFromTheDialogAndSaves)
{
    TovrimoProcess tovrimo;
    WriteConfirmingSettings(tovrimo.settingsFile());
    const std::string before = ReadFile(tovrimo.settingsFile());
    ASSERT_TRUE(tovrimo.start());
    std::this_thread::sleep_for(1500ms);
    desktop.key("ctrl+alt+p");
    const auto dialog = desktop.waitForWindow(kDialogTitle, 15s);
    ASSERT_NE(dialog, 0u) << "the print dialog did not open";
    EXPECT_EQ(cups().jobCount(), jobsBefore) << "nothing prints before the user says so";
    // Return on 印刷開始(&P), which has the focus when the dialog opens. (Alt+P is shared with
    // the landscape option and only moves the focus between the two.)
    desktop.activate(dialog);
    desktop.key("Return");
    ASSERT_TRUE(WaitFor([&] { return cups().jobCount() == jobsBefore + 1; }, 20s));
    ASSERT_TRUE(cups().waitForJobs());
    const PdfPage page(cups().outputPdf("TovA4"));
    EXPECT_NE(page.text().find("E2E-TITLE"), std::string::npos) << "the dialog's layout";
    const std::string after = ReadFile(tovrimo.settingsFile());
    EXPECT_NE(after, before) << "printing saves the settings";
    EXPECT_NE(after.find("HotKeyButton9="), std::string::npos) << "a complete rewrite";
    EXPECT_NE(after.find("TitleText=E2E-TITLE"), std::string::npos);
    EXPECT_TRUE(tovrimo.running()) << "the resident program goes on";
}

TEST_F(PrintDialogE2E, ClosingTheDialogSavesAndPrintsNothing)
{
    TovrimoProcess tovrimo;
    WriteConfirmingSettings(tovrimo.settingsFile());
    const std::string before = ReadFile(tovrimo.settingsFile());
    ASSERT_TRUE(tovrimo.start());
    std::this_thread::sleep_for(1500ms);
    desktop.key("ctrl+alt+p");
    const auto dialog = desktop.waitForWindow(kDialogTitle, 15s);
    ASSERT_NE(dialog, 0u);
    // Escape is the close button; Alt+U is shared with the title options button and only
    // moves the focus between the two.
    desktop.activate(dialog);
    desktop.key("Escape");
    EXPECT_TRUE(desktop.waitForNoWindow(kDialogTitle, 10s));
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(ReadFile(tovrimo.settingsFile()), before);
    EXPECT_EQ(cups().jobCount(), jobsBefore);
    EXPECT_TRUE(tovrimo.running());
}

TEST_F(PrintDialogE2E, CommandLineConfirmationOpensTheDialogAndClosingItEndsTheProgram)
{
    TovrimoProcess tovrimo;
    WriteConfirmingSettings(tovrimo.settingsFile());
    ASSERT_TRUE(tovrimo.start({"/D", "/c"}));
    const auto dialog = desktop.waitForWindow(kDialogTitle, 15s);
    ASSERT_NE(dialog, 0u);
    desktop.activate(dialog);
    desktop.key("Escape");
    const auto code = tovrimo.waitForExit(10s);
    ASSERT_TRUE(code.has_value()) << "closing the dialog ends a command-line job";
    EXPECT_EQ(cups().jobCount(), jobsBefore);
}

TEST_F(PrintDialogE2E, AStoredPaperSizeOtherThanThePrintersDefaultIsPrintedAndKept)
{
    // The dialog opens on the layout's own sheet, not the queue's default, and printing from
    // it leaves the stored code as it was. (TovA4 offers no A5: B5 stands for the smaller
    // sheet.)
    struct Case {
        const char* queue;
        int code;
        double width, height;  // points
    };
    const Case cases[] = {
        {"TovA4", 13, 516, 729},    // JIS B5 on the A4 queue
        {"TovA4", 1, 612, 792},     // Letter on the A4 queue
        {"TovLetter", 9, 595, 842}  // A4 on the Letter queue
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.queue) + " " + std::to_string(c.code));
        cups().clearOutput(c.queue);
        const int jobs = cups().jobCount();
        TovrimoProcess tovrimo;
        {
            std::ofstream ini(tovrimo.settingsFile());
            ini << "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=1\n"
                << "HotKeyOn0=1\nHotKeyALT0=1\nHotKeyCTRL0=1\nHotKeyButton0=80\n"
                << "[DefaultPrinter]\nDeviceName=" << c.queue
                << "\nOrientation=1\nPaperSize=" << c.code << "\nPaperBin=0\nPos=1\n"
                << "Size=3\nSizeP=50\nFontName=IPAGothic\nFontSize=10\nTitleText=SIZE\n";
        }
        ASSERT_TRUE(tovrimo.start());
        std::this_thread::sleep_for(1500ms);
        desktop.key("ctrl+alt+p");
        const auto dialog = desktop.waitForWindow(kDialogTitle, 15s);
        ASSERT_NE(dialog, 0u);
        desktop.activate(dialog);
        desktop.key("Return");
        ASSERT_TRUE(WaitFor([&] { return cups().jobCount() == jobs + 1; }, 20s));
        ASSERT_TRUE(cups().waitForJobs());
        const PdfPage page(cups().outputPdf(c.queue));
        ASSERT_TRUE(page.exists());
        const QSizeF sheet = page.sheetSizePoints();
        EXPECT_NEAR(sheet.width(), c.width, 1.5);
        EXPECT_NEAR(sheet.height(), c.height, 1.5);
        const std::string after = ReadFile(tovrimo.settingsFile());
        EXPECT_NE(after.find("\nPaperSize=" + std::to_string(c.code) + "\n"), std::string::npos)
            << after;
        EXPECT_NE(after.find("\nDeviceName=" + std::string(c.queue) + "\n"), std::string::npos);
    }
}
