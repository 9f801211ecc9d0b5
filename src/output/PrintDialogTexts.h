#pragma once

#include "core/TextTranslation.h"

// Texts of the print dialog, its preview, the named settings and the title options dialog, as
// the user sees them.
namespace tovrimo::texts {

// The print dialog
inline constexpr const char* kPrintDialogCaption =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "【印刷確認】画面のキャプチャが終了しました。");
inline constexpr const char* kFramePageSetup =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "ページ設定");
inline constexpr const char* kLabelPrinterName =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "プリンタ名:");
inline constexpr const char* kLabelPaper = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "用紙:");
inline constexpr const char* kLabelPaperBin =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "給紙方法:");
inline constexpr const char* kNoPrinterEntry =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "指定なし");
inline constexpr const char* kFrameOrientation =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "用紙の向き");
inline constexpr const char* kOrientationPortrait =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "縦(&L)");
inline constexpr const char* kOrientationLandscape =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "横(&P)");
inline constexpr const char* kFrameSize = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "拡大・縮小");
inline constexpr const char* kSizeActual = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "実寸");
inline constexpr const char* kSizeFit =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "用紙に収まるように合わせる");
inline constexpr const char* kSizeManual = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "手動設定");
inline constexpr const char* kLabelScale = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "拡大縮小率:");
inline constexpr const char* kLabelPercent = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "%");
inline constexpr const char* kSizeBigTip =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "25%単位で拡大");
inline constexpr const char* kSizeSmallTip =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "25%単位で縮小");
inline constexpr const char* kKeepRatio =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "縦と横の比率を固定");
inline constexpr const char* kSlideBar =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "印刷サイズスライドバー");
inline constexpr const char* kFramePosition = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "印字位置");
inline constexpr const char* kPositionTopLeft =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "用紙の左上隅にセット");
inline constexpr const char* kPositionTopRight =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "用紙の右上隅にセット");
inline constexpr const char* kPositionCentre =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "用紙の中心にセット");
inline constexpr const char* kPositionBottomLeft =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "用紙の左下隅にセット");
inline constexpr const char* kPositionBottomRight =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "用紙の右下隅にセット");
inline constexpr const char* kPositionManual =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "手動設定");
inline constexpr const char* kLabelLeft = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "左位置(X)");
inline constexpr const char* kLabelTop = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "上位置(Y)");
inline constexpr const char* kLabelCm = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "cm");
inline constexpr const char* kLabelTitle =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "タイトル(&T):");
inline constexpr const char* kInsDateTip = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "日付を挿入");
inline constexpr const char* kInsTimeTip = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "時間を挿入");
inline constexpr const char* kInsPCNameTip =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "パソコン名を挿入");
inline constexpr const char* kInsUserNameTip =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "ログオンユーザー名を挿入");
inline constexpr const char* kInsTitleTip =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "ウィンドウのタイトルを挿入");
inline constexpr const char* kInsDateFace = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "日付");
inline constexpr const char* kInsTimeFace = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "時刻");
inline constexpr const char* kInsPCNameFace = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "PC名");
inline constexpr const char* kInsUserNameFace =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "ユーザ名");
inline constexpr const char* kInsTitleFace = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "タイトル");
inline constexpr const char* kTitleSet =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "タイトルの設定(&U)");
inline constexpr const char* kLabelSetting = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "設定名:");
inline constexpr const char* kSaveSetting = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "保存");
inline constexpr const char* kDelSetting = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "削除");
inline constexpr const char* kPrint = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "印刷開始(&P)");
inline constexpr const char* kCopy = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "コピー(&C)");
inline constexpr const char* kSaveFile =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "ファイル保存(&S)");
inline constexpr const char* kStickyNoteButton =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "付せん作成(&F)");
inline constexpr const char* kHelp = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "ヘルプ(&H)");
inline constexpr const char* kClose = QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "閉じる(&U)");

// Messages of the print dialog
inline constexpr const char* kSettingErrorCaption =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "設定エラー");
inline constexpr const char* kScaleRange =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "倍率は1から200の範囲で設定してください");
inline constexpr const char* kSaveBitmapTitle =
    QT_TRANSLATE_NOOP("tovrimo::FileDialog", "ピクチャ画像の保存");
inline constexpr const char* kSaveBitmapFilter = QT_TRANSLATE_NOOP(
    "tovrimo::FileDialog", "ビットマップファイル(*.BMP)|*.bmp|PNGファイル(*.png)|*.png|");
