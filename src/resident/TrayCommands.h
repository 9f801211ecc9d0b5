#pragma once

#include <cstdint>
#include <string>

#include "capture/CaptureCodes.h"
#include "core/Settings.h"

namespace tovrimo {

// The commands of the tray menu that a click, a double click or the repeat item can run.
enum class MenuCommand {
    None,
    PrintDesktop,
    PrintActiveWindow,
    PrintRegion,
    PrintFile,
    PrintClipboard,
    CopyDesktop,
    CopyActiveWindow,
    CopyRegion,
    CopyFile,
    NoteFromClipboard,
    Repeat,
};

// Clicks on the tray icon are taken only while idle, while a desktop hard copy waits for its
// delay, and during a command-line job; every other state means a dialog is open or another
// capture is pending.
bool TrayClickAccepted(AppState state);

// What a right click on the icon offers: nothing in the busy states, only the cancel item while
// a capture waits for its delay (captureDelayTimer or windowDelayTimer runs), otherwise the command
// menu.
enum class TrayMenuKind { None, Commands, Cancel };
TrayMenuKind TrayMenuFor(AppState state, bool captureDelayRunning);

struct RepeatItem {
    std::string caption;
    bool enabled = false;
};

// The repeat item's caption and state for the last operation.
RepeatItem RepeatCaption(LastOperation last);

// The command the repeat item runs for the last operation.
MenuCommand RepeatCommand(LastOperation last);

// The command a double click on the tray icon runs for the chosen action and source.
MenuCommand DoubleClickCommand(DoubleClickAction action, DoubleClickSource source);

}  // namespace tovrimo
