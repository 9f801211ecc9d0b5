#include <gtest/gtest.h>

#include "resident/TrayCommands.h"

using namespace tovrimo;
using A = ActionCode;
using S = SourceCode;
using M = MenuCommand;

TEST(TrayCommands, ClicksAreTakenOnlyWhenIdleDesktopPendingOrCommandLine)
{
    for (int s = 1; s <= 11; ++s) {
        const bool expected = s == 1 || s == 5 || s == 7;
        EXPECT_EQ(TrayClickAccepted(static_cast<AppState>(s)), expected) << "state " << s;
    }
}

TEST(TrayCommands, RepeatCaptionForEveryActionAndSource)
{
    const char* actions[] = {"", "ハードコピー", "コピー", "付せん作成"};
    const char* sources[] = {"",         "デスクトップ", "アクティブなウィンドウ",
                             "領域指定", "ファイルから", "クリップボードから"};
    for (int a = 0; a <= 3; ++a) {
        for (int s = 0; s <= 5; ++s) {
            const RepeatItem item =
                RepeatCaption({static_cast<ActionCode>(a), static_cast<SourceCode>(s)});
            std::string expected = "繰り返し";
            if (a != 0) {
                expected += std::string(" - ") + actions[a];
                if (s != 0) expected += std::string(" ＞ ") + sources[s];
            }
            EXPECT_EQ(item.caption, expected) << a << "," << s;
            EXPECT_EQ(item.enabled, a != 0) << a << "," << s;
        }
    }
    EXPECT_EQ(RepeatCaption({A::Copy, S::Region}).caption, "繰り返し - コピー ＞ 領域指定");
    EXPECT_EQ(RepeatCaption({A::StickyNote, S::None}).caption, "繰り返し - 付せん作成");
    EXPECT_EQ(RepeatCaption({static_cast<ActionCode>(9), S::Desktop}).caption, "繰り返し");
}

TEST(TrayCommands, RepeatRunsTheCommandOfTheLastOperation)
{
    const M hard[] = {M::PrintDesktop, M::PrintActiveWindow, M::PrintRegion, M::PrintFile,
                      M::PrintClipboard};
    const M copy[] = {M::CopyDesktop, M::CopyActiveWindow, M::CopyRegion, M::CopyFile, M::None};
    for (int s = 1; s <= 5; ++s) {
        EXPECT_EQ(RepeatCommand({A::HardCopy, static_cast<SourceCode>(s)}), hard[s - 1]) << s;
        EXPECT_EQ(RepeatCommand({A::Copy, static_cast<SourceCode>(s)}), copy[s - 1]) << s;
        EXPECT_EQ(RepeatCommand({A::StickyNote, static_cast<SourceCode>(s)}), M::NoteFromClipboard)
            << s;
        EXPECT_EQ(RepeatCommand({A::None, static_cast<SourceCode>(s)}), M::None) << s;
    }
    EXPECT_EQ(RepeatCommand({A::StickyNote, S::None}), M::NoteFromClipboard);
    EXPECT_EQ(RepeatCommand({A::HardCopy, S::None}), M::None);
}

TEST(TrayCommands, DoubleClickTableWithItsDoNothingCell)
{
    using DA = DoubleClickAction;
    using DS = DoubleClickSource;
    struct Case {
        DA action;
        DS source;
        M expected;
    } cases[] = {
        {DA::Print, DS::Desktop, M::PrintDesktop},
        {DA::Print, DS::ActiveWindow, M::PrintActiveWindow},
        {DA::Print, DS::Region, M::PrintRegion},
        {DA::Print, DS::ImageFile, M::PrintFile},
        {DA::Print, DS::Clipboard, M::PrintClipboard},
        {DA::Copy, DS::Desktop, M::CopyDesktop},
        {DA::Copy, DS::ActiveWindow, M::CopyActiveWindow},
        {DA::Copy, DS::Region, M::CopyRegion},
        {DA::Copy, DS::ImageFile, M::CopyFile},
        {DA::Copy, DS::Clipboard, M::None},
        {DA::NoteFromClipboard, DS::Desktop, M::NoteFromClipboard},
        {DA::NoteFromClipboard, DS::Clipboard, M::NoteFromClipboard},
        {DA::RepeatLast, DS::Desktop, M::Repeat},
        {DA::RepeatLast, DS::Region, M::Repeat},
        // A source number outside 1..5: printing and copying do nothing, the other two
        // actions do not look at the source.
        {DA::Print, DS::Unrecognised, M::None},
        {DA::Copy, DS::Unrecognised, M::None},
        {DA::NoteFromClipboard, DS::Unrecognised, M::NoteFromClipboard},
        {DA::RepeatLast, DS::Unrecognised, M::Repeat},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DoubleClickCommand(c.action, c.source), c.expected)
            << static_cast<int>(c.action) << "," << static_cast<int>(c.source);
}

TEST(TrayCommands, TheMenuOfTheMomentFollowsTheStateAndTheCaptureDelay)
{
    using K = TrayMenuKind;
    // state, capture delay running, what a right click shows
    const struct {
        int state;
        bool delay;
        K kind;
    } cases[] = {
        {1, false, K::Commands}, {1, true, K::Cancel}, {5, true, K::Cancel},
        {5, false, K::Commands}, {7, true, K::Cancel}, {7, false, K::Commands},
        {2, false, K::None},     {3, false, K::None},  {4, true, K::None},
        {6, false, K::None},     {8, true, K::None},   {9, true, K::None},
        {10, true, K::None},     {11, true, K::None},  {11, false, K::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TrayMenuFor(static_cast<AppState>(c.state), c.delay), c.kind)
            << "state " << c.state << " delay " << c.delay;
}
