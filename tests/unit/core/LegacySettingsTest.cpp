#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/LegacySettings.h"
#include "core/SettingsNotice.h"
#include "doubles/MemoryFileSystem.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {
const std::string kApp = "/opt/tov/";

// Copies the legacy file if it should be, adding what the copy has to tell to `notices`.
void Migrate(MemoryFileSystem& fs, SettingsNotices& notices)
{
    const SettingsNotices told = MigrateLegacySettings(fs, kApp);
    notices.insert(notices.end(), told.begin(), told.end());
}
}  // namespace

TEST(MigrateLegacySettings, CopiesOnlyWhileNoSettingsFileExists)
{
    MemoryFileSystem fs;
    SettingsNotices notices;
    fs.files[kApp + "lusk.ini"] = "[Application]\nTitle=old\n";
    Migrate(fs, notices);
    EXPECT_EQ(fs.files[kApp + "tovrimo.ini"], "[Application]\nTitle=old\n");
    EXPECT_TRUE(fs.exists(kApp + "lusk.ini")) << "the legacy file stays where it is";

    fs.files[kApp + "tovrimo.ini"] = "mine";
    Migrate(fs, notices);
    EXPECT_EQ(fs.files[kApp + "tovrimo.ini"], "mine") << "an existing settings file wins";
    EXPECT_TRUE(notices.empty());
}

TEST(MigrateLegacySettings, NameMustMatchInLetterCase)
{
    for (const char* stored : {"Lusk.ini", "LUSK.INI", "lusk.INI"}) {
        MemoryFileSystem fs;
        SettingsNotices notices;
        fs.files[kApp + stored] = "x";
        Migrate(fs, notices);
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
        SettingsNotices notices;
        fs.files[kApp + "lusk.ini"] = "legacy";
        for (const std::string& other : c.others) fs.files[kApp + other] = "other " + other;
        Migrate(fs, notices);
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
        EXPECT_TRUE(notices.empty()) << label;
    }
}

TEST(MigrateLegacySettings, FailedCopyIsReportedWithAnErrorNumber)
{
    MemoryFileSystem fs;
    SettingsNotices notices;
    fs.files[kApp + "lusk.ini"] = "legacy";
    fs.failWrites = true;
    Migrate(fs, notices);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].caption.rfind("エラー番号：", 0), 0u);
    EXPECT_EQ(notices[0].severity, SettingsNotice::Severity::Plain);
}
