#pragma once

#include <string_view>

#include "core/CaptureRequest.h"

namespace tovrimo::texts {

// Names of the destinations and sources as the repeat item of the tray menu shows them.
inline constexpr std::string_view kActionHardCopy = "ハードコピー";
inline constexpr std::string_view kActionCopy = "コピー";
inline constexpr std::string_view kActionStickyNote = "付せん作成";

inline constexpr std::string_view kSourceDesktop = "デスクトップ";
inline constexpr std::string_view kSourceActiveWindow = "アクティブなウィンドウ";
inline constexpr std::string_view kSourceRegion = "領域指定";
inline constexpr std::string_view kSourceImageFile = "ファイルから";
inline constexpr std::string_view kSourceClipboard = "クリップボードから";

// The tooltip the tray icon gets when it comes back after a capture hid it. It is fixed on
// purpose and does not follow the configured application title.
inline constexpr std::string_view kRestoredTrayTooltip = "トヴリモ";

constexpr std::string_view DestinationName(CaptureDestination destination)
{
    switch (destination) {
    case CaptureDestination::Printer:
        return kActionHardCopy;
    case CaptureDestination::Clipboard:
        return kActionCopy;
    case CaptureDestination::StickyNote:
        return kActionStickyNote;
    }
    return {};
}

constexpr std::string_view SourceName(CaptureSource source)
{
    switch (source) {
    case CaptureSource::Desktop:
        return kSourceDesktop;
    case CaptureSource::ActiveWindow:
        return kSourceActiveWindow;
    case CaptureSource::Region:
        return kSourceRegion;
    case CaptureSource::ImageFile:
        return kSourceImageFile;
    case CaptureSource::Clipboard:
        return kSourceClipboard;
    }
    return {};
}

}  // namespace tovrimo::texts
