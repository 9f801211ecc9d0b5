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
        EXPECT_EQ(s.IconCapture, 1);
        for (int slot = 0; slot < 10; ++slot) {
            EXPECT_EQ(s.HotKeyOn[slot], 1);
            EXPECT_EQ(s.HotKeyCTRL[slot], 1);
            EXPECT_EQ(s.HotKeyButton[slot], 65 + slot);
        }
    }
}

TEST_F(SettingsLoad, Version25HasNoSlot9)
{
    for (const char* version : {"2.5", "2.4"}) {
        SCOPED_TRACE(version);
        const Settings s = loadFrom(FileOfVersion(version)).settings;
        EXPECT_EQ(s.Version, version);
        EXPECT_EQ(s.IconCapture, 1);
        EXPECT_EQ(s.HotKeyOn[8], 1);
        EXPECT_EQ(s.HotKeyButton[8], 73);
        EXPECT_EQ(s.HotKeyOn[9], 0);
        EXPECT_EQ(s.HotKeyALT[9], 0);
        EXPECT_EQ(s.HotKeyCTRL[9], 0);
        EXPECT_EQ(s.HotKeyButton[9], 0);
    }
}

TEST_F(SettingsLoad, UnknownVersionsEnableNoHotKeyAndTheNextSaveWrites280)
{
    for (const char* version : {"2.3", "3.0", "2.81", "-1"}) {
        SCOPED_TRACE(version);
        const SettingsData data = loadFrom(FileOfVersion(version));
        EXPECT_EQ(data.settings.IconCapture, 0);
        EXPECT_EQ(data.settings.HotKeyOn, (std::array<int16_t, 10>{}));
        EXPECT_EQ(data.settings.HotKeyButton, (std::array<int16_t, 10>{}));

        ASSERT_TRUE(store.SaveSettings(data));
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
    EXPECT_EQ(s.Version, "0");
    EXPECT_EQ(s.IconCapture, 1);
    EXPECT_EQ(s.HotKeyOn[6], 1);
    EXPECT_EQ(s.HotKeyALT[6], 1);
    EXPECT_EQ(s.HotKeySHIFT[6], 0);
    EXPECT_EQ(s.HotKeyCTRL[6], 1);
    EXPECT_EQ(s.HotKeyButton[6], 80);
    for (int slot = 0; slot < 10; ++slot)
        if (slot != 6) {
            EXPECT_EQ(s.HotKeyOn[slot], 0) << slot;
        }
    EXPECT_EQ(s.DoubleClick, 2);
    EXPECT_EQ(s.DoubleClickDo, 3);
}

TEST_F(SettingsLoad, OldestFileKeepsItsOwnSingleHotKey)
{
    // DoubleClick 1 (hard copy), DoubleClickDo 2 (active window): slot 1.
    const Settings s = loadFrom(
                           "[Application]\nTitle=T\n[Option]\nDoubleClick=1\nDoubleClickDo=2\n"
                           "HotKeyOn=0\nHotKeyALT=0\nHotKeySHIFT=1\nHotKeyCTRL=1\n"
                           "HotKeyButton=123\nHotKeyOn1=1\nHotKeyButton1=70\n")
                           .settings;
    EXPECT_EQ(s.HotKeyOn[1], 0);
    EXPECT_EQ(s.HotKeyALT[1], 0);
    EXPECT_EQ(s.HotKeySHIFT[1], 1);
    EXPECT_EQ(s.HotKeyCTRL[1], 1);
    EXPECT_EQ(s.HotKeyButton[1], 123);
    EXPECT_EQ(s.IconCapture, 1);
}

TEST_F(SettingsLoad, OldestFileWithoutASourceSkipsTheHotKeyAndDoublesClickToDesktop)
{
    // DoubleClick 1 with DoubleClickDo 0 points at slot -1: no slot is touched.
    const Settings s =
        loadFrom("[Application]\nTitle=T\n[Option]\nDoubleClick=1\nHotKeyButton=81\n").settings;
    EXPECT_EQ(s.HotKeyOn, (std::array<int16_t, 10>{}));
    EXPECT_EQ(s.HotKeyButton, (std::array<int16_t, 10>{}));
    EXPECT_EQ(s.IconCapture, 1);
    EXPECT_EQ(s.DoubleClick, 1);
    EXPECT_EQ(s.DoubleClickDo, 1);

    // DoubleClick 4 (repeat) with DoubleClickDo 7 would be slot 10.
    const Settings t =
        loadFrom("[Application]\nTitle=T\n[Option]\nDoubleClick=4\nDoubleClickDo=7\n").settings;
    EXPECT_EQ(t.HotKeyOn, (std::array<int16_t, 10>{}));
    EXPECT_EQ(t.DoubleClick, 4);
}

TEST_F(SettingsLoad, CurrentLayoutWithoutFontGetsTheWholeTitleStyleReset)
{
    const SettingsData data = loadFrom(
        "[Application]\nTitle=T\nVersion=2.80\n[Option]\nPrinterCount=1\n"
        "[DefaultPrinter]\nFontName=\nFontSize=12\nFontBold=-1\nFontItalic=-1\nFontUnderLine=-1\n"
        "TitleAlign=2\nTitleVAlign=1\n"
        "[Printer1]\nFontName=\nFontSize=12\nFontBold=-1\nTitleAlign=2\nTitleVAlign=1\n");
    const PrintLayout& current = data.current;
    EXPECT_EQ(current.FontName, "ＭＳ Ｐゴシック");
    EXPECT_EQ(current.FontSize, 10);
    EXPECT_FALSE(current.FontBold);
    EXPECT_FALSE(current.FontItalic);
    EXPECT_FALSE(current.FontUnderLine);
    EXPECT_EQ(current.TitleAlign, 0);
    EXPECT_EQ(current.TitleVAlign, 0);

    // A named setting only gains the font name.
    const PrintLayout& named = data.named[0];
    EXPECT_EQ(named.FontName, "ＭＳ Ｐゴシック");
    EXPECT_EQ(named.FontSize, 12);
    EXPECT_TRUE(named.FontBold);
    EXPECT_EQ(named.TitleAlign, 2);
    EXPECT_EQ(named.TitleVAlign, 1);
}

TEST_F(SettingsLoad, FontSizeZeroResetsTheCurrentStyleButOnlyTheSizeOfANamedOne)
{
    const SettingsData data = loadFrom(
        "[Application]\nTitle=T\n[Option]\nPrinterCount=1\n"
        "[DefaultPrinter]\nFontName=Gothic\nFontSize=0\nFontItalic=-1\nTitleAlign=1\n"
        "[Printer1]\nFontName=Gothic\nFontSize=0\nFontItalic=-1\nTitleAlign=1\n");
    EXPECT_EQ(data.current.FontName, "ＭＳ Ｐゴシック");
    EXPECT_FALSE(data.current.FontItalic);
    EXPECT_EQ(data.current.TitleAlign, 0);
    EXPECT_EQ(data.named[0].FontName, "Gothic");
    EXPECT_EQ(data.named[0].FontSize, 10);
    EXPECT_TRUE(data.named[0].FontItalic);
    EXPECT_EQ(data.named[0].TitleAlign, 1);
}

TEST_F(SettingsLoad, FractionsRoundToEvenAndOutOfRangeValuesClamp)
{
    const SettingsData data = loadFrom(
        "[Application]\nTitle=T\nVersion=2.80\n[Option]\nSelfTime=2.5\nDoubleClick=3.5\nLastSet=-"
        "70000\n"
        "ReversePrint=junk\n"
        "[DefaultPrinter]\nSizeP=70000\nPos= 4.5 "
        "\nFontName=F\nFontSize=3e9\nLeft=-1.25cm\nTop=.5\n");
    EXPECT_EQ(data.settings.SelfTime, 2);
    EXPECT_EQ(data.settings.DoubleClick, 4);
    EXPECT_EQ(data.settings.LastSet, -32768);
    EXPECT_EQ(data.settings.ReversePrint, 0);
    EXPECT_EQ(data.current.SizeP, 32767);
    EXPECT_EQ(data.current.Pos, 4);
    EXPECT_EQ(data.current.FontSize, 2147483647);
    EXPECT_EQ(data.current.Left, -1.25);
    EXPECT_EQ(data.current.Top, 0.5);
}

TEST_F(SettingsLoad, PrinterCountNeverReachesPastTheTable)
{
    std::string text = "[Application]\nTitle=T\n[Option]\nPrinterCount=500\n";
    for (int n = 1; n <= 102; ++n)
        text += "[Printer" + std::to_string(n) + "]\nTitle=s" + std::to_string(n) + "\n";
    const SettingsData many = loadFrom(text);
    EXPECT_EQ(many.settings.PrinterCount, 101);
    EXPECT_EQ(many.named[100].Title, "s101");

    const SettingsData negative =
        loadFrom("[Application]\nTitle=T\n[Option]\nPrinterCount=-3\n[Printer1]\nTitle=x\n");
    EXPECT_EQ(negative.settings.PrinterCount, 0);
    EXPECT_EQ(negative.named[0], PrintLayout{});
}

TEST_F(SettingsLoad, KeysAreFoundWhateverTheirCase)
{
    const SettingsData data = loadFrom(
        "[APPLICATION]\r\ntitle=T\r\nversion=2.80\r\n[option]\r\nselftime=12\r\nhotkeyon3=1\r\n"
        "[defaultprinter]\r\ndevicename=Office\r\n");
    EXPECT_EQ(data.settings.SelfTime, 12);
    EXPECT_EQ(data.settings.HotKeyOn[3], 1);
    EXPECT_EQ(data.current.DeviceName, "Office");
}

TEST_F(SettingsLoad, LoadingStartsFromEmptyRecords)
{
    SettingsData data;
    data.settings.HotKeyOn[9] = 1;
    data.settings.IconCapture = 1;
    data.named[5].Title = "stale";
    fs.files[iniPath] = FileOfVersion("3.0");
    ASSERT_EQ(store.LoadSettings(data), LoadResult::Loaded);
    EXPECT_EQ(data.settings.HotKeyOn[9], 0);
    EXPECT_EQ(data.settings.IconCapture, 0);
    EXPECT_EQ(data.named[5], PrintLayout{});
}
