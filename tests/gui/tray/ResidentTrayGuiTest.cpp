// The resident program against the tray as a host that draws menus sees it: the exported menu,
// the wait for a notification area, and the hand-over from a second start.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QImage>
#include <QMenu>
#include <QTimer>
#include <QtTest/QTest>
#include <filesystem>
#include <future>
#include <thread>

#include "app/Program.h"
#include "capture/CaptureEngine.h"
#include "doubles/FakePlatform.h"
#include "platform/qt/LocalSocketInstance.h"
#include "resident/CommandRouter.h"
#include "resident/HotKeys.h"
#include "resident/TrayController.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

const std::string kFolder = "/opt/tovrimo/";

struct World : FakePlatform {
    std::unique_ptr<Program> program;

    World() : FakePlatform(PlainScreen(64, 48)) { program = std::make_unique<Program>(services()); }

    Program::Outcome start(std::vector<std::string> args = {})
    {
        return program->startUp(AppFolders{kFolder, kFolder}, args);
    }
    // Lets the deferred menu update run, as the event loop would after a step.
    void settle()
    {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }
    QMenu* exported() const { return tray ? tray->menu : nullptr; }
    // The visible captions of a menu's top level, separators left out.
    static QStringList captions(QMenu* menu)
    {
        QStringList out;
        if (!menu) return out;
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && a->isVisible()) out << a->text();
        return out;
    }
};

}  // namespace

TEST(ResidentTray, TheExportedMenuIsWhatARightClickWouldShowAtEveryStep)
{
    World w;
    ASSERT_TRUE(w.start().resident);
    TrayController& form = *w.program->residentWindow();
    ASSERT_EQ(w.exported(), form.exportedMenu()) << "the menu goes with the icon";
    const QStringList commands{
        "ハードコピー",   "コピー",          "付せん操作", "クリップボードから付せんを作成",
        "繰り返し",       "オプション",      "ヘルプ",     "トヴリモについて...",
        "トヴリモの終了", "メニューを閉じる"};
    EXPECT_EQ(w.captions(w.exported()), commands);
    EXPECT_EQ(form.repeatItem()->text(), "繰り返し");

    // A desktop hard copy on a five-second self-timer: only the cancel item while it waits.
    w.program->session().data.settings.selfTimerOn = true;
    w.program->session().data.settings.selfTimerSeconds = 5;
    w.program->session().data.settings.confirmBeforePrint = false;
    w.program->commands().run(CaptureRequest{CaptureSource::Desktop, CaptureDestination::Printer});
    w.settle();
    EXPECT_EQ(w.captions(w.exported()), QStringList{"キャンセル"});

    // It fires and prints: the command menu is back, with the repeat caption of what ran.
    w.timers.advance(5000);
    w.settle();
    EXPECT_EQ(w.program->engine().state(), AppState::Idle);
    QStringList afterPrint = commands;
    afterPrint[4] = "繰り返し - ハードコピー ＞ デスクトップ";
    EXPECT_EQ(w.captions(w.exported()), afterPrint);
    EXPECT_EQ(form.repeatItem()->text(), "繰り返し - ハードコピー ＞ デスクトップ");
    EXPECT_TRUE(form.repeatItem()->isEnabled());

    // A region copy pending and the options dialog open are busy: a right click shows nothing,
    // so the exported menu is empty.
    w.program->commands().run(CaptureRequest{CaptureSource::Region, CaptureDestination::Clipboard});
    w.settle();
    ASSERT_EQ(w.exported(), form.exportedMenu());
    EXPECT_TRUE(w.captions(w.exported()).isEmpty());
    w.program->commands().cancelCapture();
    w.settle();
    ASSERT_EQ(w.captions(w.exported()).size(), commands.size());
    EXPECT_EQ(w.captions(w.exported())[4], "繰り返し - コピー ＞ 領域指定");

    // A desktop copy waiting for its delay is a busy state too (only the hard copy takes
    // clicks while it waits).
    w.program->commands().run(
        CaptureRequest{CaptureSource::Desktop, CaptureDestination::Clipboard});
    w.settle();
    EXPECT_TRUE(w.captions(w.exported()).isEmpty());
    w.program->commands().cancelCapture();

    // Cancelling from the exported cancel item itself.
    const size_t jobs = w.printers.jobs.size();
    w.program->commands().run(CaptureRequest{CaptureSource::Desktop, CaptureDestination::Printer});
    w.settle();
    ASSERT_EQ(w.captions(w.exported()), QStringList{"キャンセル"});
    w.exported()->actions().last()->trigger();
    w.settle();
    EXPECT_EQ(w.captions(w.exported()).size(), commands.size());
    w.timers.advance(6000);
    EXPECT_EQ(w.printers.jobs.size(), jobs) << "cancelled: nothing printed";
}

