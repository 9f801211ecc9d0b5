#pragma once

#include <string>

#include "core/CoreTexts.h"
#include "core/TextTranslation.h"
#include "platform/Translated.h"

// Texts of printing, as the user sees them.
namespace tovrimo::texts {

inline constexpr const char* kPrinterNameErrorCaption =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "プリンタ名エラー");
inline constexpr const char* kPrinterNameError = QT_TRANSLATE_NOOP(
    "tovrimo::MessageBox", "プリンタのデバイス名が不正です。もう一度確認してください。");
inline constexpr const char* kPaperSizeErrorCaption =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "用紙サイズエラー");
inline constexpr const char* kPaperSizeError = QT_TRANSLATE_NOOP(
    "tovrimo::MessageBox",
    "用紙のサイズが不正です。もう一度用紙がプリンタで使用可能か確認してください。\n"
    "それでもうまくいかない場合は、用紙サイズを「指定なし」にしてみてください。");
inline constexpr const char* kPaperBinErrorCaption =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "給紙方法エラー");
inline constexpr const char* kPaperBinError =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox",
                      "給紙方法が不正です。もう一度給紙方法を確認してください。\n"
                      "それでもうまくいかない場合は、給紙方法を「指定なし」にしてみてください。");

// One of the texts above with what the printer reported that made it fail.
inline std::string WithReason(const char* text, const std::string& reason)
{
    return TranslatedWith(kMessageBoxContext,
                          QT_TRANSLATE_NOOP("tovrimo::MessageBox", "%1\n理由: %2"),
                          {TranslatedUtf8(kMessageBoxContext, text), reason});
}

inline constexpr const char* kPrinterMissingReason =
    QT_TRANSLATE_NOOP("tovrimo::MessageBox", "プリンタが見つかりません。");

// A job the printing system would not take, or a printer that is no longer there.
inline std::string PrinterUnavailable(const std::string& printer, const std::string& reason)
{
    if (reason.empty()) {
        return TranslatedWith(
            kMessageBoxContext,
            QT_TRANSLATE_NOOP("tovrimo::MessageBox", "プリンタ「%1」で印刷できませんでした。"),
            {printer});
    }
    return TranslatedWith(kMessageBoxContext,
                          QT_TRANSLATE_NOOP("tovrimo::MessageBox",
                                            "プリンタ「%1」で印刷できませんでした。\n理由: %2"),
                          {printer, TranslatedUtf8(kMessageBoxContext, reason)});
}

}  // namespace tovrimo::texts
