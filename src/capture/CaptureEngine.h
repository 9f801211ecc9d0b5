#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "capture/CaptureBuffer.h"
#include "capture/CaptureCodes.h"
#include "capture/CaptureOptions.h"
#include "core/CaptureRequest.h"
#include "platform/ClipboardAccess.h"
#include "platform/CursorSource.h"
#include "platform/PixelGeometry.h"
#include "platform/ScreenGrabber.h"
#include "platform/Timer.h"
#include "platform/TimerFactory.h"
#include "platform/WindowSystem.h"

namespace tovrimo {

// Everything outside that a capture touches.
struct CaptureServices {
    ScreenGrabber& screen;
    WindowSystem& windows;
    CursorSource& cursor;
    ClipboardAccess& clipboard;
    TimerFactory& timers;
};

// The screen capture commands and their timers, the program-wide application state and the
// last operation. A command never captures by itself: it arms a timer and returns, so that the
// menu that issued it has gone from the screen before the pixels are read. What a capture hands
// on (printing, the print dialog, the region screen, the tray icon and its counter) it signals;
// every signal is emitted in the middle of the step, and its receivers return at once.
class CaptureEngine : public QObject {
    Q_OBJECT
public:
    // Options are asked for whenever a command or tick needs them, so a change made in the
    // options dialog applies to the next step at once.
    using OptionsProvider = std::function<CaptureOptions()>;

    static constexpr int kDefaultDelayMs = 100;
    static constexpr int kForegroundPollMs = 100;
    // The counter leaves the screen this long before the pixels are read, so that whatever it
    // covered has been drawn again by then.
    static constexpr int kCountdownClearMs = 300;

    CaptureEngine(CaptureBuffer& buffer, const CaptureServices& services, OptionsProvider options,
                  QObject* parent = nullptr);
    ~CaptureEngine() override;

    // The delay between a command and its capture. A self-timer product that wraps around in
    // 16 bits, or comes out zero or negative, falls back to the default so the capture still
    // happens.
    static int captureDelayMs(const CaptureOptions& options);

    AppState state() const { return state_; }
    void setState(AppState state)
    {
        state_ = state;
        emit stateChanged();
    }
    // The capture the repeat command runs again; nothing until the first one.
    const std::optional<CaptureRequest>& lastCapture() const { return last_; }
    // For the commands that take their image without a timer (clipboard, file, sticky note):
    // they record themselves once the image was taken.
    void recordLastCapture(const CaptureRequest& request)
    {
        last_ = request;
        emit stateChanged();
    }
    void forgetLastCapture()
    {
        last_.reset();
        emit stateChanged();
    }
    // True while captureDelayTimer or windowDelayTimer runs: a capture is waiting for its delay.
    bool captureDelayRunning() const
    {
        return captureDelay_->isEnabled() || windowDelay_->isEnabled();
    }

    const std::string& capturedWindowTitle() const { return capturedWindowTitle_; }
    const PixelRect& capturedWindowRect() const { return capturedWindowRect_; }
    // The last window capture asked the screen for a window and got nothing: the desktop
    // refused it (and has said why). A window that is not there is no failure: it gives an
    // empty picture, as it always has.
    bool windowGrabFailed() const { return windowGrabFailed_; }
    WindowId watchedForegroundWindow() const { return watchedForegroundWindow_; }
    const Timer& captureDelayTimer() const { return *captureDelay_; }
    const Timer& foregroundPollTimer() const { return *foregroundPoll_; }
    const Timer& windowDelayTimer() const { return *windowDelay_; }
    const Timer& countdownTimer() const { return *countdown_; }
    // The seconds the counter shows now; 0 while none is shown.
    int countdownSeconds() const { return countdownSeconds_; }

    // Starts a capture of the desktop, the active window or a region, to the printer or the
    // clipboard; an immediate one is taken and handed on at once. Requests for the other
    // sources and destinations are not the engine's and are ignored.
    void capture(const CaptureRequest& request);

    // Hard copies (printing) of the desktop, the active window and a region.
    void printDesktop();
    void printActiveWindow();
    void printRegion();
    // Copies to the clipboard of the same three.
    void copyDesktop();
    void copyActiveWindow();
    void copyRegion();

    void onCaptureDelayElapsed();
    void onForegroundPoll();
    void onWindowDelayElapsed();
    void onCountdownTick();

    // Stops whatever capture is waiting. A tray icon hidden for the capture comes back.
    void cancel();
    // Whether a desktop or region command has hidden the tray icon and not yet put it back.
    bool trayIconHidden() const { return trayIconHidden_; }

    // Copies the primary screen into the capture buffer.
    void captureDesktop();
    // Copies a window with its frame, as it shows on the screen, into the capture buffer;
    // 0 takes the active window.
    void captureWindow(WindowId window);

    // The two ways a finished capture leaves: to the printer, or to the clipboard.
    void printHandOff();
    void copyStep();
    // The region screen has cut a region copy into the buffer: it goes onto the clipboard and
    // the command is over.
    void finishRegionCopy();

signals:
    // The capture buffer holds a finished picture for `destination`: a printer one is to be
    // printed now with the current layout; a clipboard one is on the clipboard already.
    void captured(tovrimo::CaptureDestination destination);
    // A hard copy waits for the user in the print dialog before it prints.
    void printDialogWanted();
    // The frozen desktop in the capture buffer is to be shown for the user to drag a rectangle
    // on; regionScreenDone takes it away again.
    void regionScreenWanted();
    void regionScreenDone();
    // The tray icon must leave the screen before the pixels are read, and comes back with the
    // given tooltip.
    void trayIconRemoved();
    void trayIconRestored(const std::string& tooltip);
    // The whole seconds left until a self-timed capture; emitted again at each new second.
    void countdownChanged(int secondsLeft);
    // The countdown is over or called off: its counter must be off the screen.
    void countdownEnded();
    // The state, the last operation or a capture timer may have changed: what the tray menu
    // offers follows them. May come in the middle of a step, so a receiver should look only
    // once the step is over.
    void stateChanged();

private:
    void startDelayedScreenCommand(AppState pending, const CaptureRequest& request);
    void startActiveWindowCommand(AppState pending, CaptureDestination destination);
    void drawCursorAt(PixelPoint origin);
    // A self-timer delay of a second or more shows its seconds as they run out.
    void startCountdown(int delayMs, const CaptureOptions& options);
    void stopCountdown();
    // Puts back a tray icon that a capture hid, once that capture will not read the screen.
    void restoreTrayIcon();
    bool endIfWindowRefused();

    CaptureBuffer& buffer_;
    CaptureServices services_;
    OptionsProvider options_;
    std::unique_ptr<Timer> captureDelay_;
    std::unique_ptr<Timer> foregroundPoll_;
    std::unique_ptr<Timer> windowDelay_;
    std::unique_ptr<Timer> countdown_;
    int countdownSeconds_ = 0;
    bool countdownShown_ = false;

    AppState state_ = AppState::Idle;
    std::optional<CaptureRequest> last_;
    std::string capturedWindowTitle_;
    PixelRect capturedWindowRect_;
    bool windowGrabFailed_ = false;
    WindowId watchedForegroundWindow_ = 0;
    bool trayIconHidden_ = false;
};

}  // namespace tovrimo
