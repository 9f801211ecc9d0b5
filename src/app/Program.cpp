#include "app/Program.h"

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "app/CommandLineJob.h"
#include "app/DialogCoordinator.h"
#include "capture/CaptureEngine.h"
#include "capture/CaptureOptions.h"
#include "capture/ImageSources.h"
#include "capture/RegionSelector.h"
#include "controls/FileDialog.h"
#include "core/CommandLine.h"
#include "core/CoreTexts.h"
#include "core/FileSystem.h"
#include "core/LegacySettings.h"
#include "core/PaperNames.h"
#include "core/SettingsStore.h"
#include "core/TitleFields.h"
#include "output/PagePrinter.h"
#include "output/PageRenderer.h"
#include "platform/MessageBoxes.h"
#include "platform/PrinterBackend.h"
#include "platform/PrinterCatalog.h"
#include "platform/SettingsNoticeBoxes.h"
#include "platform/SingleInstance.h"
#include "platform/SystemInfo.h"
#include "platform/TrayHostWatcher.h"
#include "platform/TrayIcon.h"
#include "resident/HotKeys.h"
#include "resident/StickyNotes.h"
#include "resident/TrayController.h"

namespace tovrimo {

std::string CommandLineText(const std::vector<std::string>& args)
{
    std::string text;
    for (size_t i = 0; i < args.size(); ++i) {
        if (i) text += ' ';
        text += args[i];
    }
    return text;
}

namespace {

// How long the program listens for network printers when it looks for them.
constexpr std::chrono::milliseconds kDiscoveryWait{2000};

}  // namespace

Program::Program(PlatformServices services)
    : services_(std::move(services)),
      printers_(std::make_unique<PrinterCatalog>(services_.printers))
{
    CaptureServices cs{services_.screen,    services_.windows, services_.cursor,
                       services_.clipboard, services_.timers,  *this};
    const CaptureEngine::OptionsProvider options = [this] {
        const Settings& s = data.settings;
        CaptureOptions o;
        o.selfTimerOn = s.selfTimerOn;
        o.selfTimerSeconds = s.selfTimerSeconds;
        o.hideTrayIcon = s.hideIconWhileCapturing;
        o.confirmBeforePrint = s.confirmBeforePrint;
        o.reverseColours = s.reverseColours;
        o.drawCursor = s.captureCursor;
        o.showCountdown = s.showCountdown;
        return o;
    };
    engine_ = std::make_unique<CaptureEngine>(buffer_, cs, options);
    printer_ = std::make_unique<PagePrinter>(
        *printers_, services_.messages, titleExpander(),
        ScreenScale{services_.screenTwipsPerPixelX, services_.screenTwipsPerPixelY});
    printer_->setFullDetail([this] { return data.settings.fullDetailPrint; });
    fileDialog_ = std::make_unique<FileDialog>();
    imageSources_ = std::make_unique<ImageSources>(ImageSourceServices{
        *engine_, buffer_, services_.clipboard, services_.messages, *fileDialog_, lastFolder,
        options, [this] { return residentWindow(); }});
    notes_ = std::make_unique<StickyNotes>(StickyNoteServices{
        *engine_, buffer_, services_.clipboard, services_.messages, *fileDialog_, lastFolder});
    dialogs_ = std::make_unique<DialogCoordinator>(*this);
    endProcess = [](int code) { std::exit(code); };

    hotKeys_ = std::make_unique<HotKeys>(services_.hotKeys, [this](const Command& c) { run(c); });
}

Program::~Program()
{
    // The dialogs refer to the records and the engine: they go first.
    dialogs_.reset();
    engine_->onChange = nullptr;
    // A discovery still running finishes before anything it reports to goes.
    printers_.reset();
}

std::function<std::string(const std::string&)> Program::titleExpander() const
{
    const TitleFieldSources sources =
        SystemTitleFieldSources([this] { return engine_->capturedWindowTitle(); });
    return [sources](const std::string& t) { return ExpandTitleFields(t, sources); };
}

bool Program::saveSettings()
{
    return saveSettings(data);
}

bool Program::saveSettings(const SettingsData& records)
{
    const SettingsSaveResult save = settingsStore().saveSettings(records);
    ShowSettingsNotices(services_.messages, save.notices);
    return save.saved;
}

SettingsStore& Program::settingsStore()
{
    if (!store_ || store_->settingsPath() != appPath + "tovrimo.ini")
        store_ = std::make_unique<SettingsStore>(services_.files, *printers_, appPath);
    return *store_;
}

Program::Outcome Program::startUp(const AppFolders& appFolders,
                                  const std::vector<std::string>& args)
{
    folders = appFolders;
    appPath = folders.settingsFolder;
    lastFolder = FirstImageFolder(folders);

    // A desktop whose only printers are on the network has no queue to list: only then is the
    // network listened to before the program gives up.
    if (printers_->printerNames().empty() && printers_->discoverPrinters(kDiscoveryWait).empty()) {
        services_.messages.show(texts::kAppCaption, texts::kNoPrinter, MsgButtons::Ok,
                                MsgIcon::None);
        return {false, 1};
    }

    commandArgs = SplitCommandLine(CommandLineText(args));
    BuildPaperNames();
    SettingsStore& store = settingsStore();
    // A save cut short by a crash or a kill leaves its temporary file beside the settings
    // file, which itself is still whole.
    services_.files.removeAbandonedWrites(store.settingsPath());
    ShowSettingsNotices(services_.messages, MigrateLegacySettings(services_.files, appPath));

    const SettingsLoadResult load = store.loadSettings(data);
    ShowSettingsNotices(services_.messages, load.notices);
    if (load.status == LoadResult::Fatal) return {false, 1};

    if (!commandArgs.front().empty()) return runCommandLine();

    if (services_.instance) {
        switch (services_.instance->claim()) {
        case SingleInstance::Claim::Resident:
            break;
        case SingleInstance::Claim::HandedOver:
            return {false, 0};
        case SingleInstance::Claim::Unreachable:
            // Said on stderr first, for a start from a script or a terminal that nobody
            // watches; the box may wait a long time.
            std::fprintf(stderr, "tovrimo: %s\n", texts::kResidentNotAnswering);
            std::fflush(stderr);
            services_.messages.show(texts::kAppCaption, texts::kResidentNotAnswering,
                                    MsgButtons::Ok, MsgIcon::Warning);
            return {false, 1};
        }
    }
    becomeResident();
    return {true, 0};
}

Program::Outcome Program::runCommandLine()
{
    commandLineJob_ = std::make_unique<CommandLineJob>(CommandLineJob::Services{
        *engine_, buffer_, data, *printer_, services_.messages,
        [this] { dialogs_->openPrintDialog(); }, [this] { openRegionScreen(); },
        [this](int code) { endProcess(code); }});
    const CommandLineJob::Outcome outcome = commandLineJob_->start(commandArgs);
    return {outcome.goesOn, outcome.exitCode};
}

void Program::becomeResident()
{
    resident_ = std::make_unique<TrayController>(services_.makeTrayIcon(), *this);
    hotKeys_->registerKeys(data.settings, engine_->state());
    data.settings.iconIsBuiltIn = resident_->applyTrayIconImage(data.settings.iconPath);
    engine_->setState(AppState::Idle);
    engine_->forgetLastCapture();
    // The menu goes with the icon, so a host that draws it has it from the first click on.
    resident_->updateTrayMenu();
    engine_->onChange = [this] { resident_->scheduleTrayMenuUpdate(); };
    resident_->addTrayIcon(data.settings.title);
    if (services_.instance)
        QObject::connect(services_.instance, &SingleInstance::menuRequested, resident_.get(),
                         [this] { resident_->showMenuAtPointer(); });
    waitForNotificationArea();
    QTimer::singleShot(warmUpDelayMs, resident_.get(), [this] { warmUp(); });
}

void Program::warmUp()
{
    // The first hard copy would otherwise load the title's fonts and the PDF writer, and ask
    // the printing system for the default printer, while the user waits for the page.
    PageRenderer::warmUp(TitleFont{QString::fromStdString(data.current.fontName),
                                   data.current.fontPoints, data.current.bold, data.current.italic,
                                   data.current.underline});
    discoverPrinters();
}

void Program::discoverPrinters()
{
    QPointer<TrayController> resident = resident_.get();
    printers_->discoverInBackground(kDiscoveryWait, [this, resident] {
        // On the worker thread: the list is updated on the GUI thread.
        QMetaObject::invokeMethod(
            resident,
            [this] {
                if (dialogs_) dialogs_->printersDiscovered();
            },
            Qt::QueuedConnection);
    });
}

void Program::waitForNotificationArea()
{
    TrayHostWatcher* hosts = services_.trayHosts;
    if (!hosts || hosts->available()) return;
    // Panels often start after the programs a session starts: give one time to come.
    notificationAreaWait_.setSingleShot(true);
    notificationAreaWait_.setInterval(notificationAreaWaitMs);
    QObject::connect(hosts, &TrayHostWatcher::appeared, &notificationAreaWait_, &QTimer::stop);
    QObject::connect(&notificationAreaWait_, &QTimer::timeout, resident_.get(), [this] {
        if (services_.trayHosts->available()) return;
        const bool hotKeysWork = hotKeys_->availability() == HotKeyAvailability::Working;
        services_.messages.show(
            texts::kAppCaption,
            hotKeysWork ? texts::kNoNotificationArea : texts::kNoNotificationAreaWithoutHotKeys,
            MsgButtons::Ok, MsgIcon::Information);
    });
    notificationAreaWait_.start();
}

void Program::quit()
{
    hotKeys_->unregisterKeys();
    removeAllNotes();
    if (resident_) resident_->removeTrayIcon();
    qApp->quit();
}

void Program::openPrintDialog()
{
    dialogs_->openPrintDialog();
}

void Program::printHardCopy()
{
    printer_->printPage(data.current, buffer_.image, buffer_.staging);
}

RegionSelector* Program::regionScreen()
{
    return region_;
}

bool Program::regionScreenOpen() const
{
    return region_ && region_->isVisible();
}

void Program::openRegionScreen()
{
    if (region_) region_->deleteLater();
    region_ = new RegionSelector(buffer_, *this);
    region_->open();
}

void Program::unloadRegionScreen()
{
    if (!region_) return;
    region_->hide();
    region_->deleteLater();
    region_ = nullptr;
}

AppState Program::state() const
{
    return engine_->state();
}

void Program::setState(AppState state)
{
    engine_->setState(state);
}

void Program::printHandOff()
{
    engine_->printHandOff();
}

void Program::copyStep()
{
    engine_->copyStep();
}

void Program::commandLineHandOff()
{
    if (commandLineJob_) commandLineJob_->regionChosen();
}

void Program::cancel()
{
    cancelCapture();
}

std::optional<CaptureRequest> Program::lastCapture() const
{
    return engine_->lastCapture();
}

bool Program::captureDelayRunning() const
{
    return engine_->captureDelayTimer().isEnabled() || engine_->windowDelayTimer().isEnabled();
}

void Program::run(const Command& command)
{
    // The region screen covers the desktop and waits for its drag or its cancel; a command
    // that changed the state meanwhile would leave it with neither.
    if (regionScreenOpen()) return;
    if (const auto* action = std::get_if<ProgramAction>(&command)) {
        switch (*action) {
        case ProgramAction::OpenOptions:
            openOptions();
            break;
        case ProgramAction::OpenHelp:
            openHelp();
            break;
        case ProgramAction::OpenAbout:
            openAbout();
            break;
        case ProgramAction::RemoveAllNotes:
            removeAllNotes();
            break;
        case ProgramAction::BringNotesToFront:
            bringNotesToFront();
            break;
        case ProgramAction::Quit:
            quit();
            break;
        }
        return;
    }
    const auto& request = std::get<CaptureRequest>(command);
    using Destination = CaptureDestination;
    switch (request.source) {
    case CaptureSource::Desktop:
    case CaptureSource::ActiveWindow:
    case CaptureSource::Region:
        engine_->capture(request);
        break;
    case CaptureSource::ImageFile:
        if (request.destination == Destination::Printer) imageSources_->printFile();
        if (request.destination == Destination::Clipboard) imageSources_->copyFile();
        break;
    case CaptureSource::Clipboard:
        if (request.destination == Destination::Printer) imageSources_->printClipboard();
        if (request.destination == Destination::StickyNote) notes_->noteFromClipboard();
        break;
    }
}

void Program::cancelCapture()
{
    const bool commandLineJob = engine_->state() == AppState::CommandLine;
    engine_->cancel();
    // Whatever state the program is in by now, a cancel never leaves the region screen up.
    unloadRegionScreen();
    // A cancelled command-line job leaves the program without a window: it ends.
    if (commandLineJob) endProcess(0);
}

void Program::openOptions()
{
    dialogs_->openOptions();
}

void Program::openHelp()
{
    dialogs_->showHelpContents();
}

void Program::openAbout()
{
    dialogs_->openAbout();
}

void Program::removeAllNotes()
{
    notes_->removeAllNotes();
}

void Program::bringNotesToFront()
{
    notes_->bringNotesToFront();
}

void Program::removeTrayIcon()
{
    if (resident_) resident_->removeTrayIcon();
}

void Program::addTrayIcon(const std::string& tooltip)
{
    if (resident_) resident_->addTrayIcon(tooltip);
}

void Program::showCountdown(int secondsLeft)
{
    if (resident_) resident_->showCountdown(secondsLeft);
}

void Program::endCountdown()
{
    if (resident_) resident_->endCountdown();
}

}  // namespace tovrimo
