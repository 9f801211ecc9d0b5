#pragma once

#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "capture/CaptureBuffer.h"
#include "capture/CaptureHost.h"
#include "capture/RegionHost.h"
#include "core/Settings.h"
#include "platform/AppFolders.h"
#include "resident/ResidentCommands.h"

namespace tovrimo {

class CaptureEngine;
class CommandLineJob;
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
// resident tray utility with its capture engine and printing.
class Program : public CaptureHost, public RegionHost, public ResidentCommands {
public:
    explicit Program(PlatformServices services);
    ~Program() override;

    struct Outcome {
        bool resident = false;  // true: enter the event loop
        int exitCode = 0;       // otherwise: end the process with this code at once
    };
    Outcome startUp(const AppFolders& folders, const std::vector<std::string>& args);

    // Program-wide values fixed at start-up.
    std::string appPath;     // where the settings, defaults and legacy files live, ends in '/'
    std::string lastFolder;  // where the image-file dialogs start
    AppFolders folders;
    SettingsData data;
    std::vector<std::string> commandArgs;

    CaptureBuffer& buffer() { return buffer_; }
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

    // CaptureHost
    void openPrintDialog() override;
    void printHardCopy() override;
    void openRegionScreen() override;
    void unloadRegionScreen() override;
    void removeTrayIcon() override;
    void addTrayIcon(const std::string& tooltip) override;
    void showCountdown(int secondsLeft) override;
    void endCountdown() override;

    // RegionHost
    AppState state() const override;
    void setState(AppState state) override;
    void printHandOff() override;
    void copyStep() override;
    void commandLineHandOff() override;
    void cancel() override;

    // ResidentCommands
    AppState appState() const override { return state(); }
    std::optional<CaptureRequest> lastCapture() const override;
    bool captureDelayRunning() const override;
    std::optional<CaptureDestination> doubleClickDestination() const override
    {
        return data.settings.doubleClickDestination;
    }
    std::optional<CaptureSource> doubleClickSource() const override
    {
        return data.settings.doubleClickSource;
    }
    // Every command of the tray, the hot keys and the repeat item comes here; while the region
    // screen is up none is taken.
    void run(const Command& command) override;
    void cancelCapture() override;

    void openOptions();
    void openHelp();
    void openAbout();
    void quit();
    void removeAllNotes();
    void bringNotesToFront();

    // Called when the process must end at once (a finished command-line job); the default
    // ends it with std::exit, tests replace it.
    std::function<void(int)> endProcess;

    // How long a resident start waits for a notification area before it says there is none.
    int notificationAreaWaitMs = 10000;
    // How long after a resident start, with nothing else to do, the program reads what its
    // first hard copy needs and looks for network printers.
    int warmUpDelayMs = 300;

private:
    Outcome runCommandLine();
    void becomeResident();
    void waitForNotificationArea();
    void warmUp();

    PlatformServices services_;
    CaptureBuffer buffer_;
    std::unique_ptr<CaptureEngine> engine_;
    std::unique_ptr<PagePrinter> printer_;
    std::unique_ptr<TrayController> resident_;
    std::unique_ptr<HotKeys> hotKeys_;
    std::unique_ptr<FileDialog> fileDialog_;
    std::unique_ptr<ImageSources> imageSources_;
    std::unique_ptr<StickyNotes> notes_;
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
