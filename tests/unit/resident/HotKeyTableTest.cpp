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
        Qt::KeyboardModifiers expected;
    };
    const Case cases[] = {
        {"none", false, false, false, Qt::NoModifier},
        {"alt alone", true, false, false, Qt::AltModifier},
        {"ctrl alone", false, true, false, Qt::ControlModifier},
        {"shift alone", false, false, true, Qt::ShiftModifier},
        {"ctrl+alt", true, true, false, Qt::ControlModifier | Qt::AltModifier},
        {"alt+shift", true, false, true, Qt::AltModifier | Qt::ShiftModifier},
        {"ctrl+shift", false, true, true, Qt::ControlModifier | Qt::ShiftModifier},
        {"all three", true, true, true, Qt::AltModifier | Qt::ControlModifier | Qt::ShiftModifier},
    };
    for (const Case& c : cases) {
        Settings s;
        const int slot = 6;
        s.hotKeyAlt[slot] = c.alt;
        s.hotKeyCtrl[slot] = c.ctrl;
        s.hotKeyShift[slot] = c.shift;
        s.hotKeyCode[slot] = 'P';
        EXPECT_EQ(KeysForSlot(s, slot), QKeyCombination(c.expected, Qt::Key_P)) << c.name;
        // Another slot's flags never leak in.
        EXPECT_EQ(KeysForSlot(s, 5).keyboardModifiers(), Qt::NoModifier) << c.name;
    }
}

TEST(HotKeyTable, ModifierValuesOtherThanOneInTheFileAreOff)
{
    // Only 1 means "required"; anything else in the file is off.
    const Settings s =
        LoadedFrom("HotKeyOn6=1\nHotKeyALT6=2\nHotKeyCTRL6=-1\nHotKeySHIFT6=0\nHotKeyButton6=80\n");
    EXPECT_EQ(KeysForSlot(s, 6), QKeyCombination(Qt::Key_P));
    const Settings t =
        LoadedFrom("HotKeyALT6=1\nHotKeyCTRL6=1\nHotKeySHIFT6=5\nHotKeyButton6=112\n");
    EXPECT_EQ(t.hotKeyAlt[6], true);
    EXPECT_EQ(KeysForSlot(t, 6), Qt::AltModifier | Qt::ControlModifier | Qt::Key_F1);
}

TEST(HotKeyTable, AKeyCodeNamingNoOfferedKeyAsksForNoKeyWithTheSlotsModifiers)
{
    // 0 (no key chosen) and codes outside the options' list (145 is Scroll Lock, 97 the keypad
    // 1): the registrar is still asked, for Qt::Key_unknown, and refuses.
    for (int16_t code : {0, 145, 97}) {
        Settings s;
        s.hotKeyCode[2] = code;
        s.hotKeyShift[2] = true;
        EXPECT_EQ(KeysForSlot(s, 2), Qt::ShiftModifier | Qt::Key_unknown) << code;
    }
}

TEST(HotKeyTable, ASlotOutsideTheTableAsksForNothing)
{
    Settings s;
    s.hotKeyAlt.fill(true);
    s.hotKeyCode.fill('P');
    EXPECT_EQ(KeysForSlot(s, -1), QKeyCombination(Qt::Key_unknown));
    EXPECT_EQ(KeysForSlot(s, 10), QKeyCombination(Qt::Key_unknown));
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
