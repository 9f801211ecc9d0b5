#include <gtest/gtest.h>

#include "core/LegacySettings.h"
#include "doubles/MemoryFileSystem.h"
#include "doubles/RecordingMessageBoxes.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {
const std::string kApp = "/opt/tov/";
}

TEST(MigrateLegacySettings, CopiesOnlyWhileNoSettingsFileExists)
{
    MemoryFileSystem fs;
    RecordingMessageBoxes boxes;
    fs.files[kApp + "lusk.ini"] = "[Application]\nTitle=old\n";
    MigrateLegacySettings(fs, boxes, kApp);
    EXPECT_EQ(fs.files[kApp + "tovrimo.ini"], "[Application]\nTitle=old\n");
    EXPECT_TRUE(fs.exists(kApp + "lusk.ini")) << "the legacy file stays where it is";

    fs.files[kApp + "tovrimo.ini"] = "mine";
    MigrateLegacySettings(fs, boxes, kApp);
    EXPECT_EQ(fs.files[kApp + "tovrimo.ini"], "mine") << "an existing settings file wins";
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(MigrateLegacySettings, NameMustMatchInLetterCase)
{
    for (const char* stored : {"Lusk.ini", "LUSK.INI", "lusk.INI"}) {
        MemoryFileSystem fs;
        RecordingMessageBoxes boxes;
        fs.files[kApp + stored] = "x";
        MigrateLegacySettings(fs, boxes, kApp);
        EXPECT_FALSE(fs.exists(kApp + "tovrimo.ini")) << stored;
    }
}

TEST(MigrateLegacySettings, SettingsFileUnderAnotherCaseBlocksTheCopy)
{
    MemoryFileSystem fs;
    RecordingMessageBoxes boxes;
    fs.files[kApp + "lusk.ini"] = "legacy";
    fs.files[kApp + "TOVRIMO.INI"] = "current";
    MigrateLegacySettings(fs, boxes, kApp);
    EXPECT_FALSE(fs.exists(kApp + "tovrimo.ini"));
}

TEST(MigrateLegacySettings, FailedCopyIsReportedWithAnErrorNumber)
{
    MemoryFileSystem fs;
    RecordingMessageBoxes boxes;
    fs.files[kApp + "lusk.ini"] = "legacy";
    fs.failWrites = true;
    MigrateLegacySettings(fs, boxes, kApp);
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption.rfind("エラー番号：", 0), 0u);
    EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::Ok);
}
