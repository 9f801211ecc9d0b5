#include "SettingsFixture.h"
#include "ShiftJisBytes.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

PrintLayout SampleLayout(int variant, const std::string& name)
{
    const PagePosition positions[] = {PagePosition::TopLeft,     PagePosition::TopRight,
                                      PagePosition::Centre,      PagePosition::BottomLeft,
                                      PagePosition::BottomRight, PagePosition::Manual};
    const ScaleMode modes[] = {ScaleMode::ActualSize, ScaleMode::FitToPaper, ScaleMode::Percent};
    const PageOrientation orientations[] = {PageOrientation::Portrait, PageOrientation::Landscape};
    const TitleAlignment alignments[] = {TitleAlignment::ImageLeft, TitleAlignment::ImageCentre,
                                         TitleAlignment::ImageRight};
    const TitlePlacement placements[] = {TitlePlacement::AboveImage, TitlePlacement::BelowImage};
    PrintLayout l;
    l.name = name;
    l.printerName = "プリンタ " + std::to_string(variant);
    l.position = positions[variant % 6];
    l.scaleMode = modes[variant % 3];
    l.scalePercent = static_cast<int16_t>(37 + variant);
    l.keepAspectRatio = variant % 2 == 1;
    l.paperSize = static_cast<int16_t>(8 + variant);
    l.paperSource = static_cast<int16_t>(variant % 15);
    l.orientation = orientations[variant % 2];
    l.leftCm = -0.25 * variant;
    l.topCm = 1.27 + variant;
    l.fontName = "ＭＳ 明朝";
    l.fontPoints = 9 + variant;
    l.italic = variant % 2 == 0;
    l.bold = variant % 3 == 0;
    l.underline = variant % 2 == 1;
    l.titleText = "&[日付] &[時刻] ｶﾅ " + std::to_string(variant);
    l.titleAlignment = alignments[variant % 3];
    l.titlePlacement = placements[variant % 2];
    return l;
}

SettingsData SampleData(int namedCount)
{
    SettingsData d;
    Settings& s = d.settings;
    s.title = "私のトヴリモ";
    s.iconPath = "/home/u/icons/t.ico";
    s.selfTimerOn = true;
    s.selfTimerSeconds = 20;
    s.hideIconWhileCapturing = true;
    s.confirmBeforePrint = false;
    s.reverseColours = true;
    s.doubleClickDestination = CaptureDestination::Clipboard;
    s.doubleClickSource = CaptureSource::ImageFile;
    s.namedSettingCount = static_cast<int16_t>(namedCount);
    s.lastNamedSetting = static_cast<int16_t>(namedCount - 1);
    for (int slot = 0; slot < 10; ++slot) {
        s.hotKeyOn[slot] = slot % 2 == 1;
        s.hotKeyAlt[slot] = slot % 3 == 0;
        s.hotKeyShift[slot] = slot % 4 == 0;
        s.hotKeyCtrl[slot] = true;
        s.hotKeyCode[slot] = static_cast<int16_t>(112 + slot);
    }
    s.captureCursor = true;
    s.formatVersion = "2.8";  // what loading reports for the file that saving writes
    d.current = SampleLayout(0, "");
    for (int i = 0; i < namedCount; ++i)
        d.named[static_cast<size_t>(i)] = SampleLayout(i + 1, "設定 " + std::to_string(i + 1));
    return d;
}

}  // namespace

using SettingsSave = SettingsFixture;

TEST_F(SettingsSave, EveryFieldSurvivesSavingAndLoading)
{
    for (int namedCount : {0, 3, 101}) {
        SCOPED_TRACE(namedCount);
        fs.files.clear();
        const SettingsData saved = SampleData(namedCount);
        ASSERT_TRUE(store.saveSettings(saved));
        EXPECT_EQ(load(), saved);
    }
}

