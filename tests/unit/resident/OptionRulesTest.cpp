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
    s.title = "トヴリモ";
    s.doubleClickDestination = CaptureDestination::Printer;
    s.doubleClickSource = CaptureSource::Desktop;
    return s;
}

TEST(OptionRulesTest, ValidationRefusesTheFirstProblemInOrder)
{
    // Actions: 1 print, 2 copy, 3 sticky note, 4 repeat. Sources: 1 desktop, 2 active window,
    // 3 region, 4 image file, 5 clipboard.
    constexpr std::optional<CaptureDestination> kActions[] = {
        CaptureDestination::Printer, CaptureDestination::Clipboard, CaptureDestination::StickyNote,
        std::nullopt};
    constexpr CaptureSource kSources[] = {CaptureSource::Desktop, CaptureSource::ActiveWindow,
                                          CaptureSource::Region, CaptureSource::ImageFile,
                                          CaptureSource::Clipboard};
    struct Case {
        const char* name;
        std::string title;
        int action;
        int source;
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
        s.title = c.title;
        s.doubleClickDestination = kActions[c.action - 1];
        s.doubleClickSource = kSources[c.source - 1];
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
    EXPECT_TRUE(ClipboardSourceOffered(CaptureDestination::Printer));
    EXPECT_FALSE(ClipboardSourceOffered(CaptureDestination::Clipboard));
    EXPECT_TRUE(ClipboardSourceOffered(CaptureDestination::StickyNote));
    EXPECT_TRUE(ClipboardSourceOffered(std::nullopt));
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
    edited.title = "新しい題";
    edited.iconPath = "/home/u/a.ico";
    edited.selfTimerOn = true;
    edited.selfTimerSeconds = 12;
    edited.hideIconWhileCapturing = true;
    edited.confirmBeforePrint = true;
    edited.reverseColours = true;
    edited.doubleClickDestination = CaptureDestination::StickyNote;
    edited.doubleClickSource = CaptureSource::ImageFile;
    edited.captureCursor = true;
    for (int n = 0; n < kHotKeySlots; ++n) {
        edited.hotKeyOn[n] = true;
        edited.hotKeyAlt[n] = n % 2 == 1;
        edited.hotKeyShift[n] = true;
        edited.hotKeyCtrl[n] = true;
        edited.hotKeyCode[n] = static_cast<int16_t>(65 + n);
    }
    // Taken when the dialog opened; the print dialog has since saved two named settings.
    edited.namedSettingCount = 0;
    edited.lastNamedSetting = -1;
    edited.iconIsBuiltIn = false;
    edited.formatVersion = "2.5";

    Settings live;
    live.namedSettingCount = 2;
    live.lastNamedSetting = 1;
    live.iconIsBuiltIn = true;
    live.formatVersion = "2.8";

    CopyEditedOptions(edited, live);

    Settings expected = edited;
    expected.namedSettingCount = 2;
    expected.lastNamedSetting = 1;
    expected.iconIsBuiltIn = true;
    expected.formatVersion = "2.8";
    EXPECT_EQ(live, expected);
}

}  // namespace
}  // namespace tovrimo
