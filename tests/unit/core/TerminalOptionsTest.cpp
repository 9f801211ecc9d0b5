#include <gtest/gtest.h>

#include "core/TerminalOptions.h"

using namespace tovrimo;
using Tokens = std::vector<std::string>;

TEST(TerminalOptions, OnlyTheWholeCommandLineAnswersOnTheTerminal)
{
    EXPECT_EQ(TerminalOptionText({"--version"}, "2.80"),
              std::optional<std::string>("tovrimo 2.80\n"));
    EXPECT_EQ(TerminalOptionText({"--help"}, "2.80"), std::optional<std::string>(UsageText()));
    struct Case {
        const char* why;
        Tokens tokens;
    } cases[] = {
        {"the resident start", {""}},
        {"beside a capture switch", {"--help", "/d"}},
        {"after a capture switch", {"/d", "--version"}},
        {"after an empty token (a leading tab)", {"", "--help"}},
        {"letter case counts, as for the switches", {"--HELP"}},
        {"no short form", {"-h"}},
        {"no Windows form", {"/?"}},
        {"no abbreviation", {"--vers"}},
        {"nothing may follow", {"--help=all"}},
        {"a capture switch alone", {"/d"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TerminalOptionText(c.tokens, "2.80"), std::nullopt) << c.why;
}

TEST(TerminalOptions, TheUsageNamesEverySwitchWithAnExample)
{
    const std::string usage = UsageText();
    for (const char* form :
         {"/d, /D", "/a, /A", "/r, /R", "/h=番号, /H=番号, /h:番号, /H:番号", "/c, /C, -c, -C",
          "/S:名前, /s:名前, /s=名前, /S=名前", "--help", "--version"}) {
        EXPECT_NE(usage.find(form), std::string::npos) << form;
    }
    for (const char* example :
         {"例: tovrimo /d\n", "例: tovrimo /a\n", "例: tovrimo /r\n", "例: tovrimo /a /h=1050\n",
          "例: tovrimo /d /c\n", "例: tovrimo /d /S:Report\n", "例: tovrimo --help\n",
          "例: tovrimo --version\n"}) {
        EXPECT_NE(usage.find(example), std::string::npos) << example;
    }
    EXPECT_EQ(usage.rfind("使い方: tovrimo [スイッチ...]\n", 0), 0u);
}
