#include "core/Program.h"

#include <QApplication>
#include <algorithm>

#include "capture/CaptureEngine.h"
#include "capture/CaptureOptions.h"
#include "core/CommandLine.h"
#include "core/CoreTexts.h"
#include "core/LegacySettings.h"
#include "core/PaperNames.h"
#include "core/SettingsStore.h"
#include "output/PagePrinter.h"
#include "output/TitleFields.h"
#include "platform/FileSystem.h"
#include "platform/MessageBoxes.h"
#include "platform/PrinterBackend.h"
#include "platform/TrayIcon.h"
#include "resident/FrmTovrimo.h"

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

Program::Program(PlatformServices services) : services_(std::move(services))
{
    CaptureServices cs{services_.screen, services_.windows, services_.cursor,
                       services_.clipboard, services_.timers, *this};
    engine_ = std::make_unique<CaptureEngine>(buffer_, cs, [this] {
        const Settings& s = data.settings;
        CaptureOptions o;
        o.SelfTimer = s.SelfTimer;
        o.SelfTime = s.SelfTime;
        o.IconDelete = s.IconDelete;
        o.ConfirmBeforePrint = s.ConfirmBeforePrint;
        o.ReversePrint = s.ReversePrint;
        o.IconCapture = s.IconCapture;
        return o;
    });
    auto titleSources =
        SystemTitleFieldSources([this] { return engine_->CapturedWindowTitle(); });
    printer_ = std::make_unique<PagePrinter>(
        services_.printers, services_.messages,
        [titleSources](const std::string& t) { return ExpandTitleFields(t, titleSources); },
        ScreenScale{services_.screenTwipsPerPixelX, services_.screenTwipsPerPixelY});
}

Program::~Program() = default;

Program::Outcome Program::StartUp(const AppFolders& appFolders,
                                  const std::vector<std::string>& args)
{
    folders = appFolders;
    AppPath = folders.settingsFolder;
    LastFolder = AppPath;

    if (services_.printers.printerNames().empty()) {
        services_.messages.show(texts::kAppCaption, texts::kNoPrinter, MsgButtons::Ok,
                                MsgIcon::None);
        return {false, 1};
    }

    CommandArgs = SplitCommandLine(CommandLineText(args));
    BuildPaperNames();
    MigrateLegacySettings(services_.files, services_.messages, AppPath);

    SettingsStore store(services_.files, services_.printers, services_.messages, AppPath);
    if (store.LoadSettings(data) == LoadResult::Fatal) return {false, 1};

    if (!CommandArgs.front().empty()) return RunCommandLine();

    becomeResident();
    return {true, 0};
}

Program::Outcome Program::RunCommandLine()
{
    engine_->setState(AppState::CommandLine);
    const CommandJob job = ParseCommandSwitches(CommandArgs, data.current.Title);
    data.settings.ConfirmBeforePrint = job.confirm ? 1 : 0;

    switch (job.capture) {
    case CommandCapture::None: break;
    case CommandCapture::Desktop: engine_->CaptureDesktop(); break;
    case CommandCapture::Window: engine_->CaptureWindow(job.window); break;
    case CommandCapture::Region: engine_->CaptureDesktop(); break;
    }
    if (!job.settingName.empty()) {
        const int count = std::clamp<int>(data.settings.PrinterCount, 0, kNamedSettingsMax);
        for (int i = 0; i < count; ++i) {
            if (data.named[i].Title == job.settingName) {
                data.current = data.named[i];
                data.settings.LastSet = static_cast<int16_t>(i);
            }
        }
    }
    if (job.error()) {
        services_.messages.show(texts::kAppCaption, texts::kBadCommandLine, MsgButtons::Ok,
                                MsgIcon::None);
        return {false, 1};
    }
    // The region screen and the print dialog will carry their jobs on by themselves; until
    // they are part of the program, such a job prints the whole capture directly.
    const bool accepted =
        printer_->PrintHardCopy(data.current, buffer_.PicPrint, buffer_.PicPrint2);
    return {false, accepted ? 0 : 1};
}

void Program::becomeResident()
{
    resident_ = std::make_unique<FrmTovrimo>(services_.makeTrayIcon());
    data.settings.IconIsBuiltIn = resident_->ApplyTrayIconImage(data.settings.Icon);
    QObject::connect(resident_.get(), &FrmTovrimo::exitRequested, qApp, [this] { Exit(); });
    resident_->AddTrayIcon(data.settings.Title);
    engine_->setState(AppState::Idle);
    engine_->recordLastOperation(ActionCode::None, SourceCode::None);
}

void Program::Exit()
{
    if (resident_) resident_->RemoveTrayIcon();
    qApp->quit();
}

void Program::openPrintDialog()
{
    // Until the print dialog is part of the program, a confirmed hard copy prints directly
    // with the current layout, so that the program never stays stuck in the dialog's state.
    printHardCopy();
    engine_->setState(AppState::Idle);
}

void Program::printHardCopy()
{
    printer_->PrintHardCopy(data.current, buffer_.PicPrint, buffer_.PicPrint2);
}

void Program::openRegionScreen()
{
    // Until the selection screen exists the whole frozen desktop is the region.
    if (engine_->state() == AppState::RsCopyPending) {
        engine_->PrintHandOff();
    } else {
        engine_->CopyStep();
        engine_->setState(AppState::Idle);
    }
}

void Program::unloadRegionScreen() {}

void Program::removeTrayIcon()
{
    if (resident_) resident_->RemoveTrayIcon();
}

void Program::addTrayIcon(const std::string& tooltip)
{
    if (resident_) resident_->AddTrayIcon(tooltip);
}

}  // namespace tovrimo
