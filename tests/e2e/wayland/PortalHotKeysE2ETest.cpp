// Global hot keys of the real program in the sway session, through a stand-in
// GlobalShortcuts portal on a bus of their own: sway has no such portal, and the test must
// decide when a shortcut fires. The same stand-in hands out a known picture as the screen.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QImage>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "harness/PdfPage.h"
#include "harness/WaylandTestSession.h"

namespace tovrimo::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds timeout)
{
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(50ms);
    }
    return condition();
}

// A session bus of the session's user with the stand-in portal on it. The portal reads its
// commands ("activate <id>") from a pipe the test writes to.
class StubPortalBus {
public:
    explicit StubPortalBus(const std::string& pictureSwitch)
    {
        WaylandSession& wayland = WaylandTestSession::current().wayland();
        const std::string socket = wayland.runtimeFolder() + "/stub-bus";
        address_ = "unix:path=" + socket;
        bus_ = wayland.launch("dbus-daemon", {{"--session", "--nofork", "--address=" + address_}});
        if (!WaitFor([&] { return fs::exists(socket); }, 10s)) return;

        control_ = wayland.folder() + "/stub-control";
        ::unlink(control_.c_str());
        if (::mkfifo(control_.c_str(), 0666) != 0) return;
        ::chmod(control_.c_str(), 0666);
        // Read and write, so opening does not wait for the reader.
        controlFd_ = ::open(control_.c_str(), O_RDWR | O_CLOEXEC);
        const std::string stub = wayland.installProgram(TOVRIMO_PORTAL_STUB);
        portal_ = wayland.launch(
            "/bin/sh",
            {{"-c", "exec \"$0\" --shortcuts " + pictureSwitch + " < \"$1\"", stub, control_},
             {{"DBUS_SESSION_BUS_ADDRESS", address_}}});
        ready_ = WaitFor([&] { return said("ready"); }, 10s);
    }
    ~StubPortalBus()
    {
        portal_.stop();
        if (controlFd_ >= 0) ::close(controlFd_);
        ::unlink(control_.c_str());
        bus_.stop();
    }

    bool ready() const { return ready_; }
    const std::string& address() const { return address_; }
    bool said(const std::string& line) const
    {
        return ("\n" + portal_.standardOutput()).find("\n" + line) != std::string::npos;
    }
    std::string output() const { return portal_.standardOutput(); }
    void activate(const std::string& id)
    {
        const std::string line = "activate " + id + "\n";
        ASSERT_EQ(::write(controlFd_, line.data(), line.size()), static_cast<ssize_t>(line.size()));
    }

private:
    std::string address_;
    std::string control_;
    int controlFd_ = -1;
    Process bus_;
    Process portal_;
    bool ready_ = false;
};

TEST(PortalHotKeysE2E, AnActivatedShortcutRunsItsSlotsCommandInTheResidentProgram)
{
    WaylandTestSession& session = WaylandTestSession::current();
    PrivateCups& cups = session.cups();
    // The "screen" the stand-in hands out, as large as the output: one colour the sway
    // background does not have.
    const std::string picture = session.wayland().folder() + "/stub-screen.png";
    QImage screen(session.wayland().options().width, session.wayland().options().height,
                  QImage::Format_RGB32);
    screen.fill(qRgb(200, 0, 200));
    ASSERT_TRUE(screen.save(QString::fromStdString(picture)));
    ::chmod(picture.c_str(), 0644);

    StubPortalBus portal("--screenshot=file:" + picture);
    ASSERT_TRUE(portal.ready()) << portal.output();

    auto tovrimo = session.tovrimo({{"DBUS_SESSION_BUS_ADDRESS", portal.address()}});
    ASSERT_NE(tovrimo, nullptr);
    {
        // A desktop hard copy on Ctrl+Alt+P (slot 0), the screen copy on Ctrl+Shift+F5 (slot
        // 4), printed on TovA4 at once.
        std::ofstream ini(tovrimo->settingsFile());
        ini << "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=0\n"
            << "HotKeyOn0=1\nHotKeyALT0=1\nHotKeyCTRL0=1\nHotKeySHIFT0=0\nHotKeyButton0=80\n"
            << "HotKeyOn4=1\nHotKeyALT4=0\nHotKeyCTRL4=1\nHotKeySHIFT4=1\nHotKeyButton4=116\n"
            << "[DefaultPrinter]\nDeviceName=TovA4\nOrientation=1\nPaperSize=9\nPaperBin=0\n"
            << "Pos=1\nSize=3\nSizeP=20\nFontName=IPAGothic\nFontSize=10\nTitleText=\n";
    }
    ::chmod(tovrimo->settingsFile().c_str(), 0666);
    const int jobsBefore = cups.jobCount();
    ASSERT_TRUE(tovrimo->start());

    ASSERT_TRUE(WaitFor([&] { return portal.said("bind done"); }, 15s))
        << "the program bound no shortcuts; portal said:\n"
        << portal.output() << "\nprogram:\n"
        << tovrimo->process().standardError();
    const std::string bound = portal.output();
    EXPECT_NE(bound.find(" slot0 CTRL+ALT+p\n"), std::string::npos) << bound;
    EXPECT_NE(bound.find(" slot4 CTRL+SHIFT+F5\n"), std::string::npos) << bound;
    // Slots that are off are not bound.
    EXPECT_EQ(bound.find(" slot1 "), std::string::npos) << bound;

    portal.activate("slot0");
    ASSERT_TRUE(WaitFor([&] { return cups.jobCount() == jobsBefore + 1; }, 20s))
        << "no page after the shortcut; program:\n"
        << tovrimo->process().standardError();
    ASSERT_TRUE(cups.waitForJobs());
    const QImage printed = PdfPage(cups.outputPdf("TovA4")).firstImage();
    ASSERT_FALSE(printed.isNull());
    // Printed at 20 %, the whole screen: the same shape.
    EXPECT_NEAR(static_cast<double>(printed.width()) / printed.height(),
                static_cast<double>(screen.width()) / screen.height(), 0.02);
    EXPECT_EQ(QColor(printed.pixel(printed.width() / 2, printed.height() / 2)),
              QColor(qRgb(200, 0, 200)));
    EXPECT_TRUE(WaitFor([&] { return portal.said("screenshot interactive=0"); }, 5s));
    // One activation, one page.
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(cups.jobCount(), jobsBefore + 1);
    EXPECT_TRUE(tovrimo->running());
    tovrimo->stop();
}

}  // namespace
}  // namespace tovrimo::test
