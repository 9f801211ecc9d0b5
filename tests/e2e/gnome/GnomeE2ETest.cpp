#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QImage>
#include <QTransform>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <regex>
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

// The built program in a headless GNOME Shell session (GNOME 43), as a GNOME user runs it: the
// screen through the Screenshot portal, which takes a picture without asking once the
// permission store says yes, and refuses it when the store says no.

namespace {

constexpr int kDpi = 96;

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

void WriteSettings(TovrimoProcess& tovrimo)
{
    const std::string file = tovrimo.settingsFile();
    std::ofstream(file, std::ios::trunc)
        << "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=0\n"
        << "[DefaultPrinter]\nDeviceName=" << TestSession::kA4Queue
        << "\nOrientation=2\nPaperSize=8\nPaperBin=0\n"
        << "Pos=1\nSize=1\nSizeP=100\nFontName=IPAGothic\nFontSize=10\nTitleText=\n"
        << "TitleVAlign=1\n";
    if (::geteuid() != Session().uid() && ::chown(file.c_str(), Session().uid(), Session().gid()))
        ADD_FAILURE() << "cannot hand " << file << " to the session's user";
}

std::string Diagnostics(TovrimoProcess& tovrimo)
{
    return "\nprogram's stderr:\n" + Tail(tovrimo.process().standardError()) + "\nportal's log:\n" +
           Tail(Session().portalLog()) + "\nGNOME Shell's log:\n" + Tail(Session().compositorLog());
}

// What an administrator runs to answer GNOME's question ahead of time (or to refuse).
bool StorePermission(const std::string& answer)
{
    const Process set = Session().run(
        "gdbus", {{"call", "--session", "--dest", "org.freedesktop.impl.portal.PermissionStore",
                   "--object-path", "/org/freedesktop/impl/portal/PermissionStore", "--method",
                   "org.freedesktop.impl.portal.PermissionStore.SetPermission", "screenshot",
                   "true", "screenshot", "", "['" + answer + "']"}});
    if (set.exitCode() != 0) ADD_FAILURE() << set.standardError();
    return set.exitCode() == 0;
}

// Keys through mutter's own remote-desktop service (tests/tools/MutterKeys.cpp), the only
// input a headless GNOME Shell takes from outside. Its session lives as long as the tool.
class Keyboard {
public:
    bool start()
    {
        static const std::string program = Session().installProgram(TOVRIMO_MUTTER_KEYS);
        const std::string control = Session().folder() + "/mutter-keys.fifo";
        ::unlink(control.c_str());
        if (::mkfifo(control.c_str(), 0600) != 0) return false;
        if (::chown(control.c_str(), Session().uid(), Session().gid()) != 0) return false;
        tool_ =
            Session().launch("/bin/sh", {{"-c", "exec \"$1\" < \"$2\"", "sh", program, control}});
        // Held open for writing, so the tool's input stays open between keys.
        fd_ = ::open(control.c_str(), O_WRONLY);
        if (fd_ < 0) return false;
        return WaitFor(
                   [&] {
                       return !tool_.running() ||
                              tool_.standardOutput().find("ready") != std::string::npos;
                   },
                   10s) &&
               tool_.running();
    }
    ~Keyboard()
    {
        if (fd_ >= 0) ::close(fd_);
        tool_.stop();
    }
    bool key(unsigned keysym)
    {
        const std::string line = std::to_string(keysym) + "\n";
        return ::write(fd_, line.data(), line.size()) == static_cast<ssize_t>(line.size());
    }
    std::string why() const { return Tail(tool_.standardError()); }

private:
    Process tool_;
    int fd_ = -1;
};

// The session's one keyboard. GNOME Shell starts in its overview, where keys go to its search:
// Escape leaves it, so that keys reach the windows.
std::unique_ptr<Keyboard>& KeyboardSlot()
{
    static std::unique_ptr<Keyboard> keyboard;
    return keyboard;
}

Keyboard* SessionKeyboard()
{
    std::unique_ptr<Keyboard>& keyboard = KeyboardSlot();
    if (!keyboard) {
        keyboard = std::make_unique<Keyboard>();
        if (!keyboard->start() || !keyboard->key(0xff1b)) {
            ADD_FAILURE() << "no keyboard for the session: " << keyboard->why();
            keyboard.reset();
        }
    }
    return keyboard.get();
}

}  // namespace

