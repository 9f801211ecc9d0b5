#pragma once

#include <array>
#include <string_view>

#include "core/Settings.h"
#include "core/TextTranslation.h"

namespace tovrimo::option_texts {

// The options window's texts are translated in its context, whichever page shows them.
inline constexpr const char* kContext = "tovrimo::OptionsDialog";

inline constexpr std::string_view kCaption =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "オプション設定");
// The program's own caption, used by the messages that name no caption of their own.
inline constexpr std::string_view kAppCaption =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "トヴリモ");

inline constexpr std::string_view kOkButton = QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "OK");
inline constexpr std::string_view kCancelButton =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "キャンセル");
inline constexpr std::string_view kApplyButton =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "適用");
inline constexpr std::string_view kHelpButton =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "ヘルプ(&H)");

inline constexpr std::array<std::string_view, 3> kTabs = {
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "基本設定"),
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "ホットキー設定"),
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "その他")};

// General page
inline constexpr std::string_view kDoubleClickGroup =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "タスクトレイアイコンのダブルクリック時の動作");
inline constexpr std::string_view kActionGroup =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "基本動作");
inline constexpr std::string_view kPrintAction =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "ハードコピー");
inline constexpr std::string_view kCopyAction =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "コピー");
inline constexpr std::string_view kNoteAction =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "クリップボードから付せん作成");
inline constexpr std::string_view kRepeatAction =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "直前に行った操作の繰り返し");
inline constexpr std::string_view kSourceGroup =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "キャプチャ方法");
inline constexpr std::string_view kDesktopSource =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "デスクトップ全体");
inline constexpr std::string_view kActiveWindowSource =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "アクティブなウィンドウ");
inline constexpr std::string_view kRegionSource =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "領域指定");
inline constexpr std::string_view kFileSource =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "画像ファイル指定");
inline constexpr std::string_view kClipboardSource =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "クリップボードから");
inline constexpr std::string_view kCaptureCursorBox =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "マウスアイコンも同時にキャプチャする");
inline constexpr std::string_view kHideIconBox =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "タスクトレイアイコンを一時削除する");
inline constexpr std::string_view kSelfTimerBox =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "セルフタイマー");
inline constexpr std::string_view kSecondsLabel = QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "秒");
inline constexpr std::string_view kShowCountdownBox =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "カウントダウンを表示する");
inline constexpr std::string_view kConfirmBox =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "印刷前に確認ダイアログボックスを表示する");
inline constexpr std::string_view kReverseColoursBox =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "キャプチャイメージを反転して印刷する");
inline constexpr std::string_view kFullDetailBox =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "画像を縮小せずに高精細で印刷する");
inline constexpr std::string_view kLoginStartBox =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "ログイン時に起動する");
inline constexpr std::string_view kLoginStartFailed =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "ログイン時に起動する設定を変更できませんでした。");

// Hot keys page
inline constexpr std::string_view kPrintKeysGroup =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "ハードコピー");
inline constexpr std::string_view kCopyKeysGroup =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "コピー");
inline constexpr std::array<std::string_view, kHotKeySlots> kHotKeyRows = {
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "デスクトップ全体"),
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "アクティブなウィンドウ"),
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "領域指定"),
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "ファイル指定"),
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "デスクトップ全体"),
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "アクティブなウィンドウ"),
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "領域指定"),
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "ファイル指定"),
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "オプション設定"),
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "クリップボードから付せん作成")};
inline constexpr std::string_view kNoGlobalHotKeysNotice = QT_TRANSLATE_NOOP(
    "tovrimo::OptionsDialog",
    "このデスクトップにはグローバルホットキーの仕組みがないため、ここで設定したキーは働きません。"
    "デスクトップ側のキー設定で、コマンドライン tovrimo /d (デスクトップ全体)、tovrimo /a "
    "(アクティブなウィンドウ)、tovrimo /r (領域指定) をキーに割り当ててください。");
// GNOME before 48 has no global shortcuts for programs; its own custom shortcuts run commands.
inline constexpr std::string_view kNoGlobalHotKeysGnomeNotice = QT_TRANSLATE_NOOP(
    "tovrimo::OptionsDialog",
    "このバージョンの GNOME には、プログラムがグローバルホットキーを登録する仕組みがない"
    "ため (GNOME 48 以降で使えます)、ここで設定したキーは働きません。"
    "GNOME の「設定」→「キーボード」→「キーボードショートカットの表示とカスタマイズ」→"
    "「カスタムショートカット」で、コマンド tovrimo /d (デスクトップ全体)、tovrimo /a "
    "(アクティブなウィンドウ)、tovrimo /r (領域指定) をキーに割り当ててください。");
// The session takes hot keys, but the desktop bound none of the slots switched on.
inline constexpr std::string_view kHotKeysNotBoundNotice = QT_TRANSLATE_NOOP(
    "tovrimo::OptionsDialog",
    "デスクトップは、ここで設定したホットキーを1つも割り当てませんでした (ほかのプログラムが"
    "同じキーを使っているか、デスクトップが割り当てを受け付けていません)。"
    "別のキーを選ぶか、デスクトップ側のキー設定で、コマンドライン tovrimo /d (デスクトップ全体)、"
    "tovrimo /a (アクティブなウィンドウ)、tovrimo /r (領域指定) をキーに割り当ててください。");
inline constexpr std::string_view kEnabledBox = QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "有効");
inline constexpr std::string_view kCtrlBox = QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "CTRL");
inline constexpr std::string_view kShiftBox = QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "SHIFT");
inline constexpr std::string_view kAltBox = QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "ALT");

// Other page
inline constexpr std::string_view kTitleLabel =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "タイトル");
inline constexpr std::string_view kIconPathLabel =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "アイコンファイル");
inline constexpr std::string_view kBrowseIconButton =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "参照");
inline constexpr std::string_view kRestartNote =
    QT_TRANSLATE_NOOP("tovrimo::OptionsDialog", "上記の設定は、再起動後に有効になります。");

// The icon file dialog.
inline constexpr std::string_view kIconDialogTitle =
    QT_TRANSLATE_NOOP("tovrimo::FileDialog", "アイコンファイルの指定");
inline constexpr std::string_view kIconDialogFilter =
    QT_TRANSLATE_NOOP("tovrimo::FileDialog", "アイコンファイル(*.ICO)|*.ico|");

// Messages.
inline constexpr std::string_view kTitleEmpty =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "アプリケーションタイトルに、空白は設定できません。");
inline constexpr std::string_view kTitleZero = QT_TRANSLATE_NOOP(
    "tovrimo::MessageBox", "アプリケーションタイトルに、この文字列は設定できません。");
inline constexpr std::string_view kDoubleClickInvalid = QT_TRANSLATE_NOOP(
    "tovrimo::MessageBox", "タスクトレイアイコンをダブルクリックしたときの動作設定が不正です。");
inline constexpr std::string_view kSecondsTooLarge =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "セルフタイマの秒数は20秒以内で設定してください");
inline constexpr std::string_view kKeyNotInList =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "キーの種類は、一覧の中から選択してください．");

}  // namespace tovrimo::option_texts
