#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "capture/CaptureBuffer.h"
#include "capture/CaptureCodes.h"
#include "capture/CaptureHost.h"
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
    CaptureHost& host;
};

// The screen capture commands and their timers, the program-wide application state and the
// last operation. A command never captures by itself: it arms a timer and returns, so that the
// menu that issued it has gone from the screen before the pixels are read.
class CaptureEngine {
public:
    // Options are asked for whenever a command or tick needs them, so a change made in the
    // options dialog applies to the next step at once.
    using OptionsProvider = std::function<CaptureOptions()>;

    static constexpr int kDefaultDelayMs = 100;
    static constexpr int kForegroundPollMs = 100;
    // The counter leaves the screen this long before the pixels are read, so that whatever it
    // covered has been drawn again by then.
    static constexpr int kCountdownClearMs = 300;

    CaptureEngine(CaptureBuffer& buffer, const CaptureServices& services, OptionsProvider options);
    CaptureEngine(const CaptureEngine&) = delete;
    CaptureEngine& operator=(const CaptureEngine&) = delete;

    // The delay between a command and its capture. A self-timer product that wraps around in
    // 16 bits, or comes out zero or negative, falls back to the default so the capture still
    // happens.
    static int captureDelayMs(const CaptureOptions& options);

    AppState state() const { return state_; }
    void setState(AppState state)
    {
        state_ = state;
        changed();
    }
    // The capture the repeat command runs again; nothing until the first one.
    const std::optional<CaptureRequest>& lastCapture() const { return last_; }
    // For the commands that take their image without a timer (clipboard, file, sticky note):
    // they record themselves once the image was taken.
    void recordLastCapture(const CaptureRequest& request)
    {
        last_ = request;
        changed();
    }
    void forgetLastCapture()
    {
        last_.reset();
        changed();
    }

    // Told whenever the state, the last operation or a capture timer may have changed: what the
    // tray menu offers follows them. May be told in the middle of a step, so a listener should
    // look only once the step is over.
    std::function<void()> onChange;

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
    void changed()
    {
        if (onChange) onChange();
    }

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
