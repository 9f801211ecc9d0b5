#include <gtest/gtest.h>

#include "platform/wayland/KGlobalAccelHotKeyRegistrar.h"
#include "platform/wayland/KWinKeepAbove.h"

using namespace tovrimo;

// KDE's shortcut service stores keys as Qt's key codes with the modifier bits: the values
// below are Qt's, written out by hand.
TEST(KdeShortcutKeys, HotKeyCombinationsBecomeQtKeyCodes)
{
    struct Case {
        HotKeyModifiers modifiers;
        int virtualKey;
        int expected;
    };
    const Case cases[] = {
        {HotKeyModControl | HotKeyModAlt, 'P', 0x0C000050},
        {HotKeyModShift, 116, 0x03000034},  // F5
        {HotKeyModNone, 123, 0x0100003B},   // F12
        {HotKeyModControl, '7', 0x04000037},
        {HotKeyModAlt, 32, 0x08000020},                 // space
        {HotKeyModNone, 44, 0x01000009},                // Print
        {HotKeyModShift, 13, 0x02000000 | 0x01000004},  // Return
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.virtualKey);
        EXPECT_EQ(QtKeyCode(c.modifiers, c.virtualKey), c.expected);
    }
    // A code that names no key the options offer.
    EXPECT_FALSE(QtKeyCode(HotKeyModControl, 0).has_value());
    EXPECT_FALSE(QtKeyCode(HotKeyModControl, 'a').has_value());
    EXPECT_FALSE(QtKeyCode(HotKeyModNone, 124).has_value());
}

TEST(KWinKeepAbove, TheScriptFindsTheWindowByProcessAndExactTitle)
{
    const std::string script = KWinKeepAbove::Script(4242, "付せん \"3\" \\", true);
    EXPECT_NE(script.find("w.pid == 4242"), std::string::npos) << script;
    // The title is a JavaScript string: quotes and backslashes escaped, nothing else changed.
    EXPECT_NE(script.find("w.caption == \"付せん \\\"3\\\" \\\\\""), std::string::npos) << script;
    EXPECT_NE(script.find("w.keepAbove = true;"), std::string::npos);
    EXPECT_NE(KWinKeepAbove::Script(1, "x", false).find("w.keepAbove = false;"), std::string::npos);
}
