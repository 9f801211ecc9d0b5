#include <gtest/gtest.h>

#include "platform/KeySyms.h"

using namespace tovrimo;

TEST(KeySyms, LettersMapToLowerCaseKeysyms)
{
    for (int n = 0; n < 26; ++n) {
        const auto key = static_cast<Qt::Key>(Qt::Key_A + n);
        ASSERT_TRUE(KeysymForKey(key).has_value()) << n;
        // XK_a is 0x61 ... XK_z 0x7a.
        EXPECT_EQ(*KeysymForKey(key), static_cast<uint32_t>(0x61 + n)) << n;
    }
    EXPECT_EQ(KeysymForKey(Qt::Key_P), std::optional<uint32_t>(0x70u));  // XK_p
}

TEST(KeySyms, DigitsMapToDigitKeysyms)
{
    for (int n = 0; n < 10; ++n) {
        const auto key = static_cast<Qt::Key>(Qt::Key_0 + n);
        ASSERT_TRUE(KeysymForKey(key).has_value()) << n;
        EXPECT_EQ(*KeysymForKey(key), static_cast<uint32_t>(0x30 + n)) << n;  // XK_0 is 0x30
    }
}

TEST(KeySyms, FunctionKeysMapToF1ToF12)
{
    for (int n = 1; n <= 12; ++n) {
        const auto key = static_cast<Qt::Key>(Qt::Key_F1 + n - 1);
        ASSERT_TRUE(KeysymForKey(key).has_value()) << "F" << n;
        EXPECT_EQ(*KeysymForKey(key), static_cast<uint32_t>(0xffbd + n)) << "F" << n;
    }
    EXPECT_EQ(KeysymForKey(Qt::Key_F12), std::optional<uint32_t>(0xffc9u));
}

TEST(KeySyms, SpaceReturnAndPrint)
{
    EXPECT_EQ(KeysymForKey(Qt::Key_Space), std::optional<uint32_t>(0x0020u));
    EXPECT_EQ(KeysymForKey(Qt::Key_Return), std::optional<uint32_t>(0xff0du));
    EXPECT_EQ(KeysymForKey(Qt::Key_Print), std::optional<uint32_t>(0xff61u));
}

TEST(KeySyms, KeysTheOptionsDoNotOfferHaveNoKeysym)
{
    // Just outside each range, keys next to the offered ones, and none at all.
    for (Qt::Key key : {Qt::Key_unknown, Qt::Key_F13, Qt::Key_Escape, Qt::Key_Enter, Qt::Key_Exclam,
                        Qt::Key_Slash, Qt::Key_Colon, Qt::Key_At, Qt::Key_BracketLeft,
                        Qt::Key_Shift, Qt::Key_SysReq, Qt::Key_Tab}) {
        EXPECT_FALSE(KeysymForKey(key).has_value()) << key;
    }
}
