#pragma once

#include <string_view>

#include "capture/CaptureCodes.h"

namespace tovrimo::texts {

// Names of the actions and sources as the repeat item of the tray menu shows them.
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

// Empty for None and for values outside the table.
constexpr std::string_view ActionName(ActionCode action)
{
    switch (action) {
    case ActionCode::HardCopy:
        return kActionHardCopy;
    case ActionCode::Copy:
        return kActionCopy;
    case ActionCode::StickyNote:
        return kActionStickyNote;
    default:
        return {};
    }
}

constexpr std::string_view SourceName(SourceCode source)
{
    switch (source) {
    case SourceCode::Desktop:
        return kSourceDesktop;
    case SourceCode::ActiveWindow:
        return kSourceActiveWindow;
    case SourceCode::Region:
        return kSourceRegion;
    case SourceCode::ImageFile:
        return kSourceImageFile;
    case SourceCode::Clipboard:
        return kSourceClipboard;
    default:
        return {};
    }
}

}  // namespace tovrimo::texts