TEST(ResidentTray, AStateChangeWithoutAStepOfTheEngineStillReachesTheMenuAfterTheTick)
{
    // A hot key arms captureDelayTimer while the options dialog is open; the dialog closes before
    // the tick.
    World w;
    ASSERT_TRUE(w.start().resident);
    w.program->commands().run(CaptureRequest{CaptureSource::Desktop, CaptureDestination::Printer});
    w.program->engine().setState(AppState::OptionsOpen);
    w.settle();
    EXPECT_TRUE(w.captions(w.exported()).isEmpty());
    w.program->engine().setState(
        AppState::Idle);  // the dialog unloads; captureDelayTimer still runs
    w.settle();
    EXPECT_EQ(w.captions(w.exported()), QStringList{"キャンセル"});
    w.timers.advance(200);  // the tick finds the state idle and only stops itself
    w.settle();
    EXPECT_EQ(w.captions(w.exported()).size(), 10) << "a stopped timer no longer offers cancel";
}

TEST(ResidentTray, NoNotificationAreaWaitsThenSaysSoOnceAndStaysResident)
{
    World w;
    w.trayHosts.present = false;
    w.program->notificationAreaWaitMs = 200;
    ASSERT_TRUE(w.start().resident);
    EXPECT_TRUE(w.messages.shown.empty()) << "not before the wait";
    QTest::qWait(500);
    ASSERT_EQ(w.messages.shown.size(), 1u);
    EXPECT_EQ(w.messages.shown[0].caption, "トヴリモ");
    const std::string& text = w.messages.shown[0].text;
    EXPECT_NE(text.find("通知領域"), std::string::npos) << text;
    EXPECT_NE(text.find("ホットキー"), std::string::npos) << text;
    EXPECT_NE(text.find("もう一度起動"), std::string::npos) << text;
    EXPECT_EQ(w.messages.shown[0].buttons, MsgButtons::Ok);
    QTest::qWait(400);
    EXPECT_EQ(w.messages.shown.size(), 1u) << "said once";
    EXPECT_NE(w.program->residentWindow(), nullptr);
}

