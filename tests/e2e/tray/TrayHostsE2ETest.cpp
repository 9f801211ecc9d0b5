// The resident program in the two kinds of notification area people have: an XEmbed tray
// (trayer; the program runs without a session bus) and a StatusNotifierItem host (XFCE's status
// tray on a private session bus, which draws the menu the program exports). Then one resident
// program per display, and a desktop without any notification area.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>

#include "harness/ClipboardTool.h"
#include "harness/Desktop.h"
#include "harness/DesktopState.h"
#include "harness/PdfPage.h"
#include "harness/PrintQueueTest.h"
#include "harness/PrivateCups.h"
#include "harness/TestSession.h"
#include "harness/TovrimoProcess.h"
#include "harness/XSession.h"
#include "harness/XfcePanel.h"

using namespace tovrimo::test;
using namespace std::chrono_literals;

namespace {

enum class Host { Trayer, Xfce };

std::string HostName(const ::testing::TestParamInfo<Host>& info)
{
    return info.param == Host::Trayer ? "Trayer" : "XfceStatusTray";
}

// A desktop with one kind of tray host.
class HostDesktop {
public:
    virtual ~HostDesktop() = default;
    virtual std::string display() const = 0;
    virtual xcb_connection_t* connection() const = 0;
    // What the program needs in its environment to meet this host.
    virtual std::map<std::string, std::string> programEnvironment() const = 0;
    virtual int iconCount() const = 0;
    // Starts the program and finds its icon on the screen.
    virtual bool startAndFindIcon(TovrimoProcess& tovrimo, QPoint* icon) = 0;
};

// trayer on the test session's X server; the program runs without a session bus, so Qt embeds
// the icon through XEmbed.
class TrayerDesktop : public HostDesktop {
public:
    std::string display() const override { return TestSession::current().x().display(); }
    xcb_connection_t* connection() const override
    {
        return TestSession::current().x().connection();
    }
    std::map<std::string, std::string> programEnvironment() const override { return {}; }
    int iconCount() const override { return static_cast<int>(TrayIcons().size()); }
    bool startAndFindIcon(TovrimoProcess& tovrimo, QPoint* icon) override
    {
        const size_t before = TrayIcons().size();
        if (!tovrimo.start()) return false;
        if (!WaitFor([&] { return TrayIcons().size() == before + 1; }, 15s)) return false;
        *icon = TrayIcons().front();
        return true;
    }
};

// An X server of its own with openbox and XFCE's panel on a private session bus.
class XfceDesktop : public HostDesktop {
public:
    XfceDesktop() : x_(XSession::Options{1280, 1024, true, false}) {}
    bool start()
    {
        if (!x_.start()) {
            error_ = x_.error();
            return false;
        }
        panel_ = std::make_unique<XfcePanel>(x_.display());
        if (!panel_->start()) {
            error_ = panel_->error();
            return false;
        }
        return true;
    }
    const std::string& error() const { return error_; }
    XfcePanel& panel() { return *panel_; }

