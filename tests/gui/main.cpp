#include <gtest/gtest.h>

#include <QApplication>

#include "harness/TestSession.h"

using tovrimo::test::TestSession;

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // The session must exist before QApplication (Qt connects to DISPLAY when it is made) and
    // before the first CUPS call (libcups fixes its server per thread on first use).
    auto* session = new TestSession(TestSession::Options{});
    if (!session->startAll()) {
        delete session;
        return 1;
    }
    ::testing::AddGlobalTestEnvironment(session);  // gtest owns it from here
    ::qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
