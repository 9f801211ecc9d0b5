#include <gtest/gtest.h>

#include "platform/wayland/ShortcutTriggers.h"

namespace tovrimo {
namespace {

TEST(ShortcutTrigger, ModifiersComeFirstInAFixedOrderAndKeysUseTheirKeysymNames)
{
    struct Case {
        QKeyCombination keys;
        const char* trigger;
    };
    const Case cases[] = {
        {Qt::ControlModifier | Qt::AltModifier | Qt::Key_P, "CTRL+ALT+p"},
        // The order is the portal's, not the order of the bits.
        {Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier | Qt::Key_Z, "CTRL+ALT+SHIFT+z"},
        {Qt::ShiftModifier | Qt::Key_7, "SHIFT+7"},
        {QKeyCombination(Qt::Key_F1), "F1"},
        {Qt::ControlModifier | Qt::Key_F12, "CTRL+F12"},
        {QKeyCombination(Qt::Key_Print), "Print"},
        {Qt::AltModifier | Qt::Key_Space, "ALT+space"},
        {Qt::ControlModifier | Qt::Key_Return, "CTRL+Return"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.trigger);
        EXPECT_EQ(ShortcutTrigger(c.keys), std::optional<std::string>(c.trigger));
    }
}

TEST(ShortcutTrigger, KeysTheOptionsDoNotOfferGiveNothing)
{
    for (Qt::Key key : {Qt::Key_unknown, Qt::Key_Escape, Qt::Key_F13, Qt::Key_Enter, Qt::Key_Minus,
                        Qt::Key_Tab}) {
        SCOPED_TRACE(key);
        EXPECT_FALSE(ShortcutTrigger(Qt::ControlModifier | key).has_value());
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
