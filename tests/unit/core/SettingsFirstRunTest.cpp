#include "SettingsFixture.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

std::string FirstRunText(const std::string& optionHead, const std::string& defaultPrinter)
{
    std::string text = "[Application]\nTitle=トヴリモ\nVersion=2.80\n[Option]\n" + optionHead +
                       "LastSet=-1\nIconCapture=0\n";
    for (int slot = 0; slot < 10; ++slot)
        for (const char* key :
             {"HotKeyOn", "HotKeyALT", "HotKeySHIFT", "HotKeyCTRL", "HotKeyButton"})
            text += std::string(key) + std::to_string(slot) + "=0\n";
    return text + "PrinterCount=0\n[DefaultPrinter]\n" + defaultPrinter;
}

std::string DefaultPrinterSection(const std::string& device, int orientation, int paperSize)
{
    return "DeviceName=" + device + "\nHiritsu=1\nOrientation=" + std::to_string(orientation) +
           "\nPaperBin=0\nPaperSize=" + std::to_string(paperSize) +
           "\nPos=3\nSize=1\nSizeP=100\nLeft=0\nTop=0\nFontName=ＭＳ Ｐゴシック\nFontSize=10\n"
           "FontItalic=0\nFontBold=0\nFontUnderLine=0\nTitleText=\nTitleAlign=0\nTitleVAlign=0\n";
}

const std::string kBuiltInOptions =
    "SelfTimer=0\nSelfTime=5\nIconDelete=0\nConfirmBeforePrint=1\nReversePrint=0\n"
    "DoubleClick=1\nDoubleClickDo=1\n";

}  // namespace

using SettingsFirstRun = SettingsFixture;

TEST_F(SettingsFirstRun, NoFileAndNoDefaultsWritesTheFirstRunFile)
{
    const SettingsData data = load();

    EXPECT_EQ(iniText(), FirstRunText(kBuiltInOptions, DefaultPrinterSection("Office", 1, 9)));
    EXPECT_TRUE(notices.empty());
    // One replacement of the file, not one per key.
    EXPECT_EQ(fs.writes, 1);

    const Settings& s = data.settings;
    EXPECT_EQ(s.title, "トヴリモ");
    EXPECT_EQ(s.iconPath, "");
    EXPECT_EQ(s.formatVersion, "2.8");
    EXPECT_EQ(s.selfTimerSeconds, 5);
    EXPECT_TRUE(s.confirmBeforePrint);
    EXPECT_EQ(s.doubleClickDestination, CaptureDestination::Printer);
    EXPECT_EQ(s.doubleClickSource, CaptureSource::Desktop);
    EXPECT_EQ(s.lastNamedSetting, -1);
    EXPECT_EQ(s.namedSettingCount, 0);
    EXPECT_FALSE(s.fullDetailPrint);
    EXPECT_TRUE(s.showCountdown) << "a new install shows the self-timer's countdown";
    EXPECT_EQ(s.hotKeyOn, (std::array<bool, 10>{}));
    EXPECT_EQ(data.current.printerName, "Office");
    EXPECT_EQ(data.current.paperSize, 9);
    EXPECT_EQ(data.current.position, PagePosition::Centre);
    EXPECT_EQ(data.current.fontName, "ＭＳ Ｐゴシック");
}

TEST_F(SettingsFirstRun, LandscapePrinterWithAnUnnamedPaperGetsLetter)
{
    // ISO B4 (42), A2 (66) and A6 (70) have numbers but no names in the print dialog.
    for (QPageSize::PageSizeId paper : {QPageSize::B4, QPageSize::A2, QPageSize::A6}) {
        fs.files.clear();
        printer.printer->pageSize = QPageSize(paper);
        printer.printer->orientation = QPageLayout::Landscape;
        const SettingsData data = load();
        EXPECT_EQ(data.current.paperSize, 1) << paper;
        EXPECT_EQ(data.current.orientation, PageOrientation::Landscape);
    }
    // A named size is kept; a sheet of no standard size (Custom here) is the printer's own, 0.
    const std::pair<QPageSize::PageSizeId, int> kept[] = {
        {QPageSize::Postcard, 43}, {QPageSize::Letter, 1}, {QPageSize::Custom, 0}};
    for (const auto& [paper, code] : kept) {
        fs.files.clear();
        printer.printer->pageSize = QPageSize(paper);
        EXPECT_EQ(load().current.paperSize, code) << paper;
    }
}

TEST_F(SettingsFirstRun, DefaultsFileIsImportedAndDeleted)
{
    fs.files[infPath] = "1, 10, 0, 1, 0, 1, 2\r\n";
    const SettingsData data = load();

    EXPECT_FALSE(fs.exists(infPath));
    EXPECT_EQ(iniText(),
              FirstRunText("SelfTimer=1\nSelfTime=10\nIconDelete=1\nConfirmBeforePrint=0\n"
                           "ReversePrint=1\nDoubleClick=2\nDoubleClickDo=2\n",
                           DefaultPrinterSection("Office", 1, 9)));
    const Settings& s = data.settings;
    EXPECT_TRUE(s.selfTimerOn);
    EXPECT_EQ(s.selfTimerSeconds, 10);
    EXPECT_FALSE(s.confirmBeforePrint);
    EXPECT_TRUE(s.hideIconWhileCapturing);
    EXPECT_TRUE(s.reverseColours);
    EXPECT_EQ(s.doubleClickDestination, CaptureDestination::Clipboard);
    EXPECT_EQ(s.doubleClickSource, CaptureSource::ActiveWindow);
    EXPECT_TRUE(notices.empty());
}

