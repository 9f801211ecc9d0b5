#include <gtest/gtest.h>

#include "platform/wayland/KGlobalAccelHotKeyRegistrar.h"
#include "platform/wayland/KWinKeepAbove.h"

using namespace tovrimo;

// KDE's shortcut service stores keys as Qt's key codes with the modifier bits: the values
// below are Qt's, written out by hand.
TEST(KdeShortcutKeys, HotKeyCombinationsBecomeQtKeyCodes)
{
    struct Case {
        QKeyCombination keys;
        int expected;
    };
    const Case cases[] = {
        {Qt::ControlModifier | Qt::AltModifier | Qt::Key_P, 0x0C000050},
        {Qt::ShiftModifier | Qt::Key_F5, 0x03000034},
        {QKeyCombination(Qt::Key_F12), 0x0100003B},
        {Qt::ControlModifier | Qt::Key_7, 0x04000037},
        {Qt::AltModifier | Qt::Key_Space, 0x08000020},
        {QKeyCombination(Qt::Key_Print), 0x01000009},
        {Qt::ShiftModifier | Qt::Key_Return, 0x02000000 | 0x01000004},
        // Meta is no modifier the options offer: the key goes without it.
        {Qt::MetaModifier | Qt::ControlModifier | Qt::Key_A, 0x04000041},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(QtKeyCode(c.keys), c.expected);
    }
    // Keys the options do not offer.
    EXPECT_FALSE(QtKeyCode(Qt::ControlModifier | Qt::Key_unknown).has_value());
    EXPECT_FALSE(QtKeyCode(Qt::ControlModifier | Qt::Key_Escape).has_value());
    EXPECT_FALSE(QtKeyCode(QKeyCombination(Qt::Key_F13)).has_value());
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
