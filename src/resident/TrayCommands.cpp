#include "resident/TrayCommands.h"

#include "capture/CaptureTexts.h"
#include "platform/Translated.h"

namespace tovrimo {

bool TrayClickAccepted(AppState state)
{
    return state == AppState::Idle || state == AppState::PrintDesktopPending ||
           state == AppState::CommandLine;
}

TrayMenuKind TrayMenuFor(AppState state, bool captureDelayRunning)
{
    if (!TrayClickAccepted(state)) return TrayMenuKind::None;
    return captureDelayRunning ? TrayMenuKind::Cancel : TrayMenuKind::Commands;
}

RepeatItem RepeatCaption(const std::optional<CaptureRequest>& last)
{
    constexpr const char* kContext = "tovrimo::TrayController";
    if (!last)
        return {TranslatedUtf8(kContext, QT_TRANSLATE_NOOP("tovrimo::TrayController", "繰り返し")),
                false};
    const std::string action = TranslatedUtf8(kContext, texts::DestinationName(last->destination));
    // A sticky note always comes from the clipboard: its caption names no source.
    if (last->destination == CaptureDestination::StickyNote)
        return {
            TranslatedWith(kContext, QT_TRANSLATE_NOOP("tovrimo::TrayController", "繰り返し - %1"),
                           {action}),
            true};
    const std::string source = TranslatedUtf8(kContext, texts::SourceName(last->source));
    return {TranslatedWith(kContext,
                           QT_TRANSLATE_NOOP("tovrimo::TrayController", "繰り返し - %1 ＞ %2"),
                           {action, source}),
            true};
}

std::optional<CaptureRequest> DoubleClickRequest(std::optional<CaptureDestination> destination,
                                                 std::optional<CaptureSource> source,
                                                 const std::optional<CaptureRequest>& last)
{
    if (!destination) return last;
    if (*destination == CaptureDestination::StickyNote)
        return CaptureRequest{CaptureSource::Clipboard, CaptureDestination::StickyNote};
    if (!source) return std::nullopt;
    // Copying needs a picture from the screen or a file.
    if (*destination == CaptureDestination::Clipboard && *source == CaptureSource::Clipboard)
        return std::nullopt;
    return CaptureRequest{*source, *destination};
}

}  // namespace tovrimo
