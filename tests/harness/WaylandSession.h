#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QImage>
#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "harness/Process.h"

namespace tovrimo::test {

// A private headless Wayland desktop: sway on its headless backend with a session bus of its
// own, PipeWire and the desktop portals (xdg-desktop-portal with the wlr backend, so that the
// Screenshot portal answers). Sway refuses to run as root, so when the tests run as root the
// whole session, and every program a test starts in it, runs as the user nobody, in a
// temporary folder with its own runtime folder and home. Everything is stopped by pid and
// the folder removed when the session ends.
//
// The headless seat has no input devices. The session adds a virtual pointer (our
// virtual_pointer tool) and a virtual keyboard (a wtype that stays), so that clients bind
// wl_pointer and wl_keyboard; the pointer is then moved and clicked through sway's IPC and
// keys typed with wtype.
class WaylandSession {
public:
    struct Options {
        // The output's mode in pixels, as grim and the portal see it. Windows, the pointer
        // and sway's IPC work in layout coordinates: these divided by the scale.
        int width = 1280;
        int height = 800;
        int scale = 1;
        std::string background = "#00ff00";
    };

    // A window as sway's tree reports it; the rectangle is the client's own area (without
    // borders and title bar) in layout coordinates.
    struct Window {
        std::string title;
        std::string appId;
        pid_t pid = 0;
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        bool focused = false;
    };

    // How long the last start() took: until sway answered, from the input devices until
    // the Screenshot portal answered, and in all.
    struct Timings {
        std::chrono::milliseconds sway{0};
        std::chrono::milliseconds portal{0};
        std::chrono::milliseconds total{0};
    };

    WaylandSession();
    explicit WaylandSession(Options options);
    ~WaylandSession();
    WaylandSession(const WaylandSession&) = delete;
    WaylandSession& operator=(const WaylandSession&) = delete;

    // Starts everything and waits until each part answers; false (with a reason in error())
    // when a part is missing or did not come up in time.
    bool start();
    void stop();
    const std::string& error() const { return error_; }
    const Options& options() const { return options_; }
    int layoutWidth() const { return options_.width / options_.scale; }
    int layoutHeight() const { return options_.height / options_.scale; }
    const Timings& timings() const { return timings_; }

    // What a program of the session needs in its environment: WAYLAND_DISPLAY,
    // XDG_RUNTIME_DIR, DBUS_SESSION_BUS_ADDRESS, HOME, XDG_CURRENT_DESKTOP,
    // XDG_SESSION_TYPE, QT_QPA_PLATFORM=wayland and SWAYSOCK.
    std::map<std::string, std::string> environment() const;
    // The user the session runs as (nobody when the tests run as root, else ourselves).
    uid_t uid() const { return uid_; }
    gid_t gid() const { return gid_; }
    const std::string& folder() const { return folder_; }
    const std::string& runtimeFolder() const { return runtime_; }
    const std::string& home() const { return home_; }
    const std::string& busAddress() const { return bus_; }
    const std::string& swaySocket() const { return swaySocket_; }
    const std::string& waylandDisplay() const { return waylandDisplay_; }
    // Sway's own output so far, for failure messages.
    std::string swayLog() const;

    // Copies a program into the session's folder, where the session's user may run it (the
    // build tree need not be readable for it); returns the copy's path.
    std::string installProgram(const std::string& path) const;
    // A program of the session: run as the session's user with environment() added to
    // options.env (which wins). launch() only starts it; run() waits, for short tools.
    Process launch(const std::string& program, Process::Options options = {}) const;
    Process run(const std::string& program, Process::Options options = {},
                std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;

    // swaymsg with these arguments; its standard output (JSON for -t queries).
    std::string swaymsg(const std::vector<std::string>& args) const;
    // Runs one sway command; false when sway did not report success.
    bool swayCommand(const std::string& command) const;
    // Every window in sway's tree, tiled or floating, in tree order.
    std::vector<Window> windows() const;
    // The first window whose title matches the (ECMAScript) regular expression, once its
    // rectangle has stopped changing (nothing when none appeared in time).
    std::optional<Window> waitForWindow(const std::string& titleRegex,
                                        std::chrono::milliseconds timeout) const;
    // The output's place and size in the layout, from get_outputs: {x, y, width, height},
    // all zero when sway reports no output.
    std::vector<int> outputRect() const;
    // The seat's wl_seat capabilities as sway reports them (1 pointer, 2 keyboard, 4 touch).
    int seatCapabilities() const;

    // The pointer, through sway's IPC, in layout coordinates; button 1 is the left button.
    bool moveTo(int x, int y) const;
    bool press(int button = 1) const;
    bool release(int button = 1) const;
    bool click(int button = 1) const;
    // Keys through wtype: a key by its XKB name ("Return", "Escape"), or text as typed.
    bool key(const std::string& name) const;
    bool type(const std::string& text) const;

    // The clipboard as another client sees it, through wl-paste: the bytes offered for the
    // MIME type (empty when none), and the offered types.
    QByteArray readClipboard(const std::string& mimeType) const;
    std::vector<std::string> clipboardTypes() const;
    // Offers bytes as the MIME type on the clipboard from a wl-copy that serves them until
    // the next offer or the end of the session.
    bool offerClipboard(const QByteArray& bytes, const std::string& mimeType);

    // The whole output as grim sees it, in output pixels (Options' width and height): a
    // reference for what the program captures. A null image when grim failed.
    QImage screenshot() const;

    // Whether org.freedesktop.portal.Desktop on the session bus exports the interface.
    bool portalExports(const std::string& interface) const;

private:
    bool makeFolders();
    bool startBus();
    bool startSway();
    bool startInputDevices();
    bool startPortals();
    Process::Options sessionOptions(Process::Options options) const;
    std::unique_ptr<Process> startDaemon(const std::string& program, std::vector<std::string> args,
                                         std::map<std::string, std::string> env = {}) const;
    bool fail(const std::string& reason);

    Options options_;
    Timings timings_;
    uid_t uid_ = 0;
    gid_t gid_ = 0;
    bool switchUser_ = false;
    std::string folder_;
    std::string runtime_;
    std::string home_;
    std::string logs_;
    std::string bus_;
    std::string swaySocket_;
    std::string waylandDisplay_;
    std::string error_;
    std::unique_ptr<Process> busDaemon_;
    std::unique_ptr<Process> sway_;
    std::unique_ptr<Process> pointer_;
    std::unique_ptr<Process> keyboard_;
    std::unique_ptr<Process> pipewire_;
    std::unique_ptr<Process> portalBackend_;
    std::unique_ptr<Process> portal_;
    std::unique_ptr<Process> clipboardOwner_;
};

}  // namespace tovrimo::test
