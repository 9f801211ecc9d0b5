#include "platform/x11/X11WindowSystem.h"

#include <QString>
#include <cstring>

#include "platform/x11/X11Connection.h"

namespace tovrimo {

namespace {
// _NET_ACTIVE_WINDOW source indication of a pager: the request comes from the user's own
// command, so the window manager must not treat it as a window stealing the focus.
constexpr uint32_t kSourcePager = 2;
// Longest title read, in 32-bit units; the capture keeps far less.
constexpr uint32_t kTitleReadLength = 1024;

// X resource ids are 29 bits wide and never 0; any other number (a negative handle from the
// command line read as unsigned, for one) names no window, so the server is not asked.
bool IsResourceId(WindowId window)
{
    return window != 0 && (window & 0xE0000000u) == 0;
}
}  // namespace

X11WindowSystem::X11WindowSystem(xcb_connection_t* connection)
    : connection_(connection ? connection : QtX11Connection())
{
    xcb_screen_t* screen = FirstScreen(connection_);
    if (!screen) return;
    root_ = screen->root;
    netActiveWindow_ = InternAtom(connection_, "_NET_ACTIVE_WINDOW");
    netWmName_ = InternAtom(connection_, "_NET_WM_NAME");
    utf8String_ = InternAtom(connection_, "UTF8_STRING");
    compoundText_ = InternAtom(connection_, "COMPOUND_TEXT");
}

X11WindowSystem::~X11WindowSystem()
{
    if (own_ && connection_) {
        xcb_destroy_window(connection_, own_);
        xcb_flush(connection_);
    }
}

WindowId X11WindowSystem::foregroundWindow()
{
    if (!root_) return 0;
    XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection_,
        xcb_get_property(connection_, 0, root_, netActiveWindow_, XCB_ATOM_WINDOW, 0, 1), nullptr));
    if (!reply || reply->type != XCB_ATOM_WINDOW || reply->format != 32 ||
        xcb_get_property_value_length(reply.get()) < 4)
        return 0;
    return *static_cast<const uint32_t*>(xcb_get_property_value(reply.get()));
}

void X11WindowSystem::createOwnWindow()
{
    xcb_screen_t* screen = FirstScreen(connection_);
    own_ = xcb_generate_id(connection_);
    const uint32_t values[] = {screen->black_pixel};
    // One pixel in the corner, never drawn into: all it has to do is hold the focus.
    xcb_create_window(connection_, XCB_COPY_FROM_PARENT, own_, root_, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL,
                      values);

    // Accepts the focus (WM_HINTS flags = InputHint, input = true).
    const uint32_t hints[9] = {1, 1, 0, 0, 0, 0, 0, 0, 0};
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, own_, XCB_ATOM_WM_HINTS,
                        XCB_ATOM_WM_HINTS, 32, 9, hints);
    const char wmClass[] = "tovrimo\0Tovrimo";
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, own_, XCB_ATOM_WM_CLASS,
                        XCB_ATOM_STRING, 8, sizeof wmClass, wmClass);
    // No decorations, no entry in task bars or pagers.
    const xcb_atom_t motif = InternAtom(connection_, "_MOTIF_WM_HINTS");
    const uint32_t motifHints[5] = {2, 0, 0, 0, 0};
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, own_, motif, motif, 32, 5, motifHints);
    const xcb_atom_t states[] = {InternAtom(connection_, "_NET_WM_STATE_SKIP_TASKBAR"),
                                 InternAtom(connection_, "_NET_WM_STATE_SKIP_PAGER")};
    xcb_change_property(connection_, XCB_PROP_MODE_REPLACE, own_,
                        InternAtom(connection_, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32, 2, states);
}

void X11WindowSystem::activateOwnWindow()
{
    if (!root_) return;
    if (!own_) createOwnWindow();
    if (!ownMapped_) {
        xcb_map_window(connection_, own_);
        ownMapped_ = true;
    }
    xcb_client_message_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = own_;
    event.type = netActiveWindow_;
    event.data.data32[0] = kSourcePager;
    event.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection_, 0, root_,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection_);
}

void X11WindowSystem::withdrawOwnWindow()
{
    if (!own_ || !ownMapped_) return;
    xcb_unmap_window(connection_, own_);
    // The synthetic UnmapNotify tells the window manager the window is withdrawn, not merely
    // iconified.
    xcb_unmap_notify_event_t event;
    std::memset(&event, 0, sizeof event);
    event.response_type = XCB_UNMAP_NOTIFY;
    event.event = root_;
    event.window = own_;
    xcb_send_event(connection_, 0, root_,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(connection_);
    ownMapped_ = false;
}

bool X11WindowSystem::isOwnWindow(WindowId window)
{
    return own_ != 0 && window == own_;
}

PixelRect X11WindowSystem::frameRect(WindowId window)
{
    if (!root_ || !IsResourceId(window)) return {};
    // The window manager reparents a client into its frame: climb to the child of the root.
    xcb_window_t frame = window;
    for (;;) {
        XcbReply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection_, xcb_query_tree(connection_, frame), nullptr));
        if (!tree) return {};
        if (tree->parent == root_ || tree->parent == XCB_WINDOW_NONE) break;
        frame = tree->parent;
    }
    XcbReply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, frame), nullptr));
    if (!geometry) return {};
    const int32_t border = geometry->border_width;
    return {geometry->x, geometry->y, geometry->x + geometry->width + 2 * border,
            geometry->y + geometry->height + 2 * border};
}

std::string X11WindowSystem::textProperty(WindowId window, xcb_atom_t property, xcb_atom_t* type)
{
    XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection_,
                               xcb_get_property(connection_, 0, window, property,
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, kTitleReadLength),
                               nullptr));
    if (!reply || reply->format != 8) return {};
    *type = reply->type;
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<size_t>(xcb_get_property_value_length(reply.get())));
}

std::string X11WindowSystem::windowTitle(WindowId window)
{
    if (!root_ || !IsResourceId(window)) return {};
    xcb_atom_t type = XCB_ATOM_NONE;
    std::string title = textProperty(window, netWmName_, &type);
    if (!title.empty() && type == utf8String_) return title;

    type = XCB_ATOM_NONE;
    title = textProperty(window, XCB_ATOM_WM_NAME, &type);
    if (title.empty()) return {};
    if (type == utf8String_) return title;
    // STRING is Latin-1. Compound text without escape sequences is Latin-1 as well; with them
    // it would need the locale's converters, and a title that cannot be read is left empty.
    if (type == XCB_ATOM_STRING ||
        (type == compoundText_ && title.find('\x1b') == std::string::npos))
        return QString::fromLatin1(title.data(), static_cast<qsizetype>(title.size()))
            .toUtf8()
            .toStdString();
    return {};
}

}  // namespace tovrimo
