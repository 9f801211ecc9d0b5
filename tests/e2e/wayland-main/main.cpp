#include <gtest/gtest.h>

#include "harness/WaylandTestSession.h"

using tovrimo::test::WaylandTestSession;

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // The tests start their programs in the session through WaylandTestSession; CUPS_SERVER
    // is exported here for the test process itself.
    auto* session = new WaylandTestSession(WaylandTestSession::Options{});
    if (!session->startAll()) {
        delete session;
        return 1;
    }
    ::testing::AddGlobalTestEnvironment(session);  // gtest owns it from here
    return RUN_ALL_TESTS();
}
