#pragma once

#include "core/TextTranslation.h"

// Texts of start-up and the command line, as the user sees them.
namespace tovrimo::texts {

inline constexpr const char* kAppCaption = QT_TRANSLATE_NOOP("tovrimo::MessageBox", "トヴリモ");
inline constexpr const char* kNoPrinter =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox",
                      "プリンタが１台も見つかりません。\n\n"
                      "Windowsにプリンタが１台以上設定されていないと、トヴリモは実行できません。\n"
                      "実行を中止します。");
inline constexpr const char* kNoNotificationArea =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox",
                      "通知領域（タスクトレイ）が見つかりませんでした。\n\n"
                      "トヴリモは常駐しています。ホットキーはそのまま使えます。\n"
                      "トヴリモをもう一度起動すると、メニューが表示されます。");
// The same where no hot key is in force: nothing may promise that they work.
inline constexpr const char* kNoNotificationAreaWithoutHotKeys = QT_TRANSLATE_NOOP(
    "tovrimo::MessageBox",
    "通知領域（タスクトレイ）が見つかりませんでした。\n\n"
    "トヴリモは常駐しています。トヴリモをもう一度起動すると、メニューが表示されます。\n"
    "ホットキーは、このデスクトップでは働いていません (オプション設定の「ホットキー設定」を"
    "ご覧ください)。");
inline constexpr const char* kBadCommandLine =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "コマンドライン引数に誤りがあります。");
// A second start found a resident program that holds its place but does not answer.
inline constexpr const char* kResidentNotAnswering =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "すでに常駐しているトヴリモが応答しません。");
inline constexpr const char* kErrorNumberCaption =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "エラー番号：");
inline constexpr const char* kLegacyFileName = "lusk.ini";
inline constexpr const char* kSettingsFileName = "tovrimo.ini";
inline constexpr const char* kDefaultsFileName = "tovrimo.inf";
inline constexpr const char* kHelpFileName = "tovrimo.html";
// The help file the help commands ask for in the program folder; the common-dialog wrapper
// finds the guide installed for it.
inline constexpr const char* kProgramHelpFile = "tovrimo.hlp";

}  // namespace tovrimo::texts
