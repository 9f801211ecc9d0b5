#include <gtest/gtest.h>

#include "platform/DisplayCheck.h"

namespace tovrimo {
namespace {

TEST(PreferredWindowSystem, AnExplicitQtPlatformDecidesOtherwiseAWaylandDisplayDoes)
{
    using K = WindowSystemKind;
    struct Case {
        const char* qtPlatform;
        const char* waylandDisplay;
        K expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, K::X11},
        {nullptr, "", K::X11},
        {"", "wayland-0", K::Wayland},
        {nullptr, "wayland-0", K::Wayland},
        // A desktop session that asks for X11 programs gets one, XWayland and all.
        {"xcb", "wayland-0", K::X11},
        {"wayland", nullptr, K::Wayland},
        {"wayland-egl", "wayland-1", K::Wayland},
        {"wayland;xcb", "wayland-0", K::Wayland},
        {"offscreen", "wayland-0", K::X11},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.qtPlatform ? c.qtPlatform : "(unset)") + " / " +
                     (c.waylandDisplay ? c.waylandDisplay : "(unset)"));
        EXPECT_EQ(PreferredWindowSystem(c.qtPlatform, c.waylandDisplay), c.expected);
    }
}

}  // namespace
}  // namespace tovrimo
