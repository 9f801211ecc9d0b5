#include <gtest/gtest.h>

#include <fstream>
#include <thread>

#include "harness/Desktop.h"
#include "harness/DesktopState.h"
#include "harness/PdfPage.h"
#include "harness/PrintQueueTest.h"
#include "harness/PrivateCups.h"
#include "harness/SessionSettings.h"
#include "harness/TestSession.h"
#include "harness/TovrimoProcess.h"
#include "harness/XSession.h"

using namespace tovrimo::test;
using namespace std::chrono_literals;

namespace {

// The resident program with a desktop hard copy (slot 0) on Ctrl+Alt plus the key given,
// printing to TovA4 without confirmation.
class ResidentWithHotKey {
public:
    explicit ResidentWithHotKey(int virtualKey)
    {
        std::ofstream ini(tovrimo.settingsFile());
        ini << "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=0\n"
            << "HotKeyOn0=1\nHotKeyALT0=1\nHotKeyCTRL0=1\nHotKeySHIFT0=0\nHotKeyButton0="
            << virtualKey << "\n"
            << "[DefaultPrinter]\nDeviceName=TovA4\nOrientation=1\nPaperSize=9\nPaperBin=0\n"
            << "Pos=1\nSize=3\nSizeP=20\nFontName=IPAGothic\nFontSize=10\nTitleText=\n";
    }
    // Starts the program and waits for its tray icon, the newest one in the tray.
    bool start()
    {
        FocusRoot();
        const size_t before = TrayIcons().size();
        if (!tovrimo.start()) return false;
        if (!WaitFor([&] { return TrayIcons().size() == before + 1; }, 15s)) return false;
        icon = TrayIcons().front();
        return tovrimo.running();
    }
    QPoint icon;
    TovrimoProcess tovrimo;
};

}  // namespace

class HotKeysE2E : public PrintQueueTest {
protected:
    Desktop desktop;
};

TEST_F(HotKeysE2E, HotKeyWorksWhileTheTrayMenuIsOpen)
{
    ResidentWithHotKey r('P');
    ASSERT_TRUE(r.start());
    desktop.mouseMove(r.icon.x(), r.icon.y());
    desktop.click(3);
    std::this_thread::sleep_for(500ms);  // the menu is up and holds the keyboard
    desktop.key("ctrl+alt+p");
    EXPECT_TRUE(printedOnePage()) << "the hot key went missing under the tray menu";
    desktop.key("Escape");
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(cups().jobCount(), jobsBefore + 1) << "one press, one hard copy";
    EXPECT_TRUE(r.tovrimo.running());
}

TEST_F(HotKeysE2E, HotKeyWorksAfterTheKeyboardLayoutChanges)
{
    // Ctrl+Alt+Z: on a German layout Z sits where Y was.
    ResidentWithHotKey r('Z');
    ASSERT_TRUE(r.start());
    {
        KeyboardLayout german("de");
        ASSERT_TRUE(german.ok()) << "setxkbmap de failed";
        std::this_thread::sleep_for(500ms);
        desktop.key("ctrl+alt+z");
        EXPECT_TRUE(printedOnePage()) << "the hot key went dead on the new layout";
        jobsBefore = cups().jobCount();
        desktop.key("ctrl+alt+y");  // the key Z had before
        std::this_thread::sleep_for(1500ms);
        EXPECT_EQ(cups().jobCount(), jobsBefore) << "the old key still prints";
    }
    std::this_thread::sleep_for(500ms);
    desktop.key("ctrl+alt+z");
    EXPECT_TRUE(printedOnePage()) << "the hot key went dead on the first layout again";
}