TEST_F(SettingsFirstRun, DefaultsFileValuesMaySitOnSeparateLines)
{
    fs.files[infPath] = "1\n10\n\n0,1\n0\n1\n2\nthe rest is never read";
    const Settings s = load().settings;
    EXPECT_EQ(s.selfTimerSeconds, 10);
    EXPECT_TRUE(s.reverseColours);
    EXPECT_EQ(s.doubleClickSource, CaptureSource::ActiveWindow);
    EXPECT_FALSE(fs.exists(infPath));
}

TEST_F(SettingsFirstRun, UnreadableDefaultsFileShowsTheErrorAndEndsTheStart)
{
    const struct {
        const char* name;
        const char* content;
        bool unreadable;
        const char* caption;
        const char* text;
    } cases[] = {
        {"too few values", "1,10,0,1,0,1", false, "エラー番号：62",
         "ファイルの終わりを越えて入力しようとしました。"},
        {"empty file", "", false, "エラー番号：62",
         "ファイルの終わりを越えて入力しようとしました。"},
        {"not a number", "1,ten,0,1,0,1,2", false, "エラー番号：13", "型が一致しません。"},
        {"number with text after it", "1,10,0,1,0,1,2x", false, "エラー番号：13",
         "型が一致しません。"},
        {"read error", "1,10,0,1,0,1,2", true, "エラー番号：75",
         "パス/ファイル アクセス エラーです。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fs.files.clear();
        fs.files[infPath] = c.content;
        fs.failReads = c.unreadable;
        fs.writes = 0;
        notices.clear();

        SettingsData data;
        EXPECT_EQ(store.loadSettings(data), LoadResult::Fatal);
        ASSERT_EQ(notices.size(), 1u);
        EXPECT_EQ(notices[0].caption, c.caption);
        EXPECT_EQ(notices[0].text, c.text);
        EXPECT_EQ(notices[0].severity, SettingsNotice::Severity::Plain);
        // Nothing written, and the defaults stay for the next try.
        EXPECT_EQ(fs.writes, 0);
        EXPECT_FALSE(fs.files.count(iniPath));
        EXPECT_TRUE(fs.exists(infPath));
    }
}

TEST_F(SettingsFirstRun, DefaultsFileStaysWhenTheSettingsFileCannotBeWritten)
{
    fs.files[infPath] = "1,10,0,1,0,1,2";
    fs.failWrites = true;
    const SettingsData data = load();
    EXPECT_TRUE(fs.exists(infPath));
    // The first run goes on with the defaults file's values in memory, and says once that
    // it could not write them.
    EXPECT_EQ(data.settings.title, "トヴリモ");
    EXPECT_EQ(data.settings.selfTimerSeconds, 10);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].text.rfind("設定ファイルを書き込めませんでした。", 0), 0u);
}

TEST_F(SettingsFirstRun, FileWithoutTitleIsInitialisedInPlaceKeepingOtherKeys)
{
    loadFrom(
        "[Application]\nTitle=\nIcon=/icons/t.ico\n[Option]\nSelfTime=17\nExtra=keep\n"
        "PrinterCount=1\n[Printer1]\nTitle=kept\n");
    const IniDocument doc = iniDoc();
    EXPECT_EQ(doc.get("Application", "Title"), "トヴリモ");
    EXPECT_EQ(doc.get("Application", "Icon"), "/icons/t.ico");
    EXPECT_EQ(doc.get("Option", "SelfTime"), "5");
    EXPECT_EQ(doc.get("Option", "Extra"), "keep");
    EXPECT_EQ(doc.get("Option", "PrinterCount"), "0");
    EXPECT_EQ(doc.get("Printer1", "Title"), "kept");
    EXPECT_EQ(doc.sectionNames(),
              (std::vector<std::string>{"Application", "Option", "Printer1", "DefaultPrinter"}));
    // SelfTime keeps its place; keys that were missing are appended after the existing ones.
    EXPECT_EQ(iniText().find("[Option]\nSelfTime=5\nExtra=keep\nPrinterCount=0\nSelfTimer=0\n"),
              iniText().find("[Option]"));
}

TEST_F(SettingsFirstRun, OldDefaultTitleIsReplacedInMemoryOnly)
{
    const std::string text =
        "[Application]\nTitle=ルスクさんのためのトヴリモ\nVersion=2.80\n"
        "[Option]\nSelfTime=9\n";
    const SettingsData data = loadFrom(text);
    EXPECT_EQ(data.settings.title, "トヴリモ");
    EXPECT_EQ(data.settings.selfTimerSeconds, 9);  // not initialised
    EXPECT_EQ(iniText(), text);
    EXPECT_EQ(fs.writes, 0);
}
