#pragma once

#include <QDBusConnection>

#include "platform/ScreenGrabber.h"

namespace tovrimo {

class MessageBoxes;

// Reads the screen on a Wayland desktop, where no program may read another's pixels itself:
// the desktop portal's Screenshot service takes the picture and hands over a file, which is
// read and deleted at once. When the portal refuses or fails, the user is told why and the
// grab gives nothing.
class PortalScreenGrabber : public ScreenGrabber {
public:
    explicit PortalScreenGrabber(MessageBoxes& messages,
                                 QDBusConnection bus = QDBusConnection::sessionBus());

    // The primary screen in device pixels, placed in the desktop's layout.
    PixelRect primaryScreenRect() override;
    QImage grab(const PixelRect& rect) override;

    // The next grab lets the user pick what to capture in the portal's own dialog (a window,
    // say) and gives that picture whole, whatever rectangle it is asked for.
    void pickNextGrabInteractively() { interactiveNext_ = true; }
    // How long to wait for the portal; its permission dialog may keep the user a while.
    void setAnswerTimeout(int milliseconds) { timeoutMs_ = milliseconds; }

private:
    QImage takeScreenshot(bool interactive);

    MessageBoxes& messages_;
    QDBusConnection bus_;
    bool interactiveNext_ = false;
    int timeoutMs_ = 120000;
};

}  // namespace tovrimo
