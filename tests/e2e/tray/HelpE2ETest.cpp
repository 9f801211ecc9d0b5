#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "harness/Desktop.h"
#include "harness/DesktopState.h"
#include "harness/Process.h"
#include "harness/TestSession.h"
#include "harness/TovrimoProcess.h"
#include "harness/XSession.h"

using namespace tovrimo::test;
using namespace std::chrono_literals;

namespace {

// The guide's own title, which the help window takes over once it has loaded the guide.
const std::string kGuideWindow = "^トヴリモ ヘルプ$";

void WriteSettings(const std::string& path)
{
    std::ofstream ini(path);
    ini << "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=1\n"
        << "SelfTime=5\n[DefaultPrinter]\nDeviceName=TovA4\nOrientation=1\nPaperSize=9\n"
        << "Pos=1\nSize=1\nSizeP=100\nFontName=IPAGothic\nFontSize=10\n";
}

// Link-coloured pixels: blue well above red and green. The guide's contents are a list of
// links; a page that only says the file is missing has none.
int LinkPixelsIn(const QImage& image, int firstRow, int lastRow)
{
    int count = 0;
    for (int y = std::max(0, firstRow); y < std::min(image.height(), lastRow); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > 150 && c.blue() - std::max(c.red(), c.green()) > 60) ++count;
        }
    return count;
}

// The program, built or installed, with one way of opening help.
class HelpE2E : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        FocusRoot();
        WriteSettings(tovrimo.settingsFile());
        if (GetParam()) install();
    }

    // Installs the build under a fresh prefix the way a user would, and runs that copy.
    void install()
    {
        char pattern[] = "/tmp/tovrimo-prefix.XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        prefix = pattern;
        const std::string buildDir = std::filesystem::path(TOVRIMO_BINARY).parent_path();
        const Process p =
            Process::run("cmake", {{"--install", buildDir, "--prefix", prefix}}, 120s);
        ASSERT_EQ(p.exitCode(), 0) << p.standardOutput() << p.standardError();
        ASSERT_TRUE(std::filesystem::exists(prefix + "/share/tovrimo/tovrimo.html"));
        ASSERT_FALSE(std::filesystem::exists(prefix + "/bin/tovrimo.html"));
        tovrimo.setBinary(prefix + "/bin/tovrimo");
    }

    void TearDown() override
    {
        tovrimo.stop();
        if (!prefix.empty()) std::filesystem::remove_all(prefix);
    }

    bool startResident()
    {
        const size_t before = TrayIcons().size();
        if (!tovrimo.start()) return false;
        if (!WaitFor([&] { return TrayIcons().size() == before + 1; }, 15s)) return false;
        icon = TrayIcons().front();
        return true;
    }

    // Right-clicks the tray icon and picks the item `upFromBottom` places above the last.
    void chooseFromTrayMenu(int upFromBottom)
    {
        desktop.mouseMove(icon.x(), icon.y());
        desktop.click(3);
        std::this_thread::sleep_for(500ms);
        for (int i = 0; i < upFromBottom; ++i) desktop.key("Up");
        desktop.key("Return");
    }

    // The help window shows the guide, opened at its contents.
    void expectTheGuideAtItsContents()
    {
        const auto help = desktop.waitForWindow(kGuideWindow, 15s);
        ASSERT_NE(help, 0u) << "no help window with the guide's title; stderr:\n"
                            << tovrimo.process().standardError();
        EXPECT_TRUE(desktop.findWindows("ファイルが見つかりません").empty());
        std::this_thread::sleep_for(500ms);  // painted
        const QImage shown = GrabWindow(help);
        ASSERT_FALSE(shown.isNull());
        // Kept with the other screenshots of the tests.
        const char* folder = std::getenv("TOVRIMO_SCREENSHOT_DIR");
        std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        for (char& c : name)
            if (c == '/') c = '-';
        const std::string artifact =
            (folder && *folder ? std::string(folder) : std::filesystem::current_path().string()) +
            "/help-" + name + ".png";
        shown.save(QString::fromStdString(artifact));
        // At the contents the list of links starts near the top; at the start of the guide
        // the heading and the introduction would fill the upper part.
        EXPECT_GT(LinkPixelsIn(shown, 0, shown.height() / 4), 200) << artifact;
    }

    TovrimoProcess tovrimo;
    Desktop desktop;
    QPoint icon;
    std::string prefix;
};

}  // namespace

TEST_P(HelpE2E, TrayMenuHelpOpensTheGuide)
{
    ASSERT_TRUE(startResident());
    // ヘルプ is the fourth item from the bottom: ヘルプ, トヴリモについて..., トヴリモの終了,
    // メニューを閉じる (separators are skipped).
    chooseFromTrayMenu(4);
    expectTheGuideAtItsContents();
}

TEST_P(HelpE2E, OptionsDialogHelpOpensTheGuide)
{
    ASSERT_TRUE(startResident());
    chooseFromTrayMenu(5);  // オプション
    const auto options = desktop.waitForWindow("^オプション設定$", 15s);
    ASSERT_NE(options, 0u) << "the options dialog did not open";
    desktop.activate(options);
    desktop.key("alt+h");  // ヘルプ(&H)
    expectTheGuideAtItsContents();
}

TEST_P(HelpE2E, PrintDialogHelpOpensTheGuide)
{
    ASSERT_TRUE(tovrimo.start({"/d", "/c"}));
    const auto dialog = desktop.waitForWindow("^【印刷確認】", 20s);
    ASSERT_NE(dialog, 0u) << "the print dialog did not open";
    desktop.activate(dialog);
    desktop.key("alt+h");  // ヘルプ(&H)
    expectTheGuideAtItsContents();
}

INSTANTIATE_TEST_SUITE_P(BuildFolderAndInstalledPrefix, HelpE2E, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& installed) {
                             return installed.param ? "Installed" : "BuildFolder";
                         });
