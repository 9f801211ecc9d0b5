#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/SettingsStore.h"
#include "platform/MessageBoxes.h"
#include "platform/SettingsNoticeBoxes.h"

namespace tovrimo::test {

// The settings store as the program uses it: whatever a load or a save has to say is shown in
// `boxes`, as the program shows it.
class ShownSettingsStore {
public:
    ShownSettingsStore(FileSystem& fs, FirstRunPrinterSource& printers, MessageBoxes& boxes,
                       std::string folder)
        : store_(fs, printers, std::move(folder)), boxes_(boxes)
    {
    }

    LoadResult loadSettings(SettingsData& data) { return shown(store_.loadSettings(data)); }
    LoadResult initSettingsFile() { return shown(store_.initSettingsFile()); }
    bool saveSettings(const SettingsData& data)
    {
        const SettingsSaveResult save = store_.saveSettings(data);
        ShowSettingsNotices(boxes_, save.notices);
        return save.saved;
    }

    std::string readIni(std::string_view section, std::string_view key)
    {
        return store_.readIni(section, key);
    }
    void writeIni(std::string_view section, std::string_view key, std::string_view value)
    {
        store_.writeIni(section, key, value);
    }
    void savePrintSetting(const PrintLayout& record, int n) { store_.savePrintSetting(record, n); }
    const std::string& settingsPath() const { return store_.settingsPath(); }
    std::string defaultsPath() const { return store_.defaultsPath(); }
    const std::optional<std::string>& unreadableFile() const { return store_.unreadableFile(); }
    const std::optional<std::string>& unwritableFile() const { return store_.unwritableFile(); }

private:
    LoadResult shown(const SettingsLoadResult& load)
    {
        ShowSettingsNotices(boxes_, load.notices);
        return load.status;
    }

    SettingsStore store_;
    MessageBoxes& boxes_;
};

}  // namespace tovrimo::test
