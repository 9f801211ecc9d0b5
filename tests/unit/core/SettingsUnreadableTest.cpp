#include "SettingsFixture.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

// A file worth keeping: a custom title, options that differ from the first-run values, a
// hot key and two named settings.
const std::string kPrecious =
    "[Application]\nTitle=経理部のトヴリモ\nVersion=2.80\n"
    "[Option]\nSelfTime=12\nDoubleClick=2\nDoubleClickDo=3\nConfirmBeforePrint=0\n"
    "PrinterCount=2\nLastSet=1\nHotKeyOn0=1\nHotKeyCTRL0=1\nHotKeyButton0=68\n"
    "[DefaultPrinter]\nDeviceName=Office\nPos=1\nSize=3\nSizeP=50\n"
    "[Printer1]\nTitle=月報\nDeviceName=Office\n[Printer2]\nTitle=週報\nDeviceName=Office\n";

class SettingsUnreadable : public SettingsFixture {
protected:
    void SetUp() override
    {
        fs.files[iniPath] = kPrecious;
        fs.readErrors[iniPath] = "Permission denied";
    }
};

}  // namespace

TEST_F(SettingsUnreadable, StartUpTellsTheUserAndRunsOnTheFirstRunValues)
{
    const SettingsData data = load();

    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].caption, "トヴリモ");
    EXPECT_EQ(notices[0].text,
              "設定ファイルを読み込めませんでした。このファイルは書き換えずにそのまま残します。\n"
              "今回は初期設定で動作します。設定を変更しても保存されません。\n\n"
              "/home/u/.config/tovrimo/tovrimo.ini\nPermission denied");

    // The first-run values, not the upgrade path of a file without a version (which would
    // enable Ctrl+Alt+P and take ConfirmBeforePrint 0 from an empty file).
    const Settings& s = data.settings;
    EXPECT_EQ(s.title, "トヴリモ");
    EXPECT_EQ(s.formatVersion, "2.8");
    EXPECT_FALSE(s.selfTimerOn);
    EXPECT_EQ(s.selfTimerSeconds, 5);
    EXPECT_TRUE(s.confirmBeforePrint);
    EXPECT_EQ(s.doubleClickDestination, CaptureDestination::Printer);
    EXPECT_EQ(s.doubleClickSource, CaptureSource::Desktop);
    EXPECT_EQ(s.lastNamedSetting, -1);
    EXPECT_EQ(s.namedSettingCount, 0);
    EXPECT_FALSE(s.captureCursor);
    for (int slot = 0; slot < kHotKeySlots; ++slot) {
        EXPECT_FALSE(s.hotKeyOn[slot]) << slot;
        EXPECT_EQ(s.hotKeyCode[slot], 0) << slot;
    }
    EXPECT_EQ(data.current.printerName, "Office");
    EXPECT_EQ(data.current.paperSize, 9);
    EXPECT_EQ(data.current.position, PagePosition::Centre);
    EXPECT_EQ(data.current.scaleMode, ScaleMode::ActualSize);
    EXPECT_EQ(data.current.scalePercent, 100);

    EXPECT_EQ(fs.files.at(iniPath), kPrecious);
    EXPECT_EQ(fs.writes, 0);
    EXPECT_TRUE(store.unreadableFile().has_value());
}

