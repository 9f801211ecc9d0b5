#include "core/LegacySettings.h"

#include "core/CoreTexts.h"
#include "core/FileSystem.h"
#include "core/TextTranslation.h"

namespace tovrimo {

SettingsNotices MigrateLegacySettings(FileSystem& files, const std::string& appPath)
{
    const auto legacy = files.storedName(appPath, texts::kLegacyFileName);
    if (!legacy || *legacy != texts::kLegacyFileName) return {};
    // Only the file the settings store will read counts as a settings file: a TOVRIMO.INI
    // beside lusk.ini is never read, so it must not cost the user the migration either.
    const auto current = files.storedName(appPath, texts::kSettingsFileName);
    if (current && *current == texts::kSettingsFileName) return {};

    std::string error;
    if (!files.copyFile(appPath + texts::kLegacyFileName, appPath + texts::kSettingsFileName,
                        &error)) {
        // 75: the run-time error number of a path or file access failure.
        return {{TranslatedText(kMessageBoxContext, texts::kErrorNumberCaption) + "75",
                 TranslatedText(kMessageBoxContext,
                                QT_TRANSLATE_NOOP("tovrimo::MessageBox",
                                                  "パス/ファイル アクセス エラーです。")) +
                     (error.empty() ? "" : "\n" + error),
                 SettingsNotice::Severity::Plain}};
    }
    return {};
}

}  // namespace tovrimo
