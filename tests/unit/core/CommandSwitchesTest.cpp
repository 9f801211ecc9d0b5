#include <gtest/gtest.h>

#include "core/CommandLine.h"

using namespace tovrimo;

namespace {
CommandJob Parse(const std::string& text, const std::string& initial = "")
{
    return ParseCommandSwitches(SplitCommandLine(text), initial);
}
}  // namespace

TEST(CommandSwitches, CaptureModesAndTheLaterSwitchWins)
{
    struct Case {
        const char* text;
        std::optional<CaptureSource> source;
        bool confirm;
    } cases[] = {
        {"/d", CaptureSource::Desktop, false},
        {"/D /c", CaptureSource::Desktop, true},
        {"/d  /c", CaptureSource::Desktop, true},  // the empty token between is ignored
        {"/a", CaptureSource::ActiveWindow, false},
        {"/A -C", CaptureSource::ActiveWindow, true},
        {"/r", CaptureSource::Region, false},
        {"/r /d", CaptureSource::Desktop, false},  // later switch wins
        {"/d /R", CaptureSource::Region, false},
        {"-c /d", CaptureSource::Desktop, true},
        {"/dx", std::nullopt, false},  // longer token: not a switch
        {"/c", std::nullopt, true},
        {"/S:", std::nullopt, false},
        {"junk words /a", CaptureSource::ActiveWindow, false},
        {"\\d /e -d", std::nullopt, false},
    };
    for (const auto& c : cases) {
        const CommandJob job = Parse(c.text);
        if (c.source) {
            // A job prints what it captures, at once.
            EXPECT_EQ(job.request, (CaptureRequest{*c.source, CaptureDestination::Printer, true}))
                << c.text;
        } else {
            EXPECT_FALSE(job.request) << c.text;
        }
        EXPECT_EQ(job.confirm, c.confirm) << c.text;
        EXPECT_EQ(job.error(), !c.source) << c.text;
    }
}

TEST(CommandSwitches, WindowHandleIsReadLikeASettingsNumberToTheNearest32BitValue)
{
    constexpr int32_t kMin = -2147483647 - 1;
    constexpr int32_t kMax = 2147483647;
    struct Case {
        const char* text;
        int32_t window;
    } cases[] = {
        {"/a /h=1050", 1050},
        {"/a /H:77", 77},
        {"/a /h=0", 0},
        {"/a /h=", 0},
        {"/a /h=12abc", 12},
        {"/a /h=2.5", 2},  // ties to even
        {"/a /h=3.5", 4},
        {"/a /h=1 /h=2", 2},
        {"/a /h=-0.4", 0},
        // Negative numbers are handles too, not the active window.
        {"/a /h=-5", -5},
        {"/a /h=-1", -1},
        {"/a /h=-0.6", -1},
        // Beyond the range: the nearest end of it.
        {"/a /h=2147483647", kMax},
        {"/a /h=2147483648", kMax},
        {"/a /h=4294967295", kMax},
        {"/a /h=1e300", kMax},
        {"/a /h=-2147483648", kMin},
        {"/a /h=-2147483649", kMin},
        {"/a /h=-1e300", kMin},
    };
    for (const auto& c : cases) EXPECT_EQ(Parse(c.text).window, c.window) << c.text;
}

TEST(CommandSwitches, WindowHandleMayBeGivenInHexadecimalAsXwininfoPrintsIt)
{
    struct Case {
        const char* text;
        uint32_t window;  // the id's 32 bits
    } cases[] = {
        {"/a /h=0x3a00007", 60817415u},  // 3*16^6 + 10*16^5 + 7
        {"/a /h=0X3A00007", 60817415u},
        {"/a /H:0x3a00007", 60817415u},
        {"/a /h=0x0000ff", 255u},
        {"/a /h=0x10zz", 16u},  // the hexadecimal digits up to the first other character
        {"/a /h=0x0", 0u},      // the active window, as decimal 0
        {"/a /h=0xffffffff", 0xFFFFFFFFu},
        {"/a /h=0x80000000", 0x80000000u},
        {"/a /h=0x100000000", 0xFFFFFFFFu},  // beyond 32 bits: no window, the largest id
        {"/a /h=0x00000000000000000001", 1u},
        // Not hexadecimal after all: read as decimal, as before.
        {"/a /h=0x", 0u},
        {"/a /h=0xg1", 0u},
        {"/a /h=00x10", 0u},
        {"/a /h=-0x10", 0u},
        {"/a /h=1x10", 1u},
    };
    for (const auto& c : cases)
        EXPECT_EQ(static_cast<uint32_t>(Parse(c.text).window), c.window) << c.text;
}

TEST(CommandSwitches, SettingNameIsCaseSensitiveTextAfterThreeCharacters)
{
    EXPECT_EQ(Parse("/S:Report /d").settingName, "Report");
    EXPECT_EQ(Parse("/s=report /d").settingName, "report");
    EXPECT_EQ(Parse("/S:A /s:B /d").settingName, "B") << "the later name wins";
    EXPECT_EQ(Parse("/d", "Kept").settingName, "Kept") << "starts with the layout's name";
    EXPECT_EQ(Parse("/d /S:", "Kept").settingName, "") << "an empty name clears it";
    EXPECT_EQ(Parse("/SReport /d").settingName, "") << "/SR is not a switch";
}