TEST_F(SettingsSave, FileHasTheSectionsAndKeysInWritingOrder)
{
    SettingsData d = SampleData(1);
    d.current.leftCm = 0.5;
    d.current.topCm = -0.25;
    ASSERT_TRUE(store.saveSettings(d));

    std::string expected =
        "[Application]\nTitle=私のトヴリモ\nIcon=/home/u/icons/t.ico\nVersion=2.80\n[Option]\n"
        "SelfTime=20\nDoubleClick=2\nDoubleClickDo=4\nConfirmBeforePrint=0\nIconDelete=1\n"
        "ReversePrint=1\nSelfTimer=1\nPrinterCount=1\nLastSet=0\nIconCapture=1\n";
    for (int slot = 0; slot < 10; ++slot) {
        const std::string n = std::to_string(slot);
        const Settings& s = d.settings;
        expected += "HotKeyOn" + n + "=" + std::to_string(s.hotKeyOn[slot]) + "\nHotKeyALT" + n +
                    "=" + std::to_string(s.hotKeyAlt[slot]) + "\nHotKeySHIFT" + n + "=" +
                    std::to_string(s.hotKeyShift[slot]) + "\nHotKeyCTRL" + n + "=1\nHotKeyButton" +
                    n + "=" + std::to_string(112 + slot) + "\n";
    }
    expected +=
        "[DefaultPrinter]\nDeviceName=プリンタ 0\nHiritsu=0\nOrientation=1\nPaperBin=0\n"
        "PaperSize=8\nPos=1\nSize=1\nSizeP=37\nLeft=.5\nTop=-.25\nFontName=ＭＳ 明朝\nFontSize=9\n"
        "FontItalic=-1\nFontBold=-1\nFontUnderLine=0\nTitleText=&[日付] &[時刻] ｶﾅ 0\n"
        "TitleAlign=0\nTitleVAlign=0\n"
        "[Printer1]\nDeviceName=プリンタ 1\nHiritsu=1\nOrientation=2\nPaperBin=1\nPaperSize=9\n"
        "Pos=2\nSize=2\nSizeP=38\nTitle=設定 1\nLeft=-.25\nTop=2.27\nFontName=ＭＳ 明朝\n"
        "FontSize=10\nFontItalic=0\nFontBold=0\nFontUnderLine=-1\nTitleText=&[日付] &[時刻] ｶﾅ 1\n"
        "TitleAlign=1\nTitleVAlign=1\n";
    EXPECT_EQ(iniText(), expected);
}

TEST_F(SettingsSave, UnknownKeysAndSurplusSectionsDisappear)
{
    ASSERT_TRUE(store.saveSettings(SampleData(3)));
    iniText() += "[Extra]\nKey=1\n";
    SettingsData d = load();
    ASSERT_EQ(d.settings.namedSettingCount, 3);

    // The second of three named settings is removed in memory.
    d.named[1] = d.named[2];
    d.settings.namedSettingCount = 2;
    ASSERT_TRUE(store.saveSettings(d));
    EXPECT_EQ(iniDoc().sectionNames(),
              (std::vector<std::string>{"Application", "Option", "DefaultPrinter", "Printer1",
                                        "Printer2"}));
    const SettingsData reloaded = load();
    EXPECT_EQ(reloaded.settings.namedSettingCount, 2);
    EXPECT_EQ(reloaded.named[1].name, "設定 3");
}

TEST_F(SettingsSave, UnrecognisedLayoutCodesAreWrittenAsNumbersThatReadBackTheSame)
{
    // Pos, Size and Orientation have no meaning at 0, the title codes none at -1.
    const SettingsData d = loadFrom(
        "[Application]\nTitle=T\nVersion=2.80\n[DefaultPrinter]\nPos=9\nSize=7\nOrientation=5\n"
        "TitleAlign=4\nTitleVAlign=3\nHiritsu=-1\nFontName=F\nFontSize=10\n");
    ASSERT_TRUE(store.saveSettings(d));
    const IniDocument doc = iniDoc();
    EXPECT_EQ(doc.get("DefaultPrinter", "Pos"), "0");
    EXPECT_EQ(doc.get("DefaultPrinter", "Size"), "0");
    EXPECT_EQ(doc.get("DefaultPrinter", "Orientation"), "0");
    EXPECT_EQ(doc.get("DefaultPrinter", "TitleAlign"), "-1");
    EXPECT_EQ(doc.get("DefaultPrinter", "TitleVAlign"), "-1");
    EXPECT_EQ(doc.get("DefaultPrinter", "Hiritsu"), "1");
    const SettingsData reloaded = load();
    EXPECT_EQ(reloaded.current, d.current);
    EXPECT_EQ(reloaded.current.titleAlignment, TitleAlignment::Unrecognised);
    EXPECT_EQ(reloaded.current.titlePlacement, TitlePlacement::Unrecognised);
}

TEST_F(SettingsSave, PaperAndKeyCodesWithoutAQtCounterpartAreWrittenBackUnchanged)
{
    // 17 (11 x 17 in) and 256 name no Qt size of their own, 145 (Scroll Lock) and 0x61 (the
    // keypad's 1) no key the options offer: the printers and the hot keys never see them, and
    // the file keeps them as typed.
    const SettingsData d = loadFrom(
        "[Application]\nTitle=T\nVersion=2.80\n[Option]\nHotKeyOn3=1\nHotKeyButton3=145\n"
        "HotKeyOn4=1\nHotKeyButton4=97\nPrinterCount=1\n[DefaultPrinter]\nPaperSize=17\n"
        "FontName=F\nFontSize=10\n[Printer1]\nName=A\nPaperSize=256\nFontName=F\nFontSize=10\n");
    ASSERT_TRUE(store.saveSettings(d));
    const IniDocument doc = iniDoc();
    EXPECT_EQ(doc.get("Option", "HotKeyButton3"), "145");
    EXPECT_EQ(doc.get("Option", "HotKeyButton4"), "97");
    EXPECT_EQ(doc.get("DefaultPrinter", "PaperSize"), "17");
    EXPECT_EQ(doc.get("Printer1", "PaperSize"), "256");
    EXPECT_EQ(load().settings.hotKeyCode[3], 145);
}

