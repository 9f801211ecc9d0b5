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
#include "resident/CommandRouter.h"
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
    CaptureServices cs{services_.screen, services_.windows, services_.cursor, services_.clipboard,
                       services_.timers};
    const CaptureEngine::OptionsProvider options = [this] {
        const Settings& s = session_.data.settings;
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
    engine_ = std::make_unique<CaptureEngine>(session_.buffer, cs, options);
    printer_ = std::make_unique<PagePrinter>(
        *printers_, services_.messages, titleExpander(),
        ScreenScale{services_.screenTwipsPerPixelX, services_.screenTwipsPerPixelY});
    printer_->setFullDetail([this] { return session_.data.settings.fullDetailPrint; });
    fileDialog_ = std::make_unique<FileDialog>();
    imageSources_ = std::make_unique<ImageSources>(ImageSourceServices{
        *engine_, session_.buffer, services_.clipboard, services_.messages, *fileDialog_,
        session_.lastFolder, options, [this] { return residentWindow(); }});
    notes_ = std::make_unique<StickyNotes>(
        StickyNoteServices{*engine_, session_.buffer, services_.clipboard, services_.messages,
                           *fileDialog_, session_.lastFolder});
    router_ =
        std::make_unique<CommandRouter>(*engine_, *imageSources_, *notes_, session_.data.settings,
                                        [this] { return regionScreenOpen(); });
    dialogs_ = std::make_unique<DialogCoordinator>(session_, *this);
    hotKeys_ = std::make_unique<HotKeys>(services_.hotKeys);
    connect(hotKeys_.get(), &HotKeys::commandPressed, router_.get(), &CommandRouter::run);

    // A finished capture goes on down: to the printer with the current layout, the print
    // dialog or the region screen.
    CaptureEngine* engine = engine_.get();
    connect(engine, &CaptureEngine::captured, this, [this](CaptureDestination destination) {
        if (destination != CaptureDestination::Printer) return;
        printer_->printPage(session_.data.current, session_.buffer.image, session_.buffer.staging);
    });
    connect(engine, &CaptureEngine::printDialogWanted, this,
            [this] { dialogs_->openPrintDialog(); });
    connect(engine, &CaptureEngine::regionScreenWanted, this, &Program::openRegionScreen);
    connect(engine, &CaptureEngine::regionScreenDone, this, &Program::unloadRegionScreen);

    CommandRouter* router = router_.get();
    connect(router, &CommandRouter::optionsWanted, this, [this] { dialogs_->openOptions(); });
    connect(router, &CommandRouter::helpWanted, this, [this] { dialogs_->showHelpContents(); });
    connect(router, &CommandRouter::aboutWanted, this, [this] { dialogs_->openAbout(); });
    connect(router, &CommandRouter::quitWanted, this, &Program::quit);
    connect(router, &CommandRouter::captureCancelled, this, &Program::unloadRegionScreen);
    connect(router, &CommandRouter::commandLineJobCancelled, this,
            [this] { emit endRequested(0); });
}

Program::~Program()
{
    // The dialogs refer to the records and the engine: they go first.
    dialogs_.reset();
    engine_->disconnect();
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
    return saveSettings(session_.data);
}

bool Program::saveSettings(const SettingsData& records)
{
    const SettingsSaveResult save = settingsStore().saveSettings(records);
    ShowSettingsNotices(services_.messages, save.notices);
    return save.saved;
}

SettingsStore& Program::settingsStore()
{
    if (!store_ || store_->settingsPath() != session_.appPath + "tovrimo.ini")
        store_ = std::make_unique<SettingsStore>(services_.files, *printers_, session_.appPath);
    return *store_;
}

