#include <gtest/gtest.h>

#include "platform/DesktopKind.h"
#include "platform/RememberedMessages.h"

using namespace tovrimo;

TEST(DesktopKind, TheSessionsDesktopIsFoundInItsColonSeparatedList)
{
    struct Case {
        const char* currentDesktop;
        DesktopKind expected;
    };
    const Case cases[] = {
        {"GNOME", DesktopKind::Gnome},
        {"ubuntu:GNOME", DesktopKind::Gnome},
        {"GNOME-Classic:GNOME", DesktopKind::Gnome},
        {"KDE", DesktopKind::Kde},
        // The sway test session borrows GTK's portal with a lower-case "gnome": not GNOME.
        {"sway:gnome", DesktopKind::Other},
        {"XFCE", DesktopKind::Other},
        {"", DesktopKind::Other},
        {nullptr, DesktopKind::Other},
        {"GNOMEISH", DesktopKind::Other},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.currentDesktop ? c.currentDesktop : "(unset)");
        EXPECT_EQ(DesktopFromCurrentDesktop(c.currentDesktop), c.expected);
    }
}

TEST(RememberedMessages, AMessageBecomesOneLineForTheTerminal)
{
    EXPECT_EQ(OneLine("画面を取り込めませんでした。\nサービスが応答しません。\n\n(no answer)  "),
              "画面を取り込めませんでした。 サービスが応答しません。 (no answer)");
    EXPECT_EQ(OneLine("  one  "), "one");
    EXPECT_EQ(OneLine("\n \n"), "");
}
