#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resident/OptionRules.h"
#include "resident/OptionTexts.h"

namespace tovrimo {
namespace {

Settings Valid()
{
    Settings s;
    s.Title = "トヴリモ";
    s.DoubleClick = 1;
    s.DoubleClickDo = 1;
    return s;
}

TEST(OptionRulesTest, ValidationRefusesTheFirstProblemInOrder)
{
    struct Case {
        const char* name;
        std::string title;
        int16_t doubleClick;
        int16_t doubleClickDo;
        std::optional<OptionsProblem> problem;
    };
    const std::vector<Case> cases = {
        {"ordinary title", "トヴリモ", 1, 1, std::nullopt},
        {"empty title", "", 1, 1, OptionsProblem::TitleEmpty},
        // The settings file drops blanks around values, so this would come back empty and
        // make the next start set everything up anew.
        {"blank title", "   ", 1, 1, OptionsProblem::TitleEmpty},
        {"tab title", "\t", 1, 1, OptionsProblem::TitleEmpty},
        {"ideographic space title", "\u3000", 1, 1, OptionsProblem::TitleEmpty},
        {"zero title", "0", 1, 1, OptionsProblem::TitleReserved},
        {"double zero title", "00", 1, 1, std::nullopt},
        {"zero inside title", "0号機", 1, 1, std::nullopt},
        {"copy from clipboard", "トヴリモ", 2, 5, OptionsProblem::DoubleClickInvalid},
        {"copy of desktop", "トヴリモ", 2, 1, std::nullopt},
        {"copy of file", "トヴリモ", 2, 4, std::nullopt},
        {"hard copy from clipboard", "トヴリモ", 1, 5, std::nullopt},
        {"sticky note keeps clipboard source", "トヴリモ", 3, 5, std::nullopt},
        {"repeat keeps clipboard source", "トヴリモ", 4, 5, std::nullopt},
        {"empty title wins over bad double click", "", 2, 5, OptionsProblem::TitleEmpty},
        {"zero title wins over bad double click", "0", 2, 5, OptionsProblem::TitleReserved},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Settings s = Valid();
        s.Title = c.title;
        s.DoubleClick = c.doubleClick;
        s.DoubleClickDo = c.doubleClickDo;
        EXPECT_EQ(ValidateOptions(s), c.problem);
    }
}

TEST(OptionRulesTest, ProblemsCarryTheirMessages)
{
    EXPECT_EQ(OptionsProblemText(OptionsProblem::TitleEmpty),
              "アプリケーションタイトルに、空白は設定できません。");
    EXPECT_EQ(OptionsProblemText(OptionsProblem::TitleReserved),
              "アプリケーションタイトルに、この文字列は設定できません。");
    EXPECT_EQ(OptionsProblemText(OptionsProblem::DoubleClickInvalid),
              "タスクトレイアイコンをダブルクリックしたときの動作設定が不正です。");
}

TEST(OptionRulesTest, OnlyCopyWithdrawsTheClipboardSource)
{
    EXPECT_TRUE(ClipboardSourceOffered(1));
    EXPECT_FALSE(ClipboardSourceOffered(2));
    EXPECT_TRUE(ClipboardSourceOffered(3));
    EXPECT_TRUE(ClipboardSourceOffered(4));
    EXPECT_TRUE(ClipboardSourceOffered(0));
}

TEST(OptionRulesTest, StoredDoubleClickValuesPickTheirChoices)
{
    struct Case {
        int16_t stored;
        std::optional<int16_t> action;
        int16_t source;
    };
    const std::vector<Case> cases = {
        {-1, std::nullopt, 1},
        {0, std::nullopt, 1},
        {1, 1, 1},
        {2, 2, 2},
        {3, 3, 3},
        {4, 4, 4},
        {5, std::nullopt, 5},
        {6, std::nullopt, 1},
        {100, std::nullopt, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(ActionChoiceFor(c.stored), c.action);
        EXPECT_EQ(SourceChoiceFor(c.stored), c.source);
    }
}

TEST(OptionRulesTest, SecondsBoxTakesDigitsAndBackspaceOnly)
{
    for (char32_t c : {U'0', U'5', U'9', U'\b'}) EXPECT_TRUE(SecondsKeyTyped(c)) << int(c);
    for (char32_t c : {U'a', U'Z', U'-', U'+', U' ', U'.', U'/', U':', U'０', U'５'})
        EXPECT_FALSE(SecondsKeyTyped(c)) << int(c);
}

TEST(OptionRulesTest, SecondsBoxReadsUpToTwentySeconds)
{
    struct Case {
        std::string text;
        std::optional<int16_t> seconds;
    };
    const std::vector<Case> cases = {
        {"", 0},
        {"0", 0},
        {"1", 1},
        {"19", 19},
        {"20", 20},
        {"020", 20},
        {"21", std::nullopt},
        {"100", std::nullopt},
        {"99999999999999999999", std::nullopt},  // far past any integer: still just too many
        {"5x", 5},
        {"x5", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ReadSecondsBox(c.text), c.seconds);
    }
}

TEST(OptionRulesTest, ApplyCopiesOnlyWhatTheDialogEdits)
{
    Settings edited;
    edited.Title = "新しい題";
    edited.Icon = "/home/u/a.ico";
    edited.SelfTimer = 1;
    edited.SelfTime = 12;
    edited.IconDelete = 1;
    edited.ConfirmBeforePrint = 1;
    edited.ReversePrint = 1;
    edited.DoubleClick = 3;
    edited.DoubleClickDo = 4;
    edited.IconCapture = 1;
    for (int n = 0; n < kHotKeySlots; ++n) {
        edited.HotKeyOn[n] = 1;
        edited.HotKeyALT[n] = n % 2;
        edited.HotKeySHIFT[n] = 1;
        edited.HotKeyCTRL[n] = 1;
        edited.HotKeyButton[n] = static_cast<int16_t>(65 + n);
    }
    // Taken when the dialog opened; the print dialog has since saved two named settings.
    edited.PrinterCount = 0;
    edited.LastSet = -1;
    edited.IconIsBuiltIn = false;
    edited.Version = "2.5";

    Settings live;
    live.PrinterCount = 2;
    live.LastSet = 1;
    live.IconIsBuiltIn = true;
    live.Version = "2.8";

    CopyEditedOptions(edited, live);

    Settings expected = edited;
    expected.PrinterCount = 2;
    expected.LastSet = 1;
    expected.IconIsBuiltIn = true;
    expected.Version = "2.8";
    EXPECT_EQ(live, expected);
}

}  // namespace
}  // namespace tovrimo
