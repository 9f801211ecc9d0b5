#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/SettingsNotice.h"
#include "core/SettingsStore.h"

namespace tovrimo::test {

// The settings store with what its loads and saves have to tell collected in `notices`, in
// order, or handed to `sink` when one is given (the program shows them as message boxes).
class NoticedSettingsStore {
public:
    using Sink = std::function<void(const SettingsNotices&)>;

    NoticedSettingsStore(FileSystem& fs, FirstRunPrinterSource& printers, std::string folder,
                         Sink sink = {})
        : store_(fs, printers, std::move(folder)), sink_(std::move(sink))
    {
    }

    LoadResult loadSettings(SettingsData& data) { return noticed(store_.loadSettings(data)); }
    LoadResult initSettingsFile() { return noticed(store_.initSettingsFile()); }
    bool saveSettings(const SettingsData& data)
    {
        const SettingsSaveResult save = store_.saveSettings(data);
        tell(save.notices);
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

    SettingsNotices notices;

private:
    LoadResult noticed(const SettingsLoadResult& load)
    {
        tell(load.notices);
        return load.status;
    }
    void tell(const SettingsNotices& told)
    {
        if (sink_)
            sink_(told);
        else
            notices.insert(notices.end(), told.begin(), told.end());
    }

    SettingsStore store_;
    Sink sink_;
};

}  // namespace tovrimo::test
