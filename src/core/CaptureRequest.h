#pragma once

#include <variant>

namespace tovrimo {

// Where a picture comes from.
enum class CaptureSource { Desktop, ActiveWindow, Region, ImageFile, Clipboard };

// Where a picture goes.
enum class CaptureDestination { Printer, Clipboard, StickyNote };

// One command that takes a picture and hands it on: what the tray menu, a double click, a hot
// key, the repeat item and the command line ask for.
struct CaptureRequest {
    CaptureSource source = CaptureSource::Desktop;
    CaptureDestination destination = CaptureDestination::Printer;
    // The picture is taken the moment the request arrives, with no delay and no pending
    // state, and is not remembered for repeating: by the time a timer fired, the user may
    // have moved on to another window.
    bool immediate = false;

    friend bool operator==(const CaptureRequest&, const CaptureRequest&) = default;
};

// The commands that take no picture.
enum class ProgramAction {
    OpenOptions,
    OpenHelp,
    OpenAbout,
    RemoveAllNotes,
    BringNotesToFront,
    Quit,
};

// Anything a menu item, a click or a hot key can ask the program to do.
using Command = std::variant<CaptureRequest, ProgramAction>;

}  // namespace tovrimo
