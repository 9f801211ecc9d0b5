#include "app/CommandLineJob.h"

#include <algorithm>

#include "capture/CaptureBuffer.h"
#include "capture/CaptureEngine.h"
#include "core/CommandLine.h"
#include "core/CoreTexts.h"
#include "core/Settings.h"
#include "output/PagePrinter.h"
#include "platform/MessageBoxes.h"

namespace tovrimo {

CommandLineJob::CommandLineJob(Services services, QObject* parent)
    : QObject(parent), s_(std::move(services))
{
}

CommandLineJob::Outcome CommandLineJob::start(const std::vector<std::string>& args)
{
    SettingsData& data = s_.data;
    s_.engine.setState(AppState::CommandLine);
    const CommandJob job = ParseCommandSwitches(args, data.current.name);
    data.settings.confirmBeforePrint = job.confirm;

    const std::optional<CaptureSource> source =
        job.request ? std::optional(job.request->source) : std::nullopt;
    if (source == CaptureSource::ActiveWindow) {
        // The handle's 32 bits go on unchanged: a negative number is no X id and so, like
        // any number that names no window, captures nothing rather than the active window.
        s_.engine.captureWindow(static_cast<WindowId>(job.window));
    } else if (source) {
        // A region is dragged over a picture of the whole desktop.
        s_.engine.captureDesktop();
    }
    if (!job.settingName.empty()) {
        const int count = std::clamp<int>(data.settings.namedSettingCount, 0, kNamedSettingsMax);
        for (int i = 0; i < count; ++i) {
            if (data.named[i].name == job.settingName) {
                data.current = data.named[i];
                data.settings.lastNamedSetting = static_cast<int16_t>(i);
            }
        }
    }
    const bool screenCapture = source == CaptureSource::Desktop || source == CaptureSource::Region;
    if ((screenCapture && s_.buffer.image.isNull()) ||
        (source == CaptureSource::ActiveWindow && s_.engine.windowGrabFailed())) {
        // The screen could not be read and the user has been told; there is nothing to print.
        return {false, 1};
    }
    if (job.error()) {
        s_.messages.show(texts::kAppCaption, texts::kBadCommandLine, MsgButtons::Ok, MsgIcon::None);
        return {false, 1};
    }
    if (source == CaptureSource::Region) {
        // The selection screen carries the job on and ends the program when it is done.
        emit regionScreenWanted();
        return {true, 0};
    }
    if (const std::optional<bool> accepted = deliver()) return {false, *accepted ? 0 : 1};
    // The print dialog carries the job on and ends the program when it closes.
    return {true, 0};
}

void CommandLineJob::regionChosen()
{
    if (const std::optional<bool> accepted = deliver()) emit finished(*accepted ? 0 : 1);
}

std::optional<bool> CommandLineJob::deliver()
{
    if (s_.data.settings.confirmBeforePrint) {
        emit printDialogWanted();
        return std::nullopt;
    }
    return s_.printer.printPage(s_.data.current, s_.buffer.image, s_.buffer.staging);
}

}  // namespace tovrimo