TEST(ResidentTray, WithoutATrayTheNoticePromisesHotKeysOnlyWhenOneIsBound)
{
    struct Case {
        const char* name;
        bool offered;
        bool bound;
        bool promised;
    };
    const Case cases[] = {
        {"a slot bound", true, true, true},
        // KWin without a panel: the portal took the session and bound nothing.
        {"claimed but none bound", true, false, false},
        {"no global shortcuts at all", false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        World w;
        w.trayHosts.present = false;
        w.program->notificationAreaWaitMs = 100;
        w.hotKeys.offered = c.offered;
        if (!c.offered) w.hotKeys.refuse = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        if (!c.bound) w.hotKeys.unbound = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        ASSERT_TRUE(w.start().resident);
        // Two slots switched on, as the options dialog would leave them.
        Settings& settings = w.program->session().data.settings;
        for (int slot : {0, 4}) {
            settings.hotKeyOn[slot] = true;
            settings.hotKeyCtrl[slot] = true;
            settings.hotKeyCode[slot] = static_cast<int16_t>('P' + slot);
        }
        w.program->hotKeys()->reregisterKeys(settings, w.program->engine().state());
        ASSERT_EQ(w.hotKeys.calls.size(), 2u);
        QTest::qWait(400);
        ASSERT_EQ(w.messages.shown.size(), 1u);
        const std::string& text = w.messages.shown[0].text;
        EXPECT_NE(text.find("通知領域"), std::string::npos) << text;
        EXPECT_EQ(text.find("ホットキーはそのまま使えます") != std::string::npos, c.promised)
            << text;
        EXPECT_NE(text.find("もう一度起動"), std::string::npos) << text;
    }
}

TEST(ResidentTray, ANotificationAreaThatAppearsInTimeMeansNoMessage)
{
    World w;
    w.trayHosts.present = false;
    w.program->notificationAreaWaitMs = 300;
    ASSERT_TRUE(w.start().resident);
    QTest::qWait(100);
    w.trayHosts.appear();
    QTest::qWait(500);
    EXPECT_TRUE(w.messages.shown.empty());
}

TEST(ResidentTray, ASecondStartHandsOverWithoutIconOrHotKeys)
{
    {
        World w;
        w.instance.answer = SingleInstance::Claim::HandedOver;
        const auto outcome = w.start();
        EXPECT_FALSE(outcome.resident);
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_EQ(w.tray, nullptr) << "no icon";
        EXPECT_TRUE(w.hotKeys.calls.empty()) << "no key grabbed";
        EXPECT_EQ(w.instance.claims, 1);
        EXPECT_TRUE(w.messages.shown.empty()) << "a hand-over is silent";
    }
    {
        World w;
        w.instance.answer = SingleInstance::Claim::Unreachable;
        testing::internal::CaptureStderr();
        const auto outcome = w.start();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_FALSE(outcome.resident);
        EXPECT_EQ(outcome.exitCode, 1);
        EXPECT_EQ(w.tray, nullptr);
        EXPECT_TRUE(w.hotKeys.calls.empty()) << "no key grabbed";
        ASSERT_EQ(w.messages.shown.size(), 1u);
        EXPECT_EQ(w.messages.shown[0].caption, "トヴリモ");
        EXPECT_EQ(w.messages.shown[0].text, "すでに常駐しているトヴリモが応答しません。");
        EXPECT_EQ(w.messages.shown[0].buttons, MsgButtons::Ok);
        EXPECT_EQ(said, "tovrimo: すでに常駐しているトヴリモが応答しません。\n");
    }
    {
        // A command-line job never asks: it runs beside a resident program.
        World w;
        w.instance.answer = SingleInstance::Claim::HandedOver;
        const auto outcome = w.start({"/d"});
        EXPECT_EQ(w.instance.claims, 0);
        EXPECT_EQ(outcome.exitCode, 0);
        EXPECT_EQ(w.printers.jobs.size(), 1u);
    }
}

TEST(ResidentTray, AHandOverRequestPopsUpTheMenuOfTheMoment)
{
    World w;
    ASSERT_TRUE(w.start().resident);
    QString shown;
    auto closeMenu = [&] {
        QTimer::singleShot(300, [&] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                shown = popup->objectName();
                popup->close();
            }
        });
    };
    closeMenu();
    w.instance.requestMenu();
    EXPECT_EQ(shown, "commandMenu");

    w.program->session().data.settings.selfTimerOn = true;
    w.program->session().data.settings.selfTimerSeconds = 5;
    w.program->commands().run(CaptureRequest{CaptureSource::Desktop, CaptureDestination::Printer});
    shown.clear();
    closeMenu();
    w.instance.requestMenu();
    EXPECT_EQ(shown, "cancelMenu") << "the cancel menu while a capture waits";
}

namespace {

std::string TempFolder()
{
    char pattern[] = "/tmp/tovrimo-instance.XXXXXX";
    return ::mkdtemp(pattern) ? std::string(pattern) : std::string();
}

}  // namespace

