#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "harness/PrivateCups.h"
#include "harness/TovrimoProcess.h"
#include "harness/WaylandSession.h"

namespace tovrimo::test {

// What a run of the Wayland tests shares: one headless sway session with its bus and
// portals, and one private cupsd with the same test queues as TestSession ("TovA4", the
// default, and "TovLetter"). Made before the first test and torn down after the last. Started
// from main(), which gives up loudly when the machine cannot provide it: a missing sway is a
// failed run, never a skipped one.
class WaylandTestSession : public ::testing::Environment {
public:
    struct Options {
        WaylandSession::Options wayland;
        bool printers = true;
    };

    explicit WaylandTestSession(Options options);
    ~WaylandTestSession() override;

    // Starts everything and exports CUPS_SERVER (and drops DISPLAY, so that nothing started
    // from the tests finds an X server); false, with the reason printed, when something did
    // not come up.
    bool startAll();
    void TearDown() override;

    static WaylandTestSession& current();
    WaylandSession& wayland() { return *wayland_; }
    PrivateCups& cups() { return *cups_; }

    // The built program, ready to start in the session: a copy the session's user may run,
    // the session's environment and the private cupsd, a program folder of its own that
    // belongs to that user. env is added last and wins.
    std::unique_ptr<TovrimoProcess> tovrimo(const std::map<std::string, std::string>& env = {});

private:
    Options options_;
    std::unique_ptr<WaylandSession> wayland_;
    std::unique_ptr<PrivateCups> cups_;
    std::string binary_;  // the copy in the session's folder, made on first use
};

}  // namespace tovrimo::test
