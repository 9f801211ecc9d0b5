#pragma once

#include <gtest/gtest.h>

#include <chrono>

#include "harness/Desktop.h"
#include "harness/DesktopState.h"
#include "harness/PrivateCups.h"
#include "harness/TestSession.h"

namespace tovrimo::test {

// Pages that end-to-end tests send to the private cupsd's A4 queue: counting starts from an
// empty output file and the jobs there were, so a test sees only the jobs it caused.
class PrintQueueJobs {
protected:
    // Forgets earlier output and jobs; a fixture with a desktop of its own calls it after
    // setting that desktop up.
    void startCounting()
    {
        cups().clearOutput(TestSession::kA4Queue);
        jobsBefore = cups().jobCount();
    }
    PrivateCups& cups() { return TestSession::current().cups(); }
    // Exactly one job more than at the start, and every job finished (the output is whole).
    bool printedOnePage()
    {
        using namespace std::chrono_literals;
        return WaitFor([&] { return cups().jobCount() == jobsBefore + 1; }, 20s) &&
               cups().waitForJobs();
    }
    int jobsBefore = 0;
};

// A test on the shared session's desktop whose pages go to the A4 queue.
class PrintQueueTest : public ::testing::Test, protected PrintQueueJobs {
protected:
    void SetUp() override
    {
        FocusRoot();
        startCounting();
    }
};

}  // namespace tovrimo::test