TEST(LocalSocketInstance, TheFirstIsResidentTheSecondHandsOverAndTheFirstIsAsked)
{
    const std::string folder = TempFolder();
    ASSERT_FALSE(folder.empty());
    const std::string path = folder + "/run/tovrimo-display_5.socket";
    LocalSocketInstance first(path);
    ASSERT_EQ(first.claim(), SingleInstance::Claim::Resident);
    struct stat st;
    ASSERT_EQ(::stat((folder + "/run").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u) << "the folder is private";
    int requests = 0;
    QObject::connect(&first, &SingleInstance::menuRequested, [&] { ++requests; });

    // The second start blocks while it waits for the answer: it runs beside the event loop.
    auto second = std::async(std::launch::async, [&] {
        LocalSocketInstance other(path);
        return other.claim();
    });
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return second.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        10000));
    EXPECT_EQ(second.get(), SingleInstance::Claim::HandedOver);
    EXPECT_TRUE(QTest::qWaitFor([&] { return requests == 1; }, 3000));
    std::filesystem::remove_all(folder);
}

TEST(LocalSocketInstance, AStaleSocketWithoutItsProgramIsReplaced)
{
    const std::string folder = TempFolder();
    ASSERT_FALSE(folder.empty());
    const std::string path = folder + "/tovrimo-display_7.socket";
    // What a killed program leaves: a socket file nobody listens on, and no lock held.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", path.c_str());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);
    ASSERT_TRUE(std::filesystem::is_socket(path));

    LocalSocketInstance instance(path);
    EXPECT_EQ(instance.claim(), SingleInstance::Claim::Resident);
    // And it really listens there now: a second one hands over to it.
    int requests = 0;
    QObject::connect(&instance, &SingleInstance::menuRequested, [&] { ++requests; });
    auto second = std::async(std::launch::async, [&] { return LocalSocketInstance(path).claim(); });
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return second.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        10000));
    EXPECT_EQ(second.get(), SingleInstance::Claim::HandedOver);
    EXPECT_TRUE(QTest::qWaitFor([&] { return requests == 1; }, 3000));
    std::filesystem::remove_all(folder);
}

TEST(LocalSocketInstance, OneSocketPerUserAndDisplay)
{
    const std::string runtime = TempFolder();
    ASSERT_FALSE(runtime.empty());
    const unsigned uid = ::geteuid();
    const std::string tmp = "/tmp/tovrimo-" + std::to_string(uid);
    // display, runtime folder usable, expected path
    EXPECT_EQ(InstanceSocketPath(runtime, uid, ":0"), runtime + "/tovrimo-display_0.socket");
    EXPECT_EQ(InstanceSocketPath(runtime + "/", uid, ":0.1"), runtime + "/tovrimo-display_0.socket")
        << "the screen number does not make another display";
    EXPECT_EQ(InstanceSocketPath(runtime, uid, "unix:0"), runtime + "/tovrimo-display_0.socket");
    EXPECT_EQ(InstanceSocketPath(runtime, uid, ":93"), runtime + "/tovrimo-display_93.socket");
    EXPECT_EQ(InstanceSocketPath(runtime, uid, "host.example:10.0"),
              runtime + "/tovrimo-displayhost.example_10.socket");
    EXPECT_EQ(InstanceSocketPath(runtime, uid, "../x:1"), runtime + "/tovrimo-display.._x_1.socket")
        << "no path separators from the display name";
    // No runtime folder, a relative one, a missing one, or one of another user: /tmp instead.
    EXPECT_EQ(InstanceSocketPath("", uid, ":0"), tmp + "/tovrimo-display_0.socket");
    EXPECT_EQ(InstanceSocketPath("run", uid, ":0"), tmp + "/tovrimo-display_0.socket");
    EXPECT_EQ(InstanceSocketPath(runtime + "/missing", uid, ":0"),
              tmp + "/tovrimo-display_0.socket");
    EXPECT_EQ(InstanceSocketPath(runtime, uid + 1, ":0"),
              "/tmp/tovrimo-" + std::to_string(uid + 1) + "/tovrimo-display_0.socket");
    std::filesystem::remove_all(runtime);
}
