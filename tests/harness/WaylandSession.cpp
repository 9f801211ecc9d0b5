#include "harness/WaylandSession.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <system_error>
#include <thread>

#include "harness/SessionFolder.h"
#include "harness/XSession.h"

namespace tovrimo::test {

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kDesktop = "sway:gnome";  // "gnome" makes the portal export Screenshot
constexpr const char* kPortalName = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";

bool IsSocket(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

// The last part of a log, enough to see why a program gave up.
std::string Tail(const std::string& text, size_t length = 2000)
{
    return text.size() <= length ? text : "..." + text.substr(text.size() - length);
}

void CollectWindows(const QJsonObject& node, std::vector<WaylandSession::Window>& windows)
{
    const QString type = node.value("type").toString();
    if (node.contains("pid") && (type == "con" || type == "floating_con")) {
        const QJsonObject rect = node.value("rect").toObject();
        const QJsonObject inner = node.value("window_rect").toObject();
        WaylandSession::Window window;
        window.title = node.value("name").toString().toStdString();
        window.appId = node.value("app_id").toString().toStdString();
        window.pid = node.value("pid").toInt();
        window.x = rect.value("x").toInt() + inner.value("x").toInt();
        window.y = rect.value("y").toInt() + inner.value("y").toInt();
        window.width = inner.value("width").toInt();
        window.height = inner.value("height").toInt();
        window.focused = node.value("focused").toBool();
        windows.push_back(window);
    }
    for (const char* children : {"nodes", "floating_nodes"})
        for (const QJsonValue& child : node.value(children).toArray())
            CollectWindows(child.toObject(), windows);
}

}  // namespace

WaylandSession::WaylandSession() : WaylandSession(Options{}) {}

WaylandSession::WaylandSession(Options options) : options_(std::move(options)) {}

WaylandSession::~WaylandSession()
{
    stop();
}

bool WaylandSession::fail(const std::string& reason)
{
    error_ = reason;
    return false;
}

bool WaylandSession::start()
{
    const auto begin = std::chrono::steady_clock::now();
    if (!makeFolders() || !startBus() || !startSway()) return false;
    const auto swayUp = std::chrono::steady_clock::now();
    if (!startInputDevices()) return false;
    const auto portalsBegin = std::chrono::steady_clock::now();
    if (!startPortals()) return false;
    const auto end = std::chrono::steady_clock::now();
    timings_.sway = std::chrono::duration_cast<std::chrono::milliseconds>(swayUp - begin);
    timings_.portal = std::chrono::duration_cast<std::chrono::milliseconds>(end - portalsBegin);
    timings_.total = std::chrono::duration_cast<std::chrono::milliseconds>(end - begin);
    return true;
}

bool WaylandSession::makeFolders()
{
    if (::geteuid() == 0) {
        const passwd* nobody = ::getpwnam("nobody");
        if (!nobody) return fail("sway does not run as root, and there is no user nobody");
        uid_ = nobody->pw_uid;
        gid_ = nobody->pw_gid;
        switchUser_ = true;
    } else {
        uid_ = ::getuid();
        gid_ = ::getgid();
    }
    char pattern[] = "/tmp/tovrimo-wayland.XXXXXX";
    if (!::mkdtemp(pattern)) return fail("cannot make a temporary folder");
    folder_ = pattern;
    runtime_ = folder_ + "/run";
    home_ = folder_ + "/home";
    logs_ = folder_ + "/log";
    // The session's user must reach its runtime folder and home, and run programs from bin;
    // the runtime folder is private to it, as the Wayland and D-Bus libraries expect.
    ::chmod(folder_.c_str(), 0755);
    for (const std::string& path : {runtime_, home_, logs_, folder_ + "/bin"})
        ::mkdir(path.c_str(), 0755);
    ::chmod(runtime_.c_str(), 0700);
    if (::chown(runtime_.c_str(), uid_, gid_) != 0 || ::chown(home_.c_str(), uid_, gid_) != 0)
        return fail("cannot hand the session's folders to its user");

    std::ofstream config(folder_ + "/sway.conf", std::ios::trunc);
    config << "output HEADLESS-1 resolution " << options_.width << "x" << options_.height
           << " scale " << options_.scale << "\n"
           << "output * bg " << options_.background
           << " solid_color\n"
           // Programs must speak Wayland here: no X server to fall back on.
           << "xwayland disable\n";
    if (!config) return fail("cannot write the sway configuration");
    return true;
}

std::map<std::string, std::string> WaylandSession::environment() const
{
    std::map<std::string, std::string> env{{"XDG_RUNTIME_DIR", runtime_},
                                           {"HOME", home_},
                                           {"XDG_CURRENT_DESKTOP", kDesktop},
                                           {"XDG_SESSION_TYPE", "wayland"},
                                           {"QT_QPA_PLATFORM", "wayland"}};
    if (!bus_.empty()) env["DBUS_SESSION_BUS_ADDRESS"] = bus_;
    if (!waylandDisplay_.empty()) env["WAYLAND_DISPLAY"] = waylandDisplay_;
    if (!swaySocket_.empty()) env["SWAYSOCK"] = swaySocket_;
    return env;
}

Process::Options WaylandSession::sessionOptions(Process::Options options) const
{
    std::map<std::string, std::string> env = environment();
    for (const auto& [name, value] : options.env) env[name] = value;
    options.env = std::move(env);
    // Nothing of our own desktop (an X display, a settings folder) may leak into the session.
    for (const char* name : {"DISPLAY", "XAUTHORITY", "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                             "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        if (!options.env.count(name)) options.unsetEnv.push_back(name);
    if (options.outputDirectory.empty()) options.outputDirectory = logs_;
    return options;
}

Process WaylandSession::launch(const std::string& program, Process::Options options) const
{
    options = sessionOptions(std::move(options));
    if (switchUser_) {
        // setpriv becomes the program, so the pid is the program's own. The death signal set
        // before the switch does not survive it (the kernel clears it when the user changes):
        // setpriv sets it again, so that a test runner killed by a timeout takes the session
        // with it.
        std::vector<std::string> args{"--reuid=" + std::to_string(uid_),
                                      "--regid=" + std::to_string(gid_),
                                      "--clear-groups",
                                      "--pdeathsig",
                                      "TERM",
                                      "--",
                                      program};
        args.insert(args.end(), options.args.begin(), options.args.end());
        options.args = std::move(args);
        Process process("setpriv", std::move(options));
        process.start();
        return process;
    }
    Process process(program, std::move(options));
    process.start();
    return process;
}

Process WaylandSession::run(const std::string& program, Process::Options options,
                            std::chrono::milliseconds timeout) const
{
    Process process = launch(program, std::move(options));
    if (process.pid() > 0 && !process.wait(timeout)) process.stop();
    return process;
}

std::unique_ptr<Process> WaylandSession::startDaemon(const std::string& program,
                                                     std::vector<std::string> args,
                                                     std::map<std::string, std::string> env) const
{
    auto daemon = std::make_unique<Process>(launch(program, Process::Options(args, env)));
    if (daemon->pid() <= 0) return nullptr;
    return daemon;
}

bool WaylandSession::startBus()
{
    const std::string socket = runtime_ + "/bus";
    busDaemon_ = startDaemon("dbus-daemon", {"--session", "--nofork", "--nopidfile",
                                             "--address=unix:path=" + socket, "--print-address"});
    if (!busDaemon_) return fail("dbus-daemon could not be started (is dbus installed?)");
    const bool up = WaitFor(
        [&] {
            if (!busDaemon_->running()) return true;
            if (!IsSocket(socket)) return false;
            return run("dbus-send",
                       {{"--bus=unix:path=" + socket, "--dest=org.freedesktop.DBus",
                         "--print-reply", "/org/freedesktop/DBus", "org.freedesktop.DBus.GetId"}})
                       .exitCode() == 0;
        },
        10s);
    if (!up || !busDaemon_->running())
        return fail("the session bus did not come up: " + Tail(busDaemon_->standardError()));
    bus_ = "unix:path=" + socket;
    return true;
}

bool WaylandSession::startSway()
{
    sway_ = startDaemon("sway", {"-c", folder_ + "/sway.conf"},
                        {{"WLR_BACKENDS", "headless"},
                         {"WLR_LIBINPUT_NO_DEVICES", "1"},
                         {"WLR_RENDERER", "pixman"}});
    if (!sway_) return fail("sway could not be started (is sway installed?)");
    // Sway names its IPC socket after its user and pid, and the Wayland socket after the
    // first free display number.
    const std::string ipc = runtime_ + "/sway-ipc." + std::to_string(uid_) + "." +
                            std::to_string(sway_->pid()) + ".sock";
    const bool up = WaitFor(
        [&] {
            if (!sway_->running()) return true;
            if (!IsSocket(ipc)) return false;
            swaySocket_ = ipc;
            return run("swaymsg", {{"-t", "get_version"}}).exitCode() == 0;
        },
        20s);
    if (!up || !sway_->running()) {
        swaySocket_.clear();
        return fail("sway did not come up: " + Tail(swayLog()));
    }
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(runtime_, ignored)) {
        const std::string name = entry.path().filename();
        if (name.rfind("wayland-", 0) == 0 && IsSocket(entry.path())) waylandDisplay_ = name;
    }
    if (waylandDisplay_.empty()) return fail("sway answers but made no Wayland socket");
    // Services the bus starts on demand (the portals' helpers) belong to this session too.
    std::vector<std::string> activation;
    for (const auto& [name, value] : environment()) activation.push_back(name + "=" + value);
    if (run("dbus-update-activation-environment", Process::Options(activation)).exitCode() != 0)
        return fail("cannot pass the session's environment to the bus");
    return true;
}

std::string WaylandSession::swayLog() const
{
    return sway_ ? sway_->standardError() : std::string();
}

bool WaylandSession::startInputDevices()
{
    pointer_ = startDaemon(installProgram(TOVRIMO_VIRTUAL_POINTER), {});
    if (!pointer_) return fail("the virtual pointer tool could not be started");
    const bool ready = WaitFor(
        [&] {
            return !pointer_->running() ||
                   pointer_->standardOutput().find("ready") != std::string::npos;
        },
        10s);
    if (!ready || !pointer_->running())
        return fail("no virtual pointer: " + Tail(pointer_->standardError()));
    // A wtype that sleeps keeps its virtual keyboard: clients bind wl_keyboard only while
    // the seat has one, and a wtype that comes and goes would be gone before they do.
    keyboard_ = startDaemon("wtype", {"-s", "100000000"});
    if (!keyboard_) return fail("wtype could not be started (is wtype installed?)");
    constexpr int kPointerAndKeyboard = 1 | 2;
    if (!WaitFor([&] { return (seatCapabilities() & kPointerAndKeyboard) == kPointerAndKeyboard; },
                 10s))
        return fail("the seat did not get a pointer and a keyboard; seats: " +
                    swaymsg({"-t", "get_seats"}) + Tail(keyboard_->standardError()));
    return true;
}

bool WaylandSession::startPortals()
{
    pipewire_ = startDaemon("pipewire", {});
    if (!pipewire_) return fail("pipewire could not be started (is pipewire installed?)");
    // The wlr backend gives up for good when PipeWire does not answer yet.
    const std::string pipewireSocket = runtime_ + "/pipewire-0";
    if (!WaitFor([&] { return !pipewire_->running() || IsSocket(pipewireSocket); }, 10s) ||
        !pipewire_->running())
        return fail("pipewire did not come up: " + Tail(pipewire_->standardError()));
    portalBackend_ = startDaemon("/usr/libexec/xdg-desktop-portal-wlr", {"-r"});
    if (!portalBackend_) return fail("xdg-desktop-portal-wlr could not be started");
    portal_ = startDaemon("/usr/libexec/xdg-desktop-portal", {"-r"});
    if (!portal_) return fail("xdg-desktop-portal could not be started");
    // Asking the portal itself before it owns its name would make the bus start a second one.
    const bool up = WaitFor(
        [&] {
            if (!portal_->running() || !portalBackend_->running()) return true;
            const Process owner =
                run("dbus-send", {{"--session", "--dest=org.freedesktop.DBus", "--print-reply",
                                   "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner",
                                   std::string("string:") + kPortalName}});
            if (owner.standardOutput().find("boolean true") == std::string::npos) return false;
            return portalExports("org.freedesktop.portal.Screenshot");
        },
        30s);
    if (!portal_->running())
        return fail("xdg-desktop-portal ended: " + Tail(portal_->standardError()));
    if (!portalBackend_->running())
        return fail("xdg-desktop-portal-wlr ended: " + Tail(portalBackend_->standardError()));
    if (!up) return fail("the Screenshot portal did not appear: " + Tail(portal_->standardError()));
    return true;
}

bool WaylandSession::portalExports(const std::string& interface) const
{
    const Process introspect =
        run("dbus-send", {{"--session", std::string("--dest=") + kPortalName, "--print-reply",
                           kPortalPath, "org.freedesktop.DBus.Introspectable.Introspect"}});
    return introspect.standardOutput().find("interface name=\"" + interface + "\"") !=
           std::string::npos;
}

void WaylandSession::stop()
{
    // Clients first, the compositor and the bus last, so that nothing reconnects or is
    // started again on demand while the session goes away.
    for (auto* part : {&clipboardOwner_, &portal_, &portalBackend_, &pipewire_, &keyboard_,
                       &pointer_, &sway_, &busDaemon_}) {
        if (*part) (*part)->stop();
        part->reset();
    }
    bus_.clear();
    swaySocket_.clear();
    waylandDisplay_.clear();
    if (!folder_.empty()) {
        RemoveSessionFolder(folder_, "WaylandSession");
        folder_.clear();
    }
}

std::string WaylandSession::installProgram(const std::string& path) const
{
    const std::string copy = folder_ + "/bin/" + fs::path(path).filename().string();
    std::error_code error;
    fs::copy_file(path, copy, fs::copy_options::overwrite_existing, error);
    if (error) return {};
    ::chmod(copy.c_str(), 0755);
    return copy;
}

std::string WaylandSession::swaymsg(const std::vector<std::string>& args) const
{
    return run("swaymsg", Process::Options(args)).standardOutput();
}

bool WaylandSession::swayCommand(const std::string& command) const
{
    const QJsonDocument reply =
        QJsonDocument::fromJson(QByteArray::fromStdString(swaymsg({"--", command})));
    if (!reply.isArray() || reply.array().isEmpty()) return false;
    for (const QJsonValue& result : reply.array())
        if (!result.toObject().value("success").toBool()) return false;
    return true;
}

std::vector<WaylandSession::Window> WaylandSession::windows() const
{
    const QJsonDocument tree =
        QJsonDocument::fromJson(QByteArray::fromStdString(swaymsg({"-t", "get_tree", "-r"})));
    std::vector<Window> windows;
    if (tree.isObject()) CollectWindows(tree.object(), windows);
    return windows;
}

std::optional<WaylandSession::Window> WaylandSession::waitForWindow(
    const std::string& titleRegex, std::chrono::milliseconds timeout) const
{
    const std::regex pattern(titleRegex);
    // A new window first shows at the size the client asked for and is then laid out:
    // only a rectangle that has stayed the same for a moment is the one to click into.
    constexpr auto kSettle = 150ms;
    std::optional<Window> found;
    std::optional<Window> previous;
    auto since = std::chrono::steady_clock::now();
    const auto same = [](const Window& a, const Window& b) {
        return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
    };
    WaitFor(
        [&] {
            std::optional<Window> now;
            for (const Window& window : windows()) {
                if (std::regex_search(window.title, pattern)) {
                    now = window;
                    break;
                }
            }
            if (!now || !previous || !same(*now, *previous))
                since = std::chrono::steady_clock::now();
            previous = now;
            if (now && std::chrono::steady_clock::now() - since >= kSettle) found = now;
            return found.has_value();
        },
        timeout);
    if (!found) found = previous;  // still moving at the timeout: the last look
    return found;
}

std::vector<int> WaylandSession::outputRect() const
{
    const QJsonDocument outputs =
        QJsonDocument::fromJson(QByteArray::fromStdString(swaymsg({"-t", "get_outputs", "-r"})));
    for (const QJsonValue& output : outputs.array()) {
        const QJsonObject rect = output.toObject().value("rect").toObject();
        return {rect.value("x").toInt(), rect.value("y").toInt(), rect.value("width").toInt(),
                rect.value("height").toInt()};
    }
    return {0, 0, 0, 0};
}

int WaylandSession::seatCapabilities() const
{
    const QJsonDocument seats =
        QJsonDocument::fromJson(QByteArray::fromStdString(swaymsg({"-t", "get_seats", "-r"})));
    for (const QJsonValue& seat : seats.array())
        if (seat.toObject().value("name").toString() == "seat0")
            return seat.toObject().value("capabilities").toInt();
    return 0;
}

bool WaylandSession::moveTo(int x, int y) const
{
    return swayCommand("seat seat0 cursor set " + std::to_string(x) + " " + std::to_string(y));
}

bool WaylandSession::press(int button) const
{
    return swayCommand("seat seat0 cursor press button" + std::to_string(button));
}

bool WaylandSession::release(int button) const
{
    return swayCommand("seat seat0 cursor release button" + std::to_string(button));
}

bool WaylandSession::click(int button) const
{
    return press(button) && release(button);
}

bool WaylandSession::key(const std::string& name) const
{
    return run("wtype", {{"-k", name}}).exitCode() == 0;
}

bool WaylandSession::type(const std::string& text) const
{
    return run("wtype", {{text}}).exitCode() == 0;
}

QByteArray WaylandSession::readClipboard(const std::string& mimeType) const
{
    const Process paste = run("wl-paste", {{"--no-newline", "--type", mimeType}});
    if (paste.exitCode() != 0) return {};
    return QByteArray::fromStdString(paste.standardOutput());
}

std::vector<std::string> WaylandSession::clipboardTypes() const
{
    const Process list = run("wl-paste", {{"--list-types"}});
    std::vector<std::string> types;
    if (list.exitCode() != 0) return types;
    std::istringstream lines(list.standardOutput());
    for (std::string line; std::getline(lines, line);)
        if (!line.empty()) types.push_back(line);
    return types;
}

bool WaylandSession::offerClipboard(const QByteArray& bytes, const std::string& mimeType)
{
    if (clipboardOwner_) clipboardOwner_->stop();
    const std::string file = folder_ + "/clipboard-offer";
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.constData(), bytes.size());
        if (!out) return false;
    }
    ::chmod(file.c_str(), 0644);
    // In the foreground wl-copy stays our child and serves the offer until it is stopped.
    clipboardOwner_ = startDaemon(
        "/bin/sh",
        {"-c", "exec wl-copy --foreground --type \"$1\" < \"$2\"", "sh", mimeType, file});
    if (!clipboardOwner_) return false;
    return WaitFor(
               [&] {
                   if (!clipboardOwner_->running()) return true;
                   for (const std::string& type : clipboardTypes())
                       if (type == mimeType) return true;
                   return false;
               },
               10s) &&
           clipboardOwner_->running();
}

QImage WaylandSession::screenshot() const
{
    const Process grim = run("grim", {{"-t", "png", "-"}});
    if (grim.exitCode() != 0) return {};
    return QImage::fromData(QByteArray::fromStdString(grim.standardOutput()), "PNG");
}

}  // namespace tovrimo::test
