#pragma once

#include <array>
#include <string_view>

#include "core/Settings.h"

namespace tovrimo::option_texts {

inline constexpr std::string_view kCaption = "オプション設定";
// The program's own caption, used by the messages that name no caption of their own.
inline constexpr std::string_view kAppCaption = "トヴリモ";

inline constexpr std::string_view kOkButton = "OK";
inline constexpr std::string_view kCancelButton = "キャンセル";
inline constexpr std::string_view kApplyButton = "適用";
inline constexpr std::string_view kHelpButton = "ヘルプ(&H)";

inline constexpr std::array<std::string_view, 3> kTabs = {"基本設定", "ホットキー設定", "その他"};

// General page
inline constexpr std::string_view kDoubleClickGroup =
    "タスクトレイアイコンのダブルクリック時の動作";
inline constexpr std::string_view kActionGroup = "基本動作";
inline constexpr std::string_view kPrintAction = "ハードコピー";
inline constexpr std::string_view kCopyAction = "コピー";
inline constexpr std::string_view kNoteAction = "クリップボードから付せん作成";
inline constexpr std::string_view kRepeatAction = "直前に行った操作の繰り返し";
inline constexpr std::string_view kSourceGroup = "キャプチャ方法";
inline constexpr std::string_view kDesktopSource = "デスクトップ全体";
inline constexpr std::string_view kActiveWindowSource = "アクティブなウィンドウ";
inline constexpr std::string_view kRegionSource = "領域指定";
inline constexpr std::string_view kFileSource = "画像ファイル指定";
inline constexpr std::string_view kClipboardSource = "クリップボードから";
inline constexpr std::string_view kCaptureCursorBox = "マウスアイコンも同時にキャプチャする";
inline constexpr std::string_view kHideIconBox = "タスクトレイアイコンを一時削除する";
inline constexpr std::string_view kSelfTimerBox = "セルフタイマー";
inline constexpr std::string_view kSecondsLabel = "秒";
inline constexpr std::string_view kShowCountdownBox = "カウントダウンを表示する";
inline constexpr std::string_view kConfirmBox = "印刷前に確認ダイアログボックスを表示する";
inline constexpr std::string_view kReverseColoursBox = "キャプチャイメージを反転して印刷する";
inline constexpr std::string_view kFullDetailBox = "画像を縮小せずに高精細で印刷する";
inline constexpr std::string_view kLoginStartBox = "ログイン時に起動する";
inline constexpr std::string_view kLoginStartFailed =
    "ログイン時に起動する設定を変更できませんでした。";

// Hot keys page
inline constexpr std::string_view kPrintKeysGroup = "ハードコピー";
inline constexpr std::string_view kCopyKeysGroup = "コピー";
inline constexpr std::array<std::string_view, kHotKeySlots> kHotKeyRows = {
    "デスクトップ全体", "アクティブなウィンドウ",      "領域指定", "ファイル指定",
    "デスクトップ全体", "アクティブなウィンドウ",      "領域指定", "ファイル指定",
    "オプション設定",   "クリップボードから付せん作成"};
inline constexpr std::string_view kNoGlobalHotKeysNotice =
    "このデスクトップにはグローバルホットキーの仕組みがないため、ここで設定したキーは働きません。"
    "デスクトップ側のキー設定で、コマンドライン tovrimo /d (デスクトップ全体)、tovrimo /a "
    "(アクティブなウィンドウ)、tovrimo /r (領域指定) をキーに割り当ててください。";
// GNOME before 48 has no global shortcuts for programs; its own custom shortcuts run commands.
inline constexpr std::string_view kNoGlobalHotKeysGnomeNotice =
    "このバージョンの GNOME には、プログラムがグローバルホットキーを登録する仕組みがない"
    "ため (GNOME 48 以降で使えます)、ここで設定したキーは働きません。"
    "GNOME の「設定」→「キーボード」→「キーボードショートカットの表示とカスタマイズ」→"
    "「カスタムショートカット」で、コマンド tovrimo /d (デスクトップ全体)、tovrimo /a "
    "(アクティブなウィンドウ)、tovrimo /r (領域指定) をキーに割り当ててください。";
// The session takes hot keys, but the desktop bound none of the slots switched on.
inline constexpr std::string_view kHotKeysNotBoundNotice =
    "デスクトップは、ここで設定したホットキーを1つも割り当てませんでした (ほかのプログラムが"
    "同じキーを使っているか、デスクトップが割り当てを受け付けていません)。"
    "別のキーを選ぶか、デスクトップ側のキー設定で、コマンドライン tovrimo /d (デスクトップ全体)、"
    "tovrimo /a (アクティブなウィンドウ)、tovrimo /r (領域指定) をキーに割り当ててください。";
inline constexpr std::string_view kEnabledBox = "有効";
inline constexpr std::string_view kCtrlBox = "CTRL";
inline constexpr std::string_view kShiftBox = "SHIFT";
inline constexpr std::string_view kAltBox = "ALT";

// Other page
inline constexpr std::string_view kTitleLabel = "タイトル";
inline constexpr std::string_view kIconPathLabel = "アイコンファイル";
inline constexpr std::string_view kBrowseIconButton = "参照";
inline constexpr std::string_view kRestartNote = "上記の設定は、再起動後に有効になります。";

// The icon file dialog.
inline constexpr std::string_view kIconDialogTitle = "アイコンファイルの指定";
inline constexpr std::string_view kIconDialogFilter = "アイコンファイル(*.ICO)|*.ico|";

// Messages.
inline constexpr std::string_view kTitleEmpty =
    "アプリケーションタイトルに、空白は設定できません。";
inline constexpr std::string_view kTitleZero =
    "アプリケーションタイトルに、この文字列は設定できません。";
inline constexpr std::string_view kDoubleClickInvalid =
    "タスクトレイアイコンをダブルクリックしたときの動作設定が不正です。";
inline constexpr std::string_view kSecondsTooLarge =
    "セルフタイマの秒数は20秒以内で設定してください";
inline constexpr std::string_view kKeyNotInList = "キーの種類は、一覧の中から選択してください．";

}  // namespace tovrimo::option_texts
