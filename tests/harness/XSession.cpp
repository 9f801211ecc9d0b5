#include "harness/XSession.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <random>

namespace tovrimo::test {

namespace {

bool Exists(const std::string& path)
{
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

bool DisplayLooksFree(int n)
{
    return !Exists("/tmp/.X11-unix/X" + std::to_string(n)) &&
           !Exists("/tmp/.X" + std::to_string(n) + "-lock");
}

// Xvfb writes its pid into the lock file; only a lock holding our pid proves that the server
// answering on the number is ours and not one that another test run started a moment earlier.
bool LockHeldBy(int n, pid_t pid)
{
    const std::string text = ReadTextFile("/tmp/.X" + std::to_string(n) + "-lock");
    return !text.empty() && std::atoi(text.c_str()) == pid;
}

}  // namespace

XSession::XSession() : XSession(Options{}) {}

XSession::XSession(Options options) : options_(options) {}

XSession::~XSession()
{
    stop();
}

bool XSession::start()
{
    if (!startServer()) return false;
    if (options_.windowManager && !startWindowManager()) return false;
    if (options_.tray && !startTray()) return false;
    return true;
}

bool XSession::startServer()
{
    std::random_device random;
    const int first = 90 + static_cast<int>(random() % 400);
    for (int attempt = 0; attempt < 40; ++attempt) {
        const int n = first + attempt;
        if (!DisplayLooksFree(n)) continue;
        Process::Options opts;
        opts.args = {":" + std::to_string(n),
                     "-screen",
                     "0",
                     std::to_string(options_.width) + "x" + std::to_string(options_.height) + "x24",
                     "-nolisten",
                     "tcp"};
        auto server = std::make_unique<Process>("Xvfb", opts);
        if (!server->start()) {
            error_ = "Xvfb could not be started";
            return false;
        }
        const std::string display = ":" + std::to_string(n);
        xcb_connection_t* c = nullptr;
        WaitFor(
            [&] {
                if (!server->running()) return true;
                if (!LockHeldBy(n, server->pid())) return false;
                c = xcb_connect(display.c_str(), nullptr);
                if (xcb_connection_has_error(c)) {
                    xcb_disconnect(c);
                    c = nullptr;
                    return false;
                }
                return true;
            },
            std::chrono::seconds(10));
        if (c && server->running()) {
            // Keeping this connection open also stops the server from resetting between
            // clients while the rest of the session starts.
            connection_ = c;
            server_ = std::move(server);
            number_ = n;
            display_ = display;
            return true;
        }
        if (c) xcb_disconnect(c);
        server->stop();  // lost the race for this number (or too slow): try the next one
    }
    error_ = "no free display number for Xvfb";
    return false;
}

bool XSession::startWindowManager()
{
    Process::Options opts;
    opts.env["DISPLAY"] = display_;
    windowManager_ = std::make_unique<Process>("openbox", opts);
    if (!windowManager_->start()) {
        error_ = "openbox could not be started";
        return false;
    }
    if (!WaitFor([&] { return windowManagerRunning() || !windowManager_->running(); },
                 std::chrono::seconds(10)) ||
        !windowManagerRunning()) {
        error_ = "openbox did not come up: " + windowManager_->standardError();
        return false;
    }
    return true;
}

bool XSession::startTray()
{
    Process::Options opts;
    opts.env["DISPLAY"] = display_;
    opts.args = {"--edge", "top", "--align", "right", "--widthtype", "request", "--height", "24"};
    tray_ = std::make_unique<Process>("trayer", opts);
    if (!tray_->start()) {
        error_ = "trayer could not be started";
        return false;
    }
    if (!WaitFor([&] { return traySelectionOwner() != 0 || !tray_->running(); },
                 std::chrono::seconds(10)) ||
        traySelectionOwner() == 0) {
        error_ = "trayer did not take the tray selection: " + tray_->standardError();
        return false;
    }
    return true;
}

void XSession::stop()
{
    // Clients first, so that they do not complain about a vanished server.
    if (tray_) tray_->stop();
    if (windowManager_) windowManager_->stop();
    if (connection_) {
        xcb_disconnect(connection_);
        connection_ = nullptr;
    }
    if (server_) server_->stop();
    tray_.reset();
    windowManager_.reset();
    server_.reset();
}

void XSession::exportDisplay() const
{
    ::setenv("DISPLAY", display_.c_str(), 1);
}

xcb_window_t XSession::root() const
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
}

int XSession::rootWidth() const
{
    if (!connection_) return 0;
    return xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->width_in_pixels;
}

int XSession::rootHeight() const
{
    if (!connection_) return 0;
    return xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->height_in_pixels;
}

xcb_atom_t XSession::atom(const char* name) const
{
    auto cookie = xcb_intern_atom(connection_, 0, static_cast<uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection_, cookie, nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return a;
}

xcb_window_t XSession::windowProperty(const char* name) const
{
    if (!connection_) return 0;
    auto cookie = xcb_get_property(connection_, 0, root(), atom(name), XCB_ATOM_WINDOW, 0, 1);
    xcb_get_property_reply_t* reply = xcb_get_property_reply(connection_, cookie, nullptr);
    xcb_window_t w = 0;
    if (reply && xcb_get_property_value_length(reply) >= 4)
        std::memcpy(&w, xcb_get_property_value(reply), sizeof w);
    std::free(reply);
    return w;
}

bool XSession::windowManagerRunning() const
{
    return windowProperty("_NET_SUPPORTING_WM_CHECK") != 0;
}

xcb_window_t XSession::activeWindow() const
{
    return windowProperty("_NET_ACTIVE_WINDOW");
}

xcb_window_t XSession::traySelectionOwner() const
{
    if (!connection_) return 0;
    auto cookie = xcb_get_selection_owner(connection_, atom("_NET_SYSTEM_TRAY_S0"));
    xcb_get_selection_owner_reply_t* reply =
        xcb_get_selection_owner_reply(connection_, cookie, nullptr);
    const xcb_window_t owner = reply ? reply->owner : 0;
    std::free(reply);
    return owner;
}

}  // namespace tovrimo::test