TEST_F(SettingsSave, FailedWriteKeepsTheOldFileAndTellsTheUser)
{
    ASSERT_TRUE(store.saveSettings(SampleData(2)));
    const std::string before = iniText();

    SettingsData changed = SampleData(1);
    changed.settings.title = "changed";
    fs.failWrites = true;
    EXPECT_FALSE(store.saveSettings(changed));

    EXPECT_EQ(iniText(), before);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].caption, "トヴリモ");
    const std::string& text = notices[0].text;
    EXPECT_EQ(text.rfind(settings_texts::kSaveFailed, 0), 0u) << text;
    EXPECT_NE(text.find(iniPath), std::string::npos) << text;
    EXPECT_NE(text.find("No space left on device"), std::string::npos) << text;
}

TEST_F(SettingsSave, ShiftJisFileIsLoadedAndRewrittenInShiftJis)
{
    const std::string utf8 =
        "[Application]\r\nTitle=ﾄｳﾞﾘﾓ 改\r\nVersion=2.80\r\n[Option]\r\nPrinterCount=1\r\n"
        "[DefaultPrinter]\r\nDeviceName=事務所のプリンタ\r\nFontName=ＭＳ "
        "Ｐゴシック\r\nFontSize=10\r\n"
        "[Printer1]\r\nTitle=見積書\r\nTitleText=&[日付] 社外秘\r\n";
    fs.files[iniPath] = ShiftJisBytes(utf8);

    SettingsData d = load();
    EXPECT_EQ(d.settings.title, "ﾄｳﾞﾘﾓ 改");
    EXPECT_EQ(d.current.printerName, "事務所のプリンタ");
    EXPECT_EQ(d.named[0].name, "見積書");
    EXPECT_EQ(d.named[0].titleText, "&[日付] 社外秘");

    d.named[0].name = "請求書";
    ASSERT_TRUE(store.saveSettings(d));
    ASSERT_FALSE(IsValidUtf8(iniText()));
    const IniDocument doc = iniDoc();
    EXPECT_EQ(doc.encoding(), IniEncoding::ShiftJis);
    EXPECT_EQ(doc.get("Printer1", "Title"), "請求書");
    EXPECT_NE(iniText().find(ShiftJisBytes("Title=請求書\n")), std::string::npos);
    EXPECT_EQ(load(), d);
}

TEST_F(SettingsSave, ShiftJisFileTurnsUtf8WhenATextHasNoShiftJisForm)
{
    fs.files[iniPath] = ShiftJisBytes("[Application]\nTitle=トヴリモ\nVersion=2.80\n");
    SettingsData d = load();
    d.settings.title = "トヴリモ 🖨";
    ASSERT_TRUE(store.saveSettings(d));
    EXPECT_TRUE(IsValidUtf8(iniText()));
    EXPECT_EQ(load().settings.title, "トヴリモ 🖨");
}

TEST_F(SettingsSave, SavePrintSettingWritesOneSectionAndTheCount)
{
    ASSERT_TRUE(store.saveSettings(SampleData(0)));
    const PrintLayout layout = SampleLayout(4, "追加");
    store.savePrintSetting(layout, 1);
    EXPECT_EQ(store.readIni("Option", "PrinterCount"), "1");
    EXPECT_EQ(iniDoc().sectionNames().back(), "Printer1");
    EXPECT_EQ(load().named[0], layout);
}

TEST_F(SettingsSave, SingleKeysAreReadAndWrittenInPlace)
{
    EXPECT_EQ(store.readIni("Application", "Title"), "");
    store.writeIni("Application", "Title", "T");
    store.writeIni("Option", "SelfTime", "3");
    store.writeIni("application", "TITLE", "U");
    EXPECT_EQ(iniText(), "[Application]\nTitle=U\n[Option]\nSelfTime=3\n");
    EXPECT_EQ(store.readIni("APPLICATION", "title"), "U");

    // Failures are ignored, and a file that exists but cannot be read is not replaced.
    fs.failWrites = true;
    store.writeIni("Option", "SelfTime", "4");
    fs.failWrites = false;
    fs.failReads = true;
    store.writeIni("Option", "SelfTime", "5");
    fs.failReads = false;
    EXPECT_EQ(store.readIni("Option", "SelfTime"), "3");
}