    std::string display() const override { return x_.display(); }
    xcb_connection_t* connection() const override { return x_.connection(); }
    std::map<std::string, std::string> programEnvironment() const override
    {
        return {{"DISPLAY", x_.display()}, {"DBUS_SESSION_BUS_ADDRESS", panel_->busAddress()}};
    }
    int iconCount() const override { return static_cast<int>(panel_->registeredItems().size()); }
    bool startAndFindIcon(TovrimoProcess& tovrimo, QPoint* icon) override
    {
        // The icon is the only thing in the panel: where the strip changes is where it is.
        const QRect strip(0, 0, x_.rootWidth(), XfcePanel::kPanelHeight);
        const QImage before = GrabScreen(x_.connection(), strip);
        const int items = iconCount();
        if (!tovrimo.start()) return false;
        if (!WaitFor([&] { return iconCount() == items + 1; }, 15s)) return false;
        QPoint at(-1, -1);
        WaitFor(
            [&] {
                at = CentreOfDifference(before, GrabScreen(x_.connection(), strip));
                return at.x() >= 0;
            },
            10s);
        if (at.x() < 0) return false;
        // Let the panel finish laying the icon out before it is clicked.
        std::this_thread::sleep_for(300ms);
        *icon = CentreOfDifference(before, GrabScreen(x_.connection(), strip));
        return icon->x() >= 0;
    }

private:
    XSession x_;
    std::unique_ptr<XfcePanel> panel_;
    std::string error_;
};

XfceDesktop* g_xfce = nullptr;
TrayerDesktop g_trayer;

// The settings of a resident program that prints to TovA4 at once.
void WriteSettings(const std::string& file, const std::string& options)
{
    std::ofstream ini(file);
    ini << "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=0\n"
        << options << "[DefaultPrinter]\nDeviceName=TovA4\nOrientation=1\nPaperSize=9\nPaperBin=0\n"
        << "Pos=1\nSize=1\nSizeP=100\nFontName=IPAGothic\nFontSize=10\nTitleText=\n"
        << "TitleVAlign=1\n";
}

constexpr const char* kPrintKey =
    "HotKeyOn0=1\nHotKeyALT0=1\nHotKeyCTRL0=1\nHotKeySHIFT0=0\n"
    "HotKeyButton0=80\n";

}  // namespace

class TrayHostE2E : public ::testing::TestWithParam<Host>, protected PrintQueueJobs {
protected:
    static void TearDownTestSuite()
    {
        delete g_xfce;
        g_xfce = nullptr;
    }

    void SetUp() override
    {
        if (GetParam() == Host::Xfce) {
            if (!g_xfce) {
                g_xfce = new XfceDesktop;
                if (!g_xfce->start()) {
                    const std::string why = g_xfce->error();
                    delete g_xfce;
                    g_xfce = nullptr;
                    FAIL() << "XFCE panel: " << why;
                }
            }
            host = g_xfce;
        } else {
            host = &g_trayer;
        }
        desktop = std::make_unique<Desktop>(host->display());
        FocusRoot(host->connection());
        startCounting();
    }

    // Starts a resident program with these [Option] keys and finds its icon.
    bool startResident(TovrimoProcess& tovrimo, const std::string& options)
    {
        WriteSettings(tovrimo.settingsFile(), options);
        return host->startAndFindIcon(tovrimo, &icon);
    }
    std::unique_ptr<TovrimoProcess> program(std::string folder = {})
    {
        return std::make_unique<TovrimoProcess>(std::move(folder), host->programEnvironment());
    }
    void rightClickIcon()
    {
        desktop->mouseMove(icon.x(), icon.y());
        desktop->click(3);
        std::this_thread::sleep_for(700ms);
    }

    HostDesktop* host = nullptr;
    std::unique_ptr<Desktop> desktop;
    QPoint icon;
};

TEST_P(TrayHostE2E, MenuHardCopyOfTheDesktopPrintsAPage)
{
    auto tovrimo = program();
    ASSERT_TRUE(startResident(*tovrimo, ""));
    rightClickIcon();
    // ハードコピー is the first item; its first sub-item is デスクトップ画面全体.
    desktop->key("Down");
    desktop->key("Right");
    desktop->key("Return");
    ASSERT_TRUE(printedOnePage());
    EXPECT_EQ(PdfPage(cups().outputPdf("TovA4")).pageCount(), 1);
    EXPECT_TRUE(tovrimo->running());
}

TEST_P(TrayHostE2E, DoubleClickRunsTheDoubleClickAction)
{
    auto tovrimo = program();
    ASSERT_TRUE(startResident(*tovrimo, "DoubleClick=1\nDoubleClickDo=1\n"));
    desktop->mouseMove(icon.x(), icon.y());
    desktop->doubleClick(1);
    ASSERT_TRUE(printedOnePage());
    std::this_thread::sleep_for(1000ms);
    EXPECT_EQ(cups().jobCount(), jobsBefore + 1) << "one double click, one hard copy";
}

