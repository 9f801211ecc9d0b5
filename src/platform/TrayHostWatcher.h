#pragma once

#include <QObject>

namespace tovrimo {

// Whether the desktop has a notification area for the icon: an XEmbed tray manager or a
// StatusNotifierItem host on the session bus. Panels often start after the programs that a
// session starts, so the answer changes; appeared() says when one comes.
class TrayHostWatcher : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~TrayHostWatcher() override = default;

    virtual bool available() const = 0;
    // True when the host that is there draws the menus itself from the menu the item exports
    // (a StatusNotifierItem host), false for an XEmbed tray or none.
    virtual bool hostDrawsMenus() const = 0;

signals:
    void appeared();
};

}  // namespace tovrimo