TEST_F(SettingsSave, FullDetailPrintIsStoredOnlyWhenOn)
{
    SettingsData d = SampleData(1);
    ASSERT_TRUE(store.saveSettings(d));
    const std::string withoutKey = iniText();
    ASSERT_EQ(withoutKey.find("FullDetailPrint"), std::string::npos);

    // A file without the key (every file written before the option existed) loads as off and
    // is written back byte for byte.
    SettingsData loaded = load();
    EXPECT_FALSE(loaded.settings.fullDetailPrint);
    ASSERT_TRUE(store.saveSettings(loaded));
    EXPECT_EQ(iniText(), withoutKey);

    // On: one more line, at the end of the options; everything else stays where it was.
    loaded.settings.fullDetailPrint = true;
    ASSERT_TRUE(store.saveSettings(loaded));
    std::string expected = withoutKey;
    expected.insert(expected.find("[DefaultPrinter]"), "FullDetailPrint=1\n");
    EXPECT_EQ(iniText(), expected);
    EXPECT_EQ(load(), loaded);

    // Off again: the key goes.
    loaded.settings.fullDetailPrint = false;
    ASSERT_TRUE(store.saveSettings(loaded));
    EXPECT_EQ(iniText(), withoutKey);
}

TEST_F(SettingsSave, FullDetailPrintReadsAnyNonZeroValueAsOn)
{
    const struct {
        const char* line;
        int16_t expected;
    } cases[] = {{"", 0},
                 {"FullDetailPrint=0\n", 0},
                 {"FullDetailPrint=1\n", 1},
                 {"FullDetailPrint=-1\n", 1},
                 {"FullDetailPrint=7\n", 1},
                 {"FullDetailPrint=x\n", 0},
                 {"fulldetailprint=1\n", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const SettingsData d = loadFrom(std::string("[Application]\nTitle=T\nVersion=2.80\n"
                                                    "[Option]\nSelfTime=5\n") +
                                        c.line);
        EXPECT_EQ(d.settings.fullDetailPrint, c.expected);
    }
}

TEST_F(SettingsSave, ShowCountdownIsStoredOnlyWhenOff)
{
    SettingsData d = SampleData(1);
    ASSERT_TRUE(d.settings.showCountdown);
    ASSERT_TRUE(store.saveSettings(d));
    const std::string withoutKey = iniText();
    ASSERT_EQ(withoutKey.find("ShowCountdown"), std::string::npos);

    // A file without the key (every file written before the option existed) loads as on and
    // is written back byte for byte.
    SettingsData loaded = load();
    EXPECT_TRUE(loaded.settings.showCountdown);
    ASSERT_TRUE(store.saveSettings(loaded));
    EXPECT_EQ(iniText(), withoutKey);

    // Off: one more line, at the end of the options.
    loaded.settings.showCountdown = false;
    ASSERT_TRUE(store.saveSettings(loaded));
    std::string expected = withoutKey;
    expected.insert(expected.find("[DefaultPrinter]"), "ShowCountdown=0\n");
    EXPECT_EQ(iniText(), expected);
    EXPECT_EQ(load(), loaded);

    // With the other optional key on as well, both are there and read back.
    loaded.settings.fullDetailPrint = true;
    ASSERT_TRUE(store.saveSettings(loaded));
    EXPECT_NE(iniText().find("\nFullDetailPrint=1\n"), std::string::npos);
    EXPECT_NE(iniText().find("\nShowCountdown=0\n"), std::string::npos);
    EXPECT_EQ(load(), loaded);

    // On again: the key goes.
    loaded.settings.fullDetailPrint = false;
    loaded.settings.showCountdown = true;
    ASSERT_TRUE(store.saveSettings(loaded));
    EXPECT_EQ(iniText(), withoutKey);
}

TEST_F(SettingsSave, ShowCountdownIsOffOnlyForANumberThatIsZero)
{
    const struct {
        const char* line;
        bool expected;
    } cases[] = {{"", true},
                 {"ShowCountdown=\n", true},
                 {"ShowCountdown=0\n", false},
                 {"ShowCountdown=1\n", true},
                 {"ShowCountdown=-1\n", true},
                 {"ShowCountdown=x\n", false},
                 {"showcountdown=0\n", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const SettingsData d = loadFrom(std::string("[Application]\nTitle=T\nVersion=2.80\n"
                                                    "[Option]\nSelfTime=5\n") +
                                        c.line);
        EXPECT_EQ(d.settings.showCountdown, c.expected);
    }
}
