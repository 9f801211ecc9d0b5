#include <gtest/gtest.h>

#include "harness/TestSession.h"

using tovrimo::test::TestSession;

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Every program a test starts inherits DISPLAY and CUPS_SERVER of the private session.
    auto* session = new TestSession(TestSession::Options{});
    if (!session->startAll()) {
        delete session;
        return 1;
    }
    ::testing::AddGlobalTestEnvironment(session);  // gtest owns it from here
    return RUN_ALL_TESTS();
}