TEST_P(TrayHostE2E, SingleClickBringsTheNotesToTheFrontAndPrintsNothing)
{
    // Slot 9 makes a sticky note from the clipboard on Ctrl+Alt+F.
    auto tovrimo = program();
    ASSERT_TRUE(startResident(*tovrimo,
                              "DoubleClick=1\nDoubleClickDo=1\nHotKeyOn9=1\n"
                              "HotKeyALT9=1\nHotKeyCTRL9=1\nHotKeyButton9=70\n"));
    ClipboardTool clipboard(host->display());
    QImage picture(120, 90, QImage::Format_RGB32);
    picture.fill(QColor(200, 40, 40));
    ASSERT_TRUE(clipboard.offerImage(picture));
    desktop->key("ctrl+alt+f");
    const auto note = desktop->waitForWindow("^付せん", 10s);
    ASSERT_NE(note, 0u) << "no sticky note";

    // A window that openbox activates above the note.
    TestWindow cover(host->connection(), "Tovrimo cover", 0, 0, 1000, 900, 0x3050C0);
    const auto coverId = desktop->waitForWindow("^Tovrimo cover$", 10s);
    ASSERT_NE(coverId, 0u);
    desktop->activate(coverId);
    ASSERT_TRUE(WaitFor([&] { return StackedAbove(host->connection(), coverId, note); }, 5s));

    desktop->mouseMove(icon.x(), icon.y());
    desktop->click(1);
    EXPECT_TRUE(WaitFor([&] { return StackedAbove(host->connection(), note, coverId); }, 5s))
        << "the note did not come to the front";
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(cups().jobCount(), jobsBefore) << "a single click prints nothing";
}

TEST_P(TrayHostE2E, WhileTheSelfTimerRunsTheMenuOffersOnlyCancelAndItCancels)
{
    // A long self-timer, so that a slow machine still reaches the menu before it runs out.
    constexpr auto kDelay = 12s;
    auto tovrimo = program();
    ASSERT_TRUE(startResident(*tovrimo, std::string("SelfTimer=1\nSelfTime=12\n") + kPrintKey));
    // Cancelled through the last item, then through the first: both are the cancel item, so it
    // is the only one.
    for (const char* key : {"Up", "Down"}) {
        SCOPED_TRACE(key);
        const auto pressed = std::chrono::steady_clock::now();
        desktop->key("ctrl+alt+p");  // a desktop hard copy, twelve seconds from now
        std::this_thread::sleep_for(500ms);
        if (GetParam() == Host::Xfce) {
            // The host draws what the program exports: that must be the cancel item alone.
            const auto items = g_xfce->panel().registeredItems();
            ASSERT_EQ(items.size(), 1u);
            EXPECT_EQ(g_xfce->panel().exportedMenuLabels(items[0]),
                      std::vector<std::string>{"キャンセル"});
        }
        rightClickIcon();
        desktop->key(key);
        desktop->key("Return");
        ASSERT_LT(std::chrono::steady_clock::now() - pressed, kDelay) << "too slow to test";
        std::this_thread::sleep_until(pressed + kDelay + 2s);
        EXPECT_EQ(cups().jobCount(), jobsBefore) << "cancelled: nothing printed";
        if (GetParam() == Host::Xfce) {
            // Idle again: the command menu is back.
            const auto items = g_xfce->panel().registeredItems();
            ASSERT_EQ(items.size(), 1u);
            const auto labels = g_xfce->panel().exportedMenuLabels(items[0]);
            ASSERT_FALSE(labels.empty());
            EXPECT_EQ(labels.front(), "ハードコピー");
            EXPECT_EQ(labels.back(), "メニューを閉じる");
        }
    }
    // Left alone, the same hot key prints when its delay is over.
    desktop->key("ctrl+alt+p");
    EXPECT_TRUE(WaitFor([&] { return cups().jobCount() == jobsBefore + 1; }, kDelay + 10s));
}

