#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

#include "harness/Desktop.h"
#include "harness/PrivateCups.h"
#include "harness/TestSession.h"
#include "harness/TovrimoProcess.h"
#include "harness/XSession.h"

using namespace tovrimo::test;
using namespace std::chrono_literals;

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

bool FileExists(const std::string& path)
{
    return std::ifstream(path).good();
}

// Windows that trayer has embedded: the tray icons.
int TrayIconCount()
{
    Process p = Process::run("/bin/sh", {{"-c",
                                          "for w in $(xdotool search --class trayer); do "
                                          "xwininfo -children -id $w | grep -c '^ *0x'; done"}});
    int total = 0;
    std::istringstream in(p.standardOutput());
    for (int n; in >> n;) total += n;
    return total;
}

}  // namespace

TEST(StartUpE2E, NoPrinterShowsTheMessageAndEndsWithoutWritingSettings)
{
    PrivateCups empty;
    ASSERT_TRUE(empty.start()) << empty.error();
    TovrimoProcess tovrimo({}, {{"CUPS_SERVER", empty.socketPath()}});
    ASSERT_TRUE(tovrimo.start());
    Desktop desktop;
    const auto box = desktop.waitForWindow("^トヴリモ$", 15s);
    ASSERT_NE(box, 0u) << "the no-printer message box did not appear";
    EXPECT_FALSE(tovrimo.waitForExit(300ms).has_value()) << "it waits for the user";
    ASSERT_TRUE(desktop.dismiss(box));
    const auto code = tovrimo.waitForExit(10s);
    ASSERT_TRUE(code.has_value());
    EXPECT_NE(*code, 0);
    EXPECT_FALSE(FileExists(tovrimo.settingsFile()));
}

TEST(StartUpE2E, FirstRunCreatesTheSettingsFileAndAddsATrayIcon)
{
    const int before = TrayIconCount();
    TovrimoProcess tovrimo;
    ASSERT_TRUE(tovrimo.start());
    ASSERT_TRUE(WaitFor([&] { return FileExists(tovrimo.settingsFile()); }, 15s));
    ASSERT_TRUE(WaitFor([&] { return TrayIconCount() == before + 1; }, 15s))
        << "no icon was embedded in the tray";
    const std::string ini = ReadFile(tovrimo.settingsFile());
    EXPECT_NE(ini.find("Title=トヴリモ"), std::string::npos);
    EXPECT_NE(ini.find("DeviceName=TovA4"), std::string::npos) << "the default queue";
    EXPECT_TRUE(tovrimo.running()) << "it stays resident";
    tovrimo.stop();
    EXPECT_TRUE(WaitFor([&] { return TrayIconCount() == before; }, 10s));
}

TEST(StartUpE2E, LegacySettingsAreMigratedOnlyUnderTheirExactName)
{
    for (const char* name : {"lusk.ini", "Lusk.ini"}) {
        TovrimoProcess tovrimo;
        {
            std::ofstream legacy(tovrimo.programFolder() + "/" + name);
            legacy << "[Application]\nTitle=LegacyTitle\nVersion=2.80\n";
        }
        ASSERT_TRUE(tovrimo.start());
        ASSERT_TRUE(WaitFor([&] { return FileExists(tovrimo.settingsFile()); }, 15s)) << name;
        // Give the program time to have read the file before it is checked.
        ASSERT_TRUE(WaitFor([&] { return tovrimo.running(); }, 2s));
        const std::string ini = ReadFile(tovrimo.settingsFile());
        if (std::string(name) == "lusk.ini") {
            EXPECT_NE(ini.find("Title=LegacyTitle"), std::string::npos) << ini;
            EXPECT_TRUE(FileExists(tovrimo.programFolder() + "/lusk.ini"));
        } else {
            EXPECT_EQ(ini.find("LegacyTitle"), std::string::npos) << ini;
        }
        tovrimo.stop();
    }
}

TEST(StartUpE2E, AnyCommandLineTokenKeepsTheTrayEmpty)
{
    const int before = TrayIconCount();
    TovrimoProcess tovrimo;
    ASSERT_TRUE(tovrimo.start({"/unknown"}));
    Desktop desktop;
    const auto box = desktop.waitForWindow("^トヴリモ$", 15s);
    ASSERT_NE(box, 0u) << "the command-line error message did not appear";
    EXPECT_EQ(TrayIconCount(), before);
    ASSERT_TRUE(desktop.dismiss(box));
    const auto code = tovrimo.waitForExit(10s);
    ASSERT_TRUE(code.has_value());
    EXPECT_NE(*code, 0);
    EXPECT_EQ(TrayIconCount(), before);
}

TEST(StartUpE2E, ASecondStartThatGetsNoAnswerSaysSoAndEndsWithStatusOne)
{
    // A process of the user holds the resident program's lock but never listens: a resident
    // copy that hangs, as far as a second start can tell.
    QTemporaryDir runtime;
    ::chmod(runtime.path().toUtf8().constData(), 0700);
    const char* display = std::getenv("DISPLAY");
    ASSERT_TRUE(display && std::regex_match(display, std::regex(":[0-9]+"))) << display;
    const std::string lock = runtime.path().toStdString() + "/tovrimo-display_" +
                             std::string(display + 1) + ".socket.lock";
    const int fd = ::open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX | LOCK_NB), 0);
    struct Release {
        int fd;
        ~Release() { ::close(fd); }
    } release{fd};

    const int before = TrayIconCount();
    TovrimoProcess tovrimo({}, {{"XDG_RUNTIME_DIR", runtime.path().toStdString()}});
    ASSERT_TRUE(tovrimo.start());
    Desktop desktop;
    const auto box = desktop.waitForWindow("^トヴリモ$", 20s);
    ASSERT_NE(box, 0u) << "nothing was said; stderr:\n" << tovrimo.process().standardError();
    EXPECT_NE(tovrimo.process().standardError().find("すでに常駐しているトヴリモが応答しません。"),
              std::string::npos)
        << tovrimo.process().standardError();
    EXPECT_FALSE(tovrimo.waitForExit(300ms).has_value()) << "it waits for the user";
    EXPECT_EQ(TrayIconCount(), before) << "no second icon";
    ASSERT_TRUE(desktop.dismiss(box));
    const auto code = tovrimo.waitForExit(10s);
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 1);
}
