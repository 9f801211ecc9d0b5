#pragma once

#include <QDBusConnection>
#include <optional>
#include <string>

#include "platform/wayland/WaylandScreenGrabber.h"

namespace tovrimo {

class MessageBoxes;

// Reads the screen on a Wayland desktop, where no program may read another's pixels itself:
// the desktop portal's Screenshot service takes the picture and hands over a file, which is
// read and deleted at once. When the portal refuses or fails, the user is told why and the
// grab gives nothing.
//
// GNOME asks the user once whether programs may take screenshots, and keeps the answer in the
// portal's permission store; until it is given, a grab comes with the desktop's question,
// which the program explains first, in its own words.
class PortalScreenGrabber : public WaylandScreenGrabber {
public:
    explicit PortalScreenGrabber(MessageBoxes& messages,
                                 QDBusConnection bus = QDBusConnection::sessionBus());

    // The primary screen in device pixels, placed in the desktop's layout.
    PixelRect primaryScreenRect() override;
    QImage grab(const PixelRect& rect) override;

    // The next grab lets the user pick what to capture in the portal's own dialog (a window,
    // say) and gives that picture whole, whatever rectangle it is asked for.
    void pickNextGrabInteractively() { interactiveNext_ = true; }
    void grabActiveWindowNext() override { pickNextGrabInteractively(); }
    // How long to wait for the portal; its permission dialog may keep the user a while.
    void setAnswerTimeout(int milliseconds) { timeoutMs_ = milliseconds; }

    // Whether the desktop keeps its screenshot permission in the portal's permission store
    // (GNOME). Decided from XDG_CURRENT_DESKTOP unless set.
    void setAsksForPermission(bool asks) { asksForPermission_ = asks; }

    // Added to the message of the next refusal, once: how to let the desktop answer without
    // asking.
    void setRefusalNote(std::string note) { refusalNote_ = std::move(note); }

    // What the permission store says about screenshots by programs outside a sandbox: true
    // allowed, false refused, nothing when it holds no answer (or there is no store).
    static std::optional<bool> StoredPermission(const QDBusConnection& bus);

private:
    QImage takeScreenshot(bool interactive);

    MessageBoxes& messages_;
    QDBusConnection bus_;
    bool interactiveNext_ = false;
    int timeoutMs_ = 120000;
    bool asksForPermission_ = false;
    std::string refusalNote_;
};

}  // namespace tovrimo
