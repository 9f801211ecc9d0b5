#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QColor>
#include <QImage>
#include <QTransform>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>

#include "harness/DesktopSession.h"
#include "harness/DesktopTestSession.h"
#include "harness/Ink.h"
#include "harness/PdfPage.h"
#include "harness/PrivateCups.h"
#include "harness/TestSession.h"
#include "harness/TovrimoProcess.h"
#include "harness/XSession.h"

using namespace tovrimo::test;
using namespace std::chrono_literals;

// The built program in a headless KWin session (Plasma 5.27), as a KDE user runs it: the
// screen through KWin's own screenshot service, hot keys through KDE's shortcut service, notes
// kept above through KWin's scripting. Pages are rendered at 96 dpi, the screen's own
// resolution, so that a printed screen pixel at actual size is one pixel of the page.

namespace {

constexpr int kDpi = 96;
constexpr const char* kWindowColour = "#c03080";
constexpr const char* kOtherColour = "#20a0d0";

DesktopSession& Session()
{
    return DesktopTestSession::current().desktop();
}

PrivateCups& Cups()
{
    return DesktopTestSession::current().cups();
}

std::chrono::milliseconds Since(std::chrono::steady_clock::time_point begin)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 begin);
}

std::string Tail(const std::string& text, size_t length = 1500)
{
    return text.size() <= length ? text : "..." + text.substr(text.size() - length);
}

// Prints at once on the A4 queue's A3 landscape sheet, which holds the whole 1280 x 800
// output at actual size, in the top-left corner of the printable area, without a title.
void WriteSettings(TovrimoProcess& tovrimo, const std::string& options = "")
{
    const std::string file = tovrimo.settingsFile();
    std::ofstream(file, std::ios::trunc)
        << "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=0\n"
        << options << "[DefaultPrinter]\nDeviceName=" << TestSession::kA4Queue
        << "\nOrientation=2\nPaperSize=8\nPaperBin=0\n"
        << "Pos=1\nSize=1\nSizeP=100\nFontName=IPAGothic\nFontSize=10\nTitleText=\n"
        << "TitleVAlign=1\n";
    if (::geteuid() != Session().uid() && ::chown(file.c_str(), Session().uid(), Session().gid()))
        ADD_FAILURE() << "cannot hand " << file << " to the session's user";
}

std::string Diagnostics(TovrimoProcess& tovrimo)
{
    return "\nprogram's stderr:\n" + Tail(tovrimo.process().standardError()) + "\nKWin's log:\n" +
           Tail(Session().compositorLog());
}

// The entry an install puts in place, naming the binary the tests run.
std::string EntryPath()
{
    return Session().dataHome() + "/applications/tovrimo.desktop";
}

// KDE's application database misses an entry written within the same second as its last
// look: wait, then touch the folder, so the next look sees the change.
void TellKdeTheApplicationsChanged()
{
    std::this_thread::sleep_for(1100ms);
    const std::string folder = Session().dataHome() + "/applications";
    ::utimensat(AT_FDCWD, folder.c_str(), nullptr, 0);
}

// The major version of the session's KWin (5 on Debian 12, 6 on Debian 13), 0 when unknown.
int KWinMajorVersion()
{
    static const int major = [] {
        const std::string said = Session().run("kwin_wayland", {{"--version"}}).standardOutput();
        const size_t at = said.find_first_of("0123456789");
        return at == std::string::npos ? 0 : std::atoi(said.c_str() + at);
    }();
    return major;
}

bool InstallEntry()
{
    std::ifstream source(std::string(TOVRIMO_BUILD_DIR) + "/tovrimo.desktop");
    std::stringstream text;
    text << source.rdbuf();
    // The installed entry names the installed binary; here that is the tests' copy.
    const std::string entry =
        std::regex_replace(text.str(), std::regex("\nExec=[^\n]*"),
                           "\nExec=" + DesktopTestSession::current().binaryPath());
    if (entry.find("X-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2") ==
        std::string::npos)
        return false;
    const bool written = Session().writeFile(EntryPath(), entry);
    TellKdeTheApplicationsChanged();
    return written;
}

