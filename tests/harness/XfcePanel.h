#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <vector>

#include "harness/Process.h"

namespace tovrimo::test {

// XFCE's panel holding only its status tray plugin, which is a StatusNotifierItem host (and an
// XEmbed tray), on a private session bus of its own. The panel's settings channel is written
// into a private XDG_CONFIG_HOME before the bus starts, so that the xfconfd the bus starts on
// demand reads it and the tray is the only thing in the panel (a 30-pixel strip along the top
// of the screen). Everything it started is stopped by pid.
class XfcePanel {
public:
    explicit XfcePanel(std::string display);
    ~XfcePanel();
    XfcePanel(const XfcePanel&) = delete;
    XfcePanel& operator=(const XfcePanel&) = delete;

    // Starts the bus and the panel and waits until its host is registered on the bus.
    bool start();
    // The two halves of start(): a session with a bus but no panel yet, then the panel.
    bool startBus();
    bool startPanel();
    void stop();

    const std::string& busAddress() const { return busAddress_; }
    const std::string& error() const { return error_; }
    static constexpr int kPanelHeight = 30;

    // The items the panel's watcher has registered (bus name and object path of each).
    std::vector<std::string> registeredItems() const;
    // The labels of the visible top-level items of the menu an item exports (dbusmenu), in
    // order; empty when it exports none.
    std::vector<std::string> exportedMenuLabels(const std::string& item) const;
    // Runs dbus-send on the panel's bus and returns what it printed.
    std::string busCall(std::vector<std::string> args, bool* ok = nullptr) const;

private:
    bool writeConfiguration();
    pid_t connectionPid(const std::string& name) const;

    std::string display_;
    std::string folder_;
    std::string busAddress_;
    pid_t busPid_ = -1;
    std::unique_ptr<Process> panel_;
    std::string error_;
};

}  // namespace tovrimo::test
