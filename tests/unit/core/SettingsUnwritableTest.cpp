#include "SettingsFixture.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

// A first run in a folder where nothing can be written (a read-only folder, a full disk).
class SettingsUnwritableFirstRun : public SettingsFixture {
protected:
    void SetUp() override { fs.failWrites = true; }
};

}  // namespace

TEST_F(SettingsUnwritableFirstRun, StartUpTellsTheUserOnceAndRunsOnTheFirstRunValues)
{
    const SettingsData data = load();

    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].caption, "トヴリモ");
    EXPECT_EQ(notices[0].text,
              "設定ファイルを書き込めませんでした。\n"
              "今回は初期設定で動作します。設定を変更しても保存されません。\n\n"
              "/home/u/.config/tovrimo/tovrimo.ini\nNo space left on device");
    EXPECT_EQ(notices[0].severity, SettingsNotice::Severity::Critical);

    // What a first run that could write would have read back from its new file.
    const Settings& s = data.settings;
    EXPECT_EQ(s.title, "トヴリモ") << "the tray tooltip";
    EXPECT_EQ(s.formatVersion, "2.8");
    EXPECT_EQ(s.selfTimerSeconds, 5);
    EXPECT_TRUE(s.confirmBeforePrint);
    EXPECT_EQ(s.doubleClickDestination, CaptureDestination::Printer);
    EXPECT_EQ(s.doubleClickSource, CaptureSource::Desktop);
    EXPECT_EQ(s.lastNamedSetting, -1);
    EXPECT_EQ(s.namedSettingCount, 0);
    EXPECT_FALSE(s.captureCursor);
    EXPECT_EQ(data.current.printerName, "Office");
    EXPECT_EQ(data.current.paperSize, 9);
    EXPECT_EQ(data.current.orientation, PageOrientation::Portrait);
    EXPECT_EQ(data.current.position, PagePosition::Centre);
    EXPECT_EQ(data.current.scaleMode, ScaleMode::ActualSize);
    EXPECT_EQ(data.current.scalePercent, 100);
    EXPECT_EQ(data.current.fontName, "ＭＳ Ｐゴシック");
    EXPECT_EQ(data.current.fontPoints, 10);

    EXPECT_FALSE(fs.exists(iniPath)) << "no file is made";
    EXPECT_EQ(store.unwritableFile(), std::optional<std::string>("No space left on device"));
    EXPECT_FALSE(store.unreadableFile().has_value());
}

TEST_F(SettingsUnwritableFirstRun, EveryLaterSaveIsRefusedWithTheFailedSaveMessage)
{
    SettingsData data = load();
    notices.clear();
    const int writesAtStart = fs.writes;
    data.settings.selfTimerSeconds = 7;

    EXPECT_FALSE(store.saveSettings(data));
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].caption, "トヴリモ");
    EXPECT_EQ(notices[0].text,
              "設定ファイルを保存できませんでした。以前の設定ファイルはそのまま残っています。\n\n"
              "/home/u/.config/tovrimo/tovrimo.ini\n"
              "起動時に書き込めなかった設定ファイルには保存しません（No space left on device）");
    EXPECT_EQ(notices[0].severity, SettingsNotice::Severity::Critical);

    // Space came back later in the session: the session still keeps to what it said.
    fs.failWrites = false;
    EXPECT_FALSE(store.saveSettings(data));
    EXPECT_EQ(notices.size(), 2u);
    store.writeIni("Option", "SelfTime", "9");
    store.savePrintSetting(data.named[0], 1);
    EXPECT_EQ(fs.writes, writesAtStart);
    EXPECT_FALSE(fs.exists(iniPath));
}

TEST_F(SettingsUnwritableFirstRun, ADefaultsFileGivesTheValuesAndIsKeptForTheNextStart)
{
    fs.files[infPath] = "1,10,0,1,0,1,2\n";
    const SettingsData data = load();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_TRUE(data.settings.selfTimerOn);
    EXPECT_EQ(data.settings.selfTimerSeconds, 10);
    EXPECT_FALSE(data.settings.confirmBeforePrint);
    EXPECT_TRUE(data.settings.hideIconWhileCapturing);
    EXPECT_TRUE(data.settings.reverseColours);
    EXPECT_EQ(data.settings.doubleClickDestination, CaptureDestination::Clipboard);
    EXPECT_EQ(data.settings.doubleClickSource, CaptureSource::ActiveWindow);
    EXPECT_TRUE(fs.exists(infPath)) << "its values reached no file";
}

TEST_F(SettingsUnwritableFirstRun, AFileWithoutTitleKeepsItsOtherKeysInMemory)
{
    // A readable file that has never been initialised, in a folder that cannot be written:
    // the first-run keys join what it holds, as they would in the file.
    fs.files[iniPath] = "[Option]\nIconCapture=1\n[Extra]\nKept=yes\n";
    const SettingsData data = load();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(data.settings.title, "トヴリモ");
    EXPECT_FALSE(data.settings.captureCursor) << "the first run writes IconCapture=0";
    EXPECT_EQ(data.current.printerName, "Office");
    EXPECT_EQ(fs.files.at(iniPath), "[Option]\nIconCapture=1\n[Extra]\nKept=yes\n");
}

TEST_F(SettingsUnwritableFirstRun, TheNextStartInAWritableFolderIsAnOrdinaryFirstRun)
{
    load();
    fs.failWrites = false;
    notices.clear();
    NoticedSettingsStore next{fs, printer, folder};
    SettingsData data;
    ASSERT_EQ(next.loadSettings(data), LoadResult::Loaded);
    EXPECT_TRUE(next.notices.empty());
    EXPECT_EQ(iniDoc().get("Application", "Title"), "トヴリモ");
    EXPECT_TRUE(next.saveSettings(data));
    EXPECT_TRUE(next.notices.empty());
}
