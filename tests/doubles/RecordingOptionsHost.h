#pragma once

#include <optional>
#include <string>
#include <vector>

#include "doubles/ShownSettingsStore.h"
#include "resident/HotKeys.h"
#include "resident/OptionsHost.h"

namespace tovrimo::test {

// The resident program's side of the options dialog, over a real settings store and real hot
// keys (both usually on doubles of their own). Logs "save" and "reregister" in order; the icon
// dialog answers with `iconFile`.
class RecordingOptionsHost : public OptionsHost {
public:
    RecordingOptionsHost(ShownSettingsStore& store, HotKeys& hotKeys)
        : store_(store), hotKeys_(hotKeys)
    {
    }

    std::optional<std::string> chooseIconFile(const IconFileRequest& request) override
    {
        iconRequests.push_back(request);
        return iconFile;
    }
    void showHelp() override { ++helpShown; }
    bool saveSettings(const SettingsData& data) override
    {
        calls.push_back("save");
        return store_.saveSettings(data);
    }
    void reRegisterHotKeys(const Settings& old, const Settings& now) override
    {
        calls.push_back("reregister");
        oldKeys.push_back(old);
        hotKeys_.reregisterKeys(now, AppState::OptionsOpen);
    }
    HotKeyAvailability hotKeyAvailability() const override { return availability; }
    bool desktopIsGnome() const override { return gnome; }
    LoginStart* loginStart() override { return loginStartEntry; }
    void optionsClosed() override { ++closed; }

    HotKeyAvailability availability = HotKeyAvailability::Working;
    bool gnome = false;
    LoginStart* loginStartEntry = nullptr;  // none: the dialog's box is greyed out
    std::optional<std::string> iconFile;
    std::vector<IconFileRequest> iconRequests;
    std::vector<std::string> calls;
    std::vector<Settings> oldKeys;
    int helpShown = 0;
    int closed = 0;

private:
    ShownSettingsStore& store_;
    HotKeys& hotKeys_;
};

}  // namespace tovrimo::test
