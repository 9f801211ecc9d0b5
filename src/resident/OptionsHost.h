#pragma once

#include <optional>
#include <string>

#include "core/Settings.h"
#include "platform/LoginStart.h"
#include "resident/HotKeyAvailability.h"

namespace tovrimo {

// What the icon file dialog is asked to show.
struct IconFileRequest {
    std::string title;
    std::string filter;       // "text|pattern|" pairs
    std::string startFolder;  // where the dialog opens
};

// The services the options dialog uses from the resident program.
class OptionsHost {
public:
    virtual ~OptionsHost() = default;

    // The icon file the user picked; nothing when the dialog was cancelled.
    virtual std::optional<std::string> chooseIconFile(const IconFileRequest& request) = 0;
    // The help file at its contents.
    virtual void showHelp() = 0;
    // Rewrites the settings file from `data`. False when that failed; the user has been told.
    virtual bool saveSettings(const SettingsData& data) = 0;
    // The hot keys of `old` are released, those of `now` claimed. Called after the new
    // settings are in the program-wide record and in the file.
    virtual void reRegisterHotKeys(const Settings& old, const Settings& now) = 0;
    // What the session does with the hot keys; the hot-key page says so when none works.
    virtual HotKeyAvailability hotKeyAvailability() const = 0;
    // The hot-key page's advice for a session without hot keys names this desktop's own way
    // of binding keys to commands.
    virtual bool desktopIsGnome() const { return false; }
    // The desktop's start at login; nothing where the program cannot set it.
    virtual LoginStart* loginStart() { return nullptr; }
    // The dialog is gone: the tray takes clicks again.
    virtual void optionsClosed() = 0;
};

}  // namespace tovrimo
