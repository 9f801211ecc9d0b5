#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/FileSystem.h"
#include "core/IniDocument.h"
#include "core/IniFile.h"
#include "core/PrinterDefaults.h"
#include "core/Settings.h"
#include "core/SettingsNotice.h"
#include "core/TextTranslation.h"

namespace tovrimo {

namespace settings_texts {
inline constexpr std::string_view kAppCaption =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "トヴリモ");
inline constexpr std::string_view kDefaultTitle = "トヴリモ";
// The default title of an older version, read as kDefaultTitle.
inline constexpr std::string_view kOldDefaultTitle = "ルスクさんのためのトヴリモ";
inline constexpr std::string_view kDefaultFontName = "ＭＳ Ｐゴシック";
inline constexpr std::string_view kFormatVersion = "2.80";
inline constexpr std::string_view kErrorCaptionPrefix =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "エラー番号：");
// Run-time error texts for the defaults file, by error number.
inline constexpr int kInputPastEndOfFile = 62;
inline constexpr std::string_view kInputPastEndOfFileText =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "ファイルの終わりを越えて入力しようとしました。");
inline constexpr int kTypeMismatch = 13;
inline constexpr std::string_view kTypeMismatchText =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "型が一致しません。");
inline constexpr int kFileAccessError = 75;
inline constexpr std::string_view kFileAccessErrorText =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "パス/ファイル アクセス エラーです。");
// First line of the message shown when the settings could not be saved; the file's path and
// the system's reason follow.
inline constexpr std::string_view kSaveFailed = QT_TRANSLATE_NOOP(
    "tovrimo::MessageBox",
    "設定ファイルを保存できませんでした。以前の設定ファイルはそのまま残っています。");
// Shown at start-up when the settings file exists but cannot be read; the file's path and the
// system's reason follow.
inline constexpr std::string_view kLoadFailed = QT_TRANSLATE_NOOP(
    "tovrimo::MessageBox",
    "設定ファイルを読み込めませんでした。このファイルは書き換えずにそのまま残します。\n"
    "今回は初期設定で動作します。設定を変更しても保存されません。");
// The reason a save gives in that session, before the reason of the failed read.
inline constexpr std::string_view kUnreadableKept = QT_TRANSLATE_NOOP(
    "tovrimo::MessageBox", "起動時に読み込めなかった設定ファイルは置き換えません");
// When the system gave no reason for a failed read.
inline constexpr std::string_view kUnknownReadError =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "読み込みエラー");
// Shown at start-up when a first run could not write the new settings file; the file's path
// and the system's reason follow.
inline constexpr std::string_view kFirstRunWriteFailed =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox",
                      "設定ファイルを書き込めませんでした。\n"
                      "今回は初期設定で動作します。設定を変更しても保存されません。");
// The reason a save gives in that session, before the reason of the failed write.
inline constexpr std::string_view kUnwritableKept = QT_TRANSLATE_NOOP(
    "tovrimo::MessageBox", "起動時に書き込めなかった設定ファイルには保存しません");
// When the system gave no reason for a failed write.
inline constexpr std::string_view kUnknownWriteError =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "書き込みエラー");
}  // namespace settings_texts

enum class LoadResult { Loaded, Fatal };

// What loading the settings came to, and what the user must be told about it, in order.
struct SettingsLoadResult {
    LoadResult status = LoadResult::Loaded;
    SettingsNotices notices;

    friend bool operator==(const SettingsLoadResult& load, LoadResult expected)
    {
        return load.status == expected;
    }
};

// Whether a save replaced the file, and why not when it did not.
struct SettingsSaveResult {
    bool saved = false;
    SettingsNotices notices;

    explicit operator bool() const { return saved; }
};

// Options of a first run, from the defaults file or built in. They go into the new settings
// file exactly as the defaults file gives them, so they stay the file's own numbers: the
// keys SelfTimer, SelfTime, ConfirmBeforePrint, IconDelete, ReversePrint and DoubleClick
// (whose number the first-run file also gives DoubleClickDo).
struct FirstRunOptions {
    int16_t selfTimer = 0;
    int16_t selfTime = 5;
    int16_t confirmBeforePrint = 1;
    int16_t iconDelete = 0;
    int16_t reversePrint = 0;
    int16_t doubleClick = 1;
};

// The settings file `tovrimo.ini` and the one-shot defaults file `tovrimo.inf` in the settings
// folder: reading all settings at start-up (with the first-run initialisation and the upgrade
// of files from older versions) and saving them whenever they change.
class SettingsStore {
public:
    // `settingsFolder` ends in '/'.
    SettingsStore(FileSystem& fs, FirstRunPrinterSource& printers, std::string settingsFolder);

    const std::string& settingsPath() const { return file_.path(); }
    std::string defaultsPath() const { return folder_ + "tovrimo.inf"; }

    // One key of the settings file; empty text when the file, section or key is missing.
    std::string readIni(std::string_view section, std::string_view key);
    // Writes one key, creating the file, the section or the key as needed. A failure is
    // ignored.
    void writeIni(std::string_view section, std::string_view key, std::string_view value);

    // Fills `data` from the file, initialising the file first when it has no title. Fatal
    // after the defaults file turned out unreadable (its error among the notices): the caller
    // ends the process.
    // A file that exists but cannot be read (no permission, an I/O error) may hold settings
    // the user cannot afford to lose: the user is told, `data` gets the first-run values,
    // and from then on this store never replaces, renames or deletes the file.
    // A first run whose new file cannot be written (a read-only folder, a full disk) runs on
    // the first-run values kept in memory; the user is told once, and every later save of the
    // session is refused in the same way.
    SettingsLoadResult loadSettings(SettingsData& data);

    // Rewrites the file from `data`: sections Application, Option, DefaultPrinter, Printer1 ...
    // PrinterN and nothing else. The file is replaced in one step, in its own encoding; when
    // that fails the old file stays as it was and the result says why. After a load that
    // could not read the file, every save is refused that way.
    SettingsSaveResult saveSettings(const SettingsData& data);

    // Writes `record` as section "Printer<n>" and sets PrinterCount to n. A failure is ignored.
    void savePrintSetting(const PrintLayout& record, int n);

    // Set once loadSettings could not read an existing file: the system's reason.
    const std::optional<std::string>& unreadableFile() const { return unreadable_; }
    // Set once the first-run initialisation could not write the file: the system's reason.
    const std::optional<std::string>& unwritableFile() const { return unwritable_; }

    // First-run initialisation: writes the first-run options (from the defaults file when
    // there is one, which is deleted after the import) and a current layout for the default
    // printer into whatever file exists. Fatal when the defaults file could not be read.
    SettingsLoadResult initSettingsFile();

private:
    // The same, giving back the document it wrote (or failed to write).
    LoadResult initSettingsFile(IniDocument& written, SettingsNotices& notices);

    // The defaults file's values into `o` when there is one (`imported`); Fatal after its
    // error was added to the notices.
    LoadResult readFirstRunOptions(FirstRunOptions& o, bool& imported, SettingsNotices& notices);

    FileSystem& fs_;
    FirstRunPrinterSource& printers_;
    std::string folder_;
    IniFile file_;
    std::optional<std::string> unreadable_;
    std::optional<std::string> unwritable_;
};

}  // namespace tovrimo
