#pragma once

// Texts of the print dialog, its preview, the named settings and the title options dialog, as
// the user sees them.
namespace tovrimo::texts {

// The print dialog
inline constexpr const char* kPrintDialogCaption = "【印刷確認】画面のキャプチャが終了しました。";
inline constexpr const char* kFramePageSetup = "ページ設定";
inline constexpr const char* kLabelPrinterName = "プリンタ名:";
inline constexpr const char* kLabelPaper = "用紙:";
inline constexpr const char* kLabelPaperBin = "給紙方法:";
inline constexpr const char* kNoPrinterEntry = "指定なし";
inline constexpr const char* kFrameOrientation = "用紙の向き";
inline constexpr const char* kOrientationPortrait = "縦(&L)";
inline constexpr const char* kOrientationLandscape = "横(&P)";
inline constexpr const char* kFrameSize = "拡大・縮小";
inline constexpr const char* kSizeActual = "実寸";
inline constexpr const char* kSizeFit = "用紙に収まるように合わせる";
inline constexpr const char* kSizeManual = "手動設定";
inline constexpr const char* kLabelScale = "拡大縮小率:";
inline constexpr const char* kLabelPercent = "%";
inline constexpr const char* kSizeBigTip = "25%単位で拡大";
inline constexpr const char* kSizeSmallTip = "25%単位で縮小";
inline constexpr const char* kKeepRatio = "縦と横の比率を固定";
inline constexpr const char* kSlideBar = "印刷サイズスライドバー";
inline constexpr const char* kFramePosition = "印字位置";
inline constexpr const char* kPositionTopLeft = "用紙の左上隅にセット";
inline constexpr const char* kPositionTopRight = "用紙の右上隅にセット";
inline constexpr const char* kPositionCentre = "用紙の中心にセット";
inline constexpr const char* kPositionBottomLeft = "用紙の左下隅にセット";
inline constexpr const char* kPositionBottomRight = "用紙の右下隅にセット";
inline constexpr const char* kPositionManual = "手動設定";
inline constexpr const char* kLabelLeft = "左位置(X)";
inline constexpr const char* kLabelTop = "上位置(Y)";
inline constexpr const char* kLabelCm = "cm";
inline constexpr const char* kLabelTitle = "タイトル(&T):";
inline constexpr const char* kInsDateTip = "日付を挿入";
inline constexpr const char* kInsTimeTip = "時間を挿入";
inline constexpr const char* kInsPCNameTip = "パソコン名を挿入";
inline constexpr const char* kInsUserNameTip = "ログオンユーザー名を挿入";
inline constexpr const char* kInsTitleTip = "ウィンドウのタイトルを挿入";
inline constexpr const char* kInsDateFace = "日付";
inline constexpr const char* kInsTimeFace = "時刻";
inline constexpr const char* kInsPCNameFace = "PC名";
inline constexpr const char* kInsUserNameFace = "ユーザ名";
inline constexpr const char* kInsTitleFace = "タイトル";
inline constexpr const char* kTitleSet = "タイトルの設定(&U)";
inline constexpr const char* kLabelSetting = "設定名:";
inline constexpr const char* kSaveSetting = "保存";
inline constexpr const char* kDelSetting = "削除";
inline constexpr const char* kPrint = "印刷開始(&P)";
inline constexpr const char* kCopy = "コピー(&C)";
inline constexpr const char* kSaveFile = "ファイル保存(&S)";
inline constexpr const char* kStickyNoteButton = "付せん作成(&F)";
inline constexpr const char* kHelp = "ヘルプ(&H)";
inline constexpr const char* kClose = "閉じる(&U)";

// Messages of the print dialog
inline constexpr const char* kSettingErrorCaption = "設定エラー";
inline constexpr const char* kScaleRange = "倍率は1から200の範囲で設定してください";
inline constexpr const char* kSaveBitmapTitle = "ピクチャ画像の保存";
inline constexpr const char* kSaveBitmapFilter =
    "ビットマップファイル(*.BMP)|*.bmp|PNGファイル(*.png)|*.png|";
inline constexpr const char* kSaveBitmapFailed = "ビットマップファイルを保存できませんでした。";
inline constexpr const char* kNoteLimitHead = "付せんの数が上限(";
inline constexpr const char* kNoteLimitTail = "枚)を超えているので新たに生成できません。";
inline constexpr int kNoteLimit = 16;
inline constexpr const char* kHelpFile = "tovrimo.hlp";

// The preview
inline constexpr const char* kPreviewError = "プレビュー画面を更新できませんでした。";

// Named print settings
inline constexpr const char* kPrinterNotSet = "プリンタ名を正しく設定してください";
inline constexpr const char* kAskSettingName = "設定名を入力してください";
inline constexpr const char* kAskSettingNameTitle = "設定の保存";
inline constexpr const char* kOverwriteTail = "は既に存在します。上書きしますか？";
inline constexpr const char* kOverwriteCaption = "上書き確認";
inline constexpr const char* kTableFull =
    "設定名は101件までしか保存できません。不要な設定を削除するか、既存の設定名で上書きしてください"
    "。";
inline constexpr const char* kCannotDelete = "削除できません";
inline constexpr const char* kErrorCaption = "エラー";
inline constexpr const char* kDeleteTail = "を削除しますか？";
inline constexpr const char* kDeleteCaption = "削除確認";

// The title options dialog
inline constexpr const char* kTitleOptionCaption = "タイトルの設定";
inline constexpr const char* kFrameTitle = "タイトル(&T)";
inline constexpr const char* kChooseFont = "フォント変更(&F)";
inline constexpr const char* kLabelSample = "サンプル:";
inline constexpr const char* kSampleText = "AaBbYyZz 0123 アイウエオ ☆";
inline constexpr const char* kFontSummaryInitial = "フォント名等";
// Under the sample when it is too wide for the screen and is drawn smaller than chosen.
inline constexpr const char* kSampleScaledNote = "※ 画面に収まるよう縮小して表示しています";
inline constexpr const char* kFrameTitleAlignment = "タイトル位置（水平位置）";
inline constexpr const char* kAlignLeft = "左寄せ";
inline constexpr const char* kAlignCentre = "中央寄せ";
inline constexpr const char* kAlignRight = "右寄せ";
inline constexpr const char* kFrameTitlePlacement = "タイトル位置（垂直位置）";
inline constexpr const char* kPlaceAbove = "イメージの上部";
inline constexpr const char* kPlaceBelow = "イメージの下部";
inline constexpr const char* kOK = "OK";
inline constexpr const char* kCancel = "キャンセル";

}  // namespace tovrimo::texts
