#include "harness/DesktopSession.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QJsonDocument>
#include <QJsonObject>
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

constexpr const char* kPortalName = "org.freedesktop.portal.Desktop";
constexpr const char* kPortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* kPortals = "/usr/share/xdg-desktop-portal/portals/";
constexpr const char* kGnomePortalBackend = "/usr/libexec/xdg-desktop-portal-gnome";
constexpr const char* kPortalFrontend = "/usr/libexec/xdg-desktop-portal";

bool IsSocket(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
}

bool IsExecutable(const std::string& path)
{
    return ::access(path.c_str(), X_OK) == 0;
}

// The program on PATH, or empty.
std::string FindProgram(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "/usr/bin:/bin");
    for (std::string dir; std::getline(dirs, dir, ':');)
        if (IsExecutable(dir + "/" + name)) return dir + "/" + name;
    return {};
}

// KDE's portal backend lives in the multiarch library folder on Debian.
std::string KdePortalBackend()
{
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator("/usr/lib", ignored)) {
        const std::string candidate = entry.path().string() + "/libexec/xdg-desktop-portal-kde";
        if (entry.path().filename().string().find("-linux-") != std::string::npos &&
            IsExecutable(candidate))
            return candidate;
    }
    const std::string plain = "/usr/libexec/xdg-desktop-portal-kde";
    return IsExecutable(plain) ? plain : std::string();
}

std::string Tail(const std::string& text, size_t length = 2000)
{
    return text.size() <= length ? text : "..." + text.substr(text.size() - length);
}

// A JavaScript string literal for a regular expression's source.
std::string JsString(const std::string& text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace

DesktopSession::DesktopSession(Options options) : options_(options) {}

DesktopSession::~DesktopSession()
{
    stop();
}

bool DesktopSession::fail(const std::string& reason)
{
    error_ = reason;
    return false;
}

bool DesktopSession::start()
{
    const bool kwin = options_.desktop == Desktop::KWin;
    // A missing package is a failed run that says which, never a skipped one.
    const std::vector<std::pair<std::string, std::string>> needed =
        kwin ? std::vector<std::pair<std::string, std::string>>{{"kwin_wayland", "kwin-wayland"},
                                                                {KdePortalBackend(),
                                                                 "xdg-desktop-portal-kde"},
                                                                {kPortalFrontend,
                                                                 "xdg-desktop-portal"},
                                                                {"kbuildsycoca5", "kded5"},
                                                                {"dbus-daemon", "dbus"}}
             : std::vector<std::pair<std::string, std::string>>{
                   {"gnome-shell", "gnome-shell"},
                   {kGnomePortalBackend, "xdg-desktop-portal-gnome"},
                   {kPortalFrontend, "xdg-desktop-portal"},
                   {"/usr/libexec/xdg-permission-store", "xdg-desktop-portal"},
                   {"dbus-daemon", "dbus"}};
    for (const auto& [program, package] : needed) {
        const bool found = !program.empty() && (program[0] == '/' ? IsExecutable(program)
                                                                  : !FindProgram(program).empty());
        if (!found)
            return fail((program.empty() ? package : program) +
                        " is missing: install the package " + package);
    }
    const auto begin = std::chrono::steady_clock::now();
    if (!makeFolders() || !startBuses()) return false;
    if (!(kwin ? startKWin() : startGnomeShell())) return false;
    compositorTime_ = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - begin);
    if (!startPortals()) return false;
    totalTime_ = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - begin);
    return true;
}