class GnomeE2E : public ::testing::Test {
protected:
    static void TearDownTestSuite() { KeyboardSlot().reset(); }
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
    QImage printedPage() const
    {
        const QImage sheet = PdfPage(Cups().outputPdf(TestSession::kA4Queue)).render(kDpi);
        if (sheet.isNull() || sheet.width() > sheet.height()) return sheet;
        return sheet.transformed(QTransform().rotate(90));
    }
    int jobsBefore_ = 0;
};

// Nothing stored yet: GNOME asks in a dialog of its own, which the program explains on the
// terminal. Unanswered, the portal gives up after its 25 s timeout without a word to the
// program; the program sees the request go, says the capture was not allowed and why, and the
// job ends with status 1, all within a few seconds of the portal giving up. (The request stays
// exported after the portal gave up, so only the portal's own timeout tells.)
TEST_F(GnomeE2E, AnUnansweredPermissionQuestionEndsTheJobSoonAfterThePortalGivesUp)
{
    Keyboard* keyboard = SessionKeyboard();
    ASSERT_NE(keyboard, nullptr);
    auto tovrimo = program();
    ASSERT_NE(tovrimo, nullptr);
    WriteSettings(*tovrimo);
    const auto begin = std::chrono::steady_clock::now();
    ASSERT_TRUE(tovrimo->start({"/d"}));
    ASSERT_TRUE(WaitFor(
        [&] {
            return tovrimo->process().standardError().find(
                       "Allow Applications to Take "
                       "Screenshots?") != std::string::npos;
        },
        10s))
        << "the program did not explain the desktop's question" << Diagnostics(*tovrimo);
    // Its box says what comes; Return closes it, and the desktop asks.
    std::this_thread::sleep_for(700ms);
    ASSERT_TRUE(keyboard->key(0xff0d));
    // The portal waits 25 s for the dialog; nobody answers. Then our box is up: Escape, once
    // a second, closes it (and first the dialog the portal left behind, which no longer
    // matters).
    std::this_thread::sleep_for(27s);
    std::optional<int> code;
    WaitFor(
        [&] {
            code = tovrimo->waitForExit(1s);
            if (code) return true;
            keyboard->key(0xff1b);
            return false;
        },
        15s);
    const auto ended = Since(begin);
    ASSERT_TRUE(code.has_value()) << "still waiting 42 s after the question"
                                  << Diagnostics(*tovrimo);
    std::printf("unanswered question: the job ended after %lld ms\n",
                static_cast<long long>(ended.count()));
    EXPECT_EQ(*code, 1) << Diagnostics(*tovrimo);
    EXPECT_EQ(jobsSinceStart(), 0);
    const std::string err = tovrimo->process().standardError();
    EXPECT_NE(err.find("tovrimo: 画面の取り込みが許可されませんでした。"), std::string::npos)
        << err;
}

// Nothing stored yet, and the user allows it in GNOME's dialog: that capture prints, and the
// next one asks nobody. GNOME asks once.
TEST_F(GnomeE2E, TheQuestionAnsweredOnceLetsEveryLaterCapturePrintWithoutAsking)
{
    Keyboard* keyboard = SessionKeyboard();
    ASSERT_NE(keyboard, nullptr);
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run == 0 ? "asked" : "answered before");
        jobsBefore_ = Cups().jobCount();
        Cups().clearOutput(TestSession::kA4Queue);
        auto tovrimo = program();
        ASSERT_NE(tovrimo, nullptr);
        WriteSettings(*tovrimo);
        ASSERT_TRUE(tovrimo->start({"/d"}));
        if (run == 0) {
            ASSERT_TRUE(WaitFor(
                [&] {
                    return tovrimo->process().standardError().find("Allow Applications") !=
                           std::string::npos;
                },
                10s))
                << Diagnostics(*tovrimo);
            // Our box says what comes; Return closes it. Then GNOME's dialog, whose key focus
            // starts on "Deny": Tab moves it to "Allow", Return presses.
            std::this_thread::sleep_for(700ms);
            ASSERT_TRUE(keyboard->key(0xff0d));
            std::this_thread::sleep_for(1500ms);
            ASSERT_TRUE(keyboard->key(0xff09));
            ASSERT_TRUE(keyboard->key(0xff0d));
        }
        const auto code = tovrimo->waitForExit(30s);
        ASSERT_TRUE(code.has_value()) << "still running" << Diagnostics(*tovrimo);
        EXPECT_EQ(*code, 0) << Diagnostics(*tovrimo);
        EXPECT_TRUE(printedOnePage()) << Diagnostics(*tovrimo);
        if (run == 1) {
            EXPECT_EQ(tovrimo->process().standardError().find("Allow Applications"),
                      std::string::npos)
                << "asked again";
        }
    }
}

