#pragma once

#include <QDBusConnection>
#include <QImage>
#include <QVariantMap>
#include <optional>
#include <string>

#include "platform/wayland/WaylandScreenGrabber.h"

namespace tovrimo {

class PortalScreenGrabber;

// Reads the screen through KWin's own screenshot service (org.kde.KWin.ScreenShot2), which
// asks nobody: KWin answers a program whose installed .desktop entry names its binary and
// declares the interface (X-KDE-DBUS-Restricted-Interfaces). The desktop comes from
// CaptureWorkspace, the active window from CaptureActiveWindow, each as raw pixels through a
// pipe. Where KWin does not offer the service or does not allow us, the screenshot portal
// does the work, and the user learns once how to allow us.
class KWinScreenGrabber : public WaylandScreenGrabber {
public:
    KWinScreenGrabber(PortalScreenGrabber& fallback,
                      QDBusConnection bus = QDBusConnection::sessionBus());

    PixelRect primaryScreenRect() override;
    QImage grab(const PixelRect& rect) override;
    void grabActiveWindowNext() override { activeWindowNext_ = true; }

    enum class Access {
        Unknown,  // not asked yet
        Allowed,  // KWin took the last request
        Refused,  // KWin does not allow us (no matching .desktop entry)
        Absent,   // no KWin screenshot service on the bus, or it failed
    };
    Access access() const { return access_; }

    // Whether KWin on the bus offers its screenshot service.
    static bool Offered(const QDBusConnection& bus);

private:
    // The picture, or nothing when the portal has to take it.
    std::optional<QImage> capture(const QString& method);

    PortalScreenGrabber& fallback_;
    QDBusConnection bus_;
    bool activeWindowNext_ = false;
    bool toldHowToAllow_ = false;
    Access access_ = Access::Unknown;
};

// What the user should know to let KWin answer this binary: the entry to install, with the
// binary's own path.
std::string KWinAllowanceNote(const std::string& binaryPath);

}  // namespace tovrimo