void RemoveEntry()
{
    std::filesystem::remove(EntryPath());
    TellKdeTheApplicationsChanged();
}

// A window of one colour where KWin places it.
class ColourWindow {
public:
    ColourWindow(const char* colour, int width, int height)
        : title_("colour-" + std::to_string(::getpid()) + "-" + std::to_string(++count_))
    {
        // One copy for every window: a running copy cannot be replaced.
        static const std::string program = Session().installProgram(TOVRIMO_COLOUR_WINDOW);
        process_ = Session().launch(
            program, {{title_, colour, std::to_string(width), std::to_string(height)}});
    }
    ~ColourWindow() { process_.stop(); }
    std::optional<DesktopSession::Window> window()
    {
        if (!WaitFor(
                [&] {
                    return !process_.running() ||
                           process_.standardOutput().find("shown") != std::string::npos;
                },
                20s))
            return std::nullopt;
        return Session().waitForWindow("^" + title_ + "$", 10s);
    }
    const std::string& title() const { return title_; }
    std::string errors() const { return Tail(process_.standardError()); }

private:
    static inline int count_ = 0;
    std::string title_;
    Process process_;
};

}  // namespace

class KWinE2E : public ::testing::Test {
protected:
    void SetUp() override
    {
        Cups().clearOutput(TestSession::kA4Queue);
        jobsBefore_ = Cups().jobCount();
    }

    std::unique_ptr<TovrimoProcess> program()
    {
        auto tovrimo = DesktopTestSession::current().tovrimo();
        if (!tovrimo) ADD_FAILURE() << "the program's folder could not be handed to the session";
        return tovrimo;
    }
    bool printedOnePage(std::chrono::milliseconds timeout = 30s)
    {
        return WaitFor([&] { return Cups().jobCount() == jobsBefore_ + 1; }, timeout) &&
               Cups().waitForJobs();
    }
    int jobsSinceStart() const { return Cups().jobCount() - jobsBefore_; }
    // The sheet comes out A3 portrait with the landscape picture turned; turned back, it reads
    // like the screen.
    QImage printedPage() const
    {
        const QImage sheet = PdfPage(Cups().outputPdf(TestSession::kA4Queue)).render(kDpi);
        if (sheet.isNull() || sheet.width() > sheet.height()) return sheet;
        return sheet.transformed(QTransform().rotate(90));
    }

    int jobsBefore_ = 0;
};

// What needs KWin's screenshots waits for a KWin that takes them.
#define SKIP_WITHOUT_KWIN_SCREENSHOTS() \
    if (!Session().screenshotsMissing().empty()) GTEST_SKIP() << Session().screenshotsMissing()

// Without the installed entry KWin refuses us; the portal then refuses a capture without its
// dialog too (Plasma 5.27). The user hears both, with the entry to install, and nothing waits.
TEST_F(KWinE2E, WithoutItsDesktopEntryTheFallbackSaysHowToAllowItAndNothingHangs)
{
    SKIP_WITHOUT_KWIN_SCREENSHOTS();
    RemoveEntry();
    auto tovrimo = program();
    ASSERT_NE(tovrimo, nullptr);
    WriteSettings(*tovrimo);
    const auto begin = std::chrono::steady_clock::now();
    ASSERT_TRUE(tovrimo->start({"/d"}));
    std::optional<DesktopSession::Window> box;
    WaitFor(
        [&] {
            for (const DesktopSession::Window& w : Session().windows())
                if (w.pid == tovrimo->process().pid() && w.caption == "トヴリモ") box = w;
            return box.has_value() || !tovrimo->running();
        },
        30s);
    ASSERT_TRUE(box.has_value()) << "no message box" << Diagnostics(*tovrimo);
    std::printf("without the entry: the message box was up after %lld ms\n",
                static_cast<long long>(Since(begin).count()));
    EXPECT_EQ(jobsSinceStart(), 0);
    // What to install, with this binary's own path, on the terminal as well.
    const std::string said = tovrimo->process().standardError();
    EXPECT_NE(said.find("X-KDE-DBUS-Restricted-Interfaces=org.kde.KWin.ScreenShot2"),
              std::string::npos)
        << said;
    EXPECT_NE(said.find("Exec=" + DesktopTestSession::current().binaryPath()), std::string::npos)
        << said;
    ASSERT_TRUE(Session().close("^トヴリモ$"));
    const auto code = tovrimo->waitForExit(15s);
    ASSERT_TRUE(code.has_value()) << "still running after its box was closed"
                                  << Diagnostics(*tovrimo);
    EXPECT_EQ(*code, 1) << Diagnostics(*tovrimo);
    EXPECT_EQ(jobsSinceStart(), 0) << "a page was printed although nothing was captured";
    // The reason, one line, last on stderr.
    const std::string err = tovrimo->process().standardError();
    EXPECT_NE(err.find("tovrimo: 画面の取り込みが許可されませんでした。"), std::string::npos)
        << err;
}

