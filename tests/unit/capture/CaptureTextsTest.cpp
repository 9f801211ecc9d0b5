#include <gtest/gtest.h>

#include "capture/CaptureCodes.h"
#include "capture/CaptureTexts.h"

using namespace tovrimo;

TEST(CaptureTexts, ActionNamesAsTheRepeatItemShowsThem)
{
    EXPECT_EQ(texts::ActionName(ActionCode::None), "");
    EXPECT_EQ(texts::ActionName(ActionCode::HardCopy), "ハードコピー");
    EXPECT_EQ(texts::ActionName(ActionCode::Copy), "コピー");
    EXPECT_EQ(texts::ActionName(ActionCode::StickyNote), "付せん作成");
    // Codes come from the settings file and may be anything.
    EXPECT_EQ(texts::ActionName(static_cast<ActionCode>(4)), "");
    EXPECT_EQ(texts::ActionName(static_cast<ActionCode>(-1)), "");
}

TEST(CaptureTexts, SourceNamesAsTheRepeatItemShowsThem)
{
    EXPECT_EQ(texts::SourceName(SourceCode::None), "");
    EXPECT_EQ(texts::SourceName(SourceCode::Desktop), "デスクトップ");
    EXPECT_EQ(texts::SourceName(SourceCode::ActiveWindow), "アクティブなウィンドウ");
    EXPECT_EQ(texts::SourceName(SourceCode::Region), "領域指定");
    EXPECT_EQ(texts::SourceName(SourceCode::ImageFile), "ファイルから");
    EXPECT_EQ(texts::SourceName(SourceCode::Clipboard), "クリップボードから");
    EXPECT_EQ(texts::SourceName(static_cast<SourceCode>(6)), "");
}

TEST(CaptureCodes, NumbersMatchTheSettingsFileAndTheStateTable)
{
    EXPECT_EQ(static_cast<int16_t>(ActionCode::StickyNote), 3);
    EXPECT_EQ(static_cast<int16_t>(SourceCode::Clipboard), 5);
    EXPECT_EQ(static_cast<int16_t>(AppState::Idle), 1);
    EXPECT_EQ(static_cast<int16_t>(AppState::PrintDialogOpen), 3);
    EXPECT_EQ(static_cast<int16_t>(AppState::PrintActiveWindowPending), 4);
    EXPECT_EQ(static_cast<int16_t>(AppState::PrintDesktopPending), 5);
    EXPECT_EQ(static_cast<int16_t>(AppState::CommandLine), 7);
    EXPECT_EQ(static_cast<int16_t>(AppState::CopyActiveWindowPending), 8);
    EXPECT_EQ(static_cast<int16_t>(AppState::CopyRegionPending), 9);
    EXPECT_EQ(static_cast<int16_t>(AppState::PrintRegionPending), 10);
    EXPECT_EQ(static_cast<int16_t>(AppState::CopyDesktopPending), 11);
    EXPECT_EQ(texts::kRestoredTrayTooltip, "トヴリモ");
}
