#include <gtest/gtest.h>

#include "platform/wayland/ShortcutTriggers.h"

namespace tovrimo {
namespace {

TEST(ShortcutTrigger, ModifiersComeFirstInAFixedOrderAndKeysUseTheirKeysymNames)
{
    struct Case {
        HotKeyModifiers modifiers;
        int virtualKey;
        const char* trigger;
    };
    const Case cases[] = {
        {HotKeyModControl | HotKeyModAlt, 'P', "CTRL+ALT+p"},
        // The order is the portal's, not the order of the bits.
        {HotKeyModShift | HotKeyModAlt | HotKeyModControl, 'Z', "CTRL+ALT+SHIFT+z"},
        {HotKeyModShift, '7', "SHIFT+7"},
        {HotKeyModNone, 112, "F1"},
        {HotKeyModControl, 123, "CTRL+F12"},
        {HotKeyModNone, 44, "Print"},
        {HotKeyModAlt, 32, "ALT+space"},
        {HotKeyModControl, 13, "CTRL+Return"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trigger);
        EXPECT_EQ(ShortcutTrigger(c.modifiers, c.virtualKey),
                  std::optional<std::string>(c.trigger));
    }
}

TEST(ShortcutTrigger, CodesThatNameNoOfferedKeyGiveNothing)
{
    for (int code : {0, int{'a'}, 111, 124, 45, -1, 256}) {
        SCOPED_TRACE(code);
        EXPECT_FALSE(ShortcutTrigger(HotKeyModControl, code).has_value());
    }
}

TEST(ShortcutId, RoundTripsEverySlotAndRejectsForeignIds)
{
    for (int slot = 0; slot < 10; ++slot) EXPECT_EQ(SlotOfShortcutId(ShortcutId(slot)), slot);
    EXPECT_EQ(ShortcutId(3), "slot3");
    for (const char* id : {"", "slot", "slot10", "slot-1", "slot01", "slot3x", "Slot3", "3"}) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(SlotOfShortcutId(id).has_value());
    }
}

}  // namespace
}  // namespace tovrimo
