#pragma once

#include <string>
#include <vector>

#include "capture/CaptureBuffer.h"
#include "core/Settings.h"
#include "platform/AppFolders.h"

namespace tovrimo {

// What the program holds while it runs and its parts change: the settings records, the folder
// the image-file dialogs start in, and the picture of the current capture. The start-up fills
// it; the engine, the dialogs, the image sources and the notes share this one instance by
// reference, so a change one makes is what the next one sees.
class Session {
public:
    Session() = default;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Fixed at start-up: where the settings, defaults and legacy files live, ends in '/'.
    std::string appPath;
    AppFolders folders;
    std::vector<std::string> commandArgs;

    // The records of the settings file: the options, the current print layout and the named
    // settings.
    SettingsData data;
    // Where the image-file dialogs start; a dialog that chose a file moves it there.
    std::string lastFolder;
    // The picture captured or loaded last, and the cut the print dialog works from.
    CaptureBuffer buffer;
};

}  // namespace tovrimo
