#pragma once

#include <array>
#include <string_view>

#include "core/Settings.h"

namespace tovrimo::option_texts {

inline constexpr std::string_view kCaption = "オプション設定";
// The program's own caption, used by the messages that name no caption of their own.
inline constexpr std::string_view kAppCaption = "トヴリモ";

inline constexpr std::string_view kBtnOK = "OK";
inline constexpr std::string_view kBtnCancel = "キャンセル";
inline constexpr std::string_view kBtnTekiyo = "適用";
inline constexpr std::string_view kBtnHelp = "ヘルプ(&H)";

inline constexpr std::array<std::string_view, 3> kTabs = {"基本設定", "ホットキー設定", "その他"};

// Tab 1
inline constexpr std::string_view kFraDblClick = "タスクトレイアイコンのダブルクリック時の動作";
inline constexpr std::string_view kFrmDblClick = "基本動作";
inline constexpr std::string_view kOptHardCopy = "ハードコピー";
inline constexpr std::string_view kOptCopy = "コピー";
inline constexpr std::string_view kOptFusen = "クリップボードから付せん作成";
inline constexpr std::string_view kOptRedo = "直前に行った操作の繰り返し";
inline constexpr std::string_view kFraCaptureHoho = "キャプチャ方法";
inline constexpr std::string_view kOptDeskTop = "デスクトップ全体";
inline constexpr std::string_view kOptActiveWindow = "アクティブなウィンドウ";
inline constexpr std::string_view kOptRS = "領域指定";
inline constexpr std::string_view kOptFile = "画像ファイル指定";
inline constexpr std::string_view kOptClip = "クリップボードから";
inline constexpr std::string_view kChkIcon = "マウスアイコンも同時にキャプチャする";
inline constexpr std::string_view kChkKakure = "タスクトレイアイコンを一時削除する";
inline constexpr std::string_view kChkByo = "セルフタイマー";
inline constexpr std::string_view kLabel2 = "秒";
inline constexpr std::string_view kChkDialog = "印刷前に確認ダイアログボックスを表示する";
inline constexpr std::string_view kChkReverse = "キャプチャイメージを反転して印刷する";
inline constexpr std::string_view kFullDetailPrintText = "画像を縮小せずに高精細で印刷する";

// Tab 2
inline constexpr std::string_view kFraHardcopy = "ハードコピー";
inline constexpr std::string_view kFraCopy = "コピー";
inline constexpr std::array<std::string_view, kHotKeySlots> kHotKeyRows = {
    "デスクトップ全体", "アクティブなウィンドウ",      "領域指定", "ファイル指定",
    "デスクトップ全体", "アクティブなウィンドウ",      "領域指定", "ファイル指定",
    "オプション設定",   "クリップボードから付せん作成"};
inline constexpr std::string_view kChkEnable = "有効";
inline constexpr std::string_view kChkCTRL = "CTRL";
inline constexpr std::string_view kChkShift = "SHIFT";
inline constexpr std::string_view kChkAlt = "ALT";

// Tab 3
inline constexpr std::string_view kLblAppName = "タイトル";
inline constexpr std::string_view kLblIconPath = "アイコンファイル";
inline constexpr std::string_view kBtnIconSansho = "参照";
inline constexpr std::string_view kLabel7 = "上記の設定は、再起動後に有効になります。";

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
