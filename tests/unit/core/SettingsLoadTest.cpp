#include "SettingsFixture.h"

using namespace tovrimo;
using namespace tovrimo::test;

namespace {

// Hot-key keys with distinct values for every slot: On 1, ALT 1, SHIFT 0, CTRL 1, key 65 + slot.
std::string AllHotKeys()
{
    std::string text;
    for (int slot = 0; slot < 10; ++slot) {
        const std::string n = std::to_string(slot);
        text += "HotKeyOn" + n + "=1\nHotKeyALT" + n + "=1\nHotKeySHIFT" + n + "=0\nHotKeyCTRL" +
                n + "=1\nHotKeyButton" + n + "=" + std::to_string(65 + slot) + "\n";
    }
    return text;
}

std::string FileOfVersion(const std::string& version, const std::string& moreOptions = "")
{
    std::string text = "[Application]\nTitle=T\n";
    if (!version.empty()) text += "Version=" + version + "\n";
    return text + "[Option]\nIconCapture=1\n" + AllHotKeys() + moreOptions +
           "[DefaultPrinter]\nFontName=F\nFontSize=10\n";
}

}  // namespace

using SettingsLoad = SettingsFixture;

TEST_F(SettingsLoad, CurrentVersionsReadAllTenSlots)
{
    for (const char* version : {"2.80", "2.8", "2.7", "2.6", "2.60abc"}) {
        SCOPED_TRACE(version);
        const Settings s = loadFrom(FileOfVersion(version)).settings;
        EXPECT_TRUE(s.captureCursor);
        for (int slot = 0; slot < 10; ++slot) {
            EXPECT_TRUE(s.hotKeyOn[slot]);
            EXPECT_TRUE(s.hotKeyCtrl[slot]);
            EXPECT_EQ(s.hotKeyCode[slot], 65 + slot);
        }
    }
}

TEST_F(SettingsLoad, Version25HasNoSlot9)
{
    for (const char* version : {"2.5", "2.4"}) {
        SCOPED_TRACE(version);
        const Settings s = loadFrom(FileOfVersion(version)).settings;
        EXPECT_EQ(s.formatVersion, version);
        EXPECT_TRUE(s.captureCursor);
        EXPECT_TRUE(s.hotKeyOn[8]);
        EXPECT_EQ(s.hotKeyCode[8], 73);
        EXPECT_FALSE(s.hotKeyOn[9]);
        EXPECT_FALSE(s.hotKeyAlt[9]);
        EXPECT_FALSE(s.hotKeyCtrl[9]);
        EXPECT_EQ(s.hotKeyCode[9], 0);
    }
}

TEST_F(SettingsLoad, UnknownVersionsEnableNoHotKeyAndTheNextSaveWrites280)
{
    for (const char* version : {"2.3", "3.0", "2.81", "-1"}) {
        SCOPED_TRACE(version);
        const SettingsData data = loadFrom(FileOfVersion(version));
        EXPECT_FALSE(data.settings.captureCursor);
        EXPECT_EQ(data.settings.hotKeyOn, (std::array<bool, 10>{}));
        EXPECT_EQ(data.settings.hotKeyCode, (std::array<int16_t, 10>{}));

        ASSERT_TRUE(store.saveSettings(data));
        const IniDocument doc = iniDoc();
        EXPECT_EQ(doc.get("Application", "Version"), "2.80");
        for (int slot = 0; slot < 10; ++slot) {
            EXPECT_EQ(doc.get("Option", "HotKeyOn" + std::to_string(slot)), "0");
            EXPECT_EQ(doc.get("Option", "HotKeyButton" + std::to_string(slot)), "0");
        }
    }
}

TEST_F(SettingsLoad, OldestFileGetsCtrlAltPInTheSlotOfItsDoubleClickAction)
{
    // DoubleClick 2 (copy), DoubleClickDo 3 (region): slot 3 + 3 = 6, copy of a region.
    const Settings s =
        loadFrom("[Application]\nTitle=T\n[Option]\nDoubleClick=2\nDoubleClickDo=3\n").settings;
    EXPECT_EQ(s.formatVersion, "0");
    EXPECT_TRUE(s.captureCursor);
    EXPECT_TRUE(s.hotKeyOn[6]);
    EXPECT_TRUE(s.hotKeyAlt[6]);
    EXPECT_FALSE(s.hotKeyShift[6]);
    EXPECT_TRUE(s.hotKeyCtrl[6]);
    EXPECT_EQ(s.hotKeyCode[6], 80);
    for (int slot = 0; slot < 10; ++slot)
        if (slot != 6) {
            EXPECT_FALSE(s.hotKeyOn[slot]) << slot;
        }
    EXPECT_EQ(s.doubleClickDestination, CaptureDestination::Clipboard);
    EXPECT_EQ(s.doubleClickSource, CaptureSource::Region);
}

