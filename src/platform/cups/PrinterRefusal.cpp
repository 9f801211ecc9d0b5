#include "platform/cups/PrinterRefusal.h"

#include <cups/ipp.h>

#include <algorithm>
#include <cctype>

#include "platform/Translated.h"

namespace tovrimo {

namespace {

bool Mentions(const std::string& text, const char* phrase)
{
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.find(phrase) != std::string::npos;
}

}  // namespace

Refusal ClassifyRefusal(int ippStatus, const std::string& text)
{
    switch (static_cast<ipp_status_t>(ippStatus)) {
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
        return Refusal::NotAcceptingJobs;
    case IPP_STATUS_ERROR_NOT_FOUND:
    case IPP_STATUS_ERROR_GONE:
        return Refusal::PrinterNotFound;
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_NOT_AUTHENTICATED:
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
    case IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED:
        return Refusal::PermissionDenied;
    case IPP_STATUS_ERROR_PRINTER_IS_DEACTIVATED:
        return Refusal::PrinterStopped;
    default:
        break;
    }
    // libcups reports a scheduler it cannot reach with the system's error text and a
    // service-unavailable or internal status.
    if (Mentions(text, "connection refused") || Mentions(text, "no such file or directory") ||
        Mentions(text, "unable to connect") || Mentions(text, "connection timed out"))
        return Refusal::SchedulerUnreachable;
    if (ippStatus == IPP_STATUS_ERROR_SERVICE_UNAVAILABLE) return Refusal::SchedulerUnreachable;
    if (Mentions(text, "not accepting jobs")) return Refusal::NotAcceptingJobs;
    if (Mentions(text, "printer stopped") || Mentions(text, "printer is stopped") ||
        Mentions(text, "paused"))
        return Refusal::PrinterStopped;
    if (Mentions(text, "permission denied") || Mentions(text, "forbidden") ||
        Mentions(text, "unauthorized"))
        return Refusal::PermissionDenied;
    if (Mentions(text, "not found") || Mentions(text, "does not exist"))
        return Refusal::PrinterNotFound;
    return Refusal::Other;
}

namespace {

// A reason is shown in the message box that names the printer, in that box's context.
std::string Reason(const char* text)
{
    return TranslatedUtf8(kMessageBoxContext, text);
}

}  // namespace

std::string RefusalText(Refusal kind, const std::string& raw)
{
    switch (kind) {
    case Refusal::PrinterStopped:
        return Reason(QT_TRANSLATE_NOOP("tovrimo::MessageBox", "プリンタが停止しています。"));
    case Refusal::NotAcceptingJobs:
        return Reason(
            QT_TRANSLATE_NOOP("tovrimo::MessageBox", "プリンタが印刷ジョブを受け付けていません。"));
    case Refusal::PrinterNotFound:
        return Reason(QT_TRANSLATE_NOOP("tovrimo::MessageBox", "プリンタが見つかりません。"));
    case Refusal::PaperSizeNotOffered:
        return Reason(
            QT_TRANSLATE_NOOP("tovrimo::MessageBox", "この用紙サイズはプリンタで使用できません。"));
    case Refusal::PaperSourceNotOffered:
        return Reason(
            QT_TRANSLATE_NOOP("tovrimo::MessageBox", "この給紙方法はプリンタで使用できません。"));
    case Refusal::SchedulerUnreachable:
        return Reason(
            QT_TRANSLATE_NOOP("tovrimo::MessageBox", "印刷システム (CUPS) に接続できません。"));
    case Refusal::PermissionDenied:
        return Reason(
            QT_TRANSLATE_NOOP("tovrimo::MessageBox", "このプリンタで印刷する権限がありません。"));
    case Refusal::Other:
        break;
    }
    if (raw.empty())
        return Reason(
            QT_TRANSLATE_NOOP("tovrimo::MessageBox", "印刷システムが印刷を受け付けませんでした。"));
    return TranslatedWith(kMessageBoxContext,
                          QT_TRANSLATE_NOOP("tovrimo::MessageBox",
                                            "印刷システムが印刷を受け付けませんでした。（%1）"),
                          {raw});
}

}  // namespace tovrimo
