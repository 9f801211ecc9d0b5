#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "harness/Desktop.h"
#include "harness/DesktopState.h"
#include "harness/PrivateCups.h"
#include "harness/Process.h"
#include "harness/SessionFolder.h"
#include "harness/TestSession.h"
#include "harness/TovrimoProcess.h"
#include "harness/XSession.h"

using namespace tovrimo::test;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::set<std::string> Names(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename());
    return names;
}

std::string VisibleWindows()
{
    const Process p = Process::run("/bin/sh", {{"-c",
                                                "for w in $(xdotool search --onlyvisible "
                                                "--name '.*'); do xdotool getwindowname "
                                                "$w; done | sort | uniq | tr '\\n' '|'"}});
    return p.standardOutput();
}

// Settings worth keeping: named print settings the user made.
const std::string kPrecious =
    "[Application]\nTitle=経理部のトヴリモ\nVersion=2.80\n[Option]\nConfirmBeforePrint=0\n"
    "PrinterCount=2\nLastSet=1\n"
    "[DefaultPrinter]\nDeviceName=TovA4\nOrientation=1\nPaperSize=9\nPos=1\nSize=1\n"
    "SizeP=100\nFontName=IPAGothic\nFontSize=10\n"
    "[Printer1]\nTitle=月報\nDeviceName=TovA4\nOrientation=1\nPaperSize=9\nPos=1\nSize=1\n"
    "[Printer2]\nTitle=週報\nDeviceName=TovA4\nOrientation=2\nPaperSize=9\nPos=3\nSize=2\n";

}  // namespace

// Root reads every file, so the program runs as an ordinary user here, in a folder of its
// own, next to a settings file that belongs to root and only root may read (as one written
// by a run under sudo would be). The folder is the user's: replacing the file by renaming
// over it would succeed, which is exactly what must not happen.
TEST(UnreadableSettingsE2E, TheFileIsReportedAndNeverReplacedBySaves)
{
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || !nobody) GTEST_SKIP() << "needs root to switch to the user nobody";

    char pattern[] = "/tmp/tovrimo-user.XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const std::string home = pattern;
    // The desktop's document portal, started on the program's behalf, may have mounted its
    // file system in the runtime folder.
    struct RemoveHome {
        std::string folder;
        ~RemoveHome() { RemoveSessionFolder(folder, "UnreadableSettingsE2E"); }
    } removeHome{home};
    const std::string runtime = home + "/run";
    fs::create_directories(runtime);
    ::chmod(home.c_str(), 0755);
    ::chmod(runtime.c_str(), 0700);
    ASSERT_EQ(::chown(home.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    ASSERT_EQ(::chown(runtime.c_str(), nobody->pw_uid, nobody->pw_gid), 0);

    TovrimoProcess tovrimo({}, {{"HOME", home}, {"XDG_RUNTIME_DIR", runtime}});
    const std::string folder = tovrimo.programFolder();
    // A copy of the program the user may run wherever this tree lives.
    const std::string binary = folder + "/bin/tovrimo";
    fs::create_directories(folder + "/bin");
    fs::copy_file(tovrimo.binary(), binary);
    ::chmod((folder + "/bin").c_str(), 0755);
    ::chmod(binary.c_str(), 0755);
    tovrimo.setBinary(binary);
    ASSERT_EQ(::chown(folder.c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    ::chmod(folder.c_str(), 0755);

    const std::string ini = tovrimo.settingsFile();
    std::ofstream(ini, std::ios::binary) << kPrecious;
    ::chmod(ini.c_str(), 0600);
    struct stat before {};
    ASSERT_EQ(::stat(ini.c_str(), &before), 0);
    const std::set<std::string> namesBefore = Names(folder);

    tovrimo.runAs(nobody->pw_uid, nobody->pw_gid);
    FocusRoot();
    Desktop desktop;
    PrivateCups& cups = TestSession::current().cups();
    const int jobs = cups.jobCount();
    // The print dialog is the one place a command-line job saves the settings.
    ASSERT_TRUE(tovrimo.start({"/d", "/c"}));

    const auto startBox = desktop.waitForWindow("^トヴリモ$", 20s);
    ASSERT_NE(startBox, 0u) << "no message about the unreadable file; stderr:\n"
                            << tovrimo.process().standardError();
    EXPECT_TRUE(tovrimo.running()) << "the program goes on after the message";
    ASSERT_TRUE(desktop.dismiss(startBox));

    const auto dialog = desktop.waitForWindow("^【印刷確認】", 20s);
    ASSERT_NE(dialog, 0u) << "the print dialog did not open";
    // 印刷開始(&P) saves the settings before it prints.
    int attempts = 0;
    while (attempts++ < 5) {
        desktop.activate(dialog);
        std::this_thread::sleep_for(500ms);
        // 印刷開始(&P) has the focus when the dialog opens (Alt+P would be ambiguous: the
        // landscape button 横(&P) shares the letter).
        desktop.key("Return");
        if (desktop.waitForWindow("^トヴリモ$", 3s) != 0) break;
    }
    const auto saveBox = desktop.waitForWindow("^トヴリモ$", 20s);
    ASSERT_NE(saveBox, 0u) << "the refused save said nothing after " << attempts
                           << " attempts; windows " << VisibleWindows() << "\nstderr:\n"
                           << tovrimo.process().standardError();
    ASSERT_TRUE(desktop.dismiss(saveBox));

    // The hard copy is still made.
    EXPECT_TRUE(WaitFor([&] { return cups.jobCount() == jobs + 1; }, 20s));
    const auto code = tovrimo.waitForExit(30s);
    ASSERT_TRUE(code.has_value()) << "the job ends the program";

    struct stat after {};
    ASSERT_EQ(::stat(ini.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the file was replaced";
    EXPECT_EQ(after.st_uid, 0u);
    EXPECT_EQ(after.st_mode & 07777, 0600u);
    EXPECT_EQ(ReadBytes(ini), kPrecious);
    EXPECT_EQ(Names(folder), namesBefore) << "nothing renamed, nothing left beside it";
}