Program::Outcome Program::startUp(const AppFolders& appFolders,
                                  const std::vector<std::string>& args)
{
    session_.folders = appFolders;
    session_.appPath = session_.folders.settingsFolder;
    session_.lastFolder = FirstImageFolder(session_.folders);

    // A desktop whose only printers are on the network has no queue to list: only then is the
    // network listened to before the program gives up.
    if (printers_->printerNames().empty() && printers_->discoverPrinters(kDiscoveryWait).empty()) {
        services_.messages.show(texts::kAppCaption, texts::kNoPrinter, MsgButtons::Ok,
                                MsgIcon::None);
        return {false, 1};
    }

    session_.commandArgs = SplitCommandLine(CommandLineText(args));
    BuildPaperNames();
    SettingsStore& store = settingsStore();
    // A save cut short by a crash or a kill leaves its temporary file beside the settings
    // file, which itself is still whole.
    services_.files.removeAbandonedWrites(store.settingsPath());
    ShowSettingsNotices(services_.messages,
                        MigrateLegacySettings(services_.files, session_.appPath));

    const SettingsLoadResult load = store.loadSettings(session_.data);
    ShowSettingsNotices(services_.messages, load.notices);
    if (load.status == LoadResult::Fatal) return {false, 1};

    if (!session_.commandArgs.front().empty()) return runCommandLine();

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
        *engine_, session_.buffer, session_.data, *printer_, services_.messages});
    CommandLineJob* job = commandLineJob_.get();
    connect(job, &CommandLineJob::printDialogWanted, this, [this] { dialogs_->openPrintDialog(); });
    connect(job, &CommandLineJob::regionScreenWanted, this, &Program::openRegionScreen);
    connect(job, &CommandLineJob::finished, this, &Program::endRequested);
    const CommandLineJob::Outcome outcome = job->start(session_.commandArgs);
    return {outcome.goesOn, outcome.exitCode};
}

void Program::becomeResident()
{
    SettingsData& data = session_.data;
    resident_ = std::make_unique<TrayController>(services_.makeTrayIcon(), *router_);
    TrayController* resident = resident_.get();
    CaptureEngine* engine = engine_.get();
    connect(resident, &TrayController::commandChosen, router_.get(), &CommandRouter::run);
    connect(resident, &TrayController::cancelChosen, router_.get(), &CommandRouter::cancelCapture);
    connect(engine, &CaptureEngine::trayIconRemoved, resident, &TrayController::removeTrayIcon);
    connect(engine, &CaptureEngine::trayIconRestored, resident, &TrayController::addTrayIcon);
    connect(engine, &CaptureEngine::countdownChanged, resident, &TrayController::showCountdown);
    connect(engine, &CaptureEngine::countdownEnded, resident, &TrayController::endCountdown);
    hotKeys_->registerKeys(data.settings, engine_->state());
    data.settings.iconIsBuiltIn = resident_->applyTrayIconImage(data.settings.iconPath);
    engine_->setState(AppState::Idle);
    engine_->forgetLastCapture();
    // The menu goes with the icon, so a host that draws it has it from the first click on.
    resident_->updateTrayMenu();
    connect(engine, &CaptureEngine::stateChanged, resident,
            &TrayController::scheduleTrayMenuUpdate);
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
    const PrintLayout& layout = session_.data.current;
    PageRenderer::warmUp(TitleFont{QString::fromStdString(layout.fontName), layout.fontPoints,
                                   layout.bold, layout.italic, layout.underline});
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
    notes_->removeAllNotes();
    if (resident_) resident_->removeTrayIcon();
    qApp->quit();
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
    region_ = new RegionSelector(session_.buffer, [this] { return engine_->state(); });
    CaptureEngine* engine = engine_.get();
    connect(region_, &RegionSelector::printChosen, engine, &CaptureEngine::printHandOff);
    connect(region_, &RegionSelector::copyChosen, engine, &CaptureEngine::finishRegionCopy);
    connect(region_, &RegionSelector::commandLineChosen, this, [this] {
        if (commandLineJob_) commandLineJob_->regionChosen();
    });
    connect(region_, &RegionSelector::cancelRequested, router_.get(),
            &CommandRouter::cancelCapture);
    connect(region_, &RegionSelector::closeRequested, this, &Program::unloadRegionScreen);
    region_->open();
}

void Program::unloadRegionScreen()
{
    if (!region_) return;
    region_->hide();
    region_->deleteLater();
    region_ = nullptr;
}

}  // namespace tovrimo
