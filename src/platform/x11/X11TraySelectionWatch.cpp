#include "platform/x11/X11TraySelectionWatch.h"

#include <xcb/xfixes.h>

#include <QSocketNotifier>
#include <string>

#include "platform/x11/X11Connection.h"

namespace tovrimo {

X11TraySelectionWatch::X11TraySelectionWatch()
{
    int screenNumber = 0;
    connection_ = xcb_connect(nullptr, &screenNumber);
    if (!connection_ || xcb_connection_has_error(connection_)) return;
    const std::string name = "_NET_SYSTEM_TRAY_S" + std::to_string(screenNumber);
    selection_ = InternAtom(connection_, name.c_str());

    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (int i = 0; i < screenNumber && it.rem; ++i) xcb_screen_next(&it);
    const xcb_window_t root = it.data->root;

    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(connection_, &xcb_xfixes_id);
    if (xfixes && xfixes->present) {
        XcbReply<xcb_xfixes_query_version_reply_t> version(xcb_xfixes_query_version_reply(
            connection_, xcb_xfixes_query_version(connection_, 5, 0), nullptr));
        xfixesEventBase_ = xfixes->first_event;
        xcb_xfixes_select_selection_input(
            connection_, root, selection_,
            XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
        xcb_flush(connection_);
        notifier_ = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(connection_),
                                                      QSocketNotifier::Read);
        connect(notifier_.get(), &QSocketNotifier::activated, this,
                &X11TraySelectionWatch::readEvents);
    }
    owner_ = queryOwner();
}

X11TraySelectionWatch::~X11TraySelectionWatch()
{
    notifier_.reset();
    if (connection_) xcb_disconnect(connection_);
}

xcb_window_t X11TraySelectionWatch::queryOwner() const
{
    if (!connection_ || xcb_connection_has_error(connection_)) return 0;
    XcbReply<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(
        connection_, xcb_get_selection_owner(connection_, selection_), nullptr));
    return reply ? reply->owner : 0;
}

void X11TraySelectionWatch::readEvents()
{
    bool changed = false;
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
        if ((event->response_type & 0x7f) == xfixesEventBase_ + XCB_XFIXES_SELECTION_NOTIFY)
            changed = true;
        std::free(event);
    }
    if (!changed) return;
    const xcb_window_t owner = queryOwner();
    if (owner == owner_) return;
    owner_ = owner;
    emit ownerChanged();
}

}  // namespace tovrimo
