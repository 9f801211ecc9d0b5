#pragma once

#include <string>

#include "doubles/NoticedSettingsStore.h"
#include "platform/MessageBoxes.h"
#include "platform/SettingsNoticeBoxes.h"

namespace tovrimo::test {

// The settings store as the program uses it: whatever a load or a save has to say is shown in
// `boxes`, as the program shows it.
class ShownSettingsStore : public NoticedSettingsStore {
public:
    ShownSettingsStore(FileSystem& fs, FirstRunPrinterSource& printers, MessageBoxes& boxes,
                       std::string folder)
        : NoticedSettingsStore(
              fs, printers, std::move(folder),
              [&boxes](const SettingsNotices& told) { ShowSettingsNotices(boxes, told); })
    {
    }
};

}  // namespace tovrimo::test
