#pragma once

#include <string_view>

#include "core/CaptureRequest.h"
#include "core/TextTranslation.h"

namespace tovrimo::texts {

// Names of the destinations and sources as the repeat item of the tray menu shows them.
inline constexpr std::string_view kActionHardCopy =
    QT_TRANSLATE_NOOP("tovrimo::TrayController", "ハードコピー");
inline constexpr std::string_view kActionCopy =
    QT_TRANSLATE_NOOP("tovrimo::TrayController", "コピー");
inline constexpr std::string_view kActionStickyNote =
    QT_TRANSLATE_NOOP("tovrimo::TrayController", "付せん作成");

inline constexpr std::string_view kSourceDesktop =
    QT_TRANSLATE_NOOP("tovrimo::TrayController", "デスクトップ");
inline constexpr std::string_view kSourceActiveWindow =
    QT_TRANSLATE_NOOP("tovrimo::TrayController", "アクティブなウィンドウ");
inline constexpr std::string_view kSourceRegion =
    QT_TRANSLATE_NOOP("tovrimo::TrayController", "領域指定");
inline constexpr std::string_view kSourceImageFile =
    QT_TRANSLATE_NOOP("tovrimo::TrayController", "ファイルから");
inline constexpr std::string_view kSourceClipboard =
    QT_TRANSLATE_NOOP("tovrimo::TrayController", "クリップボードから");

// The tooltip the tray icon gets when it comes back after a capture hid it. It is fixed on
// purpose and does not follow the configured application title.
inline constexpr std::string_view kRestoredTrayTooltip =
    QT_TRANSLATE_NOOP("tovrimo::TrayController", "トヴリモ");

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