// Granted ahead of time, as an administrator can: /d prints the whole output and asks nobody.
TEST_F(GnomeE2E, WithThePermissionStoredDesktopSwitchPrintsWithoutAPrompt)
{
    ASSERT_TRUE(StorePermission("yes"));
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
    std::printf("/d on GNOME: the program ended after %lld ms, the page was done after %lld ms\n",
                static_cast<long long>(exited.count()),
                static_cast<long long>(Since(begin).count()));
    // The program knew the answer: it did not tell the terminal that the desktop asks.
    EXPECT_EQ(tovrimo->process().standardError().find("Allow Applications"), std::string::npos);

    const QImage page = printedPage();
    ASSERT_FALSE(page.isNull());
    const QRect picture = Ink::bounds(page);
    EXPECT_NEAR(picture.width(), Session().options().width, 1.5);
    EXPECT_NEAR(picture.height(), Session().options().height, 1.5);
}

// Refused in the store: the desktop refuses at once, the program says so (and how to allow
// it), prints nothing and ends with status 1, the reason on stderr.
TEST_F(GnomeE2E, WithThePermissionRefusedTheRefusalIsToldNoPageAndStatus1)
{
    ASSERT_TRUE(StorePermission("no"));
    auto tovrimo = program();
    ASSERT_NE(tovrimo, nullptr);
    WriteSettings(*tovrimo);
    Keyboard* keyboard = SessionKeyboard();
    ASSERT_NE(keyboard, nullptr);
    ASSERT_TRUE(tovrimo->start({"/d"}));
    // The box is up and waits; Return answers it.
    std::optional<int> code;
    WaitFor(
        [&] {
            code = tovrimo->waitForExit(500ms);
            if (code) return true;
            keyboard->key(0xff0d);
            return false;
        },
        30s);
    ASSERT_TRUE(code.has_value()) << "still running" << Diagnostics(*tovrimo);
    EXPECT_EQ(*code, 1) << Diagnostics(*tovrimo);
    EXPECT_EQ(jobsSinceStart(), 0) << "a page was printed although the desktop refused";
    const std::string err = tovrimo->process().standardError();
    EXPECT_NE(err.find("tovrimo: 画面の取り込みが許可されませんでした。"), std::string::npos)
        << err;
    // How to allow it: the store's entry, as the message gives it.
    EXPECT_NE(err.find("PermissionStore.SetPermission screenshot true screenshot"),
              std::string::npos)
        << err;
}

// /a: GNOME gives no program the active window, so the portal's own dialog opens to pick one.
// Dismissed, the program says the capture was not allowed, prints nothing and ends with 1.
TEST_F(GnomeE2E, ActiveWindowOpensThePortalsDialogAndItsRefusalIsTold)
{
    Keyboard* keyboard = SessionKeyboard();
    ASSERT_NE(keyboard, nullptr);
    auto tovrimo = program();
    ASSERT_NE(tovrimo, nullptr);
    WriteSettings(*tovrimo);
    ASSERT_TRUE(tovrimo->start({"/a"}));
    // Escape dismisses the portal's dialog, then closes our box.
    std::optional<int> code;
    WaitFor(
        [&] {
            code = tovrimo->waitForExit(1s);
            if (code) return true;
            keyboard->key(0xff1b);
            return false;
        },
        40s);
    ASSERT_TRUE(code.has_value()) << "still running" << Diagnostics(*tovrimo);
    EXPECT_EQ(*code, 1) << Diagnostics(*tovrimo);
    EXPECT_EQ(jobsSinceStart(), 0) << "a page was printed although nothing was picked";
    const std::string err = tovrimo->process().standardError();
    EXPECT_NE(err.find("tovrimo: 画面の取り込みが許可されませんでした。"), std::string::npos)
        << err;
}
