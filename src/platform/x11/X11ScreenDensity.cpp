#include "platform/x11/X11ScreenDensity.h"

#include <string_view>

#include "platform/ScreenDensity.h"
#include "platform/x11/X11Connection.h"

namespace tovrimo {

namespace {

std::optional<double> RootXftDpi()
{
    xcb_connection_t* connection = QtX11Connection();
    const xcb_screen_t* screen = FirstScreen(connection);
    if (!screen) return std::nullopt;
    // The whole database: a desktop's resources run to a few kilobytes at most.
    constexpr uint32_t kLongs = 1u << 20;
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, screen->root, XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 0,
                         kLongs),
        nullptr));
    if (!reply || reply->format != 8) return std::nullopt;
    const auto* text = static_cast<const char*>(xcb_get_property_value(reply.get()));
    const auto length = static_cast<size_t>(xcb_get_property_value_length(reply.get()));
    return XftDpiFromResources(std::string_view(text, length));
}

}  // namespace

DotsPerInch X11ScreenDensity()
{
    if (const auto dpi = RootXftDpi()) return {*dpi, *dpi};
    return QtScreenDensity();
}

}  // namespace tovrimo
