#include <gtest/gtest.h>
#include <sys/utsname.h>

#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "core/TitleFields.h"
#include "platform/SystemInfo.h"

using namespace tovrimo;

namespace {

std::tm At(int year, int month, int day, int hour, int minute)
{
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    return t;
}

// Sources with a clock that hands out the given times one read after the other (the last
// one repeats) and counts its reads.
struct FakeSources {
    std::vector<std::tm> times{At(2024, 3, 5, 9, 7)};
    int clockReads = 0;
    std::optional<std::string> computer = "KAIHATSU-PC";
    std::optional<std::string> user = "taro";
    std::string windowTitle;

    TitleFieldSources Get()
    {
        TitleFieldSources s;
        s.localTime = [this] {
            const size_t k = std::min<size_t>(clockReads, times.size() - 1);
            ++clockReads;
            return times[k];
        };
        s.computerName = [this] { return computer; };
        s.userName = [this] { return user; };
        s.capturedWindowTitle = [this] { return windowTitle; };
        return s;
    }
};

}  // namespace

TEST(TitleFields, ExpandsTemplates)
{
    struct Case {
        const char* name;
        std::string templ;
        std::string expected;
    };
    // Clock: 5 March 2024, 09:07; computer KAIHATSU-PC; user taro; no window title.
    const std::vector<Case> cases = {
        {"date and time", "印刷日：&[日付] &[時刻]", "印刷日：2024/03/05 09:07"},
        {"two dates in a row", "&[日付]&[日付]", "2024/03/052024/03/05"},
        {"every field in a row", "&[日付]&[時刻]&[PC名]&[ユーザ名]&[タイトル]",
         "2024/03/0509:07KAIHATSU-PCtaro"},
        {"names", "&[PC名] / &[ユーザ名]", "KAIHATSU-PC / taro"},
        {"no fields", "ハードコピー & [日付] [時刻]", "ハードコピー & [日付] [時刻]"},
        {"empty", "", ""},
        {"missing closing bracket", "&[日付", "&[日付"},
        {"missing bracket before a field", "&[日付 &[時刻]", "&[日付 09:07"},
        {"full-width brackets", "&［日付］", "&［日付］"},
        {"full-width ampersand", "＆[日付]", "＆[日付]"},
        {"full-width PC", "&[ＰＣ名]", "&[ＰＣ名]"},
        {"lower-case pc", "&[pc名]", "&[pc名]"},
        {"extra ampersand before a field", "&&[日付]", "&2024/03/05"},
        {"field inside brackets", "&[&[時刻]]", "&[09:07]"},
        {"text after the last field", "&[時刻]まで", "09:07まで"},
        // A stray lead byte must not take the field after it as its continuation.
        {"invalid byte before a field", "\xE3&[時刻]",
         "\xE3"
         "09:07"},
        {"truncated character at the end", "a\xE6\x97", "a\xE6\x97"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSources fake;
        EXPECT_EQ(ExpandTitleFields(c.templ, fake.Get()), c.expected);
    }
}

TEST(TitleFields, DateAndTimeFormats)
{
    struct Case {
        const char* name;
        std::tm time;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"morning, padded", At(2024, 3, 5, 9, 7), "2024/03/05 09:07"},
        {"afternoon on the 24-hour clock", At(2024, 3, 5, 14, 30), "2024/03/05 14:30"},
        {"midnight", At(2025, 12, 31, 0, 0), "2025/12/31 00:00"},
        {"last minute of the day", At(2025, 1, 1, 23, 59), "2025/01/01 23:59"},
        {"four-digit year", At(999, 1, 2, 3, 4), "0999/01/02 03:04"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSources fake;
        fake.times = {c.time};
        EXPECT_EQ(ExpandTitleFields("&[日付] &[時刻]", fake.Get()), c.expected);
    }
}

TEST(TitleFields, ClockIsReadOncePerDateOrTimeField)
{
    FakeSources fake;
    fake.times = {At(2024, 3, 5, 23, 59), At(2024, 3, 6, 0, 0), At(2024, 3, 6, 0, 1)};
    EXPECT_EQ(ExpandTitleFields("&[日付] &[時刻] &[日付]", fake.Get()),
              "2024/03/05 00:00 2024/03/06");
    EXPECT_EQ(fake.clockReads, 3);

    FakeSources quiet;
    ExpandTitleFields("&[PC名] &[タイトル] 日付 時刻", quiet.Get());
    EXPECT_EQ(quiet.clockReads, 0);
}

TEST(TitleFields, WindowTitleFollowsTheLastCapture)
{
    FakeSources fake;
    // After a desktop capture there is no window title.
    EXPECT_EQ(ExpandTitleFields("[&[タイトル]]", fake.Get()), "[]");
    // After a window capture: the title as stored, untrimmed, and never expanded itself.
    fake.windowTitle = " 無題 - メモ帳 &[日付] ";
    EXPECT_EQ(ExpandTitleFields("[&[タイトル]]", fake.Get()), "[ 無題 - メモ帳 &[日付] ]");
    EXPECT_EQ(fake.clockReads, 0);
}

TEST(TitleFields, NamesAreTrimmedAndFailuresExpandToEmpty)
{
    struct Case {
        const char* name;
        std::optional<std::string> raw;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"plain", "host01", "host01"},
        {"spaces at both ends", "  host01  ", "host01"},
        {"inner space kept", " my host ", "my host"},
        {"only spaces", "   ", ""},
        {"empty", "", ""},
        {"unreadable", std::nullopt, ""},
        {"cut at the terminator", std::string("pc\0junk", 7), "pc"},
        {"ideographic space is not trimmed", "\xE3\x80\x80pc", "\xE3\x80\x80pc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeSources fake;
        fake.computer = c.raw;
        fake.user = c.raw;
        EXPECT_EQ(ExpandTitleFields("<&[PC名]|&[ユーザ名]>", fake.Get()),
                  "<" + c.expected + "|" + c.expected + ">");
    }
}

TEST(TitleFields, MissingSourcesExpandToEmpty)
{
    const TitleFieldSources none;
    EXPECT_EQ(ExpandTitleFields("a&[日付]b&[時刻]c&[PC名]d&[ユーザ名]e&[タイトル]f", none),
              "abcdef");
}

TEST(TitleFields, SystemSourcesReadTheMachine)
{
    const auto sources = SystemTitleFieldSources([] { return std::string("端末"); });
    utsname u{};
    ASSERT_EQ(uname(&u), 0);
    EXPECT_EQ(ExpandTitleFields("&[PC名]", sources), u.nodename);
    EXPECT_EQ(ExpandTitleFields("&[タイトル]", sources), "端末");
    EXPECT_TRUE(std::regex_match(ExpandTitleFields("&[日付] &[時刻]", sources),
                                 std::regex(R"(\d{4}/\d{2}/\d{2} \d{2}:\d{2})")));
}
