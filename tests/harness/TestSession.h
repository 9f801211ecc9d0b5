#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "harness/XSession.h"

namespace tovrimo::test {

// What a whole test run shares: one private X server with a window manager and a tray. Made
// before the first test and torn down after the last, also when tests fail. Started from
// main() so that DISPLAY is set before anything touches X.
class TestSession : public ::testing::Environment {
public:
    struct Options {
        XSession::Options x;
    };

    explicit TestSession(Options options);
    ~TestSession() override;

    // Starts everything and exports DISPLAY; false (with the reason printed) when the machine
    // cannot provide the session, in which case main() should give up.
    bool startAll();
    void TearDown() override;

    static TestSession& current();
    XSession& x() { return *x_; }

private:
    Options options_;
    std::unique_ptr<XSession> x_;
};

}  // namespace tovrimo::test
