#include <gtest/gtest.h>

#include "platform/AppFolders.h"

using namespace tovrimo;

TEST(AppFolders, PortableWhenTheProgramFolderIsWritable)
{
    auto f = ChooseAppFolders("/opt/tovrimo", true, "/home/u/.cfg", "/home/u");
    EXPECT_EQ(f.programFolder, "/opt/tovrimo/");
    EXPECT_EQ(f.settingsFolder, "/opt/tovrimo/");
}

TEST(AppFolders, RootFolderGetsNoSecondSlash)
{
    EXPECT_EQ(ChooseAppFolders("/", true, "", "").programFolder, "/");
}

TEST(AppFolders, ReadOnlyInstallUsesXdgConfigThenHome)
{
    EXPECT_EQ(ChooseAppFolders("/usr/bin", false, "/home/u/.cfg", "/home/u").settingsFolder,
              "/home/u/.cfg/tovrimo/");
    // A relative XDG_CONFIG_HOME is invalid and ignored.
    EXPECT_EQ(ChooseAppFolders("/usr/bin", false, "rel", "/home/u").settingsFolder,
              "/home/u/.config/tovrimo/");
}