TEST_F(SettingsLoad, OldestFileKeepsItsOwnSingleHotKey)
{
    // DoubleClick 1 (hard copy), DoubleClickDo 2 (active window): slot 1.
    const Settings s = loadFrom(
                           "[Application]\nTitle=T\n[Option]\nDoubleClick=1\nDoubleClickDo=2\n"
                           "HotKeyOn=0\nHotKeyALT=0\nHotKeySHIFT=1\nHotKeyCTRL=1\n"
                           "HotKeyButton=123\nHotKeyOn1=1\nHotKeyButton1=70\n")
                           .settings;
    EXPECT_FALSE(s.hotKeyOn[1]);
    EXPECT_FALSE(s.hotKeyAlt[1]);
    EXPECT_TRUE(s.hotKeyShift[1]);
    EXPECT_TRUE(s.hotKeyCtrl[1]);
    EXPECT_EQ(s.hotKeyCode[1], 123);
    EXPECT_TRUE(s.captureCursor);
}

TEST_F(SettingsLoad, OldestFileWithoutASourceSkipsTheHotKeyAndDoublesClickToDesktop)
{
    // DoubleClick 1 with DoubleClickDo 0 points at slot -1: no slot is touched.
    const Settings s =
        loadFrom("[Application]\nTitle=T\n[Option]\nDoubleClick=1\nHotKeyButton=81\n").settings;
    EXPECT_EQ(s.hotKeyOn, (std::array<bool, 10>{}));
    EXPECT_EQ(s.hotKeyCode, (std::array<int16_t, 10>{}));
    EXPECT_TRUE(s.captureCursor);
    EXPECT_EQ(s.doubleClickDestination, CaptureDestination::Printer);
    EXPECT_EQ(s.doubleClickSource, CaptureSource::Desktop);

    // DoubleClick 4 (repeat) with DoubleClickDo 7 would be slot 10.
    const Settings t =
        loadFrom("[Application]\nTitle=T\n[Option]\nDoubleClick=4\nDoubleClickDo=7\n").settings;
    EXPECT_EQ(t.hotKeyOn, (std::array<bool, 10>{}));
    EXPECT_EQ(t.doubleClickDestination, std::nullopt);
}

TEST_F(SettingsLoad, CurrentLayoutWithoutFontGetsTheWholeTitleStyleReset)
{
    const SettingsData data = loadFrom(
        "[Application]\nTitle=T\nVersion=2.80\n[Option]\nPrinterCount=1\n"
        "[DefaultPrinter]\nFontName=\nFontSize=12\nFontBold=-1\nFontItalic=-1\nFontUnderLine=-1\n"
        "TitleAlign=2\nTitleVAlign=1\n"
        "[Printer1]\nFontName=\nFontSize=12\nFontBold=-1\nTitleAlign=2\nTitleVAlign=1\n");
    const PrintLayout& current = data.current;
    EXPECT_EQ(current.fontName, "ＭＳ Ｐゴシック");
    EXPECT_EQ(current.fontPoints, 10);
    EXPECT_FALSE(current.bold);
    EXPECT_FALSE(current.italic);
    EXPECT_FALSE(current.underline);
    EXPECT_EQ(current.titleAlignment, TitleAlignment::ImageLeft);
    EXPECT_EQ(current.titlePlacement, TitlePlacement::AboveImage);

    // A named setting only gains the font name.
    const PrintLayout& named = data.named[0];
    EXPECT_EQ(named.fontName, "ＭＳ Ｐゴシック");
    EXPECT_EQ(named.fontPoints, 12);
    EXPECT_TRUE(named.bold);
    EXPECT_EQ(named.titleAlignment, TitleAlignment::ImageRight);
    EXPECT_EQ(named.titlePlacement, TitlePlacement::BelowImage);
}

