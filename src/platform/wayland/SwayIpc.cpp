#include "platform/wayland/SwayIpc.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <cstdlib>
#include <cstring>
#include <functional>

namespace tovrimo {

namespace {

constexpr char kMagic[] = {'i', '3', '-', 'i', 'p', 'c'};
constexpr size_t kHeaderSize = sizeof(kMagic) + 8;
constexpr int kTimeoutMs = 2000;

class Socket {
public:
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket()
    {
        if (fd_ >= 0) ::close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool ReadAll(int fd, char* data, size_t size)
{
    while (size > 0) {
        pollfd waiting{fd, POLLIN, 0};
        if (::poll(&waiting, 1, kTimeoutMs) <= 0) return false;
        const ssize_t n = ::recv(fd, data, size, 0);
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

std::optional<QJsonObject> FindNode(const QJsonObject& node,
                                    const std::function<bool(const QJsonObject&)>& wanted)
{
    if (wanted(node)) return node;
    for (const char* children : {"nodes", "floating_nodes"}) {
        for (const QJsonValue child : node.value(QLatin1String(children)).toArray()) {
            if (auto found = FindNode(child.toObject(), wanted)) return found;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<SwayIpc> SwayIpc::fromEnvironment()
{
    const char* path = std::getenv("SWAYSOCK");
    if (!path || !*path) return std::nullopt;
    return SwayIpc(path);
}

std::optional<QByteArray> SwayIpc::request(uint32_t type, const QByteArray& payload) const
{
    Socket socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (socket.fd() < 0) return std::nullopt;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath_.size() >= sizeof(address.sun_path)) return std::nullopt;
    std::memcpy(address.sun_path, socketPath_.c_str(), socketPath_.size() + 1);
    if (::connect(socket.fd(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0)
        return std::nullopt;

    // Header: the magic, then length and type in the machine's byte order.
    char header[kHeaderSize];
    std::memcpy(header, kMagic, sizeof(kMagic));
    const auto length = static_cast<uint32_t>(payload.size());
    std::memcpy(header + sizeof(kMagic), &length, 4);
    std::memcpy(header + sizeof(kMagic) + 4, &type, 4);
    if (!WriteAll(socket.fd(), header, kHeaderSize) ||
        !WriteAll(socket.fd(), payload.constData(), static_cast<size_t>(payload.size())))
        return std::nullopt;

    char reply[kHeaderSize];
    if (!ReadAll(socket.fd(), reply, kHeaderSize)) return std::nullopt;
    if (std::memcmp(reply, kMagic, sizeof(kMagic)) != 0) return std::nullopt;
    uint32_t replyLength = 0;
    std::memcpy(&replyLength, reply + sizeof(kMagic), 4);
    constexpr uint32_t kLargestReply = 64u << 20;
    if (replyLength > kLargestReply) return std::nullopt;
    QByteArray body(static_cast<qsizetype>(replyLength), Qt::Uninitialized);
    if (!ReadAll(socket.fd(), body.data(), replyLength)) return std::nullopt;
    return body;
}

QJsonObject SwayIpc::tree() const
{
    const auto reply = request(kGetTree);
    if (!reply) return {};
    return QJsonDocument::fromJson(*reply).object();
}

std::optional<QJsonObject> FocusedWindow(const QJsonObject& tree)
{
    return FindNode(tree, [](const QJsonObject& node) {
        return node.value(QLatin1String("focused")).toBool() &&
               node.value(QLatin1String("pid")).toInt() > 0;
    });
}

std::optional<QJsonObject> NodeWithId(const QJsonObject& tree, qint64 id)
{
    return FindNode(tree, [id](const QJsonObject& node) {
        return node.value(QLatin1String("id")).toInteger(-1) == id;
    });
}

}  // namespace tovrimo
