#include "core/LegacySettings.h"

#include "core/CoreTexts.h"
#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"

namespace tovrimo {

void MigrateLegacySettings(FileSystem& files, MessageBoxes& messages, const std::string& appPath)
{
    const auto legacy = files.storedName(appPath, texts::kLegacyFileName);
    if (!legacy || *legacy != texts::kLegacyFileName) return;
    // Only the file the settings store will read counts as a settings file: a TOVRIMO.INI
    // beside lusk.ini is never read, so it must not cost the user the migration either.
    const auto current = files.storedName(appPath, texts::kSettingsFileName);
    if (current && *current == texts::kSettingsFileName) return;

    std::string error;
    if (!files.copyFile(appPath + texts::kLegacyFileName, appPath + texts::kSettingsFileName,
                        &error)) {
        // 75: the run-time error number of a path or file access failure.
        messages.show(std::string(texts::kErrorNumberCaption) + "75",
                      "パス/ファイル アクセス エラーです。" + (error.empty() ? "" : "\n" + error),
                      MsgButtons::Ok, MsgIcon::None);
    }
}

}  // namespace tovrimo