TEST_F(SettingsLoad, FontSizeZeroResetsTheCurrentStyleButOnlyTheSizeOfANamedOne)
{
    const SettingsData data = loadFrom(
        "[Application]\nTitle=T\n[Option]\nPrinterCount=1\n"
        "[DefaultPrinter]\nFontName=Gothic\nFontSize=0\nFontItalic=-1\nTitleAlign=1\n"
        "[Printer1]\nFontName=Gothic\nFontSize=0\nFontItalic=-1\nTitleAlign=1\n");
    EXPECT_EQ(data.current.fontName, "ＭＳ Ｐゴシック");
    EXPECT_FALSE(data.current.italic);
    EXPECT_EQ(data.current.titleAlignment, TitleAlignment::ImageLeft);
    EXPECT_EQ(data.named[0].fontName, "Gothic");
    EXPECT_EQ(data.named[0].fontPoints, 10);
    EXPECT_TRUE(data.named[0].italic);
    EXPECT_EQ(data.named[0].titleAlignment, TitleAlignment::ImageCentre);
}

TEST_F(SettingsLoad, FractionsRoundToEvenAndOutOfRangeValuesClamp)
{
    const SettingsData data = loadFrom(
        "[Application]\nTitle=T\nVersion=2.80\n[Option]\nSelfTime=2.5\nDoubleClick=3.5\nLastSet=-"
        "70000\n"
        "ReversePrint=junk\n"
        "[DefaultPrinter]\nSizeP=70000\nPos= 4.5 "
        "\nFontName=F\nFontSize=3e9\nLeft=-1.25cm\nTop=.5\n");
    EXPECT_EQ(data.settings.selfTimerSeconds, 2);
    EXPECT_EQ(data.settings.doubleClickDestination, std::nullopt);
    EXPECT_EQ(data.settings.lastNamedSetting, -32768);
    EXPECT_FALSE(data.settings.reverseColours);
    EXPECT_EQ(data.current.scalePercent, 32767);
    EXPECT_EQ(data.current.position, PagePosition::BottomLeft);
    EXPECT_EQ(data.current.fontPoints, 2147483647);
    EXPECT_EQ(data.current.leftCm, -1.25);
    EXPECT_EQ(data.current.topCm, 0.5);
}

