#pragma once

#include <QTimer>
#include <memory>

#include "platform/TrayHostWatcher.h"

namespace tovrimo {

class StatusNotifierWatch;
class X11TraySelectionWatch;

// The notification areas of a desktop: a StatusNotifierItem host on the session bus and, on
// X11, an XEmbed tray manager on the display, or both (XFCE's panel is both).
class DesktopTrayHosts : public TrayHostWatcher {
    Q_OBJECT
public:
    // withXEmbed: watch the X display for an XEmbed tray too (X11 sessions only).
    explicit DesktopTrayHosts(bool withXEmbed);
    ~DesktopTrayHosts() override;

    bool available() const override;
    bool hostDrawsMenus() const override;

    // A panel that is both takes the XEmbed selection a moment before its StatusNotifierItem
    // host registers, and Qt, which decides only once which kind to use, must see the host:
    // so on a desktop with a session bus a newly appeared XEmbed tray counts after this grace.
    static constexpr int kStatusNotifierGraceMs = 1500;

private:
    void onSelectionOwnerChanged();
    void onStatusNotifierHostChanged();

    std::unique_ptr<X11TraySelectionWatch> xembed_;
    std::unique_ptr<StatusNotifierWatch> sni_;
    QTimer grace_;
};

}  // namespace tovrimo
