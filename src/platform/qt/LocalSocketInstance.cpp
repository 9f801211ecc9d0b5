#include "platform/qt/LocalSocketInstance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

namespace tovrimo {

namespace {

constexpr int kConnectTimeoutMs = 3000;
constexpr int kReplyTimeoutMs = 3000;

// The folder must be ours alone: a folder another user made (or a link to one) could let
// them listen in our place.
bool PrivateFolder(const std::string& folder)
{
    ::mkdir(folder.c_str(), 0700);
    struct stat st;
    if (::lstat(folder.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & 077) == 0;
}

std::string FolderOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

}  // namespace

LocalSocketInstance::LocalSocketInstance(std::string socketPath) : path_(std::move(socketPath)) {}

LocalSocketInstance::~LocalSocketInstance()
{
    if (server_) {
        server_->close();
        ::unlink(path_.c_str());
    }
    if (lockFd_ >= 0) ::close(lockFd_);
}

SingleInstance::Claim LocalSocketInstance::claim()
{
    // Without a folder of our own there is no safe place to meet: run without the check.
    if (!PrivateFolder(FolderOf(path_))) return Claim::Resident;
    const std::string lockPath = path_ + ".lock";
    lockFd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (lockFd_ < 0) return Claim::Resident;
    if (::flock(lockFd_, LOCK_EX | LOCK_NB) == 0) {
        listen();
        return Claim::Resident;
    }
    ::close(lockFd_);
    lockFd_ = -1;
    return handOver() ? Claim::HandedOver : Claim::Unreachable;
}

bool LocalSocketInstance::listen()
{
    // Whatever socket is there belongs to a program that no longer holds the lock: stale.
    QLocalServer::removeServer(QString::fromStdString(path_));
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_.get(), &QLocalServer::newConnection, this, &LocalSocketInstance::serve);
    return server_->listen(QString::fromStdString(path_));
}

void LocalSocketInstance::serve()
{
    while (QLocalSocket* client = server_->nextPendingConnection()) {
        connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        connect(client, &QLocalSocket::readyRead, this, [this, client] {
            if (!client->canReadLine()) return;
            const QByteArray request = client->readLine();
            if (request != kShowMenuRequest) {
                client->disconnectFromServer();
                return;
            }
            client->write(kAcknowledgement);
            client->flush();
            client->disconnectFromServer();
            // After the answer has gone: the menu runs a loop of its own until it closes.
            QTimer::singleShot(0, this, [this] { emit menuRequested(); });
        });
    }
}

bool LocalSocketInstance::handOver()
{
    // The resident program may be starting up: it holds the lock before it listens.
    QLocalSocket socket;
    const QDeadlineTimer deadline(kConnectTimeoutMs);
    for (;;) {
        socket.connectToServer(QString::fromStdString(path_));
        if (socket.waitForConnected(500)) break;
        if (deadline.hasExpired()) return false;
        QThread::msleep(100);
    }
    socket.write(kShowMenuRequest);
    if (!socket.waitForBytesWritten(kReplyTimeoutMs)) return false;
    QByteArray reply;
    while (!reply.contains('\n')) {
        if (!socket.waitForReadyRead(kReplyTimeoutMs)) break;
        reply += socket.readAll();
    }
    return reply == kAcknowledgement;
}

std::string InstanceSocketPath(const std::string& runtimeDir, unsigned uid,
                               const std::string& display)
{
    // ":0", ":0.1" and "unix:0" are the same display; "host:10.0" is another one.
    std::string name = display;
    const auto colon = name.rfind(':');
    if (colon != std::string::npos) {
        const auto dot = name.find('.', colon);
        if (dot != std::string::npos) name.erase(dot);
        if (name.compare(0, colon, "unix") == 0) name.erase(0, colon);
    }
    for (char& c : name) {
        const bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '.' || c == '-';
        if (!safe) c = '_';
    }
    std::string folder = runtimeDir;
    struct stat st;
    const bool usable = !folder.empty() && folder.front() == '/' &&
                        ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == uid;
    if (!usable) folder = "/tmp/tovrimo-" + std::to_string(uid);
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder + "/tovrimo-display" + name + ".socket";
}

}  // namespace tovrimo
