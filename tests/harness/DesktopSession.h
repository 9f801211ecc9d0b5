#pragma once

#include <sys/types.h>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "harness/Process.h"

namespace tovrimo::test {

// A private headless session of a full desktop's compositor, as most users run it:
// - KWin (Plasma 5.27): `kwin_wayland --virtual`, which also serves KDE's shortcut service
//   (org.kde.kglobalaccel) and KWin's screenshot and scripting services, then
//   xdg-desktop-portal-kde and xdg-desktop-portal;
// - GNOME (43): `gnome-shell --headless --virtual-monitor`, with a private system bus as well,
//   then xdg-desktop-portal-gnome and xdg-desktop-portal; the portal's permission store is
//   started by the bus on demand and keeps its answers in the session's own home.
// Each has its own session bus, and the portal frontend is restricted to that desktop's
// backend. When the tests run as root, everything runs as the user nobody in a temporary
// folder with its own runtime folder, home and data folder. Everything is stopped by pid and
// the folder removed when the session ends.
class DesktopSession {
public:
    enum class Desktop { KWin, Gnome };
    struct Options {
        Desktop desktop = Desktop::KWin;
        int width = 1280;
        int height = 800;
    };

    // A window as the compositor reports it (KWin only): frame in layout pixels.
    struct Window {
        std::string caption;
        pid_t pid = 0;
        int x = 0;
        int y = 0;
        int width = 0;
        int height = 0;
        bool keepAbove = false;
        bool active = false;
        int stackingOrder = 0;  // higher is nearer the top
    };

    explicit DesktopSession(Options options);
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    // Starts everything and waits until each part answers; false (with a reason in error())
    // when a package is missing or a part did not come up in time.
    bool start();
    void stop();
    const std::string& error() const { return error_; }
    const Options& options() const { return options_; }
    // How long start() took until the compositor answered and until the portal did.
    std::chrono::milliseconds compositorTime() const { return compositorTime_; }
    std::chrono::milliseconds totalTime() const { return totalTime_; }
    // Why KWin takes no screenshots here, or empty when it does. KWin 6 offers its screenshot
    // service only when it composites with OpenGL, which needs a GPU's render node; without
    // one (a headless machine) it composites with QPainter and offers none.
    const std::string& screenshotsMissing() const { return screenshotsMissing_; }

    // What a program of the session needs in its environment.
    std::map<std::string, std::string> environment() const;
    uid_t uid() const { return uid_; }
    gid_t gid() const { return gid_; }
    const std::string& folder() const { return folder_; }
    const std::string& home() const { return home_; }
    // $XDG_DATA_HOME of the session: applications/ there is where a .desktop entry goes.
    const std::string& dataHome() const { return dataHome_; }
    std::string compositorLog() const;
    std::string portalLog() const;

    // Copies a program into the session's folder, where the session's user may run it.
    std::string installProgram(const std::string& path) const;
    Process launch(const std::string& program, Process::Options options = {}) const;
    Process run(const std::string& program, Process::Options options = {},
                std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;
    // dbus-send --print-reply on the session bus as its user; its output, empty on failure.
    std::string busCall(std::vector<std::string> args) const;
    bool nameHasOwner(const std::string& name) const;
    bool portalExports(const std::string& interface) const;

    // KWin: runs a script through its scripting service and returns what it printed (each
    // print() call one line), in order. Nothing when KWin did not run it.
    std::optional<std::vector<std::string>> runKWinScript(const std::string& script) const;
    // KWin: every window it manages, in its stacking order, bottom first.
    std::vector<Window> windows() const;
    std::optional<Window> waitForWindow(const std::string& captionRegex,
                                        std::chrono::milliseconds timeout) const;
    // KWin: makes the window with this caption the active one.
    bool activate(const std::string& captionRegex) const;
    // KWin: closes the window (as its close button does).
    bool close(const std::string& captionRegex) const;

    // Writes a file into the session's folders and hands it to the session's user.
    bool writeFile(const std::string& path, const std::string& text) const;

private:
    bool makeFolders();
    bool startBuses();
    bool startKWin();
    bool startGnomeShell();
    bool startPortals();
    Process::Options sessionOptions(Process::Options options) const;
    std::unique_ptr<Process> startDaemon(const std::string& program, std::vector<std::string> args,
                                         std::map<std::string, std::string> env = {}) const;
    bool waitForName(const std::string& name, Process& owner, std::chrono::milliseconds timeout);
    bool fail(const std::string& reason);

    Options options_;
    std::chrono::milliseconds compositorTime_{0};
    std::chrono::milliseconds totalTime_{0};
    uid_t uid_ = 0;
    gid_t gid_ = 0;
    bool switchUser_ = false;
    std::string folder_;
    std::string runtime_;
    std::string home_;
    std::string dataHome_;
    std::string logs_;
    std::string bus_;
    std::string systemBus_;
    std::string waylandDisplay_;
    std::string portalsFolder_;
    std::string error_;
    std::string screenshotsMissing_;
    std::unique_ptr<Process> systemBusDaemon_;
    std::unique_ptr<Process> busDaemon_;
    std::unique_ptr<Process> compositor_;
    std::unique_ptr<Process> portalBackend_;
    std::unique_ptr<Process> portal_;
    mutable int scripts_ = 0;
};

}  // namespace tovrimo::test
