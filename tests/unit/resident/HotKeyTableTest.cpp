#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/SettingsStore.h"
#include "doubles/FakePrinterBackend.h"
#include "doubles/MemoryFileSystem.h"
#include "doubles/RecordingMessageBoxes.h"
#include "doubles/ShownSettingsStore.h"
#include "resident/HotKeyTable.h"

using namespace tovrimo;

namespace {

// The settings as read from a settings file whose [Option] section holds `options`: what the
// table sees of a hand-edited file.
Settings LoadedFrom(const std::string& options)
{
    test::MemoryFileSystem fs;
    test::FakePrinterBackend printers;
    test::RecordingMessageBoxes boxes;
    const std::string folder = "/home/u/.config/tovrimo/";
    fs.files[folder + "tovrimo.ini"] = "[Application]\nTitle=T\nVersion=2.80\n[Option]\n" +
                                       options + "[DefaultPrinter]\nFontName=F\nFontSize=10\n";
    test::ShownSettingsStore store(fs, printers, boxes, folder);
    SettingsData data;
    EXPECT_EQ(store.loadSettings(data), LoadResult::Loaded);
    return data.settings;
}

}  // namespace

TEST(HotKeyTable, ModifierFlagsFromTheSettings)
{
    struct Case {
        const char* name;
        bool alt, ctrl, shift;
        HotKeyModifiers expected;
    };
    const Case cases[] = {
        {"none", false, false, false, 0},           {"alt alone is 1", true, false, false, 1},
        {"ctrl alone is 2", false, true, false, 2}, {"shift alone is 4", false, false, true, 4},
        {"ctrl+alt is 3", true, true, false, 3},    {"alt+shift is 5", true, false, true, 5},
        {"ctrl+shift is 6", false, true, true, 6},  {"all three are 7", true, true, true, 7},
    };
    for (const Case& c : cases) {
        Settings s;
        const int slot = 6;
        s.hotKeyAlt[slot] = c.alt;
        s.hotKeyCtrl[slot] = c.ctrl;
        s.hotKeyShift[slot] = c.shift;
        EXPECT_EQ(ModifiersForSlot(s, slot), c.expected) << c.name;
        // Another slot's flags never leak in.
        EXPECT_EQ(ModifiersForSlot(s, 5), 0u) << c.name;
    }
}

TEST(HotKeyTable, ModifierValuesOtherThanOneInTheFileAreOff)
{
    // Only 1 means "required"; anything else in the file is off.
    const Settings s = LoadedFrom("HotKeyOn6=1\nHotKeyALT6=2\nHotKeyCTRL6=-1\nHotKeySHIFT6=0\n");
    EXPECT_EQ(ModifiersForSlot(s, 6), 0u);
    EXPECT_EQ(LoadedFrom("HotKeyALT6=1\nHotKeyCTRL6=1\nHotKeySHIFT6=5\n").hotKeyAlt[6], true);
    EXPECT_EQ(ModifiersForSlot(LoadedFrom("HotKeyALT6=1\nHotKeyCTRL6=1\nHotKeySHIFT6=5\n"), 6), 3u);
}

TEST(HotKeyTable, ModifiersOfASlotOutsideTheTableAreNone)
{
    Settings s;
    s.hotKeyAlt.fill(true);
    EXPECT_EQ(ModifiersForSlot(s, -1), 0u);
    EXPECT_EQ(ModifiersForSlot(s, 10), 0u);
}

TEST(HotKeyTable, EnabledSlotsAreRegisteredInOrder)
{
    Settings s;
    s.hotKeyOn[7] = true;
    s.hotKeyOn[0] = true;
    s.hotKeyOn[9] = true;
    for (AppState state : {AppState::Idle, AppState::OptionsOpen, AppState::PrintRegionPending}) {
        EXPECT_EQ(SlotsToRegister(s, state), (std::vector<int>{0, 7, 9}));
    }
}

TEST(HotKeyTable, OnlyOneInTheFileEnablesASlot)
{
    const Settings s =
        LoadedFrom("HotKeyOn7=1\nHotKeyOn0=1\nHotKeyOn9=1\nHotKeyOn3=2\nHotKeyOn4=-1\n");
    for (AppState state : {AppState::Idle, AppState::OptionsOpen, AppState::PrintRegionPending}) {
        EXPECT_EQ(SlotsToRegister(s, state), (std::vector<int>{0, 7, 9}));
    }
}

TEST(HotKeyTable, NothingIsRegisteredInACommandLineJob)
{
    Settings s;
    s.hotKeyOn.fill(true);
    EXPECT_TRUE(SlotsToRegister(s, AppState::CommandLine).empty());
    EXPECT_EQ(SlotsToRegister(s, AppState::Idle).size(), 10u);
}

TEST(HotKeyTable, NoSlotEnabledRegistersNothing)
{
    EXPECT_TRUE(SlotsToRegister(Settings{}, AppState::Idle).empty());
}
