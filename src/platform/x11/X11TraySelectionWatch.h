#pragma once

#include <xcb/xcb.h>

#include <QObject>
#include <memory>

class QSocketNotifier;

namespace tovrimo {

// Watches the XEmbed tray manager selection (_NET_SYSTEM_TRAY_S<screen>) of the display: who owns
// it now, and a signal whenever the owner changes. Uses a connection of its own, read through a
// socket notifier, so that it needs nothing from Qt's event dispatching.
class X11TraySelectionWatch : public QObject {
    Q_OBJECT
public:
    X11TraySelectionWatch();
    ~X11TraySelectionWatch() override;

    // The tray manager's window, 0 when there is none.
    xcb_window_t owner() const { return owner_; }

signals:
    void ownerChanged();

private:
    void readEvents();
    xcb_window_t queryOwner() const;

    xcb_connection_t* connection_ = nullptr;
    xcb_atom_t selection_ = 0;
    uint8_t xfixesEventBase_ = 0;
    xcb_window_t owner_ = 0;
    std::unique_ptr<QSocketNotifier> notifier_;
};

}  // namespace tovrimo
