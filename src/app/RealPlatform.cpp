#include "app/RealPlatform.h"

#include "platform/PosixFileSystem.h"
#include "platform/ScreenDensity.h"
#include "platform/cups/CupsPrinterBackend.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtTimerFactory.h"
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
    QtMessageBoxes messages;
    PosixFileSystem files;
    QtTimerFactory timers;
    QtClipboard qtClipboard;
    std::unique_ptr<ClipboardAccess> waylandClipboard;
    ClipboardAccess* clipboard = &qtClipboard;
    std::unique_ptr<ScreenGrabber> screen;
    std::unique_ptr<WindowSystem> windows;
    std::unique_ptr<CursorSource> cursor;
    std::unique_ptr<HotKeyRegistrar> hotKeys;
    DotsPerInch density;
};

RealPlatform::RealPlatform(WindowSystemKind windowSystem) : b_(std::make_unique<Backends>())
{
    if (windowSystem == WindowSystemKind::Wayland) {
        auto grabber = std::make_unique<PortalScreenGrabber>(b_->messages);
        b_->windows = std::make_unique<WaylandWindowSystem>(*grabber, SwayIpc::fromEnvironment());
        b_->screen = std::move(grabber);
        b_->cursor = std::make_unique<WaylandCursorSource>();
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

RealPlatform::~RealPlatform() = default;

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

double RealPlatform::screenTwipsPerPixelX() const
{
    return TwipsPerDevicePixel(b_->density.x);
}

double RealPlatform::screenTwipsPerPixelY() const
{
    return TwipsPerDevicePixel(b_->density.y);
}

}  // namespace tovrimo
