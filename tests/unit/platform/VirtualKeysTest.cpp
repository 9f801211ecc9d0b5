#include <gtest/gtest.h>

#include "platform/VirtualKeys.h"

using namespace tovrimo;

TEST(VirtualKeys, LettersMapToLowerCaseKeysyms)
{
    for (int vk = 'A'; vk <= 'Z'; ++vk) {
        ASSERT_TRUE(KeysymForVirtualKey(vk).has_value()) << vk;
        // XK_a is 0x61 ... XK_z 0x7a.
        EXPECT_EQ(*KeysymForVirtualKey(vk), static_cast<uint32_t>(0x61 + vk - 'A')) << vk;
    }
    EXPECT_EQ(*KeysymForVirtualKey(80), 0x70u);  // P -> XK_p
}

TEST(VirtualKeys, DigitsMapToDigitKeysyms)
{
    for (int vk = '0'; vk <= '9'; ++vk) {
        ASSERT_TRUE(KeysymForVirtualKey(vk).has_value()) << vk;
        EXPECT_EQ(*KeysymForVirtualKey(vk), static_cast<uint32_t>(vk)) << vk;  // XK_0 is 0x30
    }
}

TEST(VirtualKeys, FunctionKeysMapToF1ToF12)
{
    for (int n = 1; n <= 12; ++n) {
        const int vk = 111 + n;
        ASSERT_TRUE(KeysymForVirtualKey(vk).has_value()) << vk;
        EXPECT_EQ(*KeysymForVirtualKey(vk), static_cast<uint32_t>(0xffbd + n)) << "F" << n;
    }
    EXPECT_EQ(*KeysymForVirtualKey(123), 0xffc9u);  // F12
}

TEST(VirtualKeys, SpaceReturnAndPrint)
{
    EXPECT_EQ(KeysymForVirtualKey(32), std::optional<uint32_t>(0x0020u));
    EXPECT_EQ(KeysymForVirtualKey(13), std::optional<uint32_t>(0xff0du));
    EXPECT_EQ(KeysymForVirtualKey(44), std::optional<uint32_t>(0xff61u));
}

TEST(VirtualKeys, CodesOutsideTheTableHaveNoKeysym)
{
    // Just outside each range, the lower-case letter codes (numeric keypad), and nonsense.
    for (int vk :
         {-1, 0, 12, 14, 31, 33, 43, 45, 47, 58, 64, 91, 96, 97, 111, 124, 255, 65 + 256}) {
        EXPECT_FALSE(KeysymForVirtualKey(vk).has_value()) << vk;
    }
}
