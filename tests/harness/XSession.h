#pragma once

#include <xcb/xcb.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "harness/Process.h"

namespace tovrimo::test {

// A private X server (Xvfb) on a display number nobody else uses, optionally with a window
// manager (openbox) and a system tray (trayer), all stopped by pid when the session ends.
// The session's own display is never touched.
class XSession {
public:
    struct Options {
        int width = 1280;
        int height = 1024;
        bool windowManager = true;
        bool tray = true;
    };

    XSession();
    explicit XSession(Options options);
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    // Starts everything asked for and waits until each part is ready; false (with a reason in
    // error()) when something did not come up in time.
    bool start();
    void stop();

    const std::string& display() const { return display_; }  // ":93"
    int displayNumber() const { return number_; }
    const std::string& error() const { return error_; }
    // Points DISPLAY of this process at the session, so that a QApplication created afterwards
    // and every child started later use it.
    void exportDisplay() const;

    // Facts about the running server, read through the session's own connection.
    int rootWidth() const;
    int rootHeight() const;
    bool windowManagerRunning() const;
    xcb_window_t traySelectionOwner() const;
    xcb_window_t activeWindow() const;  // _NET_ACTIVE_WINDOW, 0 when none
    xcb_connection_t* connection() const { return connection_; }

private:
    bool startServer();
    bool startWindowManager();
    bool startTray();
    xcb_atom_t atom(const char* name) const;
    xcb_window_t windowProperty(const char* name) const;
    xcb_window_t root() const;

    Options options_;
    int number_ = -1;
    std::string display_;
    std::string error_;
    std::unique_ptr<Process> server_;
    std::unique_ptr<Process> windowManager_;
    std::unique_ptr<Process> tray_;
    xcb_connection_t* connection_ = nullptr;
};

// Polls a condition every few milliseconds until it holds or the timeout passes.
template <typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= deadline) return condition();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace tovrimo::test
