#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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

TEST(AppFolders, ImageDialogsStartInTheProgramFolderOnlyWhenPortable)
{
    // Portable: the settings live beside the binary, a folder the user owns.
    EXPECT_EQ(FirstImageFolder({"/home/u/tovrimo/", "/home/u/tovrimo/", "/home/u/Pictures/"}),
              "/home/u/tovrimo/");
    // Installed: never the hidden settings folder, nor the system's program folder.
    EXPECT_EQ(FirstImageFolder({"/usr/bin/", "/home/u/.config/tovrimo/", "/home/u/Pictures/"}),
              "/home/u/Pictures/");
}

TEST(AppFolders, PicturesFolderFromTheEnvironmentThenUserDirsThenHome)
{
    const std::string userDirs =
        "# written by xdg-user-dirs-update\n"
        "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
        "XDG_PICTURES_DIR=\"$HOME/画像\"\n";
    struct Case {
        const char* name;
        std::string env;
        std::string userDirs;
        std::vector<std::string> existing;
        std::string expected;
    } cases[] = {
        {"environment first",
         "/data/pics",
         userDirs,
         {"/data/pics", "/home/u/画像"},
         "/data/pics/"},
        {"user-dirs with $HOME", "", userDirs, {"/home/u/画像"}, "/home/u/画像/"},
        {"user-dirs absolute",
         "",
         "XDG_PICTURES_DIR=\"/srv/photos\"\n",
         {"/srv/photos"},
         "/srv/photos/"},
        {"last assignment wins",
         "",
         "XDG_PICTURES_DIR=\"$HOME/a\"\n  XDG_PICTURES_DIR=\"$HOME/b\"  \n",
         {"/home/u/a", "/home/u/b"},
         "/home/u/b/"},
        {"commented out", "", "#XDG_PICTURES_DIR=\"$HOME/a\"\n", {"/home/u/a"}, "/home/u/"},
        {"named folder missing", "/data/pics", userDirs, {}, "/home/u/"},
        {"relative environment value ignored",
         "pics",
         userDirs,
         {"pics", "/home/u/画像"},
         "/home/u/画像/"},
        {"$HOMEX is no $HOME", "", "XDG_PICTURES_DIR=\"$HOMEX/p\"\n", {"/home/uX/p"}, "/home/u/"},
        {"nothing known", "", "", {}, "/home/u/"},
    };
    for (const Case& c : cases) {
        const auto exists = [&](const std::string& folder) {
            return std::find(c.existing.begin(), c.existing.end(), folder) != c.existing.end();
        };
        EXPECT_EQ(ChoosePicturesFolder(c.env, c.userDirs, "/home/u", exists), c.expected) << c.name;
    }
}
