#include "app/RealPlatform.h"

#include "platform/PosixFileSystem.h"
#include "platform/ScreenDensity.h"
#include "platform/cups/CupsPrinterBackend.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtMessageBoxes.h"
#include "platform/qt/QtTimerFactory.h"
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
    X11ScreenGrabber screen;
    X11WindowSystem windows;
    X11CursorSource cursor;
    QtClipboard clipboard;
    QtTimerFactory timers;
    X11HotKeyRegistrar hotKeys;
};

RealPlatform::RealPlatform() : b_(std::make_unique<Backends>()) {}
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
    return b_->screen;
}
WindowSystem& RealPlatform::windows()
{
    return b_->windows;
}
CursorSource& RealPlatform::cursor()
{
    return b_->cursor;
}
ClipboardAccess& RealPlatform::clipboard()
{
    return b_->clipboard;
}
TimerFactory& RealPlatform::timers()
{
    return b_->timers;
}
HotKeyRegistrar& RealPlatform::hotKeys()
{
    return b_->hotKeys;
}

double RealPlatform::screenTwipsPerPixelX() const
{
    return TwipsPerDevicePixel(X11ScreenDensity().x);
}

double RealPlatform::screenTwipsPerPixelY() const
{
    return TwipsPerDevicePixel(X11ScreenDensity().y);
}

}  // namespace tovrimo
