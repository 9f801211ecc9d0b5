#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Session.h"
#include "capture/CaptureBuffer.h"
#include "core/Settings.h"
#include "platform/AppFolders.h"

namespace tovrimo {

class CaptureEngine;
class CommandLineJob;
class CommandRouter;
class ClipboardAccess;
class CursorSource;
class FileSystem;
class FileDialog;
class RegionSelector;
class ImageSources;
class DialogCoordinator;
class StickyNotes;
class TrayController;
class HotKeyRegistrar;
class HotKeys;
class LoginStart;
class MessageBoxes;
class PagePrinter;
class PrinterBackend;
class PrinterCatalog;
class ScreenGrabber;
class SettingsStore;
class SingleInstance;
class TimerFactory;
class TrayHostWatcher;
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
    HotKeyRegistrar& hotKeys;
    std::function<std::unique_ptr<TrayIcon>()> makeTrayIcon;
    double screenTwipsPerPixelX = 15.0;
    double screenTwipsPerPixelY = 15.0;
    // Whether the desktop has a notification area; none: assume it has.
    TrayHostWatcher* trayHosts = nullptr;
    // One resident program per user and display; none: no check.
    SingleInstance* instance = nullptr;
    // Start at login (the options dialog's box); none: the box is greyed out.
    LoginStart* loginStart = nullptr;
};

// The program as a whole: the start-up sequence, then either one command-line job or the
// resident tray utility with its capture engine and printing. It makes the parts and connects
// them; what they share lives in the session.
class Program : public QObject {
    Q_OBJECT
public:
    explicit Program(PlatformServices services);
    ~Program() override;

    struct Outcome {
        bool resident = false;  // true: enter the event loop
        int exitCode = 0;       // otherwise: end the process with this code at once
    };
    Outcome startUp(const AppFolders& folders, const std::vector<std::string>& args);

    Session& session() { return session_; }
    CaptureBuffer& buffer() { return session_.buffer; }
    CaptureEngine& engine() { return *engine_; }
    PagePrinter& printer() { return *printer_; }
    // The printers as this process has read them; every part of the program asks through it.
    PrinterCatalog& printers() { return *printers_; }
    // Looks for network printers on a worker thread; an open print dialog lists each one found.
    void discoverPrinters();
    TrayController* residentWindow() { return resident_.get(); }

    HotKeys* hotKeys() { return hotKeys_.get(); }
    StickyNotes& notes() { return *notes_; }
    DialogCoordinator& dialogs() { return *dialogs_; }
    // Every command of the tray, the hot keys and the repeat item goes through it.
    CommandRouter& commands() { return *router_; }
    const PlatformServices& services() const { return services_; }
    // Expands a title template with the current capture's fields.
    std::function<std::string(const std::string&)> titleExpander() const;
    // Rewrites the settings file from the records; false (already shown) when it failed.
    bool saveSettings();
    bool saveSettings(const SettingsData& records);
    // The settings file of this session (in appPath); it remembers a file that could not be
    // read at start-up, so that no save replaces it.
    SettingsStore& settingsStore();
    RegionSelector* regionScreen();
    // The region screen is up: hot keys and tray commands wait until it is done.
    bool regionScreenOpen() const;

    // Ends the resident program: the hot keys, the notes and the icon go, then the event loop.
    void quit();

    // How long a resident start waits for a notification area before it says there is none.
    int notificationAreaWaitMs = 10000;
    // How long after a resident start, with nothing else to do, the program reads what its
    // first hard copy needs and looks for network printers.
    int warmUpDelayMs = 300;

signals:
    // The process must end now with this code (a finished or cancelled command-line job);
    // main() ends it.
    void endRequested(int exitCode);

private:
    Outcome runCommandLine();
    void becomeResident();
    void waitForNotificationArea();
    void warmUp();
    void openRegionScreen();
    void unloadRegionScreen();

    PlatformServices services_;
    Session session_;
    std::unique_ptr<CaptureEngine> engine_;
    std::unique_ptr<PagePrinter> printer_;
    std::unique_ptr<TrayController> resident_;
    std::unique_ptr<HotKeys> hotKeys_;
    std::unique_ptr<FileDialog> fileDialog_;
    std::unique_ptr<ImageSources> imageSources_;
    std::unique_ptr<StickyNotes> notes_;
    std::unique_ptr<CommandRouter> router_;
    std::unique_ptr<DialogCoordinator> dialogs_;
    std::unique_ptr<CommandLineJob> commandLineJob_;
    QPointer<RegionSelector> region_;
    QTimer notificationAreaWait_;
    std::unique_ptr<SettingsStore> store_;
    // Last, so that it goes first: its worker thread may still report to the objects above.
    std::unique_ptr<PrinterCatalog> printers_;
};

// The process's arguments joined into the command-line text the splitter works on.
std::string CommandLineText(const std::vector<std::string>& args);

}  // namespace tovrimo
