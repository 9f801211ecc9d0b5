#include <cups/ipp.h>
#include <gtest/gtest.h>

#include "platform/cups/PrinterRefusal.h"

using namespace tovrimo;

TEST(PrinterRefusal, CommonRefusalsReadAsJapaneseSentences)
{
    struct Case {
        int status;
        const char* raw;
        const char* expected;
    } cases[] = {
        {IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS, "Destination \"X\" is not accepting jobs.",
         "プリンタが印刷ジョブを受け付けていません。"},
        {IPP_STATUS_ERROR_PRINTER_IS_DEACTIVATED, "", "プリンタが停止しています。"},
        {IPP_STATUS_ERROR_NOT_FOUND, "The printer or class does not exist.",
         "プリンタが見つかりません。"},
        {IPP_STATUS_ERROR_GONE, "", "プリンタが見つかりません。"},
        {IPP_STATUS_ERROR_FORBIDDEN, "Forbidden", "このプリンタで印刷する権限がありません。"},
        {IPP_STATUS_ERROR_NOT_AUTHORIZED, "", "このプリンタで印刷する権限がありません。"},
        // libcups's answers when the scheduler's socket is gone or nobody listens on it.
        {IPP_STATUS_ERROR_SERVICE_UNAVAILABLE, "No such file or directory",
         "印刷システム (CUPS) に接続できません。"},
        {IPP_STATUS_ERROR_INTERNAL, "Connection refused", "印刷システム (CUPS) に接続できません。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.raw);
        const Refusal kind = ClassifyRefusal(c.status, c.raw);
        EXPECT_EQ(RefusalText(kind, c.raw), c.expected);
    }
    EXPECT_EQ(RefusalText(Refusal::PaperSizeNotOffered),
              "この用紙サイズはプリンタで使用できません。");
    EXPECT_EQ(RefusalText(Refusal::PaperSourceNotOffered),
              "この給紙方法はプリンタで使用できません。");
}

TEST(PrinterRefusal, AnythingElseKeepsTheSystemsOwnTextInParentheses)
{
    const std::string raw = "Unsupported document-format \"application/x-foo\".";
    const Refusal kind = ClassifyRefusal(IPP_STATUS_ERROR_DOCUMENT_FORMAT_NOT_SUPPORTED, raw);
    EXPECT_EQ(kind, Refusal::Other);
    EXPECT_EQ(RefusalText(kind, raw), "印刷システムが印刷を受け付けませんでした。（" + raw + "）");
    EXPECT_EQ(RefusalText(Refusal::Other), "印刷システムが印刷を受け付けませんでした。");
}
