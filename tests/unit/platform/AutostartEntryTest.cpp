#include <gtest/gtest.h>

#include "platform/LoginStart.h"

using namespace tovrimo;

TEST(AutostartEntry, LivesInTheConfigurationFolderOfTheXdgRules)
{
    EXPECT_EQ(AutostartEntryPath("/home/u/.cfg", "/home/u"),
              "/home/u/.cfg/autostart/tovrimo.desktop");
    EXPECT_EQ(AutostartEntryPath("/home/u/.cfg/", "/home/u"),
              "/home/u/.cfg/autostart/tovrimo.desktop");
    EXPECT_EQ(AutostartEntryPath("", "/home/u"), "/home/u/.config/autostart/tovrimo.desktop")
        << "unset";
    EXPECT_EQ(AutostartEntryPath("relative/cfg", "/home/u"),
              "/home/u/.config/autostart/tovrimo.desktop")
        << "a relative XDG_CONFIG_HOME is to be ignored";
}

TEST(AutostartEntry, ExecStartsTheBinaryQuotedAsTheFormatAsks)
{
    struct Case {
        const char* why;
        const char* binary;
        const char* exec;
    } cases[] = {
        {"an installed binary, as it is", "/usr/bin/tovrimo", "Exec=/usr/bin/tovrimo\n"},
        {"a portable build with a space", "/home/u/my tools/tovrimo",
         "Exec=\"/home/u/my tools/tovrimo\"\n"},
        {"a dollar is escaped in quotes", "/opt/$x/tovrimo", "Exec=\"/opt/\\\\$x/tovrimo\"\n"},
        {"a double quote is escaped in quotes", "/opt/a\"b/tovrimo",
         "Exec=\"/opt/a\\\\\"b/tovrimo\"\n"},
        {"a backslash is escaped twice", "/opt/a\\b/tovrimo", "Exec=\"/opt/a\\\\\\\\b/tovrimo\"\n"},
        {"a percent sign is not a field code", "/opt/100%/tovrimo", "Exec=/opt/100%%/tovrimo\n"},
        {"Japanese folder names need no quotes", "/home/u/ツール/tovrimo",
         "Exec=/home/u/ツール/tovrimo\n"},
    };
    for (const auto& c : cases) {
        const std::string entry = AutostartEntryText(c.binary);
        EXPECT_NE(entry.find(std::string("\n") + c.exec), std::string::npos) << c.why << "\n"
                                                                             << entry;
    }
}

TEST(AutostartEntry, IsADesktopEntryOfAnApplication)
{
    const std::string entry = AutostartEntryText("/usr/bin/tovrimo");
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    for (const char* line : {"\nType=Application\n", "\nName=Tovrimo\n", "\nName[ja]=トヴリモ\n",
                             "\nIcon=tovrimo\n", "\nTerminal=false\n"}) {
        EXPECT_NE(entry.find(line), std::string::npos) << line;
    }
}
