#include <gtest/gtest.h>

#include "capture/CaptureCodes.h"
#include "capture/CaptureTexts.h"

using namespace tovrimo;

TEST(CaptureTexts, DestinationNamesAsTheRepeatItemShowsThem)
{
    EXPECT_EQ(texts::DestinationName(CaptureDestination::Printer), "ハードコピー");
    EXPECT_EQ(texts::DestinationName(CaptureDestination::Clipboard), "コピー");
    EXPECT_EQ(texts::DestinationName(CaptureDestination::StickyNote), "付せん作成");
}

TEST(CaptureTexts, SourceNamesAsTheRepeatItemShowsThem)
{
    EXPECT_EQ(texts::SourceName(CaptureSource::Desktop), "デスクトップ");
    EXPECT_EQ(texts::SourceName(CaptureSource::ActiveWindow), "アクティブなウィンドウ");
    EXPECT_EQ(texts::SourceName(CaptureSource::Region), "領域指定");
    EXPECT_EQ(texts::SourceName(CaptureSource::ImageFile), "ファイルから");
    EXPECT_EQ(texts::SourceName(CaptureSource::Clipboard), "クリップボードから");
}

TEST(CaptureCodes, NumbersMatchTheStateTable)
{
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
