#include "app/RealPlatform.h"

#include "platform/DesktopKind.h"
#include "platform/PosixFileSystem.h"
#include "platform/RememberedMessages.h"
#include "platform/ScreenDensity.h"
#include "platform/WindowStacking.h"
#include "platform/cups/CupsPrinterBackend.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtTimerFactory.h"
#include "platform/wayland/KGlobalAccelHotKeyRegistrar.h"
#include "platform/wayland/KWinKeepAbove.h"
#include "platform/wayland/KWinScreenGrabber.h"
#include "platform/wayland/PortalHotKeyRegistrar.h"
#include "platform/wayland/PortalScreenGrabber.h"
#include "platform/wayland/WaylandClipboard.h"
#include "platform/wayland/WaylandCursorSource.h"
#include "platform/wayland/WaylandWindowSystem.h"
#include "platform/x11/X11CursorSource.h"
#include "platform/x11/X11HotKeyRegistrar.h"
#include "platform/x11/X11ScreenDensity.h"
#include "platform/x11/X11ScreenGrabber.h"
#include "platform/x11/X11WindowSystem.h"

namespace tovrimo {

struct RealPlatform::Backends {
    CupsPrinterBackend printers;
    QtMessageBoxes boxes;
    RememberedMessages messages{boxes};
    PosixFileSystem files;
    QtTimerFactory timers;
    QtClipboard qtClipboard;
    std::unique_ptr<ClipboardAccess> waylandClipboard;
    ClipboardAccess* clipboard = &qtClipboard;
    std::unique_ptr<PortalScreenGrabber> portalScreen;
    std::unique_ptr<ScreenGrabber> screen;
    std::unique_ptr<WindowSystem> windows;
    std::unique_ptr<CursorSource> cursor;
    std::unique_ptr<HotKeyRegistrar> hotKeys;
    std::unique_ptr<KeepAboveService> keepAbove;
    DotsPerInch density;
};

RealPlatform::RealPlatform(WindowSystemKind windowSystem) : b_(std::make_unique<Backends>())
{
    if (windowSystem == WindowSystemKind::Wayland) {
        b_->portalScreen = std::make_unique<PortalScreenGrabber>(b_->messages);
        WaylandScreenGrabber* grabber = b_->portalScreen.get();
        const QDBusConnection bus = QDBusConnection::sessionBus();
        // KWin's own services ask nobody, where the portals of Plasma 5.27 ask every time (the
        // screen) or bind nothing (the hot keys).
        const bool kde = CurrentDesktop() == DesktopKind::Kde;
        if (kde && KWinScreenGrabber::Offered(bus)) {
            auto kwin = std::make_unique<KWinScreenGrabber>(*b_->portalScreen, bus);
            grabber = kwin.get();
            b_->screen = std::move(kwin);
        }
        b_->windows = std::make_unique<WaylandWindowSystem>(*grabber, SwayIpc::fromEnvironment());
        if (!b_->screen) b_->screen = std::move(b_->portalScreen);
        b_->cursor = std::make_unique<WaylandCursorSource>();
        if (kde && KWinKeepAbove::Offered(bus)) {
            b_->keepAbove = std::make_unique<KWinKeepAbove>(bus);
            SetKeepAboveService(b_->keepAbove.get());
        }
        if (kde && KGlobalAccelHotKeyRegistrar::Offered(bus))
            b_->hotKeys = std::make_unique<KGlobalAccelHotKeyRegistrar>(bus);
        else
            b_->hotKeys = std::make_unique<PortalHotKeyRegistrar>();
        b_->density = QtScreenDensity();
        b_->waylandClipboard = std::make_unique<WaylandClipboard>(b_->qtClipboard);
        b_->clipboard = b_->waylandClipboard.get();
    } else {
        b_->screen = std::make_unique<X11ScreenGrabber>();
        b_->windows = std::make_unique<X11WindowSystem>();
        b_->cursor = std::make_unique<X11CursorSource>();
        b_->hotKeys = std::make_unique<X11HotKeyRegistrar>();
        b_->density = X11ScreenDensity();
    }
}

RealPlatform::~RealPlatform()
{
    SetKeepAboveService(nullptr);
}

PrinterBackend& RealPlatform::printers()
{
    return b_->printers;
}
MessageBoxes& RealPlatform::messages()
{
    return b_->messages;
}
FileSystem& RealPlatform::files()
{
    return b_->files;
}
ScreenGrabber& RealPlatform::screen()
{
    return *b_->screen;
}
WindowSystem& RealPlatform::windows()
{
    return *b_->windows;
}
CursorSource& RealPlatform::cursor()
{
    return *b_->cursor;
}
ClipboardAccess& RealPlatform::clipboard()
{
    return *b_->clipboard;
}
TimerFactory& RealPlatform::timers()
{
    return b_->timers;
}
HotKeyRegistrar& RealPlatform::hotKeys()
{
    return *b_->hotKeys;
}

std::string RealPlatform::lastMessageText() const
{
    return b_->messages.lastText();
}

double RealPlatform::screenTwipsPerPixelX() const
{
    return TwipsPerDevicePixel(b_->density.x);
}

double RealPlatform::screenTwipsPerPixelY() const
{
    return TwipsPerDevicePixel(b_->density.y);
}

}  // namespace tovrimo
