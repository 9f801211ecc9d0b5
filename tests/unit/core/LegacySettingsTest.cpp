#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/LegacySettings.h"
#include "doubles/MemoryFileSystem.h"
#include "doubles/RecordingMessageBoxes.h"
#include "platform/SettingsNoticeBoxes.h"

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
    ShowSettingsNotices(boxes, MigrateLegacySettings(fs, kApp));
    EXPECT_EQ(fs.files[kApp + "tovrimo.ini"], "[Application]\nTitle=old\n");
    EXPECT_TRUE(fs.exists(kApp + "lusk.ini")) << "the legacy file stays where it is";

    fs.files[kApp + "tovrimo.ini"] = "mine";
    ShowSettingsNotices(boxes, MigrateLegacySettings(fs, kApp));
    EXPECT_EQ(fs.files[kApp + "tovrimo.ini"], "mine") << "an existing settings file wins";
    EXPECT_TRUE(boxes.shown.empty());
}

TEST(MigrateLegacySettings, NameMustMatchInLetterCase)
{
    for (const char* stored : {"Lusk.ini", "LUSK.INI", "lusk.INI"}) {
        MemoryFileSystem fs;
        RecordingMessageBoxes boxes;
        fs.files[kApp + stored] = "x";
        ShowSettingsNotices(boxes, MigrateLegacySettings(fs, kApp));
        EXPECT_FALSE(fs.exists(kApp + "tovrimo.ini")) << stored;
    }
}

TEST(MigrateLegacySettings, OnlyTheSettingsFileTheStoreReadsBlocksTheCopy)
{
    // stored beside lusk.ini, whether the copy happens
    const struct {
        std::vector<std::string> others;
        bool copied;
    } cases[] = {
        {{"TOVRIMO.INI"}, true},  // never read: a first run would start instead
        {{"Tovrimo.ini", "tovrimo.INI"}, true},
        {{"tovrimo.ini"}, false},
        {{"TOVRIMO.INI", "tovrimo.ini"}, false},  // the exact name is there as well
    };
    for (const auto& c : cases) {
        MemoryFileSystem fs;
        RecordingMessageBoxes boxes;
        fs.files[kApp + "lusk.ini"] = "legacy";
        for (const std::string& other : c.others) fs.files[kApp + other] = "other " + other;
        ShowSettingsNotices(boxes, MigrateLegacySettings(fs, kApp));
        const std::string label = c.others.front() + (c.others.size() > 1 ? " and more" : "");
        if (c.copied) {
            EXPECT_EQ(fs.files[kApp + "tovrimo.ini"], "legacy") << label;
        } else {
            EXPECT_EQ(fs.files[kApp + "tovrimo.ini"], "other tovrimo.ini") << label;
        }
        for (const std::string& other : c.others) {
            if (other != "tovrimo.ini") {
                EXPECT_EQ(fs.files[kApp + other], "other " + other) << "left alone: " << other;
            }
        }
        EXPECT_TRUE(boxes.shown.empty()) << label;
    }
}

TEST(MigrateLegacySettings, FailedCopyIsReportedWithAnErrorNumber)
{
    MemoryFileSystem fs;
    RecordingMessageBoxes boxes;
    fs.files[kApp + "lusk.ini"] = "legacy";
    fs.failWrites = true;
    ShowSettingsNotices(boxes, MigrateLegacySettings(fs, kApp));
    ASSERT_EQ(boxes.shown.size(), 1u);
    EXPECT_EQ(boxes.shown[0].caption.rfind("エラー番号：", 0), 0u);
    EXPECT_EQ(boxes.shown[0].buttons, MsgButtons::Ok);
}
