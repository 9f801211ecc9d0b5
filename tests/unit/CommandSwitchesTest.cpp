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
        CommandCapture capture;
        bool confirm;
    } cases[] = {
        {"/d", CommandCapture::Desktop, false},
        {"/D /c", CommandCapture::Desktop, true},
        {"/d  /c", CommandCapture::Desktop, true},  // the empty token between is ignored
        {"/a", CommandCapture::Window, false},
        {"/A -C", CommandCapture::Window, true},
        {"/r", CommandCapture::Region, false},
        {"/r /d", CommandCapture::Desktop, false},  // later switch wins
        {"/d /R", CommandCapture::Region, false},
        {"-c /d", CommandCapture::Desktop, true},
        {"/dx", CommandCapture::None, false},       // longer token: not a switch
        {"/c", CommandCapture::None, true},
        {"/S:", CommandCapture::None, false},
        {"junk words /a", CommandCapture::Window, false},
        {"\\d /e -d", CommandCapture::None, false},
    };
    for (const auto& c : cases) {
        const CommandJob job = Parse(c.text);
        EXPECT_EQ(job.capture, c.capture) << c.text;
        EXPECT_EQ(job.confirm, c.confirm) << c.text;
        EXPECT_EQ(job.error(), c.capture == CommandCapture::None) << c.text;
    }
}

TEST(CommandSwitches, WindowHandleIsReadLikeASettingsNumber)
{
    struct Case {
        const char* text;
        uint32_t window;
    } cases[] = {
        {"/a /h=1050", 1050},  {"/a /H:77", 77},   {"/a /h=0", 0},
        {"/a /h=", 0},         {"/a /h=12abc", 12}, {"/a /h=2.5", 2},  // ties to even
        {"/a /h=3.5", 4},      {"/a /h=-5", 0},     {"/a /h=1 /h=2", 2},
        {"/a /h=4294967295", 4294967295u},
    };
    for (const auto& c : cases) EXPECT_EQ(Parse(c.text).window, c.window) << c.text;
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
