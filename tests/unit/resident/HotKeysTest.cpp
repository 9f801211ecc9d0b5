#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "doubles/FakeHotKeyRegistrar.h"
#include "resident/HotKeys.h"

using namespace tovrimo;
using tovrimo::test::FakeHotKeyRegistrar;

namespace {

// A command as the tests name it: "print:desktop", "copy:window:now", "options" ...
std::string Named(const Command& command)
{
    if (const auto* action = std::get_if<ProgramAction>(&command))
        return *action == ProgramAction::OpenOptions ? "options" : "other action";
    const auto& request = std::get<CaptureRequest>(command);
    const char* to[] = {"print", "copy", "note"};
    const char* from[] = {"desktop", "window", "region", "file", "clipboard"};
    return std::string(to[static_cast<int>(request.destination)]) + ":" +
           from[static_cast<int>(request.source)] + (request.immediate ? ":now" : "");
}

struct Fixture {
    Fixture()
    {
        QObject::connect(&keys, &HotKeys::commandPressed,
                         [this](const Command& c) { ran.push_back(Named(c)); });
    }

    FakeHotKeyRegistrar registrar;
    std::vector<std::string> ran;
    HotKeys keys{registrar};
};

Settings WithSlot(Settings s, int slot, int16_t alt, int16_t ctrl, int16_t shift, int16_t vk)
{
    s.hotKeyOn[slot] = true;
    s.hotKeyAlt[slot] = alt;
    s.hotKeyCtrl[slot] = ctrl;
    s.hotKeyShift[slot] = shift;
    s.hotKeyCode[slot] = vk;
    return s;
}

}  // namespace

TEST(HotKeys, CtrlAltPOnSlot0RegistersModifiers3AndKey80)
{
    Fixture f;
    f.keys.registerKeys(WithSlot({}, 0, 1, 1, 0, 80), AppState::Idle);
    EXPECT_EQ(f.registrar.calls, (std::vector<std::string>{"register:0:Ctrl+Alt+P"}));
    EXPECT_TRUE(f.keys.isRegistered(0));
    ASSERT_TRUE(f.registrar.press(0));
    EXPECT_EQ(f.ran, (std::vector<std::string>{"print:desktop"}));
}

TEST(HotKeys, OnlyEnabledSlotsAreRegisteredInSlotOrder)
{
    Fixture f;
    Settings s = WithSlot(WithSlot({}, 8, 0, 0, 1, 123), 2, 1, 0, 0, 'R');
    s.hotKeyCode[4] = 'X';  // configured but not enabled
    f.keys.registerKeys(s, AppState::Idle);
    EXPECT_EQ(f.registrar.calls,
              (std::vector<std::string>{"register:2:Alt+R", "register:8:Shift+F12"}));
    EXPECT_FALSE(f.keys.isRegistered(4));
}

TEST(HotKeys, CommandLineJobRegistersNothing)
{
    Fixture f;
    Settings s;
    for (int slot = 0; slot < kHotKeySlots; ++slot) s = WithSlot(s, slot, 1, 1, 0, 'A' + slot);
    f.keys.registerKeys(s, AppState::CommandLine);
    EXPECT_TRUE(f.registrar.calls.empty());
    f.keys.unregisterKeys();
    EXPECT_TRUE(f.registrar.calls.empty());
}

TEST(HotKeys, EverySlotRunsItsOwnCommand)
{
    Fixture f;
    for (int slot = 0; slot < kHotKeySlots; ++slot) f.keys.runSlot(slot);
    EXPECT_EQ(f.ran,
              (std::vector<std::string>{"print:desktop", "print:window", "print:region",
                                        "print:file", "copy:desktop", "copy:window:now",
                                        "copy:region", "copy:file", "options", "note:clipboard"}));
}

TEST(HotKeys, Slot5CopiesTheActiveWindowAtOnceAndNeverTheMenuCommand)
{
    Fixture f;
    f.keys.registerKeys(WithSlot({}, 5, 0, 1, 1, 'W'), AppState::Idle);
    ASSERT_TRUE(f.registrar.press(5));
    EXPECT_EQ(f.ran, (std::vector<std::string>{"copy:window:now"}));
}

TEST(HotKeys, SlotNumbersOutsideTheTableRunNothing)
{
    Fixture f;
    f.keys.runSlot(-1);
    f.keys.runSlot(10);
    EXPECT_TRUE(f.ran.empty());
}

TEST(HotKeys, KeysRunWhateverTheApplicationState)
{
    // Registration looks at the state once; a press later is never gated by it.
    Fixture f;
    f.keys.registerKeys(WithSlot({}, 6, 1, 0, 0, 'G'), AppState::PrintRegionPending);
    ASSERT_TRUE(f.registrar.press(6));
    EXPECT_EQ(f.ran, (std::vector<std::string>{"copy:region"}));
}

TEST(HotKeys, ReRegistrationReleasesAllOldKeysBeforeClaimingNewOnes)
{
    Fixture f;
    const Settings old = WithSlot(WithSlot({}, 0, 1, 1, 0, 'P'), 3, 0, 1, 0, 'F');
    f.keys.registerKeys(old, AppState::Idle);
    f.registrar.calls.clear();
    // The new settings swap the two keys: claiming first would collide with the old grabs.
    const Settings now = WithSlot(WithSlot({}, 0, 0, 1, 0, 'F'), 3, 1, 1, 0, 'P');
    f.keys.reregisterKeys(now, AppState::OptionsOpen);
    EXPECT_EQ(f.registrar.calls,
              (std::vector<std::string>{"unregister:0", "unregister:3", "register:0:Ctrl+F",
                                        "register:3:Ctrl+Alt+P"}));
}

