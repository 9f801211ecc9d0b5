#include <gtest/gtest.h>
#include <unistd.h>

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <algorithm>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>

#include "harness/Process.h"
#include "harness/TestSession.h"
#include "harness/WaylandSession.h"
#include "harness/WaylandTestSession.h"
#include "harness/XSession.h"

using namespace tovrimo::test;
using namespace std::chrono_literals;

// Checks of the Wayland session itself: a test of the program that fails here would fail for
// the session's sake, not the program's.

namespace {

WaylandSession& Session()
{
    return WaylandTestSession::current().wayland();
}

// Share of the image's pixels that have exactly this colour.
double ShareOf(const QImage& image, QRgb colour)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    long long matching = 0;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            if ((rgb.pixel(x, y) & 0xffffff) == (colour & 0xffffff)) ++matching;
    return static_cast<double>(matching) / (static_cast<double>(rgb.width()) * rgb.height());
}

// The probe window, started in the session; it reports what it receives on stdout.
class Probe {
public:
    Probe() : title_("probe-" + std::to_string(::getpid()) + "-" + std::to_string(++count_))
    {
        process_ = Session().launch(Session().installProgram(TOVRIMO_INPUT_PROBE), {{title_}});
    }
    ~Probe() { process_.stop(); }

    std::optional<WaylandSession::Window> waitForWindow()
    {
        return Session().waitForWindow("^" + title_ + "$", 15s);
    }
    bool waitForLine(const std::string& line)
    {
        return WaitFor([&] { return output().find(line + "\n") != std::string::npos; }, 5s);
    }
    std::string output() const { return process_.standardOutput(); }
    std::string errors() const { return process_.standardError(); }
    Process& process() { return process_; }

private:
    static inline int count_ = 0;
    std::string title_;
    Process process_;
};

}  // namespace

TEST(WaylandSessionE2E, TheOutputShowsTheConfiguredBackground)
{
    const WaylandSession::Options& options = Session().options();
    const QImage shot = Session().screenshot();
    ASSERT_FALSE(shot.isNull()) << "grim gave no image";
    EXPECT_EQ(shot.width(), options.width);
    EXPECT_EQ(shot.height(), options.height);
    // The scale took effect: the layout, where windows and the pointer live, is smaller.
    EXPECT_EQ(Session().outputRect(),
              (std::vector<int>{0, 0, Session().layoutWidth(), Session().layoutHeight()}));
    // Only the cursor may cover a little of it.
    EXPECT_GT(ShareOf(shot, QColor(QString::fromStdString(options.background)).rgb()), 0.99);
}

// A second session beside the shared one, scaled and in another colour: the picture keeps the
// configured pixels, the layout shrinks by the scale, and stopping it removes its folder.
TEST(WaylandSessionE2E, AScaledSessionKeepsItsPixelsAndShrinksItsLayout)
{
    WaylandSession::Options options;
    options.width = 1000;
    options.height = 600;
    options.scale = 2;
    options.background = "#3050a0";
    WaylandSession scaled(options);
    ASSERT_TRUE(scaled.start()) << scaled.error();
    EXPECT_NE(scaled.runtimeFolder(), Session().runtimeFolder());
    EXPECT_EQ(scaled.outputRect(), (std::vector<int>{0, 0, 500, 300}));
    const QImage shot = scaled.screenshot();
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size(), QSize(1000, 600));
    EXPECT_GT(ShareOf(shot, qRgb(0x30, 0x50, 0xa0)), 0.99);
    const std::string folder = scaled.folder();
    scaled.stop();
    EXPECT_FALSE(std::filesystem::exists(folder));
    // The shared session did not notice.
    EXPECT_EQ(Session().screenshot().size(),
              QSize(Session().options().width, Session().options().height));
}

TEST(WaylandSessionE2E, ProgramsRunAsTheSessionUserWithItsEnvironment)
{
    const Process id = Session().run("/bin/sh", {{"-c",
                                                  "id -u; echo \"$WAYLAND_DISPLAY\"; "
                                                  "echo \"$XDG_RUNTIME_DIR\"; "
                                                  "echo \"${DISPLAY-unset}\""}});
    ASSERT_EQ(id.exitCode(), 0) << id.standardError();
    EXPECT_EQ(id.standardOutput(), std::to_string(Session().uid()) + "\n" +
                                       Session().waylandDisplay() + "\n" +
                                       Session().runtimeFolder() + "\nunset\n");
    if (::geteuid() == 0) {
        EXPECT_NE(Session().uid(), 0u) << "sway does not run as root";
    }
}

TEST(WaylandSessionE2E, TheSeatHasAPointerAndAKeyboard)
{
    EXPECT_EQ(Session().seatCapabilities() & 3, 3) << Session().swaymsg({"-t", "get_seats"});
}

TEST(WaylandSessionE2E, AWindowReceivesAClickWhereThePointerIs)
{
    Probe probe;
    const auto window = probe.waitForWindow();
    ASSERT_TRUE(window.has_value()) << "the probe window did not appear: " << probe.errors();
    ASSERT_GT(window->width, 40);
    ASSERT_GT(window->height, 40);
    EXPECT_EQ(window->pid, probe.process().pid());
    // Somewhere off-centre, so that a swapped or halved coordinate shows.
    const int x = window->x + window->width / 3;
    const int y = window->y + window->height / 4;
    ASSERT_TRUE(probe.waitForLine("shown"));
    ASSERT_TRUE(Session().moveTo(x, y));
    ASSERT_TRUE(Session().click());
    const std::string at = std::to_string(x - window->x) + " " + std::to_string(y - window->y);
    EXPECT_TRUE(probe.waitForLine("press 1 " + at)) << probe.output() << probe.errors();
    EXPECT_TRUE(probe.waitForLine("release 1 " + at)) << probe.output();

    // The right button is a different button, and the IPC says which one was pressed.
    ASSERT_TRUE(Session().click(3));
    EXPECT_TRUE(probe.waitForLine("press 2 " + at)) << probe.output();  // Qt::RightButton
}