TEST_P(TrayHostE2E, ASecondStartHandsOverToTheResidentProgram)
{
    auto tovrimo = program();
    ASSERT_TRUE(startResident(*tovrimo, kPrintKey));
    const int icons = host->iconCount();

    auto second = program(tovrimo->programFolder());
    desktop->mouseMove(640, 500);
    ASSERT_TRUE(second->start());
    const auto code = second->waitForExit(15s);
    ASSERT_TRUE(code.has_value()) << "the second start stays";
    EXPECT_EQ(*code, 0);
    // The resident program shows its menu at the pointer: the keys work in it.
    EXPECT_TRUE(WaitFor(
        [&] {
            const Process popups = Process::run(
                "xdotool", Process::Options({"search", "--onlyvisible", "--class", "tovrimo"},
                                            {{"DISPLAY", host->display()}}));
            return !popups.standardOutput().empty();
        },
        10s))
        << "no menu on the screen";
    std::this_thread::sleep_for(300ms);
    desktop->key("Down");
    desktop->key("Right");
    desktop->key("Return");
    ASSERT_TRUE(printedOnePage()) << tovrimo->process().standardError();
    EXPECT_EQ(host->iconCount(), icons) << "no second icon";
    EXPECT_TRUE(tovrimo->running());

    // The hot key still belongs to the first program, which prints once per press.
    jobsBefore = cups().jobCount();
    desktop->key("ctrl+alt+p");
    ASSERT_TRUE(printedOnePage());
    std::this_thread::sleep_for(1000ms);
    EXPECT_EQ(cups().jobCount(), jobsBefore + 1);
}

INSTANTIATE_TEST_SUITE_P(Hosts, TrayHostE2E, ::testing::Values(Host::Trayer, Host::Xfce), HostName);

TEST(SingleInstanceE2E, ACommandLineJobRunsBesideTheResidentProgram)
{
    PrivateCups& cups = TestSession::current().cups();
    cups.clearOutput("TovA4");
    const int jobs = cups.jobCount();
    TovrimoProcess resident;
    WriteSettings(resident.settingsFile(), "");
    FocusRoot();
    const int icons = static_cast<int>(TrayIcons().size());
    ASSERT_TRUE(resident.start());
    ASSERT_TRUE(WaitFor([&] { return static_cast<int>(TrayIcons().size()) == icons + 1; }, 15s));
    TovrimoProcess job(resident.programFolder());
    ASSERT_TRUE(job.start({"/d"}));
    const auto code = job.waitForExit(30s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0);
    EXPECT_TRUE(WaitFor([&] { return cups.jobCount() == jobs + 1; }, 20s));
    EXPECT_TRUE(resident.running());
}

TEST(SingleInstanceE2E, AStaleSocketOfADeadProgramDoesNotBlockAStart)
{
    // A private runtime folder, so that the socket is the one this test leaves behind.
    char pattern[] = "/tmp/tovrimo-runtime.XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string runtime = pattern;
    ::chmod(runtime.c_str(), 0700);
    std::map<std::string, std::string> env{{"XDG_RUNTIME_DIR", runtime}};
    {
        TovrimoProcess first({}, env);
        WriteSettings(first.settingsFile(), "");
        const size_t icons = TrayIcons().size();
        ASSERT_TRUE(first.start());
        ASSERT_TRUE(WaitFor([&] { return TrayIcons().size() == icons + 1; }, 15s));
        first.process().signal(SIGKILL);  // dies without tidying up
        first.waitForExit(5s);
    }
    bool socketLeft = false;
    for (const auto& entry : std::filesystem::directory_iterator(runtime))
        if (entry.is_socket()) socketLeft = true;
    ASSERT_TRUE(socketLeft) << "the killed program left no socket to test with";

    FocusRoot();
    std::this_thread::sleep_for(500ms);  // trayer drops the dead icon
    const size_t icons = TrayIcons().size();
    TovrimoProcess second({}, env);
    WriteSettings(second.settingsFile(), "");
    ASSERT_TRUE(second.start());
    EXPECT_TRUE(WaitFor([&] { return TrayIcons().size() == icons + 1; }, 15s))
        << "the second start did not become resident";
    EXPECT_TRUE(second.running());
    second.stop();
    std::error_code ignored;
    std::filesystem::remove_all(runtime, ignored);
}

