#include <gtest/gtest.h>

#include <string>

#include "harness/Process.h"

using namespace tovrimo::test;
using namespace std::chrono_literals;

namespace {

// The program as started from a terminal with no desktop session and no printer at all: no
// display of either kind, no session bus, and a CUPS server that is not there.
Process RunWithoutDesktop(std::vector<std::string> args)
{
    Process::Options options(std::move(args), {{"CUPS_SERVER", "/nonexistent/cups.sock"}});
    options.unsetEnv = {"DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                        "QT_QPA_PLATFORM"};
    return Process::run(TOVRIMO_BINARY, options, 20s);
}

}  // namespace

TEST(TerminalOptionsE2E, HelpAndVersionPrintOnStandardOutputWithoutADisplayOrAPrinter)
{
    Process help = RunWithoutDesktop({"--help"});
    ASSERT_TRUE(help.exitedNormally());
    EXPECT_EQ(help.exitCode(), 0) << help.standardError();
    EXPECT_EQ(help.standardError(), "");
    const std::string usage = help.standardOutput();
    EXPECT_EQ(usage.rfind("使い方: tovrimo [スイッチ...]\n", 0), 0u) << usage;
    EXPECT_NE(usage.find("例: tovrimo /a /h=1050\n"), std::string::npos) << usage;
    EXPECT_NE(usage.find("例: tovrimo /d /S:Report\n"), std::string::npos) << usage;

    Process version = RunWithoutDesktop({"--version"});
    ASSERT_TRUE(version.exitedNormally());
    EXPECT_EQ(version.exitCode(), 0) << version.standardError();
    EXPECT_EQ(version.standardOutput(), "tovrimo 2.80\n");
    EXPECT_EQ(version.standardError(), "");
}

// Anything else is the ordinary command line, which needs a desktop: without one the program
// says so on standard error and prints no usage.
TEST(TerminalOptionsE2E, OtherTokensKeepTheCommandLineRules)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--help", "/d"}, {"--version", "--help"}, {"-h"}, {"--HELP"}}) {
        Process run = RunWithoutDesktop(args);
        ASSERT_TRUE(run.exitedNormally()) << args.front();
        EXPECT_EQ(run.exitCode(), 2) << args.front();
        EXPECT_EQ(run.standardOutput(), "") << args.front();
        EXPECT_NE(run.standardError().find("desktop session"), std::string::npos)
            << run.standardError();
    }
}
