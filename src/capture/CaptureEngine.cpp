#include "capture/CaptureEngine.h"

#include <algorithm>

#include "capture/CaptureTexts.h"
#include "capture/CursorOverlay.h"
#include "capture/WindowTitle.h"
#include "platform/Translated.h"

namespace tovrimo {

CaptureEngine::CaptureEngine(CaptureBuffer& buffer, const CaptureServices& services,
                             OptionsProvider options, QObject* parent)
    : QObject(parent),
      buffer_(buffer),
      services_(services),
      options_(std::move(options)),
      captureDelay_(services.timers.createTimer()),
      foregroundPoll_(services.timers.createTimer()),
      windowDelay_(services.timers.createTimer()),
      countdown_(services.timers.createTimer())
{
    captureDelay_->setHandler([this] { onCaptureDelayElapsed(); });
    foregroundPoll_->setHandler([this] { onForegroundPoll(); });
    windowDelay_->setHandler([this] { onWindowDelayElapsed(); });
    countdown_->setHandler([this] { onCountdownTick(); });
}

CaptureEngine::~CaptureEngine() = default;

int CaptureEngine::captureDelayMs(const CaptureOptions& options)
{
    if (!options.selfTimerOn) return kDefaultDelayMs;
    // The product is a 16-bit quantity in the settings' own terms; a value that does not fit
    // wraps, and anything not positive would mean a timer that never fires.
    const auto product =
        static_cast<int16_t>(static_cast<int32_t>(options.selfTimerSeconds) * 1000);
    return product > 0 ? product : kDefaultDelayMs;
}

void CaptureEngine::capture(const CaptureRequest& request)
{
    using Source = CaptureSource;
    const bool print = request.destination == CaptureDestination::Printer;
    const bool copy = request.destination == CaptureDestination::Clipboard;
    if (!print && !copy) return;
    if (request.immediate) {
        if (request.source == Source::Desktop)
            captureDesktop();
        else if (request.source == Source::ActiveWindow)
            captureWindow(0);
        else
            return;
        // A window the desktop refused to give has been told; there is nothing to hand on.
        if (request.source == Source::ActiveWindow && windowGrabFailed()) return;
        if (copy)
            copyStep();
        else
            emit captured(CaptureDestination::Printer);
        return;
    }
    switch (request.source) {
    case Source::Desktop:
        print ? printDesktop() : copyDesktop();
        break;
    case Source::ActiveWindow:
        print ? printActiveWindow() : copyActiveWindow();
        break;
    case Source::Region:
        print ? printRegion() : copyRegion();
        break;
    case Source::ImageFile:
    case Source::Clipboard:
        break;
    }
}

void CaptureEngine::printDesktop()
{
    startDelayedScreenCommand(AppState::PrintDesktopPending,
                              {CaptureSource::Desktop, CaptureDestination::Printer});
}

void CaptureEngine::printRegion()
{
    startDelayedScreenCommand(AppState::PrintRegionPending,
                              {CaptureSource::Region, CaptureDestination::Printer});
}

void CaptureEngine::copyDesktop()
{
    startDelayedScreenCommand(AppState::CopyDesktopPending,
                              {CaptureSource::Desktop, CaptureDestination::Clipboard});
}

void CaptureEngine::copyRegion()
{
    startDelayedScreenCommand(AppState::CopyRegionPending,
                              {CaptureSource::Region, CaptureDestination::Clipboard});
}

void CaptureEngine::printActiveWindow()
{
    startActiveWindowCommand(AppState::PrintActiveWindowPending, CaptureDestination::Printer);
}

void CaptureEngine::copyActiveWindow()
{
    startActiveWindowCommand(AppState::CopyActiveWindowPending, CaptureDestination::Clipboard);
}

void CaptureEngine::startDelayedScreenCommand(AppState pending, const CaptureRequest& request)
{
    const CaptureOptions options = options_();
    const int delayMs = captureDelayMs(options);
    captureDelay_->setInterval(delayMs);
    captureDelay_->setEnabled(true);
    startCountdown(delayMs, options);
    // Hide the icon now so it is gone from the screen by the time the pixels are read.
    if (options.hideTrayIcon) {
        emit trayIconRemoved();
        trayIconHidden_ = true;
    }
    state_ = pending;
    last_ = request;
    emit stateChanged();
}

void CaptureEngine::startActiveWindowCommand(AppState pending, CaptureDestination destination)
{
    // Takes over from a desktop or region capture that hid the icon and now never reads the
    // screen; this command itself leaves the icon where it is.
    restoreTrayIcon();
    stopCountdown();
    foregroundPoll_->setInterval(kForegroundPollMs);
    watchedForegroundWindow_ = 0;
    foregroundPoll_->setEnabled(true);
    services_.windows.activateOwnWindow();
    state_ = pending;
    last_ = CaptureRequest{CaptureSource::ActiveWindow, destination};
    emit stateChanged();
}

void CaptureEngine::onCaptureDelayElapsed()
{
    // Off first: a hand-off that runs a message loop must not see this tick again.
    captureDelay_->setEnabled(false);
    // Normally gone already; the counter must never be in the picture.
    stopCountdown();
    emit stateChanged();
    const bool screenCommand =
        state_ == AppState::PrintDesktopPending || state_ == AppState::CopyRegionPending ||
        state_ == AppState::PrintRegionPending || state_ == AppState::CopyDesktopPending;
    if (screenCommand) {
        captureDesktop();
        if (buffer_.image.isNull()) {
            // The desktop did not let us read the screen (and has said why): the command
            // ends here rather than printing or copying an empty page.
            state_ = AppState::Idle;
            emit stateChanged();
            return;
        }
    }
    switch (state_) {
    case AppState::PrintDesktopPending:
        printHandOff();
        break;
    case AppState::CopyRegionPending:
    case AppState::PrintRegionPending:
        // The state stays until the region screen is done with it.
        emit regionScreenWanted();
        break;
    case AppState::CopyDesktopPending:
        copyStep();
        state_ = AppState::Idle;
        emit stateChanged();
        break;
    default:
        // Another command has taken over since this timer was armed; the icon it hid comes
        // back all the same.
        restoreTrayIcon();
        break;
    }
}

void CaptureEngine::onForegroundPoll()
{
    const WindowId foreground = services_.windows.foregroundWindow();
    if (watchedForegroundWindow_ == 0) {
        watchedForegroundWindow_ = foreground;
        return;
    }
    if (foreground == watchedForegroundWindow_) return;
    if (services_.windows.isOwnWindow(foreground)) {
        // Our own window becoming active is the activation we asked for arriving late, not
        // the user choosing the window to capture.
        watchedForegroundWindow_ = foreground;
        return;
    }
    const CaptureOptions options = options_();
    const int delayMs = captureDelayMs(options);
    windowDelay_->setInterval(delayMs);
    foregroundPoll_->setEnabled(false);
    windowDelay_->setEnabled(true);
    startCountdown(delayMs, options);
    emit stateChanged();
    services_.windows.withdrawOwnWindow();
}

void CaptureEngine::onWindowDelayElapsed()
{
    windowDelay_->setEnabled(false);
    stopCountdown();
    emit stateChanged();
    switch (state_) {
    case AppState::PrintActiveWindowPending:
        captureWindow(0);
        if (endIfWindowRefused()) break;
        printHandOff();
        break;
    case AppState::CopyActiveWindowPending:
        captureWindow(0);
        if (endIfWindowRefused()) break;
        copyStep();
        state_ = AppState::Idle;
        emit stateChanged();
        break;
    default:
        break;
    }
}

bool CaptureEngine::endIfWindowRefused()
{
    if (!windowGrabFailed_) return false;
    // As for the desktop: nothing is printed or copied in place of the window.
    state_ = AppState::Idle;
    emit stateChanged();
    return true;
}

void CaptureEngine::cancel()
{
    captureDelay_->setEnabled(false);
    foregroundPoll_->setEnabled(false);
    windowDelay_->setEnabled(false);
    stopCountdown();
    services_.windows.withdrawOwnWindow();
    // A cancelled capture never reads the screen, so nothing else would bring the icon back.
    restoreTrayIcon();
    if (state_ == AppState::CommandLine || state_ == AppState::CopyRegionPending ||
        state_ == AppState::PrintRegionPending)
        emit regionScreenDone();
    state_ = AppState::Idle;
    emit stateChanged();
}

void CaptureEngine::captureDesktop()
{
    const CaptureOptions options = options_();
    buffer_.clearImage();
    const PixelRect screen = services_.screen.primaryScreenRect();
    buffer_.transferIntoImage(services_.screen.grab(screen), options.reverseColours);
    if (options.drawCursor)
        drawCursorAt(DesktopCursorOrigin(services_.cursor.pointerPosition(), screen));
    // Also when nothing hid the icon (the command-line job): the rule is simply "bring it back".
    // And when the option was turned off while the icon was hidden for this capture.
    if (options.hideTrayIcon || trayIconHidden_) {
        emit trayIconRestored(
            TranslatedUtf8("tovrimo::TrayController", texts::kRestoredTrayTooltip));
        trayIconHidden_ = false;
    }
    capturedWindowTitle_.clear();
}

void CaptureEngine::captureWindow(WindowId window)
{
    const CaptureOptions options = options_();
    buffer_.clearImage();
    if (window == 0) window = services_.windows.foregroundWindow();
    capturedWindowRect_ = window != 0 ? services_.windows.frameRect(window) : PixelRect{};
    // Read from the screen, so whatever covers the window at this moment is copied with it.
    const QImage grabbed = services_.screen.grab(capturedWindowRect_);
    windowGrabFailed_ =
        grabbed.isNull() && capturedWindowRect_.width() > 0 && capturedWindowRect_.height() > 0;
    buffer_.transferIntoImage(grabbed, options.reverseColours);
    if (options.drawCursor) {
        if (auto origin =
                WindowCursorOrigin(services_.cursor.pointerPosition(), capturedWindowRect_))
            drawCursorAt(*origin);
    }
    capturedWindowTitle_ =
        window != 0 ? CapturedTitle(services_.windows.windowTitle(window)) : std::string();
}

void CaptureEngine::startCountdown(int delayMs, const CaptureOptions& options)
{
    // A command that re-arms the delay starts its count afresh.
    stopCountdown();
    if (!options.showCountdown || delayMs < 1000) return;
    countdownSeconds_ = (delayMs + 999) / 1000;
    // Each tick comes as the next whole second begins, except the last one, which takes the
    // counter away shortly before the capture.
    const int untilNextSecond = delayMs - (countdownSeconds_ - 1) * 1000;
    countdown_->setInterval(countdownSeconds_ == 1 ? std::max(1, delayMs - kCountdownClearMs)
                                                   : untilNextSecond);
    countdown_->setEnabled(true);
    countdownShown_ = true;
    emit countdownChanged(countdownSeconds_);
}

void CaptureEngine::onCountdownTick()
{
    countdown_->setEnabled(false);
    --countdownSeconds_;
    if (countdownSeconds_ <= 0) {
        stopCountdown();
        return;
    }
    countdown_->setInterval(countdownSeconds_ == 1 ? 1000 - kCountdownClearMs : 1000);
    countdown_->setEnabled(true);
    emit countdownChanged(countdownSeconds_);
}

void CaptureEngine::stopCountdown()
{
    countdown_->setEnabled(false);
    if (!countdownShown_) return;
    countdownSeconds_ = 0;
    countdownShown_ = false;
    emit countdownEnded();
}

void CaptureEngine::restoreTrayIcon()
{
    if (!trayIconHidden_) return;
    trayIconHidden_ = false;
    emit trayIconRestored(TranslatedUtf8("tovrimo::TrayController", texts::kRestoredTrayTooltip));
}

void CaptureEngine::drawCursorAt(PixelPoint origin)
{
    const CursorImage cursor = services_.cursor.cursorImage();
    DrawCursorImage(buffer_.image, cursor.image, origin);
}

void CaptureEngine::printHandOff()
{
    if (options_().confirmBeforePrint) {
        state_ = AppState::PrintDialogOpen;
        emit stateChanged();
        emit printDialogWanted();
    } else {
        emit captured(CaptureDestination::Printer);
        state_ = AppState::Idle;
        emit stateChanged();
    }
}

void CaptureEngine::copyStep()
{
    services_.clipboard.setImage(buffer_.image);
    emit captured(CaptureDestination::Clipboard);
}

void CaptureEngine::finishRegionCopy()
{
    copyStep();
    setState(AppState::Idle);
}

}  // namespace tovrimo