TEST_F(SettingsLoad, LayoutCodesWithoutAMeaningReadAsUnrecognised)
{
    // Numbers a hand-edited file may hold next to each code's lowest and highest meaning.
    struct Case {
        const char* keys;
        PagePosition position;
        ScaleMode scaleMode;
        PageOrientation orientation;
        TitleAlignment alignment;
        TitlePlacement placement;
    } cases[] = {
        {"Pos=1\nSize=1\nOrientation=1\nTitleAlign=0\nTitleVAlign=0\n", PagePosition::TopLeft,
         ScaleMode::ActualSize, PageOrientation::Portrait, TitleAlignment::ImageLeft,
         TitlePlacement::AboveImage},
        {"Pos=6\nSize=3\nOrientation=2\nTitleAlign=2\nTitleVAlign=1\n", PagePosition::Manual,
         ScaleMode::Percent, PageOrientation::Landscape, TitleAlignment::ImageRight,
         TitlePlacement::BelowImage},
        {"Pos=0\nSize=0\nOrientation=0\nTitleAlign=3\nTitleVAlign=2\n", PagePosition::Unrecognised,
         ScaleMode::Unrecognised, PageOrientation::Unrecognised, TitleAlignment::Unrecognised,
         TitlePlacement::Unrecognised},
        {"Pos=7\nSize=4\nOrientation=3\nTitleAlign=-1\nTitleVAlign=-1\n",
         PagePosition::Unrecognised, ScaleMode::Unrecognised, PageOrientation::Unrecognised,
         TitleAlignment::Unrecognised, TitlePlacement::Unrecognised},
        {"Pos=-1\nSize=-1\nOrientation=-1\nTitleAlign=99\nTitleVAlign=99\n",
         PagePosition::Unrecognised, ScaleMode::Unrecognised, PageOrientation::Unrecognised,
         TitleAlignment::Unrecognised, TitlePlacement::Unrecognised},
        // A file without the keys.
        {"", PagePosition::Unrecognised, ScaleMode::Unrecognised, PageOrientation::Unrecognised,
         TitleAlignment::ImageLeft, TitlePlacement::AboveImage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        const SettingsData data =
            loadFrom(std::string("[Application]\nTitle=T\nVersion=2.80\n[Option]\nPrinterCount=1\n"
                                 "[DefaultPrinter]\nFontName=F\nFontSize=10\n") +
                     c.keys + "[Printer1]\nTitle=N\nFontName=F\nFontSize=10\n" + c.keys);
        for (const PrintLayout* l : {&data.current, &data.named[0]}) {
            EXPECT_EQ(l->position, c.position);
            EXPECT_EQ(l->scaleMode, c.scaleMode);
            EXPECT_EQ(l->orientation, c.orientation);
            EXPECT_EQ(l->titleAlignment, c.alignment);
            EXPECT_EQ(l->titlePlacement, c.placement);
        }
    }
}

TEST_F(SettingsLoad, KeepAspectRatioIsAnyNonZeroNumber)
{
    for (const char* value : {"1", "-1", "5"}) {
        SCOPED_TRACE(value);
        EXPECT_TRUE(loadFrom(std::string("[Application]\nTitle=T\n[DefaultPrinter]\nFontName=F\n"
                                         "FontSize=10\nHiritsu=") +
                             value + "\n")
                        .current.keepAspectRatio);
    }
    EXPECT_FALSE(loadFrom("[Application]\nTitle=T\n[DefaultPrinter]\nFontName=F\nFontSize=10\n"
                          "Hiritsu=0\n")
                     .current.keepAspectRatio);
}

TEST_F(SettingsLoad, PrinterCountNeverReachesPastTheTable)
{
    std::string text = "[Application]\nTitle=T\n[Option]\nPrinterCount=500\n";
    for (int n = 1; n <= 102; ++n)
        text += "[Printer" + std::to_string(n) + "]\nTitle=s" + std::to_string(n) + "\n";
    const SettingsData many = loadFrom(text);
    EXPECT_EQ(many.settings.namedSettingCount, 101);
    EXPECT_EQ(many.named[100].name, "s101");

    const SettingsData negative =
        loadFrom("[Application]\nTitle=T\n[Option]\nPrinterCount=-3\n[Printer1]\nTitle=x\n");
    EXPECT_EQ(negative.settings.namedSettingCount, 0);
    EXPECT_EQ(negative.named[0], PrintLayout{});
}

TEST_F(SettingsLoad, KeysAreFoundWhateverTheirCase)
{
    const SettingsData data = loadFrom(
        "[APPLICATION]\r\ntitle=T\r\nversion=2.80\r\n[option]\r\nselftime=12\r\nhotkeyon3=1\r\n"
        "[defaultprinter]\r\ndevicename=Office\r\n");
    EXPECT_EQ(data.settings.selfTimerSeconds, 12);
    EXPECT_TRUE(data.settings.hotKeyOn[3]);
    EXPECT_EQ(data.current.printerName, "Office");
}

TEST_F(SettingsLoad, LoadingStartsFromEmptyRecords)
{
    SettingsData data;
    data.settings.hotKeyOn[9] = true;
    data.settings.captureCursor = true;
    data.named[5].name = "stale";
    fs.files[iniPath] = FileOfVersion("3.0");
    ASSERT_EQ(store.loadSettings(data), LoadResult::Loaded);
    EXPECT_FALSE(data.settings.hotKeyOn[9]);
    EXPECT_FALSE(data.settings.captureCursor);
    EXPECT_EQ(data.named[5], PrintLayout{});
}

TEST_F(SettingsLoad, StoredDoubleClickNumbersPickTheirChoices)
{
    // DoubleClick: 1 print, 2 copy, 3 sticky note, 4 repeat; a double-click has always
    // repeated the last operation for any other number. DoubleClickDo: 1 desktop ... 5
    // clipboard; any other number stands for no source, so a double-click to print or copy
    // does nothing (the options dialog shows it as the desktop).
    using D = CaptureDestination;
    using S = CaptureSource;
    constexpr std::nullopt_t kRepeat = std::nullopt;
    constexpr std::nullopt_t kNoSource = std::nullopt;
    struct Case {
        const char* stored;
        std::optional<D> action;
        std::optional<S> source;
    };
    const std::vector<Case> cases = {
        {"-1", kRepeat, kNoSource},      {"0", kRepeat, kNoSource},
        {"1", D::Printer, S::Desktop},   {"2", D::Clipboard, S::ActiveWindow},
        {"3", D::StickyNote, S::Region}, {"4", kRepeat, S::ImageFile},
        {"5", kRepeat, S::Clipboard},    {"6", kRepeat, kNoSource},
        {"100", kRepeat, kNoSource},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        const std::string n = c.stored;
        const Settings s =
            loadFrom(FileOfVersion("2.80", "DoubleClick=" + n + "\nDoubleClickDo=" + n + "\n"))
                .settings;
        EXPECT_EQ(s.doubleClickDestination, c.action);
        EXPECT_EQ(s.doubleClickSource, c.source);
    }
}

TEST_F(SettingsLoad, AnUnrecognisedDoubleClickSourceSurvivesASave)
{
    // Written back as 0, which reads as no source again: a save from the print dialog does
    // not turn a double-click that did nothing into a desktop hard copy.
    SettingsData data = loadFrom(FileOfVersion("2.80", "DoubleClick=1\nDoubleClickDo=9\n"));
    ASSERT_EQ(data.settings.doubleClickSource, std::nullopt);
    ASSERT_TRUE(store.saveSettings(data));
    EXPECT_NE(fs.files[iniPath].find("\nDoubleClickDo=0\n"), std::string::npos);
    SettingsData again;
    ASSERT_EQ(store.loadSettings(again), LoadResult::Loaded);
    EXPECT_EQ(again.settings.doubleClickSource, std::nullopt);
    EXPECT_EQ(again.settings.doubleClickDestination, CaptureDestination::Printer);
}

TEST_F(SettingsLoad, SelfTimeIsClampedToTheLongestDelayTheOptionsAllow)
{
    // Beyond 20 s the delay's 16-bit milliseconds would wrap: 60 s would fire after 0.1 s.
    struct Case {
        const char* stored;
        int16_t seconds;
    };
    const std::vector<Case> cases = {
        {"0", 0},   {"1", 1},  {"20", 20},    {"21", 20},   {"33", 20},
        {"60", 20}, {"-5", 0}, {"70000", 20}, {"19.5", 20}, {"abc", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        const Settings s =
            loadFrom(FileOfVersion("2.80", std::string("SelfTimer=1\nSelfTime=") + c.stored + "\n"))
                .settings;
        EXPECT_EQ(s.selfTimerSeconds, c.seconds);
        EXPECT_TRUE(s.selfTimerOn);
    }
}

TEST_F(SettingsLoad, HandEditedFlagsAreOnOnlyWhenOne)
{
    struct Case {
        const char* stored;
        bool on;
    };
    for (const Case& c : {Case{"1", true}, Case{"0", false}, Case{"5", false}, Case{"-1", false},
                          Case{"2", false}}) {
        SCOPED_TRACE(c.stored);
        const std::string n = c.stored;
        const Settings s = loadFrom(FileOfVersion("2.80", "SelfTimer=" + n + "\nIconDelete=" + n +
                                                              "\nConfirmBeforePrint=" + n +
                                                              "\nReversePrint=" + n + "\n"))
                               .settings;
        EXPECT_EQ(s.selfTimerOn, c.on);
        EXPECT_EQ(s.hideIconWhileCapturing, c.on);
        EXPECT_EQ(s.confirmBeforePrint, c.on);
        EXPECT_EQ(s.reverseColours, c.on);
    }
}

TEST_F(SettingsLoad, OddValuesAreWrittenBackAsTheirMeaning)
{
    SettingsData data = loadFrom(
        FileOfVersion("2.80", "SelfTimer=5\nDoubleClick=7\nDoubleClickDo=0\nReversePrint=-1\n"));
    ASSERT_TRUE(store.saveSettings(data));
    const IniDocument doc = iniDoc();
    EXPECT_EQ(doc.get("Option", "SelfTimer"), "0");
    EXPECT_EQ(doc.get("Option", "ReversePrint"), "0");
    EXPECT_EQ(doc.get("Option", "DoubleClick"), "4");
    // No source: written as 0, which means no source again (a double-click does nothing).
    EXPECT_EQ(doc.get("Option", "DoubleClickDo"), "0");
}