// With the entry, /d prints the whole output at actual size, with the window on it, and asks
// nobody.
TEST_F(KWinE2E, DesktopSwitchPrintsTheWholeOutputWithoutAPrompt)
{
    SKIP_WITHOUT_KWIN_SCREENSHOTS();
    ASSERT_TRUE(InstallEntry());
    ColourWindow colour(kWindowColour, 320, 200);
    const auto placed = colour.window();
    ASSERT_TRUE(placed.has_value()) << "the colour window did not appear: " << colour.errors();

    auto tovrimo = program();
    ASSERT_NE(tovrimo, nullptr);
    WriteSettings(*tovrimo);
    const auto begin = std::chrono::steady_clock::now();
    ASSERT_TRUE(tovrimo->start({"/d"}));
    const auto code = tovrimo->waitForExit(60s);
    const auto exited = Since(begin);
    ASSERT_TRUE(code.has_value()) << "still running after 60 s" << Diagnostics(*tovrimo);
    EXPECT_EQ(*code, 0) << Diagnostics(*tovrimo);
    ASSERT_TRUE(printedOnePage()) << "jobs: " << jobsSinceStart() << Diagnostics(*tovrimo);
    std::printf("/d on KWin: the program ended after %lld ms, the page was done after %lld ms\n",
                static_cast<long long>(exited.count()),
                static_cast<long long>(Since(begin).count()));
    EXPECT_EQ(tovrimo->process().standardError().find("X-KDE-DBUS"), std::string::npos)
        << "KWin refused the program although its entry is installed" << Diagnostics(*tovrimo);

    const QImage page = printedPage();
    ASSERT_FALSE(page.isNull());
    // The picture of the output: 1280 x 800 page pixels, all of it on the sheet.
    const QRect window = Ink::boundsOf(page, QColor(kWindowColour), 40);
    ASSERT_FALSE(window.isEmpty()) << "the window's colour is not on the page";
    EXPECT_NEAR(window.width(), 320, 2.5);
    EXPECT_NEAR(window.height(), 200, 2.5);
    // KWin's headless desktop is black: the picture is the whole output, pixel for pixel.
    const QRect picture = Ink::bounds(page);
    EXPECT_NEAR(picture.width(), Session().options().width, 1.5);
    EXPECT_NEAR(picture.height(), Session().options().height, 1.5);
    // The window is where KWin placed it: its client area inside its frame.
    const QRect frame(picture.topLeft() + QPoint(placed->x, placed->y),
                      QSize(placed->width, placed->height));
    EXPECT_TRUE(frame.adjusted(-2, -2, 2, 2).contains(window))
        << "window at " << window.x() << "," << window.y() << ", frame at " << frame.x() << ","
        << frame.y() << " " << frame.width() << "x" << frame.height();
}