TEST(WaylandSessionE2E, KeysReachTheFocusedWindow)
{
    Probe probe;
    const auto window = probe.waitForWindow();
    ASSERT_TRUE(window.has_value()) << "the probe window did not appear: " << probe.errors();
    ASSERT_TRUE(WaitFor(
        [&] {
            const auto now = probe.waitForWindow();
            return now && now->focused;
        },
        5s))
        << "sway did not focus the new window";
    ASSERT_TRUE(Session().type("ab"));
    ASSERT_TRUE(Session().key("Return"));
    EXPECT_TRUE(probe.waitForLine("key 65 a")) << probe.output() << probe.errors();
    EXPECT_TRUE(probe.waitForLine("key 66 b")) << probe.output();
    EXPECT_TRUE(probe.waitForLine("key 16777220 \r")) << probe.output();  // Qt::Key_Return
}

TEST(WaylandSessionE2E, TheClipboardRoundTripsPngBytes)
{
    QImage image(48, 24, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, qRgb(x * 5, y * 10, 99));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(image.save(&buffer, "PNG"));

    ASSERT_TRUE(Session().offerClipboard(png, "image/png"));
    const std::vector<std::string> types = Session().clipboardTypes();
    EXPECT_NE(std::find(types.begin(), types.end(), "image/png"), types.end());
    const QByteArray pasted = Session().readClipboard("image/png");
    EXPECT_EQ(pasted.size(), png.size());
    EXPECT_TRUE(pasted == png) << "the pasted bytes differ from the offered ones";
    EXPECT_TRUE(Session().readClipboard("text/plain").isEmpty()) << "a type never offered";
}

TEST(WaylandSessionE2E, ProgramsOfTheSessionReachThePrivateScheduler)
{
    PrivateCups& cups = WaylandTestSession::current().cups();
    const Process lpstat = Session().run("lpstat", {{"-d"}, {{"CUPS_SERVER", cups.socketPath()}}});
    EXPECT_EQ(lpstat.exitCode(), 0) << lpstat.standardError();
    EXPECT_NE(lpstat.standardOutput().find(TestSession::kA4Queue), std::string::npos)
        << lpstat.standardOutput() << lpstat.standardError();
}

// The Screenshot portal, asked the way a sandboxed program asks it: a request object whose
// Response signal carries the picture's address.
TEST(WaylandSessionE2E, TheScreenshotPortalAnswersWithThePicture)
{
    ASSERT_TRUE(Session().portalExports("org.freedesktop.portal.Screenshot"));
    const auto begin = std::chrono::steady_clock::now();
    const Process call =
        Session().run(Session().installProgram(TOVRIMO_PORTAL_SCREENSHOT), {}, 30s);
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - begin);
    const std::string out = call.standardOutput();
    std::smatch match;
    const std::regex response(R"(^response (\d+) file://(\S+)\n)");
    ASSERT_TRUE(std::regex_search(out, match, response)) << "no answer with a picture:\n"
                                                         << out << call.standardError();
    EXPECT_EQ(match[1].str(), "0") << "the request was not granted";
    std::printf("the portal answered in %lld ms\n", static_cast<long long>(elapsed.count()));
    const QImage picture(QString::fromStdString(match[2].str()));
    ASSERT_FALSE(picture.isNull()) << match[2].str();
    const WaylandSession::Options& options = Session().options();
    EXPECT_EQ(picture.width(), options.width);
    EXPECT_EQ(picture.height(), options.height);
    EXPECT_GT(ShareOf(picture, QColor(QString::fromStdString(options.background)).rgb()), 0.99);
}

// The built program in the session: an unknown command-line token makes it say so in a
// message box and end with an error, which shows that it runs as the session's user on the
// Wayland platform and gets keys there.
TEST(WaylandSessionE2E, TheBuiltProgramShowsItsMessageInTheSession)
{
    auto tovrimo = WaylandTestSession::current().tovrimo();
    ASSERT_NE(tovrimo, nullptr);
    ASSERT_TRUE(tovrimo->start({"/unknown"}));
    std::optional<WaylandSession::Window> box;
    WaitFor(
        [&] {
            box = Session().waitForWindow("^トヴリモ$", 0ms);
            return box.has_value() || !tovrimo->running();
        },
        20s);
    ASSERT_TRUE(box.has_value()) << "no message box in the session ("
                                 << (tovrimo->running() ? "still running" : "the program ended")
                                 << "); stderr:\n"
                                 << tovrimo->process().standardError();
    EXPECT_EQ(box->pid, tovrimo->process().pid());
    ASSERT_TRUE(WaitFor(
        [&] {
            const auto now = Session().waitForWindow("^トヴリモ$", 0ms);
            return now && now->focused;
        },
        5s));
    ASSERT_TRUE(Session().key("Return"));
    const auto code = tovrimo->waitForExit(10s);
    ASSERT_TRUE(code.has_value()) << "the message box did not close on Return";
    EXPECT_NE(*code, 0);
}