// A desktop without any notification area: the program waits for one, says it found none,
// stays resident with its hot keys, and puts its icon into a tray that starts later.
class NoTrayE2E : public ::testing::Test, protected PrintQueueJobs {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(x.start()) << x.error();
        desktop = std::make_unique<Desktop>(x.display());
        startCounting();
    }
    // Waits for the message that there is no notification area and closes it.
    void expectTheNoTrayMessage()
    {
        const auto box = desktop->waitForWindow("^トヴリモ$", 25s);
        ASSERT_NE(box, 0u) << "no message about the missing notification area";
        ASSERT_TRUE(desktop->dismiss(box));
        ASSERT_TRUE(desktop->waitForNoWindowId(box));
    }

    XSession x{XSession::Options{1280, 1024, true, false}};
    std::unique_ptr<Desktop> desktop;
};

TEST_F(NoTrayE2E, TheMessageAppearsHotKeysPrintAndAnXfcePanelStartedLaterGetsTheIcon)
{
    // A session whose bus is there from the start; its panel comes later.
    XfcePanel panel(x.display());
    ASSERT_TRUE(panel.startBus()) << panel.error();
    TovrimoProcess tovrimo(
        {}, {{"DISPLAY", x.display()}, {"DBUS_SESSION_BUS_ADDRESS", panel.busAddress()}});
    WriteSettings(tovrimo.settingsFile(), kPrintKey);
    ASSERT_TRUE(tovrimo.start());
    ASSERT_NO_FATAL_FAILURE(expectTheNoTrayMessage());
    EXPECT_TRUE(tovrimo.running()) << "it stays resident";
    FocusRoot(x.connection());
    desktop->key("ctrl+alt+p");
    ASSERT_TRUE(WaitFor([&] { return cups().jobCount() == jobsBefore + 1; }, 20s))
        << "the hot key did not print";

    ASSERT_TRUE(panel.startPanel()) << panel.error();
    EXPECT_TRUE(WaitFor([&] { return panel.registeredItems().size() == 1; }, 15s))
        << "the icon did not come into the panel that started later";
    // And it is a StatusNotifierItem with the program's menu, not an XEmbed icon.
    const auto items = panel.registeredItems();
    ASSERT_EQ(items.size(), 1u);
    const auto labels = panel.exportedMenuLabels(items[0]);
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(labels.front(), "ハードコピー");
    EXPECT_TRUE(tovrimo.running());
}

TEST_F(NoTrayE2E, TheMessageAppearsHotKeysPrintAndATrayerStartedLaterGetsTheIcon)
{
    TovrimoProcess tovrimo({}, {{"DISPLAY", x.display()}});
    WriteSettings(tovrimo.settingsFile(), kPrintKey);
    ASSERT_TRUE(tovrimo.start());
    ASSERT_NO_FATAL_FAILURE(expectTheNoTrayMessage());
    EXPECT_TRUE(tovrimo.running()) << "it stays resident";
    FocusRoot(x.connection());
    desktop->key("ctrl+alt+p");
    ASSERT_TRUE(WaitFor([&] { return cups().jobCount() == jobsBefore + 1; }, 20s))
        << "the hot key did not print";

    Process::Options opts(
        {"--edge", "top", "--align", "right", "--widthtype", "request", "--height", "24"},
        {{"DISPLAY", x.display()}});
    Process trayer("trayer", opts);
    ASSERT_TRUE(trayer.start());
    EXPECT_TRUE(WaitFor(
        [&] {
            const Process p = Process::run(
                "/bin/sh", {{"-c",
                             "for w in $(xdotool search --onlyvisible --class trayer); do "
                             "xwininfo -children -id $w | grep -c '^ *0x'; done"},
                            {{"DISPLAY", x.display()}}});
            return std::atoi(p.standardOutput().c_str()) >= 1;
        },
        15s))
        << "the icon did not come into the tray that started later";
    EXPECT_TRUE(tovrimo.running());
    tovrimo.stop();
    trayer.stop();
}
