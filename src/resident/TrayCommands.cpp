#include "resident/TrayCommands.h"

#include "capture/CaptureTexts.h"

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

RepeatItem RepeatCaption(LastOperation last)
{
    const std::string action(texts::ActionName(last.action));
    const std::string source(texts::SourceName(last.source));
    if (action.empty()) return {"繰り返し", false};
    if (source.empty()) return {"繰り返し - " + action, true};
    return {"繰り返し - " + action + " ＞ " + source, true};
}

namespace {

MenuCommand CommandFor(int16_t action, int16_t source)
{
    static constexpr MenuCommand kHardCopy[] = {
        MenuCommand::PrintDesktop, MenuCommand::PrintActiveWindow, MenuCommand::PrintRegion,
        MenuCommand::PrintFile, MenuCommand::PrintClipboard};
    static constexpr MenuCommand kCopy[] = {MenuCommand::CopyDesktop, MenuCommand::CopyActiveWindow,
                                            MenuCommand::CopyRegion, MenuCommand::CopyFile,
                                            MenuCommand::None};
    if (source < 1 || source > 5) return MenuCommand::None;
    if (action == 1) return kHardCopy[source - 1];
    if (action == 2) return kCopy[source - 1];
    return MenuCommand::None;
}

}  // namespace

MenuCommand RepeatCommand(LastOperation last)
{
    const auto action = static_cast<int16_t>(last.action);
    if (action == 3) return MenuCommand::NoteFromClipboard;
    return CommandFor(action, static_cast<int16_t>(last.source));
}

MenuCommand DoubleClickCommand(DoubleClickAction action, DoubleClickSource source)
{
    static constexpr MenuCommand kPrint[] = {
        MenuCommand::PrintDesktop, MenuCommand::PrintActiveWindow, MenuCommand::PrintRegion,
        MenuCommand::PrintFile, MenuCommand::PrintClipboard};
    static constexpr MenuCommand kCopy[] = {MenuCommand::CopyDesktop, MenuCommand::CopyActiveWindow,
                                            MenuCommand::CopyRegion, MenuCommand::CopyFile,
                                            MenuCommand::None};
    const auto from = static_cast<size_t>(source);
    const bool chosen = source != DoubleClickSource::Unrecognised;
    switch (action) {
    case DoubleClickAction::Print:
        return chosen ? kPrint[from] : MenuCommand::None;
    case DoubleClickAction::Copy:
        return chosen ? kCopy[from] : MenuCommand::None;
    case DoubleClickAction::NoteFromClipboard:
        return MenuCommand::NoteFromClipboard;
    case DoubleClickAction::RepeatLast:
        return MenuCommand::Repeat;
    }
    return MenuCommand::Repeat;
}

}  // namespace tovrimo
