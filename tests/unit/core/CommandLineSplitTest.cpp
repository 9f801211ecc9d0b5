#include <gtest/gtest.h>

#include "core/CommandLine.h"

using namespace tovrimo;
using Tokens = std::vector<std::string>;

TEST(SplitCommandLine, SeparatorsAndEmptyTokens)
{
    struct Case {
        const char* why;
        std::string text;
        Tokens expected;
    } cases[] = {
        {"empty text is one empty token", "", {""}},
        {"only spaces are trimmed away", "   ", {""}},
        {"single switch", "/d", {"/d"}},
        {"two spaces give an empty token between", "/d  /c", {"/d", "", "/c"}},
        {"leading and trailing spaces are trimmed", "  /a /h=1050  ", {"/a", "/h=1050"}},
        {"a leading tab is not trimmed: the first token is empty", "\t/d", {"", "/d"}},
        {"a tab separates like a space", "/d\t/c", {"/d", "/c"}},
        {"a trailing tab leaves an empty last token", "/d\t", {"/d", ""}},
        {"non-ASCII text is kept whole", "/S:報告 /d", {"/S:報告", "/d"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitCommandLine(c.text), c.expected) << c.why;
}

TEST(SplitCommandLine, KeepsAtMostFiftyTokensAndIgnoresTheRest)
{
    std::string text;
    for (int i = 0; i < 60; ++i) text += (i ? " t" : "t") + std::to_string(i);
    const Tokens tokens = SplitCommandLine(text);
    ASSERT_EQ(tokens.size(), 50u);
    EXPECT_EQ(tokens.front(), "t0");
    EXPECT_EQ(tokens.back(), "t49");
}
