#pragma once

#include <memory>
#include <string>

#include "platform/DisplayCheck.h"

namespace tovrimo {

class ClipboardAccess;
class CursorSource;
class FileSystem;
class HotKeyRegistrar;
class MessageBoxes;
class PrinterBackend;
class ScreenGrabber;
class TimerFactory;
class WindowSystem;

// The real backends of this platform (CUPS, Qt, and X11 or Wayland), made once for the
// process. Needs a QApplication on the window system it is made for.
class RealPlatform {
public:
    explicit RealPlatform(WindowSystemKind windowSystem);
    ~RealPlatform();
    RealPlatform(const RealPlatform&) = delete;
    RealPlatform& operator=(const RealPlatform&) = delete;

    PrinterBackend& printers();
    MessageBoxes& messages();
    FileSystem& files();
    ScreenGrabber& screen();
    WindowSystem& windows();
    CursorSource& cursor();
    ClipboardAccess& clipboard();
    TimerFactory& timers();
    HotKeyRegistrar& hotKeys();
    // The text of the last message box shown; empty when none was.
    std::string lastMessageText() const;
    // The primary screen's twips per device pixel, the unit captures come in.
    double screenTwipsPerPixelX() const;
    double screenTwipsPerPixelY() const;

private:
    struct Backends;
    std::unique_ptr<Backends> b_;
};

}  // namespace tovrimo
