#include "harness/XfcePanel.h"

#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "harness/XSession.h"

namespace tovrimo::test {

namespace {

constexpr const char* kPanelChannel = R"(<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=6;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="30"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="systray"/>
  </property>
</channel>
)";

bool Alive(pid_t pid)
{
    return pid > 0 && ::kill(pid, 0) == 0;
}

// Ends a process that is not our child (the bus daemon, the configuration daemon): ask, wait,
// then insist.
void Terminate(pid_t pid)
{
    if (!Alive(pid)) return;
    ::kill(pid, SIGTERM);
    if (WaitFor([&] { return !Alive(pid); }, std::chrono::seconds(3))) return;
    ::kill(pid, SIGKILL);
    WaitFor([&] { return !Alive(pid); }, std::chrono::seconds(3));
}

}  // namespace

XfcePanel::XfcePanel(std::string display) : display_(std::move(display)) {}

XfcePanel::~XfcePanel()
{
    stop();
    if (!folder_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
}

bool XfcePanel::writeConfiguration()
{
    char pattern[] = "/tmp/tovrimo-xfce.XXXXXX";
    if (!::mkdtemp(pattern)) return false;
    folder_ = pattern;
    const std::string channels = folder_ + "/config/xfce4/xfconf/xfce-perchannel-xml";
    std::filesystem::create_directories(channels);
    std::ofstream(channels + "/xfce4-panel.xml") << kPanelChannel;
    return std::filesystem::exists(channels + "/xfce4-panel.xml");
}

bool XfcePanel::start()
{
    return startBus() && startPanel();
}

bool XfcePanel::startBus()
{
    if (!writeConfiguration()) {
        error_ = "cannot write the panel's configuration";
        return false;
    }
    Process::Options launch({"--sh-syntax"}, {{"DISPLAY", display_},
                                              {"HOME", folder_},
                                              {"XDG_CONFIG_HOME", folder_ + "/config"},
                                              {"XDG_CACHE_HOME", folder_ + "/cache"}});
    const Process bus = Process::run("dbus-launch", launch);
    const std::string out = bus.standardOutput();
    std::smatch m;
    if (std::regex_search(out, m, std::regex("DBUS_SESSION_BUS_ADDRESS='([^']*)'")))
        busAddress_ = m[1];
    if (std::regex_search(out, m, std::regex("DBUS_SESSION_BUS_PID=([0-9]+)")))
        busPid_ = std::atoi(m[1].str().c_str());
    if (busAddress_.empty() || busPid_ <= 0) {
        error_ = "dbus-launch gave no bus: " + out + bus.standardError();
        return false;
    }
    return true;
}

bool XfcePanel::startPanel()
{
    Process::Options opts({}, {{"DISPLAY", display_},
                               {"HOME", folder_},
                               {"XDG_CONFIG_HOME", folder_ + "/config"},
                               {"XDG_CACHE_HOME", folder_ + "/cache"}});
    opts.env["DBUS_SESSION_BUS_ADDRESS"] = busAddress_;
    opts.unsetEnv = {"SESSION_MANAGER"};
    panel_ = std::make_unique<Process>("xfce4-panel", opts);
    if (!panel_->start()) {
        error_ = "xfce4-panel could not be started";
        return false;
    }
    const bool hosted = WaitFor(
        [&] {
            bool ok = false;
            const std::string reply = busCall(
                {"--print-reply", "--dest=org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                 "org.freedesktop.DBus.Properties.Get", "string:org.kde.StatusNotifierWatcher",
                 "string:IsStatusNotifierHostRegistered"},
                &ok);
            return (ok && reply.find("boolean true") != std::string::npos) || !panel_->running();
        },
        std::chrono::seconds(20));
    if (!hosted || !panel_->running()) {
        error_ = "the panel's status tray did not register: " + panel_->standardError();
        return false;
    }
    // The panel maps its window a moment after the plugin registered.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    return true;
}

std::string XfcePanel::busCall(std::vector<std::string> args, bool* ok) const
{
    args.insert(args.begin(), "--bus=" + busAddress_);
    Process::Options opts(std::move(args));
    const Process p = Process::run("dbus-send", opts, std::chrono::seconds(10));
    if (ok) *ok = p.exitedNormally() && p.exitCode() == 0;
    return p.standardOutput();
}

pid_t XfcePanel::connectionPid(const std::string& name) const
{
    bool ok = false;
    const std::string reply =
        busCall({"--print-reply", "--dest=org.freedesktop.DBus", "/org/freedesktop/DBus",
                 "org.freedesktop.DBus.GetConnectionUnixProcessID", "string:" + name},
                &ok);
    std::smatch m;
    if (!ok || !std::regex_search(reply, m, std::regex("uint32 ([0-9]+)"))) return -1;
    return std::atoi(m[1].str().c_str());
}

std::vector<std::string> XfcePanel::registeredItems() const
{
    const std::string reply =
        busCall({"--print-reply", "--dest=org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                 "org.freedesktop.DBus.Properties.Get", "string:org.kde.StatusNotifierWatcher",
                 "string:RegisteredStatusNotifierItems"});
    std::vector<std::string> items;
    const std::regex item("string \"([^\"]+)\"");
    for (auto it = std::sregex_iterator(reply.begin(), reply.end(), item);
         it != std::sregex_iterator(); ++it)
        items.push_back((*it)[1]);
    return items;
}

std::vector<std::string> XfcePanel::exportedMenuLabels(const std::string& item) const
{
    // An item is registered as "<bus name>/<path>" or as a bare bus name.
    std::string service = item;
    std::string path = "/StatusNotifierItem";
    if (const auto slash = item.find('/'); slash != std::string::npos) {
        service = item.substr(0, slash);
        path = item.substr(slash);
    }
    const std::string menuReply =
        busCall({"--print-reply", "--dest=" + service, path, "org.freedesktop.DBus.Properties.Get",
                 "string:org.kde.StatusNotifierItem", "string:Menu"});
    std::smatch m;
    if (!std::regex_search(menuReply, m, std::regex("object path \"([^\"]+)\""))) return {};
    const std::string menuPath = m[1];
    if (menuPath == "/NO_DBUSMENU") return {};
    // The top level and its direct children only, with the two properties that matter.
    const std::string layout =
        busCall({"--print-reply", "--dest=" + service, menuPath, "com.canonical.dbusmenu.GetLayout",
                 "int32:0", "int32:1", "array:string:label,visible,type"});
    // Each child is a struct (int32 id, dict of properties, array of children). Collect the
    // labels of children not marked invisible and not separators.
    std::vector<std::string> labels;
    const std::regex child("struct \\{\\s*int32 ([0-9]+)\\s*array \\[([^\\]]*)\\]");
    for (auto it = std::sregex_iterator(layout.begin(), layout.end(), child);
         it != std::sregex_iterator(); ++it) {
        const std::string id = (*it)[1];
        const std::string props = (*it)[2];
        if (id == "0") continue;
        if (props.find("\"visible\"\n") != std::string::npos &&
            std::regex_search(props, std::regex("\"visible\"\\s*variant\\s*boolean false")))
            continue;
        if (std::regex_search(props, std::regex("\"type\"\\s*variant\\s*string \"separator\"")))
            continue;
        std::smatch label;
        if (std::regex_search(props, label,
                              std::regex("\"label\"\\s*variant\\s*string \"([^\"]*)\"")))
            labels.push_back(label[1]);
        else
            labels.emplace_back();
    }
    return labels;
}

void XfcePanel::stop()
{
    const pid_t xfconfd = busPid_ > 0 ? connectionPid("org.xfce.Xfconf") : -1;
    if (panel_) panel_->stop();
    panel_.reset();
    Terminate(xfconfd);
    Terminate(busPid_);
    busPid_ = -1;
}

}  // namespace tovrimo::test