TEST(HotKeys, RemovalFollowsWhatWasRegisteredNotTheCurrentSettings)
{
    Fixture f;
    Settings s = WithSlot({}, 1, 1, 0, 0, 'A');
    f.keys.registerKeys(s, AppState::Idle);
    // The settings change before removal (slot 1 off, slot 2 on): slot 1 must still go, and
    // slot 2, never claimed, is not touched.
    s.hotKeyOn[1] = false;
    s.hotKeyOn[2] = true;
    f.registrar.calls.clear();
    f.keys.unregisterKeys();
    EXPECT_EQ(f.registrar.calls, (std::vector<std::string>{"unregister:1"}));
    EXPECT_TRUE(f.registrar.held.empty());
    EXPECT_FALSE(f.keys.isRegistered(1));
}

TEST(HotKeys, DisablingASlotInTheOptionsReleasesItsKey)
{
    Fixture f;
    f.keys.registerKeys(WithSlot(WithSlot({}, 4, 1, 0, 0, 'D'), 9, 1, 0, 0, 'N'), AppState::Idle);
    f.keys.reregisterKeys(WithSlot({}, 9, 1, 0, 0, 'N'), AppState::OptionsOpen);
    EXPECT_FALSE(f.keys.isRegistered(4));
    EXPECT_TRUE(f.keys.isRegistered(9));
    EXPECT_FALSE(f.registrar.press(4));
    EXPECT_EQ(f.registrar.held.count(4), 0u);
}

TEST(HotKeys, ARefusedCombinationStaysSilentAndIsNotReleasedLater)
{
    Fixture f;
    f.registrar.refuse = {2};
    f.keys.registerKeys(WithSlot(WithSlot({}, 2, 1, 1, 0, 'R'), 7, 1, 1, 0, 'I'), AppState::Idle);
    EXPECT_FALSE(f.keys.isRegistered(2));
    EXPECT_TRUE(f.keys.isRegistered(7));
    f.registrar.calls.clear();
    f.keys.unregisterKeys();
    EXPECT_EQ(f.registrar.calls, (std::vector<std::string>{"unregister:7"}));
}

TEST(HotKeys, RegisteringTwiceReplacesTheSlotsKeyInsteadOfStackingIt)
{
    Fixture f;
    f.keys.registerKeys(WithSlot({}, 0, 1, 1, 0, 'P'), AppState::Idle);
    f.keys.registerKeys(WithSlot({}, 0, 0, 1, 0, 'Q'), AppState::Idle);
    EXPECT_EQ(f.registrar.calls, (std::vector<std::string>{"register:0:Ctrl+Alt+P", "unregister:0",
                                                           "register:0:Ctrl+Q"}));
    ASSERT_EQ(f.registrar.held.size(), 1u);
    EXPECT_EQ(f.registrar.held.at(0).key(), Qt::Key_Q);
}

TEST(HotKeys, DestructionReleasesTheKeysStillHeld)
{
    FakeHotKeyRegistrar registrar;
    {
        HotKeys keys(registrar);
        keys.registerKeys(WithSlot({}, 1, 1, 0, 0, 'A'), AppState::Idle);
    }
    EXPECT_TRUE(registrar.held.empty());
    EXPECT_EQ(registrar.pressListeners(), 0) << "no call into a destroyed object";
}

TEST(HotKeys, MissingCallbacksAreHarmless)
{
    FakeHotKeyRegistrar registrar;
    HotKeys keys(registrar);
    keys.registerKeys(WithSlot(WithSlot({}, 0, 1, 0, 0, 'A'), 5, 1, 0, 0, 'B'), AppState::Idle);
    EXPECT_TRUE(registrar.press(0));
    EXPECT_TRUE(registrar.press(5));
    EXPECT_TRUE(keys.isRegistered(0));
}

TEST(HotKeys, HotKeysCountAsWorkingOnlyWhenTheDesktopReallyBoundASlot)
{
    struct Case {
        const char* name;
        bool offered;
        std::set<int> refuse;
        std::set<int> unbound;
        bool slotsOn;
        HotKeyAvailability expected;
    };
    const Case cases[] = {
        {"both bound", true, {}, {}, true, HotKeyAvailability::Working},
        {"one of two bound", true, {}, {2}, true, HotKeyAvailability::Working},
        {"one refused, the other bound", true, {8}, {}, true, HotKeyAvailability::Working},
        // A portal that accepts the session and binds an empty list.
        {"claimed, none bound", true, {}, {2, 8}, true, HotKeyAvailability::NoneBound},
        {"both refused", true, {2, 8}, {}, true, HotKeyAvailability::NoneBound},
        {"nothing switched on", true, {}, {}, false, HotKeyAvailability::NoneEnabled},
        {"no service", false, {2, 8}, {}, true, HotKeyAvailability::NotOffered},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.registrar.offered = c.offered;
        f.registrar.refuse = c.refuse;
        f.registrar.unbound = c.unbound;
        const Settings s =
            c.slotsOn ? WithSlot(WithSlot({}, 8, 0, 0, 1, 123), 2, 1, 0, 0, 'R') : Settings{};
        f.keys.registerKeys(s, AppState::Idle);
        EXPECT_EQ(f.keys.availability(), c.expected);
        EXPECT_EQ(f.keys.isBound(2),
                  c.offered && !c.refuse.count(2) && !c.unbound.count(2) && c.slotsOn);
    }
}
