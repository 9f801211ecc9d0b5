#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>

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

// The manual page carries the same switches and examples as the usage.
TEST(TerminalOptions, TheManualPageSaysWhatTheUsageSays)
{
    std::ifstream in(std::string(TOVRIMO_SOURCE_DIR) + "/resources/tovrimo.1");
    ASSERT_TRUE(in.good());
    std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // troff writes a minus as "\-".
    for (size_t at = page.find("\\-"); at != std::string::npos; at = page.find("\\-", at)) {
        page.erase(at, 1);
    }
    std::istringstream usage(UsageText());
    std::string line;
    int examples = 0;
    while (std::getline(usage, line)) {
        const size_t example = line.find("例: ");
        if (example == std::string::npos) continue;
        ++examples;
        EXPECT_NE(page.find(line.substr(example)), std::string::npos) << line;
    }
    EXPECT_EQ(examples, 8);
    for (const char* form : {".B /d, /D", ".B /a, /A", ".B /r, /R", ".B /c, /C, -c, -C",
                             ".B --help", ".B --version", ".BI /h= 番号", ".BI /S: 名前"}) {
        EXPECT_NE(page.find(form), std::string::npos) << form;
    }
}
