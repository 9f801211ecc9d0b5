#include "resident/HotKeyTable.h"

#include <gtest/gtest.h>

#include <vector>

using namespace tovrimo;

TEST(HotKeyTable, EachSlotHasItsFixedCommand)
{
    const std::vector<HotKeyCommand> expected = {
        HotKeyCommand::PrintDesktop,    HotKeyCommand::PrintActiveWindow,    HotKeyCommand::PrintRegion,
        HotKeyCommand::PrintFile,  HotKeyCommand::CopyDesktop, HotKeyCommand::CopyActiveWindowNow,
        HotKeyCommand::CopyRegion, HotKeyCommand::CopyFile, HotKeyCommand::OpenOptions,
        HotKeyCommand::NoteFromClipboard,
    };
    for (int slot = 0; slot < kHotKeySlots; ++slot) {
        ASSERT_TRUE(CommandForSlot(slot).has_value()) << slot;
        EXPECT_EQ(*CommandForSlot(slot), expected[slot]) << slot;
    }
}

TEST(HotKeyTable, SlotsOutsideTheTableHaveNoCommand)
{
    for (int slot : {-1, 10, 11, 255}) EXPECT_FALSE(CommandForSlot(slot).has_value()) << slot;
}

TEST(HotKeyTable, ModifierFlagsFromTheSettings)
{
    struct Case {
        const char* name;
        int16_t alt, ctrl, shift;
        HotKeyModifiers expected;
    };
    const Case cases[] = {
        {"none", 0, 0, 0, 0},
        {"alt alone is 1", 1, 0, 0, 1},
        {"ctrl alone is 2", 0, 1, 0, 2},
        {"shift alone is 4", 0, 0, 1, 4},
        {"ctrl+alt is 3", 1, 1, 0, 3},
        {"alt+shift is 5", 1, 0, 1, 5},
        {"ctrl+shift is 6", 0, 1, 1, 6},
        {"all three are 7", 1, 1, 1, 7},
        // Only 1 means "required"; anything else in the file is off.
        {"values other than 1 are off", 2, -1, 0, 0},
    };
    for (const Case& c : cases) {
        Settings s;
        const int slot = 6;
        s.HotKeyALT[slot] = c.alt;
        s.HotKeyCTRL[slot] = c.ctrl;
        s.HotKeySHIFT[slot] = c.shift;
        EXPECT_EQ(ModifiersForSlot(s, slot), c.expected) << c.name;
        // Another slot's flags never leak in.
        EXPECT_EQ(ModifiersForSlot(s, 5), 0u) << c.name;
    }
}

TEST(HotKeyTable, ModifiersOfASlotOutsideTheTableAreNone)
{
    Settings s;
    s.HotKeyALT.fill(1);
    EXPECT_EQ(ModifiersForSlot(s, -1), 0u);
    EXPECT_EQ(ModifiersForSlot(s, 10), 0u);
}

TEST(HotKeyTable, EnabledSlotsAreRegisteredInOrder)
{
    Settings s;
    s.HotKeyOn[7] = 1;
    s.HotKeyOn[0] = 1;
    s.HotKeyOn[9] = 1;
    s.HotKeyOn[3] = 2;  // not 1: not enabled
    s.HotKeyOn[4] = -1;
    for (AppState state : {AppState::Idle, AppState::OptionsOpen, AppState::PrintRegionPending}) {
        EXPECT_EQ(SlotsToRegister(s, state), (std::vector<int>{0, 7, 9}));
    }
}

TEST(HotKeyTable, NothingIsRegisteredInACommandLineJob)
{
    Settings s;
    s.HotKeyOn.fill(1);
    EXPECT_TRUE(SlotsToRegister(s, AppState::CommandLine).empty());
    EXPECT_EQ(SlotsToRegister(s, AppState::Idle).size(), 10u);
}

TEST(HotKeyTable, NoSlotEnabledRegistersNothing)
{
    EXPECT_TRUE(SlotsToRegister(Settings{}, AppState::Idle).empty());
}