inline constexpr const char* kSaveBitmapFailed =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "ビットマップファイルを保存できませんでした。");
inline constexpr const char* kNoteLimitPattern = QT_TRANSLATE_NOOP(
    "tovrimo::MessageBox", "付せんの数が上限(%1枚)を超えているので新たに生成できません。");
inline constexpr int kNoteLimit = 16;
inline constexpr const char* kHelpFile = "tovrimo.hlp";

// The preview
inline constexpr const char* kPreviewError =
    QT_TRANSLATE_NOOP("tovrimo::PrintDialog", "プレビュー画面を更新できませんでした。");

// Named print settings
inline constexpr const char* kPrinterNotSet =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "プリンタ名を正しく設定してください");
inline constexpr const char* kAskSettingName =
    QT_TRANSLATE_NOOP("tovrimo::InputDialog", "設定名を入力してください");
inline constexpr const char* kAskSettingNameTitle =
    QT_TRANSLATE_NOOP("tovrimo::InputDialog", "設定の保存");
inline constexpr const char* kOverwritePattern =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "%1は既に存在します。上書きしますか？");
inline constexpr const char* kOverwriteCaption =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "上書き確認");
inline constexpr const char* kTableFull = QT_TRANSLATE_NOOP(
    "tovrimo::MessageBox",
    "設定名は101件までしか保存できません。不要な設定を削除するか、既存の設定名で上書きしてください"
    "。");
inline constexpr const char* kCannotDelete =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "削除できません");
inline constexpr const char* kErrorCaption = QT_TRANSLATE_NOOP("tovrimo::MessageBox", "エラー");
inline constexpr const char* kDeletePattern =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "%1を削除しますか？");
inline constexpr const char* kDeleteCaption = QT_TRANSLATE_NOOP("tovrimo::MessageBox", "削除確認");

// The title options dialog
inline constexpr const char* kTitleOptionCaption =
    QT_TRANSLATE_NOOP("tovrimo::TitleOptionsDialog", "タイトルの設定");
inline constexpr const char* kFrameTitle =
    QT_TRANSLATE_NOOP("tovrimo::TitleOptionsDialog", "タイトル(&T)");
inline constexpr const char* kChooseFont =
    QT_TRANSLATE_NOOP("tovrimo::TitleOptionsDialog", "フォント変更(&F)");
inline constexpr const char* kLabelSample =
    QT_TRANSLATE_NOOP("tovrimo::TitleOptionsDialog", "サンプル:");
inline constexpr const char* kSampleText =
    QT_TRANSLATE_NOOP("tovrimo::TitleOptionsDialog", "AaBbYyZz 0123 アイウエオ ☆");
inline constexpr const char* kFontSummaryInitial =
    QT_TRANSLATE_NOOP("tovrimo::TitleOptionsDialog", "フォント名等");
// Under the sample when it is too wide for the screen and is drawn smaller than chosen.
inline constexpr const char* kSampleScaledNote =
    QT_TRANSLATE_NOOP("tovrimo::TitleOptionsDialog", "※ 画面に収まるよう縮小して表示しています");
inline constexpr const char* kFrameTitleAlignment =
    QT_TRANSLATE_NOOP("tovrimo::TitleOptionsDialog", "タイトル位置（水平位置）");
inline constexpr const char* kAlignLeft =
    QT_TRANSLATE_NOOP("tovrimo::TitleOptionsDialog", "左寄せ");
inline constexpr const char* kAlignCentre =
    QT_TRANSLATE_NOOP("tovrimo::TitleOptionsDialog", "中央寄せ");
inline constexpr const char* kAlignRight =
    QT_TRANSLATE_NOOP("tovrimo::TitleOptionsDialog", "右寄せ");
inline constexpr const char* kFrameTitlePlacement =
    QT_TRANSLATE_NOOP("tovrimo::TitleOptionsDialog", "タイトル位置（垂直位置）");
inline constexpr const char* kPlaceAbove =
    QT_TRANSLATE_NOOP("tovrimo::TitleOptionsDialog", "イメージの上部");
inline constexpr const char* kPlaceBelow =
    QT_TRANSLATE_NOOP("tovrimo::TitleOptionsDialog", "イメージの下部");
inline constexpr const char* kOK = QT_TRANSLATE_NOOP("tovrimo::TitleOptionsDialog", "OK");
inline constexpr const char* kCancel =
    QT_TRANSLATE_NOOP("tovrimo::TitleOptionsDialog", "キャンセル");

}  // namespace tovrimo::texts
