#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <cstdlib>

#include "harness/TestSession.h"

using namespace tovrimo::test;

TEST(XSession, RunsThePrivateServerWithWindowManagerAndTray)
{
    XSession& x = TestSession::current().x();
    EXPECT_EQ(x.rootWidth(), 1280);
    EXPECT_EQ(x.rootHeight(), 1024);
    EXPECT_TRUE(x.windowManagerRunning());
    EXPECT_NE(x.traySelectionOwner(), 0u);
    ASSERT_NE(std::getenv("DISPLAY"), nullptr);
    EXPECT_EQ(std::string(std::getenv("DISPLAY")), x.display());
    // The application in this process is on the private server, not on the session's own.
    ASSERT_NE(QGuiApplication::primaryScreen(), nullptr);
    EXPECT_EQ(QGuiApplication::primaryScreen()->geometry().size(), QSize(1280, 1024));
}

TEST(XSession, SecondSessionTakesAnotherDisplayAndCustomSize)
{
    XSession::Options options;
    options.width = 640;
    options.height = 480;
    options.windowManager = false;
    options.tray = false;
    XSession other(options);
    ASSERT_TRUE(other.start()) << other.error();
    EXPECT_NE(other.display(), TestSession::current().x().display());
    EXPECT_EQ(other.rootWidth(), 640);
    EXPECT_EQ(other.rootHeight(), 480);
    EXPECT_FALSE(other.windowManagerRunning());
    EXPECT_EQ(other.traySelectionOwner(), 0u);
    const std::string lock = "/tmp/.X" + std::to_string(other.displayNumber()) + "-lock";
    other.stop();
    // Stopping by pid lets Xvfb clean up after itself.
    EXPECT_TRUE(WaitFor([&] { return ReadTextFile(lock).empty(); }, std::chrono::seconds(5)));
}
