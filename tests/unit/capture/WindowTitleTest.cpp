#include <gtest/gtest.h>

#include <string>

#include "capture/WindowTitle.h"

using namespace tovrimo;

namespace {
std::string Repeat(char c, size_t n)
{
    return std::string(n, c);
}
const std::string kA = "あ";  // three bytes in UTF-8
}  // namespace

TEST(WindowTitle, TrimsSpacesOnly)
{
    struct Case {
        const char* name;
        std::string raw;
        std::string expected;
    };
    const Case cases[] = {
        {"plain", "Notepad", "Notepad"},
        {"both ends", "  Notepad  ", "Notepad"},
        {"inner spaces stay", " a  b ", "a  b"},
        {"all spaces give empty", "     ", ""},
        {"empty", "", ""},
        {"tabs are not spaces", "\tx\t", "\tx\t"},
        {"full-width space is not trimmed", "\u3000メモ\u3000", "\u3000メモ\u3000"},
    };
    for (const Case& c : cases) EXPECT_EQ(CapturedTitle(c.raw), c.expected) << c.name;
}

TEST(WindowTitle, KeepsAtMost249BytesWithoutSplittingACharacter)
{
    struct Case {
        const char* name;
        std::string raw;
        std::string expected;
    };
    const Case cases[] = {
        {"249 bytes fit", Repeat('a', 249), Repeat('a', 249)},
        {"250 bytes lose one", Repeat('a', 250), Repeat('a', 249)},
        {"long ascii", Repeat('a', 1000), Repeat('a', 249)},
        {"character ending at 249 stays", Repeat('a', 246) + kA, Repeat('a', 246) + kA},
        {"character crossing 249 goes whole", Repeat('a', 247) + kA, Repeat('a', 247)},
        {"character starting at 249 goes", Repeat('a', 248) + kA + kA, Repeat('a', 248)},
        {"cut first, then trim", Repeat('a', 240) + Repeat(' ', 9) + "b", Repeat('a', 240)},
        {"all multibyte",
         [] {
             std::string s;
             for (int i = 0; i < 100; ++i) s += kA;
             return s;
         }(),
         [] {
             std::string s;
             for (int i = 0; i < 83; ++i) s += kA;  // 249 bytes exactly
             return s;
         }()},
    };
    for (const Case& c : cases) {
        const std::string got = CapturedTitle(c.raw);
        EXPECT_EQ(got, c.expected) << c.name;
        EXPECT_LE(got.size(), kMaxWindowTitleBytes) << c.name;
    }
}