bool DesktopSession::makeFolders()
{
    if (::geteuid() == 0) {
        const passwd* nobody = ::getpwnam("nobody");
        if (!nobody) return fail("the desktop does not run as root, and there is no user nobody");
        uid_ = nobody->pw_uid;
        gid_ = nobody->pw_gid;
        switchUser_ = true;
    } else {
        uid_ = ::getuid();
        gid_ = ::getgid();
    }
    char pattern[] = "/tmp/tovrimo-desktop.XXXXXX";
    if (!::mkdtemp(pattern)) return fail("cannot make a temporary folder");
    folder_ = pattern;
    runtime_ = folder_ + "/run";
    home_ = folder_ + "/home";
    dataHome_ = home_ + "/.local/share";
    logs_ = folder_ + "/log";
    portalsFolder_ = folder_ + "/portals";
    ::chmod(folder_.c_str(), 0755);
    std::error_code ignored;
    for (const std::string& path :
         {runtime_, home_, logs_, folder_ + "/bin", portalsFolder_, dataHome_ + "/applications",
          home_ + "/.config", home_ + "/.cache"})
        fs::create_directories(path, ignored);
    for (const std::string& path :
         {runtime_, home_, home_ + "/.local", dataHome_, dataHome_ + "/applications",
          home_ + "/.config", home_ + "/.cache", logs_})
        if (::chown(path.c_str(), uid_, gid_) != 0)
            return fail("cannot hand the session's folders to its user");
    ::chmod(runtime_.c_str(), 0700);
    // The portal frontend picks among the backends of this folder only: with every installed
    // one to choose from it may take another desktop's.
    const std::vector<std::string> portals =
        options_.desktop == Desktop::KWin
            ? std::vector<std::string>{"kde.portal"}
            : std::vector<std::string>{"gnome.portal", "gnome-shell.portal"};
    for (const std::string& portal : portals) {
        // Not every release installs GNOME Shell's own portal file (Debian 13 has none); the
        // backend's is always there.
        if (portal == "gnome-shell.portal" && !fs::exists(kPortals + portal)) continue;
        fs::copy_file(kPortals + portal, portalsFolder_ + "/" + portal, ignored);
        if (ignored) return fail("cannot copy " + std::string(kPortals) + portal);
    }
    return true;
}

std::map<std::string, std::string> DesktopSession::environment() const
{
    const bool kwin = options_.desktop == Desktop::KWin;
    std::map<std::string, std::string> env{
        {"XDG_RUNTIME_DIR", runtime_},         {"HOME", home_},
        {"XDG_DATA_HOME", dataHome_},          {"XDG_CONFIG_HOME", home_ + "/.config"},
        {"XDG_CACHE_HOME", home_ + "/.cache"}, {"XDG_CURRENT_DESKTOP", kwin ? "KDE" : "GNOME"},
        {"XDG_SESSION_TYPE", "wayland"},       {"QT_QPA_PLATFORM", "wayland"}};
    if (kwin) {
        env["KDE_FULL_SESSION"] = "true";
        env["KDE_SESSION_VERSION"] = "5";
    }
    if (!bus_.empty()) env["DBUS_SESSION_BUS_ADDRESS"] = bus_;
    if (!systemBus_.empty()) env["DBUS_SYSTEM_BUS_ADDRESS"] = systemBus_;
    if (!waylandDisplay_.empty()) env["WAYLAND_DISPLAY"] = waylandDisplay_;
    return env;
}

Process::Options DesktopSession::sessionOptions(Process::Options options) const
{
    std::map<std::string, std::string> env = environment();
    for (const auto& [name, value] : options.env) env[name] = value;
    options.env = std::move(env);
    for (const char* name : {"DISPLAY", "XAUTHORITY", "XDG_STATE_HOME", "SWAYSOCK"})
        if (!options.env.count(name)) options.unsetEnv.push_back(name);
    if (options.outputDirectory.empty()) options.outputDirectory = logs_;
    return options;
}