TEST_F(SettingsUnreadable, EverySaveOfTheSessionIsRefusedLikeAFailedSave)
{
    SettingsData data = load();
    notices.clear();
    data.settings.selfTimerSeconds = 7;
    data.settings.namedSettingCount = 1;
    data.named[0].name = "新しい設定";

    EXPECT_FALSE(store.saveSettings(data));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].caption, "トヴリモ");
    EXPECT_EQ(notices[0].text,
              "設定ファイルを保存できませんでした。以前の設定ファイルはそのまま残っています。\n\n"
              "/home/u/.config/tovrimo/tovrimo.ini\n"
              "起動時に読み込めなかった設定ファイルは置き換えません（Permission denied）");
    EXPECT_EQ(notices[0].severity, SettingsNotice::Severity::Critical);

    // Readable again later in the session (permissions mended, a passing I/O error): what is
    // in memory is still the first-run stand-in, so the file is still not replaced.
    fs.readErrors.clear();
    EXPECT_FALSE(store.saveSettings(data));
    EXPECT_EQ(notices.size(), 2u);
    store.writeIni("Option", "SelfTime", "9");
    store.savePrintSetting(data.named[0], 1);

    EXPECT_EQ(fs.writes, 0);
    ASSERT_EQ(fs.files.size(), 1u) << "nothing renamed, nothing beside it";
    EXPECT_EQ(fs.files.at(iniPath), kPrecious);
}

TEST_F(SettingsUnreadable, AnIoErrorIsReportedWithItsOwnReason)
{
    fs.readErrors[iniPath] = "Input/output error";
    load();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].text.find("\nInput/output error"), std::string::npos);
    EXPECT_FALSE(store.saveSettings(SettingsData{}));
    EXPECT_NE(notices[1].text.find("（Input/output error）"), std::string::npos);
    EXPECT_EQ(fs.files.at(iniPath), kPrecious);
}

TEST_F(SettingsUnreadable, ADefaultsFileGivesTheValuesButIsNotUsedUp)
{
    fs.files[infPath] = "1,10,0,1,0,1,2\n";
    const SettingsData data = load();
    EXPECT_TRUE(data.settings.selfTimerOn);
    EXPECT_EQ(data.settings.selfTimerSeconds, 10);
    EXPECT_FALSE(data.settings.confirmBeforePrint);
    EXPECT_EQ(data.settings.doubleClickSource, CaptureSource::ActiveWindow);
    EXPECT_TRUE(fs.exists(infPath)) << "its values reached no file: the next start needs them";
    EXPECT_EQ(fs.files.at(iniPath), kPrecious);
}

TEST_F(SettingsUnreadable, AReadableFileLaterInTheSameFolderIsSavedNormally)
{
    // A new store (the next start) reads the mended file and saves it as usual.
    load();
    fs.readErrors.clear();
    notices.clear();
    NoticedSettingsStore next{fs, printer, folder};
    SettingsData data;
    ASSERT_EQ(next.loadSettings(data), LoadResult::Loaded);
    EXPECT_EQ(data.settings.title, "経理部のトヴリモ");
    EXPECT_EQ(data.named[1].name, "週報");
    EXPECT_TRUE(next.saveSettings(data));
    EXPECT_TRUE(next.notices.empty());
    EXPECT_EQ(fs.writes, 1);
}

TEST_F(SettingsUnreadable, TheStoreItselfShowsNothingAndHandsTheCallerWhatToSay)
{
    // The same store the program uses, with no message boxes anywhere near it.
    SettingsStore bare(fs, printer, folder);
    SettingsData data;
    const SettingsLoadResult load = bare.loadSettings(data);
    EXPECT_EQ(load.status, LoadResult::Loaded);
    ASSERT_EQ(load.notices.size(), 1u);
    EXPECT_EQ(load.notices[0].caption, "トヴリモ");
    EXPECT_EQ(load.notices[0].severity, SettingsNotice::Severity::Critical);
    EXPECT_EQ(load.notices[0].text.rfind("設定ファイルを読み込めませんでした。", 0), 0u);

    const SettingsSaveResult save = bare.saveSettings(data);
    EXPECT_FALSE(save.saved);
    ASSERT_EQ(save.notices.size(), 1u);
    EXPECT_EQ(save.notices[0].severity, SettingsNotice::Severity::Critical);
    EXPECT_NE(save.notices[0].text.find("（Permission denied）"), std::string::npos);
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(fs.files[iniPath], kPrecious);
}
