#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resident/HotKeyKeyList.h"

namespace tovrimo {
namespace {

struct Expected {
    std::string text;
    int code;
};

// The list a user sees, spelt out from the keyboard rather than from the program's table:
// letters, digits, function keys, then the three named keys.
std::vector<Expected> ExpectedList()
{
    std::vector<Expected> list;
    for (char c = 'A'; c <= 'Z'; ++c) list.push_back({std::string(1, c), static_cast<int>(c)});
    for (char c = '0'; c <= '9'; ++c) list.push_back({std::string(1, c), static_cast<int>(c)});
    const int vkF1 = 0x70;
    for (int f = 1; f <= 12; ++f) list.push_back({"F" + std::to_string(f), vkF1 + f - 1});
    list.push_back({"Space", 0x20});
    list.push_back({"Enter", 0x0D});
    list.push_back({"PrintScreen", 0x2C});
    return list;
}

TEST(HotKeyKeyListTest, HoldsFiftyOneKeysInListOrderWithTheirCodes)
{
    const auto expected = ExpectedList();
    ASSERT_EQ(expected.size(), 51u);
    const auto& entries = KeyListEntries();
    ASSERT_EQ(entries.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(entries[i].text, expected[i].text);
        EXPECT_EQ(entries[i].code, expected[i].code);
    }
    // Spot checks against well-known codes.
    EXPECT_EQ(entries[15].text, "P");
    EXPECT_EQ(entries[15].code, 80);
    EXPECT_EQ(entries[47].text, "F12");
    EXPECT_EQ(entries[47].code, 123);
}

TEST(HotKeyKeyListTest, EveryCodeFindsItsOwnEntry)
{
    const auto expected = ExpectedList();
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(expected[i].text);
        const auto index = KeyListIndexOfCode(expected[i].code);
        ASSERT_TRUE(index.has_value());
        EXPECT_EQ(*index, static_cast<int>(i));
    }
}

TEST(HotKeyKeyListTest, CodesOutsideTheListSelectNothing)
{
    // 0 is what an unset slot holds; the others are real keys the list does not offer.
    for (int code : {0, -1, 27, 64, 91, 97, 111, 124, 255}) {
        SCOPED_TRACE(code);
        EXPECT_FALSE(KeyListIndexOfCode(code).has_value());
    }
}

TEST(HotKeyKeyListTest, TypedTextFindsTheEntryIgnoringCaseAndBlanks)
{
    struct Case {
        std::string typed;
        std::optional<int> index;
    };
    const std::vector<Case> cases = {
        {"A", 0},
        {"a", 0},
        {"z", 25},
        {"0", 26},
        {"9", 35},
        {"F1", 36},
        {"f10", 45},
        {"F12", 47},
        {" space ", 48},
        {"ENTER", 49},
        {"printscreen", 50},
        {"", std::nullopt},
        {"F13", std::nullopt},
        {"AB", std::nullopt},
        {"Print", std::nullopt},
        {"F", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(KeyListIndexOfText(c.typed), c.index);
    }
}

}  // namespace
}  // namespace tovrimo
