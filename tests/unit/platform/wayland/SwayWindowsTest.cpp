#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QByteArray>
#include <QDBusConnection>
#include <QTemporaryDir>
#include <cstring>
#include <thread>

#include "doubles/RecordingMessageBoxes.h"
#include "platform/wayland/PortalScreenGrabber.h"
#include "platform/wayland/SwayIpc.h"
#include "platform/wayland/WaylandWindowSystem.h"

namespace tovrimo {
namespace {

// A stand-in for sway's IPC socket: answers every get_tree with the same tree and records the
// requests' headers, so the framing is checked byte for byte.
class FakeSway {
public:
    explicit FakeSway(QByteArray tree) : tree_(std::move(tree))
    {
        path_ = folder_.filePath(QStringLiteral("ipc.sock")).toStdString();
        listener_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path_.c_str(), sizeof(address.sun_path) - 1);
        EXPECT_EQ(::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        EXPECT_EQ(::listen(listener_, 8), 0);
        server_ = std::thread([this] { serve(); });
    }
    ~FakeSway()
    {
        ::shutdown(listener_, SHUT_RDWR);
        ::close(listener_);
        server_.join();
    }
    const std::string& path() const { return path_; }
    int requests() const { return requests_; }
    bool framingOk() const { return framingOk_; }

private:
    void serve()
    {
        for (;;) {
            const int client = ::accept(listener_, nullptr, nullptr);
            if (client < 0) return;
            char header[14];
            size_t got = 0;
            while (got < sizeof(header)) {
                const ssize_t n = ::recv(client, header + got, sizeof(header) - got, 0);
                if (n <= 0) break;
                got += static_cast<size_t>(n);
            }
            uint32_t length = 0, type = 0;
            std::memcpy(&length, header + 6, 4);
            std::memcpy(&type, header + 10, 4);
            framingOk_ = framingOk_ && got == sizeof(header) &&
                         std::memcmp(header, "i3-ipc", 6) == 0 && length == 0 && type == 4;
            ++requests_;
            QByteArray reply("i3-ipc");
            const auto size = static_cast<uint32_t>(tree_.size());
            reply.append(reinterpret_cast<const char*>(&size), 4);
            reply.append(reinterpret_cast<const char*>(&type), 4);
            reply.append(tree_);
            ::send(client, reply.constData(), static_cast<size_t>(reply.size()), MSG_NOSIGNAL);
            ::close(client);
        }
    }

    QTemporaryDir folder_;
    std::string path_;
    QByteArray tree_;
    int listener_ = -1;
    std::thread server_;
    std::atomic<int> requests_ = 0;
    std::atomic<bool> framingOk_ = true;
};

QByteArray TreeWithFocusOn(int focused, int ownPid)
{
    const auto flag = [focused](int id) { return id == focused ? "true" : "false"; };
    return QByteArray::fromStdString(
        std::string(R"({"id":1,"type":"root","nodes":[{"id":4,"type":"workspace","nodes":[
          {"id":8,"name":"Editor ✎","pid":1234,"focused":)") +
        flag(8) + R"(,"rect":{"x":10,"y":20,"width":300,"height":200}},
          {"id":9,"name":"トヴリモ","pid":)" +
        std::to_string(ownPid) + R"(,"focused":)" + flag(9) +
        R"(,"rect":{"x":400,"y":0,"width":50,"height":40}}]}]})");
}

class SwayWindowsTest : public ::testing::Test {
protected:
    test::RecordingMessageBoxes boxes;
    // No bus: these tests never reach the portal.
    PortalScreenGrabber grabber{boxes, QDBusConnection(QStringLiteral("no such connection"))};
};

TEST_F(SwayWindowsTest, TheFocusedWindowItsFrameAndItsTitleComeFromSwaysTree)
{
    FakeSway sway(TreeWithFocusOn(8, static_cast<int>(::getpid())));
    WaylandWindowSystem windows(grabber, SwayIpc(sway.path()));
    EXPECT_TRUE(windows.knowsWindows());
    EXPECT_EQ(windows.foregroundWindow(), 8u);
    EXPECT_EQ(windows.frameRect(8), (PixelRect{10, 20, 310, 220}));
    EXPECT_EQ(windows.windowTitle(8), "Editor ✎");
    EXPECT_FALSE(windows.isOwnWindow(8));
    // A window of this process is ours.
    EXPECT_TRUE(windows.isOwnWindow(9));
    // Unknown ids and "no window".
    EXPECT_EQ(windows.frameRect(77), PixelRect{});
    EXPECT_EQ(windows.windowTitle(77), "");
    EXPECT_EQ(windows.frameRect(0), PixelRect{});
    EXPECT_FALSE(windows.isOwnWindow(0));
    EXPECT_TRUE(sway.framingOk());
    EXPECT_GE(sway.requests(), 6);
}

TEST_F(SwayWindowsTest, NoFocusedWindowAndASwayThatIsGoneBothMeanNoWindow)
{
    {
        FakeSway sway(TreeWithFocusOn(4, 1));  // the workspace has the focus
        WaylandWindowSystem windows(grabber, SwayIpc(sway.path()));
        EXPECT_EQ(windows.foregroundWindow(), 0u);
    }
    WaylandWindowSystem gone(grabber, SwayIpc("/nonexistent/sway-ipc.sock"));
    EXPECT_EQ(gone.foregroundWindow(), 0u);
    EXPECT_EQ(gone.frameRect(8), PixelRect{});
    {
        FakeSway garbage(QByteArray("not json at all"));
        WaylandWindowSystem windows(grabber, SwayIpc(garbage.path()));
        EXPECT_EQ(windows.foregroundWindow(), 0u);
    }
}

TEST_F(SwayWindowsTest, WithoutSwayTheWindowIsPickedInThePortalsDialog)
{
    WaylandWindowSystem windows(grabber, std::nullopt);
    EXPECT_FALSE(windows.knowsWindows());
    // The "active window" changes at every look, so the capture never waits for the user to
    // activate one: the choice is made in the portal's dialog.
    const WindowId first = windows.foregroundWindow();
    const WindowId second = windows.foregroundWindow();
    EXPECT_NE(first, 0u);
    EXPECT_NE(second, 0u);
    EXPECT_NE(first, second);
    EXPECT_FALSE(windows.isOwnWindow(second));
    EXPECT_EQ(windows.windowTitle(second), "");
}

}  // namespace
}  // namespace tovrimo
