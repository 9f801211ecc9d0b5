#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "harness/PrivateCups.h"
#include "harness/XSession.h"

namespace tovrimo::test {

// What a whole test run shares: one private X server with a window manager and a tray, and
// one private cupsd with the two test queues ("TovA4", the default, and "TovLetter"). Made
// before the first test and torn down after the last, also when tests fail. Started from
// main() so that DISPLAY and CUPS_SERVER are set before anything touches X or CUPS.
class TestSession : public ::testing::Environment {
public:
    struct Options {
        XSession::Options x;
        bool printers = true;
    };

    static constexpr const char* kA4Queue = "TovA4";
    static constexpr const char* kLetterQueue = "TovLetter";
    // A test PPD from the test data by queue name.
    static std::string ppdPath(const std::string& queue);
    // Adds the named test queue (its PPD has the same name) to a scheduler.
    static bool addTestQueue(PrivateCups& cups, const std::string& queue);

    explicit TestSession(Options options);
    ~TestSession() override;

    // Starts everything and exports DISPLAY; false (with the reason printed) when the machine
    // cannot provide the session, in which case main() should give up.
    bool startAll();
    void TearDown() override;

    static TestSession& current();
    XSession& x() { return *x_; }
    PrivateCups& cups() { return *cups_; }

private:
    Options options_;
    std::unique_ptr<XSession> x_;
    std::unique_ptr<PrivateCups> cups_;
    std::string runtimeFolder_;  // made when XDG_RUNTIME_DIR was not set; removed at the end
};

}  // namespace tovrimo::test
