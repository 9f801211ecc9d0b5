#include <gtest/gtest.h>

#include "platform/TrayIcon.h"

using namespace tovrimo;

TEST(TrayTooltip, CutToTheLegacySixtyThreeBytes)
{
    EXPECT_EQ(CutTooltip("トヴリモ"), "トヴリモ");
    EXPECT_EQ(CutTooltip(std::string(63, 'a')), std::string(63, 'a'));
    EXPECT_EQ(CutTooltip(std::string(64, 'a')), std::string(63, 'a'));

    // 32 full-width characters need 64 legacy bytes: only 31 fit, none is split.
    std::string wide;
    for (int i = 0; i < 32; ++i) wide += "あ";
    std::string expected;
    for (int i = 0; i < 31; ++i) expected += "あ";
    EXPECT_EQ(CutTooltip(wide), expected);

    // Half-width katakana count one byte each, like ASCII.
    std::string halfWidth;
    for (int i = 0; i < 63; ++i) halfWidth += "ｱ";
    EXPECT_EQ(CutTooltip(halfWidth + "ｱ"), halfWidth);
}