Process DesktopSession::launch(const std::string& program, Process::Options options) const
{
    options = sessionOptions(std::move(options));
    if (switchUser_) {
        // setpriv becomes the program, so the pid is the program's own; it sets the death
        // signal again after the switch, which the kernel clears when the user changes.
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

Process DesktopSession::run(const std::string& program, Process::Options options,
                            std::chrono::milliseconds timeout) const
{
    Process process = launch(program, std::move(options));
    if (process.pid() > 0 && !process.wait(timeout)) process.stop();
    return process;
}

std::unique_ptr<Process> DesktopSession::startDaemon(const std::string& program,
                                                     std::vector<std::string> args,
                                                     std::map<std::string, std::string> env) const
{
    auto daemon = std::make_unique<Process>(launch(program, Process::Options(args, env)));
    if (daemon->pid() <= 0) return nullptr;
    return daemon;
}

std::string DesktopSession::busCall(std::vector<std::string> args) const
{
    args.insert(args.begin(), {"--session", "--print-reply"});
    const Process call = run("dbus-send", Process::Options(args), 10s);
    return call.exitCode() == 0 ? call.standardOutput() : std::string();
}

bool DesktopSession::nameHasOwner(const std::string& name) const
{
    return busCall({"--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                    "org.freedesktop.DBus.NameHasOwner", "string:" + name})
               .find("boolean true") != std::string::npos;
}

bool DesktopSession::waitForName(const std::string& name, Process& owner,
                                 std::chrono::milliseconds timeout)
{
    return WaitFor([&] { return !owner.running() || nameHasOwner(name); }, timeout) &&
           owner.running();
}

bool DesktopSession::startBuses()
{
    // GNOME's shell talks to the system bus at start (and dies trying to activate logind
    // when the bus may start services), so it gets a private one without service folders.
    if (options_.desktop == Desktop::Gnome) {
        const std::string socket = runtime_ + "/system_bus_socket";
        std::ifstream in("/usr/share/dbus-1/system.conf");
        std::stringstream text;
        text << in.rdbuf();
        std::string config = text.str();
        config = std::regex_replace(config, std::regex("<listen>[^<]*</listen>"),
                                    "<listen>unix:path=" + socket + "</listen>");
        for (const char* drop : {"<pidfile>[^<]*</pidfile>", "<user>[^<]*</user>",
                                 "<standard_system_servicedirs\\s*/>", "<fork\\s*/>",
                                 "<servicehelper>[^<]*</servicehelper>", "<syslog\\s*/>"})
            config = std::regex_replace(config, std::regex(drop), "");
        config = std::regex_replace(config, std::regex("<includedir>system.d</includedir>"),
                                    "<includedir>/usr/share/dbus-1/system.d</includedir>");
        config =
            std::regex_replace(config, std::regex("<include[^>]*>system-local.conf</include>"), "");
        const std::string path = folder_ + "/system.conf";
        std::ofstream(path, std::ios::trunc) << config;
        ::chmod(path.c_str(), 0644);
        systemBusDaemon_ =
            startDaemon("dbus-daemon", {"--config-file=" + path, "--nofork", "--nopidfile"});
        if (!systemBusDaemon_) return fail("the private system bus could not be started");
        if (!WaitFor([&] { return !systemBusDaemon_->running() || IsSocket(socket); }, 10s) ||
            !systemBusDaemon_->running())
            return fail("the private system bus did not come up: " +
                        Tail(systemBusDaemon_->standardError()));
        systemBus_ = "unix:path=" + socket;
    }
    const std::string socket = runtime_ + "/bus";
    busDaemon_ = startDaemon(
        "dbus-daemon", {"--session", "--nofork", "--nopidfile", "--address=unix:path=" + socket});
    if (!busDaemon_) return fail("dbus-daemon could not be started (is dbus installed?)");
    if (!WaitFor([&] { return !busDaemon_->running() || IsSocket(socket); }, 10s) ||
        !busDaemon_->running())
        return fail("the session bus did not come up: " + Tail(busDaemon_->standardError()));
    bus_ = "unix:path=" + socket;
    if (!WaitFor([&] { return nameHasOwner("org.freedesktop.DBus"); }, 10s))
        return fail("the session bus does not answer");
    return true;
}

bool DesktopSession::startKWin()
{
    // kwin_wayland carries a file capability that a sandbox may refuse to honour (the
    // program then does not start at all); a copy has none.
    const std::string kwin = installProgram(FindProgram("kwin_wayland"));
    if (kwin.empty()) return fail("cannot copy kwin_wayland into the session");
    compositor_ = startDaemon(
        kwin, {"--virtual", "--no-lockscreen", "--width", std::to_string(options_.width),
               "--height", std::to_string(options_.height), "--socket", "wayland-0"});
    if (!compositor_) return fail("kwin_wayland could not be started");
    if (!WaitFor([&] { return !compositor_->running() || IsSocket(runtime_ + "/wayland-0"); },
                 30s) ||
        !compositor_->running())
        return fail("kwin_wayland did not come up: " + Tail(compositorLog()));
    waylandDisplay_ = "wayland-0";
    for (const char* name : {"org.kde.KWin", "org.kde.kglobalaccel"})
        if (!waitForName(name, *compositor_, 30s))
            return fail(std::string("kwin_wayland did not offer ") + name + ": " +
                        Tail(compositorLog()));
    if (!waitForName("org.kde.KWin.ScreenShot2", *compositor_, 10s)) {
        // KWin says how it composites; its screenshot service needs OpenGL.
        const std::string info =
            busCall({"--dest=org.kde.KWin", "/KWin", "org.kde.KWin.supportInformation"});
        const size_t at = info.find("Compositing Type: ");
        const std::string type = at == std::string::npos
                                     ? "unknown"
                                     : info.substr(at + 18, info.find('\n', at) - at - 18);
        if (type.rfind("OpenGL", 0) == 0)
            return fail("kwin_wayland did not offer org.kde.KWin.ScreenShot2: " +
                        Tail(compositorLog()));
        screenshotsMissing_ = "KWin composites with " + type +
                              " on this machine (no GPU render node for OpenGL), and takes no "
                              "screenshots without OpenGL";
    }
    return true;
}

bool DesktopSession::startGnomeShell()
{
    compositor_ =
        startDaemon(FindProgram("gnome-shell"),
                    {"--headless", "--wayland", "--no-x11", "--virtual-monitor",
                     std::to_string(options_.width) + "x" + std::to_string(options_.height)});
    if (!compositor_) return fail("gnome-shell could not be started");
    if (!WaitFor([&] { return !compositor_->running() || IsSocket(runtime_ + "/wayland-0"); },
                 30s) ||
        !compositor_->running())
        return fail("gnome-shell did not come up: " + Tail(compositorLog()));
    waylandDisplay_ = "wayland-0";
    for (const char* name : {"org.gnome.Shell", "org.gnome.Shell.Screenshot"})
        if (!waitForName(name, *compositor_, 30s))
            return fail(std::string("gnome-shell did not offer ") + name + ": " +
                        Tail(compositorLog()));
    return true;
}

bool DesktopSession::startPortals()
{
    // Services the bus starts on demand (the permission store, the portals' helpers) belong
    // to this session too.
    std::vector<std::string> activation;
    for (const auto& [name, value] : environment()) activation.push_back(name + "=" + value);
    activation.push_back("XDG_DESKTOP_PORTAL_DIR=" + portalsFolder_);
    if (run("dbus-update-activation-environment", Process::Options(activation)).exitCode() != 0)
        return fail("cannot pass the session's environment to the bus");
    const bool kwin = options_.desktop == Desktop::KWin;
    // The desktop's own backend first: a frontend that has to start it on demand stalled.
    portalBackend_ =
        startDaemon(kwin ? KdePortalBackend() : std::string(kGnomePortalBackend),
                    kwin ? std::vector<std::string>{} : std::vector<std::string>{"-r"});
    if (!portalBackend_) return fail("the desktop's portal backend could not be started");
    const std::string backendName = kwin ? "org.freedesktop.impl.portal.desktop.kde"
                                         : "org.freedesktop.impl.portal.desktop.gnome";
    if (!waitForName(backendName, *portalBackend_, 30s))
        return fail("the portal backend did not come up: " + Tail(portalBackend_->standardError()));
    portal_ = startDaemon(kPortalFrontend, {"-r"}, {{"XDG_DESKTOP_PORTAL_DIR", portalsFolder_}});
    if (!portal_) return fail("xdg-desktop-portal could not be started");
    const bool up = WaitFor(
        [&] {
            if (!portal_->running() || !portalBackend_->running()) return true;
            if (!nameHasOwner(kPortalName)) return false;
            return portalExports("org.freedesktop.portal.Screenshot");
        },
        30s);
    if (!portal_->running()) return fail("xdg-desktop-portal ended: " + Tail(portalLog()));
    if (!portalBackend_->running())
        return fail("the portal backend ended: " + Tail(portalBackend_->standardError()));
    if (!up) return fail("the Screenshot portal did not appear: " + Tail(portalLog()));
    return true;
}

bool DesktopSession::portalExports(const std::string& interface) const
{
    return busCall({std::string("--dest=") + kPortalName, kPortalPath,
                    "org.freedesktop.DBus.Introspectable.Introspect"})
               .find("interface name=\"" + interface + "\"") != std::string::npos;
}

std::string DesktopSession::compositorLog() const
{
    return compositor_ ? compositor_->standardOutput() + compositor_->standardError()
                       : std::string();
}

std::string DesktopSession::portalLog() const
{
    std::string log;
    if (portal_) log += portal_->standardError();
    if (portalBackend_) log += "\nbackend:\n" + portalBackend_->standardError();
    return log;
}

void DesktopSession::stop()
{
    // Clients first, then the compositor and the buses, so that nothing is started again on
    // demand while the session goes away.
    for (auto* part : {&portal_, &portalBackend_, &compositor_, &busDaemon_, &systemBusDaemon_}) {
        if (*part) (*part)->stop();
        part->reset();
    }
    bus_.clear();
    systemBus_.clear();
    waylandDisplay_.clear();
    if (!folder_.empty()) {
        RemoveSessionFolder(folder_, "DesktopSession");
        folder_.clear();
    }
}

std::string DesktopSession::installProgram(const std::string& path) const
{
    if (path.empty()) return {};
    const std::string copy = folder_ + "/bin/" + fs::path(path).filename().string();
    std::error_code error;
    fs::copy_file(path, copy, fs::copy_options::overwrite_existing, error);
    if (error) return {};
    ::chmod(copy.c_str(), 0755);
    return copy;
}

bool DesktopSession::writeFile(const std::string& path, const std::string& text) const
{
    {
        std::ofstream out(path, std::ios::trunc);
        out << text;
        if (!out) return false;
    }
    ::chmod(path.c_str(), 0644);
    return ::chown(path.c_str(), uid_, gid_) == 0;
}

std::optional<std::vector<std::string>> DesktopSession::runKWinScript(
    const std::string& script) const
{
    // Each line the script prints is marked, so that it can be told from KWin's own.
    const std::string marker = "tovrimo-script-" + std::to_string(++scripts_);
    const std::string path = folder_ + "/" + marker + ".js";
    if (!writeFile(path, "function say(text) { print(\"" + marker + " \" + text); }\n" + script +
                             "\nsay(\"end\");\n"))
        return std::nullopt;
    const std::string loaded =
        busCall({"--dest=org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting.loadScript",
                 "string:" + path, "string:" + marker});
    std::smatch id;
    if (!std::regex_search(loaded, id, std::regex("int32 (-?[0-9]+)")) || std::stoi(id[1]) < 0)
        return std::nullopt;
    const size_t logBefore = compositor_->standardError().size();
    const bool ran =
        !busCall({"--dest=org.kde.KWin", "/" + std::string(id[1]), "org.kde.kwin.Script.run"})
             .empty();
    busCall({"--dest=org.kde.KWin", "/Scripting", "org.kde.kwin.Scripting.unloadScript",
             "string:" + marker});
    if (!ran) return std::nullopt;
    // KWin writes print() lines to its standard error as "js: …".
    std::vector<std::string> lines;
    const std::string prefix = "js: " + marker + " ";
    bool ended = false;
    WaitFor(
        [&] {
            lines.clear();
            std::istringstream log(compositor_->standardError().substr(logBefore));
            for (std::string line; std::getline(log, line);) {
                if (line.rfind(prefix, 0) != 0) continue;
                const std::string said = line.substr(prefix.size());
                if (said == "end") {
                    ended = true;
                    break;
                }
                lines.push_back(said);
            }
            return ended;
        },
        5s);
    if (!ended) return std::nullopt;
    return lines;
}

std::vector<DesktopSession::Window> DesktopSession::windows() const
{
    const auto lines = runKWinScript(
        "var list = workspace.clientList();\n"
        "list.sort(function (a, b) { return a.stackingOrder - b.stackingOrder; });\n"
        "for (var i = 0; i < list.length; ++i) {\n"
        "    var c = list[i], g = c.frameGeometry;\n"
        "    say(JSON.stringify({caption: c.caption, pid: c.pid, x: g.x, y: g.y,\n"
        "        width: g.width, height: g.height, keepAbove: c.keepAbove,\n"
        "        active: c.active, order: c.stackingOrder}));\n"
        "}");
    std::vector<Window> windows;
    if (!lines) return windows;
    for (const std::string& line : *lines) {
        const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
        Window w;
        w.caption = o.value("caption").toString().toStdString();
        w.pid = o.value("pid").toInt();
        w.x = o.value("x").toInt();
        w.y = o.value("y").toInt();
        w.width = o.value("width").toInt();
        w.height = o.value("height").toInt();
        w.keepAbove = o.value("keepAbove").toBool();
        w.active = o.value("active").toBool();
        w.stackingOrder = o.value("order").toInt();
        windows.push_back(w);
    }
    return windows;
}

std::optional<DesktopSession::Window> DesktopSession::waitForWindow(
    const std::string& captionRegex, std::chrono::milliseconds timeout) const
{
    const std::regex pattern(captionRegex);
    std::optional<Window> found;
    WaitFor(
        [&] {
            for (const Window& window : windows())
                if (std::regex_search(window.caption, pattern)) {
                    found = window;
                    return true;
                }
            return false;
        },
        timeout);
    return found;
}

bool DesktopSession::activate(const std::string& captionRegex) const
{
    const auto said = runKWinScript(
        "var list = workspace.clientList();\n"
        "for (var i = 0; i < list.length; ++i)\n"
        "    if (new RegExp(" +
        JsString(captionRegex) +
        ").test(list[i].caption)) {\n"
        "        workspace.activeClient = list[i];\n"
        "        say(\"done\");\n"
        "    }");
    return said && !said->empty();
}

bool DesktopSession::close(const std::string& captionRegex) const
{
    const auto said = runKWinScript(
        "var list = workspace.clientList();\n"
        "for (var i = 0; i < list.length; ++i)\n"
        "    if (new RegExp(" +
        JsString(captionRegex) +
        ").test(list[i].caption)) {\n"
        "        list[i].closeWindow();\n"
        "        say(\"done\");\n"
        "    }");
    return said && !said->empty();
}

}  // namespace tovrimo::test