// /a prints the active window whole, without a prompt, and nothing else.
TEST_F(KWinE2E, ActiveWindowSwitchPrintsTheActiveWindowWithoutAPrompt)
{
    SKIP_WITHOUT_KWIN_SCREENSHOTS();
    ASSERT_TRUE(InstallEntry());
    ColourWindow other(kOtherColour, 500, 400);
    ASSERT_TRUE(other.window().has_value()) << other.errors();
    ColourWindow colour(kWindowColour, 360, 220);
    const auto placed = colour.window();
    ASSERT_TRUE(placed.has_value()) << colour.errors();
    ASSERT_TRUE(Session().activate("^" + colour.title() + "$"));
    ASSERT_TRUE(WaitFor(
        [&] {
            const auto w = Session().waitForWindow("^" + colour.title() + "$", 1s);
            return w && w->active;
        },
        10s));

    auto tovrimo = program();
    ASSERT_NE(tovrimo, nullptr);
    WriteSettings(*tovrimo);
    const auto begin = std::chrono::steady_clock::now();
    ASSERT_TRUE(tovrimo->start({"/a"}));
    const auto code = tovrimo->waitForExit(60s);
    ASSERT_TRUE(code.has_value()) << "still running after 60 s" << Diagnostics(*tovrimo);
    EXPECT_EQ(*code, 0) << Diagnostics(*tovrimo);
    ASSERT_TRUE(printedOnePage()) << "jobs: " << jobsSinceStart() << Diagnostics(*tovrimo);
    std::printf("/a on KWin: the page was done after %lld ms\n",
                static_cast<long long>(Since(begin).count()));

    const QImage page = printedPage();
    const QRect window = Ink::boundsOf(page, QColor(kWindowColour), 40);
    ASSERT_FALSE(window.isEmpty()) << "the window's colour is not on the page";
    EXPECT_NEAR(window.width(), 360, 2.5);
    EXPECT_NEAR(window.height(), 220, 2.5);
    // Its frame and nothing beside it: not the other window, not the rest of the output.
    const QRect ink = Ink::bounds(page);
    EXPECT_LE(ink.width(), placed->width + 2);
    EXPECT_LE(ink.height(), placed->height + 2);
    EXPECT_EQ(Ink::count(page, QColor(kOtherColour), 40), 0) << "the other window was printed";
}

// The resident program's hot keys are KDE global shortcuts: they show under the component
// "tovrimo" with the options' keys, and one invoked through KDE's shortcut service prints.
TEST_F(KWinE2E, AHotKeyInvokedThroughKdesShortcutServicePrints)
{
    ASSERT_TRUE(InstallEntry());
    auto tovrimo = program();
    ASSERT_NE(tovrimo, nullptr);
    // Slot 0 (desktop hard copy) on Ctrl+Alt+P, slot 4 (desktop copy) on Shift+F5.
    WriteSettings(*tovrimo,
                  "HotKeyOn0=1\nHotKeyALT0=1\nHotKeyCTRL0=1\nHotKeySHIFT0=0\nHotKeyButton0=80\n"
                  "HotKeyOn4=1\nHotKeyALT4=0\nHotKeyCTRL4=0\nHotKeySHIFT4=1\nHotKeyButton4=116\n");
    ASSERT_TRUE(tovrimo->start());
    // Registered as KDE's settings show them: the keys in Qt's key codes.
    const auto keyOf = [](const std::string& slot, const std::string& name) {
        return Session().busCall({"--dest=org.kde.kglobalaccel", "/kglobalaccel",
                                  "org.kde.KGlobalAccel.shortcut",
                                  "array:string:tovrimo," + slot + ",トヴリモ," + name});
    };
    ASSERT_TRUE(WaitFor(
        [&] {
            return Session()
                       .busCall({"--dest=org.kde.kglobalaccel", "/component/tovrimo",
                                 "org.kde.kglobalaccel.Component.shortcutNames"})
                       .find("\"slot0\"") != std::string::npos;
        },
        20s))
        << "no action slot0 of the component tovrimo" << Diagnostics(*tovrimo);
    // Ctrl+Alt+P is 0x0C000050 (Ctrl 0x04000000, Alt 0x08000000, P 0x50), Shift+F5 0x03000034
    // (Shift 0x02000000, F5 0x01000034).
    EXPECT_NE(keyOf("slot0", "デスクトップ全体を印刷").find("int32 201326672"), std::string::npos)
        << keyOf("slot0", "デスクトップ全体を印刷");
    EXPECT_NE(keyOf("slot4", "デスクトップ全体をコピー").find("int32 50331700"), std::string::npos);

    // The keys are registered; what they capture needs KWin's screenshots.
    SKIP_WITHOUT_KWIN_SCREENSHOTS();
    const auto begin = std::chrono::steady_clock::now();
    ASSERT_FALSE(Session()
                     .busCall({"--dest=org.kde.kglobalaccel", "/component/tovrimo",
                               "org.kde.kglobalaccel.Component.invokeShortcut", "string:slot0"})
                     .empty());
    ASSERT_TRUE(printedOnePage()) << "no page after the shortcut" << Diagnostics(*tovrimo);
    std::printf("hot key on KWin: the page was done %lld ms after the shortcut\n",
                static_cast<long long>(Since(begin).count()));
    const QImage page = printedPage();
    const QRect picture = Ink::bounds(page);
    EXPECT_GT(picture.width(), 0);

    tovrimo->stop();
}

