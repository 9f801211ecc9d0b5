#pragma once

#include <string>

#include "core/CoreTexts.h"

// Texts of printing, as the user sees them.
namespace tovrimo::texts {

inline constexpr const char* kPrinterNameErrorCaption = "プリンタ名エラー";
inline constexpr const char* kPrinterNameError =
    "プリンタのデバイス名が不正です。もう一度確認してください。";
inline constexpr const char* kPaperSizeErrorCaption = "用紙サイズエラー";
inline constexpr const char* kPaperSizeError =
    "用紙のサイズが不正です。もう一度用紙がプリンタで使用可能か確認してください。\n"
    "それでもうまくいかない場合は、用紙サイズを「指定なし」にしてみてください。";
inline constexpr const char* kPaperBinErrorCaption = "給紙方法エラー";
inline constexpr const char* kPaperBinError =
    "給紙方法が不正です。もう一度給紙方法を確認してください。\n"
    "それでもうまくいかない場合は、給紙方法を「指定なし」にしてみてください。";

// One of the texts above with what the printer reported that made it fail.
inline std::string WithReason(const char* text, const std::string& reason)
{
    return std::string(text) + "\n理由: " + reason;
}

inline constexpr const char* kPrinterMissingReason = "プリンタが見つかりません。";

// A job the printing system would not take, or a printer that is no longer there.
inline std::string PrinterUnavailable(const std::string& printer, const std::string& reason)
{
    std::string text = "プリンタ「" + printer + "」で印刷できませんでした。";
    if (!reason.empty()) text += "\n理由: " + reason;
    return text;
}

}  // namespace tovrimo::texts
