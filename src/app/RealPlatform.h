#pragma once

#include <memory>

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

// The real backends of this platform (CUPS, X11, Qt), made once for the process. Needs a
// QApplication on an X display.
class RealPlatform {
public:
    RealPlatform();
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
    // The primary screen's twips per device pixel, the unit captures come in.
    double screenTwipsPerPixelX() const;
    double screenTwipsPerPixelY() const;

private:
    struct Backends;
    std::unique_ptr<Backends> b_;
};

}  // namespace tovrimo