namespace {

// Pointer and keys from KWin's fake-input protocol (tests/tools/KWinFakeInput.cpp). KWin
// offers it only to a program whose installed entry names it, as it does its screenshots.
class FakeInput {
public:
    bool start(std::string* why)
    {
        if (std::string(TOVRIMO_KWIN_FAKE_INPUT).empty()) {
            *why = "no fake-input tool: install the package plasma-wayland-protocols";
            return false;
        }
        static const std::string program = Session().installProgram(TOVRIMO_KWIN_FAKE_INPUT);
        const std::string entry = Session().dataHome() + "/applications/tovrimo-fake-input.desktop";
        if (!Session().writeFile(entry,
                                 "[Desktop Entry]\nType=Application\nName=Fake input\n"
                                 "NoDisplay=true\nExec=" +
                                     program +
                                     "\nX-KDE-Wayland-Interfaces=org_kde_kwin_fake_input\n"))
            return false;
        TellKdeTheApplicationsChanged();
        const std::string control = Session().folder() + "/fake-input.fifo";
        ::unlink(control.c_str());
        if (::mkfifo(control.c_str(), 0600) != 0 ||
            ::chown(control.c_str(), Session().uid(), Session().gid()) != 0)
            return false;
        tool_ =
            Session().launch("/bin/sh", {{"-c", "exec \"$1\" < \"$2\"", "sh", program, control}});
        fd_ = ::open(control.c_str(), O_WRONLY);
        const bool ready = fd_ >= 0 &&
                           WaitFor(
                               [&] {
                                   return !tool_.running() ||
                                          tool_.standardOutput().find("ready") != std::string::npos;
                               },
                               10s) &&
                           tool_.running();
        if (!ready) *why = Tail(tool_.standardError());
        return ready;
    }
    ~FakeInput()
    {
        if (fd_ >= 0) ::close(fd_);
        tool_.stop();
    }
    bool send(const std::string& line)
    {
        const size_t before = Count();
        const std::string text = line + "\n";
        if (::write(fd_, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
            return false;
        return WaitFor([&] { return Count() > before; }, 5s);
    }

private:
    size_t Count() const
    {
        const std::string out = tool_.standardOutput();
        size_t n = 0;
        for (size_t at = out.find("done"); at != std::string::npos; at = out.find("done", at + 1))
            ++n;
        return n;
    }
    Process tool_;
    int fd_ = -1;
};

constexpr int kButtonRight = 273;
constexpr int kKeyDown = 108;
constexpr int kKeyEnter = 28;
constexpr const char* kNoteColour = "#30c040";

}  // namespace

// A note from the clipboard (hot key slot 9 through KDE's shortcut service), set to stay on
// top in its own menu: KWin keeps it above, also above a window opened after it, and it
// stays below new windows before.
TEST_F(KWinE2E, ANoteSetAlwaysOnTopStaysAboveANewlyOpenedWindow)
{
    std::string why;
    FakeInput input;
    const bool started = input.start(&why);
    if (!started && KWinMajorVersion() >= 6)
        GTEST_SKIP() << "KWin " << KWinMajorVersion()
                     << " offers its fake-input protocol to no program here, entry or not: " << why;
    ASSERT_TRUE(started) << why;
    // A picture on the clipboard, offered by wl-copy through KWin's data-control protocol.
    QImage picture(240, 160, QImage::Format_RGB32);
    picture.fill(QColor(kNoteColour));
    const std::string png = Session().folder() + "/note.png";
    ASSERT_TRUE(picture.save(QString::fromStdString(png)));
    ::chmod(png.c_str(), 0644);
    Process clipboard = Session().launch(
        "/bin/sh", {{"-c", "exec wl-copy --foreground --type image/png < \"$1\"", "sh", png}});
    ASSERT_TRUE(WaitFor(
        [&] {
            return Session()
                       .run("wl-paste", {{"--list-types"}})
                       .standardOutput()
                       .find("image/png") != std::string::npos;
        },
        10s))
        << "the clipboard holds no picture: " << clipboard.standardError();

    auto tovrimo = program();
    ASSERT_NE(tovrimo, nullptr);
    WriteSettings(*tovrimo,
                  "HotKeyOn9=1\nHotKeyALT9=1\nHotKeyCTRL9=1\nHotKeySHIFT9=0\nHotKeyButton9=78\n");
    ASSERT_TRUE(tovrimo->start());
    ASSERT_TRUE(WaitFor(
        [&] {
            return Session()
                       .busCall({"--dest=org.kde.kglobalaccel", "/component/tovrimo",
                                 "org.kde.kglobalaccel.Component.shortcutNames"})
                       .find("\"slot9\"") != std::string::npos;
        },
        20s))
        << Diagnostics(*tovrimo);
    ASSERT_FALSE(Session()
                     .busCall({"--dest=org.kde.kglobalaccel", "/component/tovrimo",
                               "org.kde.kglobalaccel.Component.invokeShortcut", "string:slot9"})
                     .empty());
    const auto note = Session().waitForWindow("^付せん 1$", 15s);
    ASSERT_TRUE(note.has_value()) << "no note" << Diagnostics(*tovrimo);
    EXPECT_FALSE(note->keepAbove);

    const auto orderOf = [](const std::string& caption) {
        for (const DesktopSession::Window& w : Session().windows())
            if (w.caption == caption) return w.stackingOrder;
        return -1;
    };
    // An ordinary note: a window opened after it comes above it.
    ColourWindow before(kWindowColour, 300, 200);
    ASSERT_TRUE(before.window().has_value()) << before.errors();
    EXPECT_GT(orderOf(before.title()), orderOf("付せん 1"));

    // Its menu: a right click on the picture, then the fourth item, "常に手前に表示する".
    ASSERT_TRUE(Session().activate("^付せん 1$"));
    ASSERT_TRUE(input.send("move " + std::to_string(note->x + note->width / 2) + " " +
                           std::to_string(note->y + note->height / 2)));
    ASSERT_TRUE(input.send("click " + std::to_string(kButtonRight)));
    std::this_thread::sleep_for(700ms);  // the menu opens
    for (int i = 0; i < 4; ++i) ASSERT_TRUE(input.send("key " + std::to_string(kKeyDown)));
    ASSERT_TRUE(input.send("key " + std::to_string(kKeyEnter)));
    ASSERT_TRUE(WaitFor(
        [&] {
            const auto now = Session().waitForWindow("^付せん 1$", 1s);
            return now && now->keepAbove;
        },
        10s))
        << "KWin does not keep the note above" << Diagnostics(*tovrimo);

    ColourWindow after(kOtherColour, 300, 200);
    const auto opened = after.window();
    ASSERT_TRUE(opened.has_value()) << after.errors();
    EXPECT_TRUE(opened->active) << "the new window did not get the focus";
    EXPECT_GT(orderOf("付せん 1"), orderOf(after.title())) << "the new window came above the note";
    EXPECT_GT(orderOf("付せん 1"), orderOf(before.title()));
    tovrimo->stop();
    clipboard.stop();
}
