#pragma once

#include <memory>
#include <string>
#include <vector>

#include "capture/CaptureBuffer.h"
#include "capture/CaptureHost.h"
#include "core/Settings.h"
#include "platform/AppFolders.h"

namespace tovrimo {

class CaptureEngine;
class ClipboardAccess;
class CursorSource;
class FileSystem;
class FrmTovrimo;
class MessageBoxes;
class PagePrinter;
class PrinterBackend;
class ScreenGrabber;
class SettingsStore;
class TimerFactory;
class TrayIcon;
class WindowSystem;

// Every platform service the program uses, made by main() (real ones) or a test (doubles).
struct PlatformServices {
    PrinterBackend& printers;
    MessageBoxes& messages;
    FileSystem& files;
    ScreenGrabber& screen;
    WindowSystem& windows;
    CursorSource& cursor;
    ClipboardAccess& clipboard;
    TimerFactory& timers;
    std::function<std::unique_ptr<TrayIcon>()> makeTrayIcon;
    double screenTwipsPerPixelX = 15.0;
    double screenTwipsPerPixelY = 15.0;
};

// The program as a whole: the start-up sequence, then either one command-line job or the
// resident tray utility with its capture engine and printing.
class Program : public CaptureHost {
public:
    explicit Program(PlatformServices services);
    ~Program() override;

    struct Outcome {
        bool resident = false;  // true: enter the event loop
        int exitCode = 0;       // otherwise: end the process with this code at once
    };
    Outcome StartUp(const AppFolders& folders, const std::vector<std::string>& args);

    // Program-wide values fixed at start-up.
    std::string AppPath;     // where the settings, defaults and legacy files live, ends in '/'
    std::string LastFolder;  // where the image-file dialogs start
    AppFolders folders;
    SettingsData data;
    std::vector<std::string> CommandArgs;

    CaptureBuffer& buffer() { return buffer_; }
    CaptureEngine& engine() { return *engine_; }
    PagePrinter& printer() { return *printer_; }
    FrmTovrimo* residentWindow() { return resident_.get(); }

    // CaptureHost
    void openPrintDialog() override;
    void printHardCopy() override;
    void openRegionScreen() override;
    void unloadRegionScreen() override;
    void removeTrayIcon() override;
    void addTrayIcon(const std::string& tooltip) override;

    // Exit from the tray menu: nothing is saved.
    void Exit();

private:
    Outcome RunCommandLine();
    void becomeResident();

    PlatformServices services_;
    CaptureBuffer buffer_;
    std::unique_ptr<CaptureEngine> engine_;
    std::unique_ptr<PagePrinter> printer_;
    std::unique_ptr<FrmTovrimo> resident_;
};

// The process's arguments joined into the command-line text the splitter works on.
std::string CommandLineText(const std::vector<std::string>& args);

}  // namespace tovrimo
