#pragma once

#include <memory>
#include <string>

#include "platform/SingleInstance.h"

class QLocalServer;

namespace tovrimo {

// SingleInstance over a local socket. The resident program holds an exclusive lock on a file
// beside the socket for as long as it lives; the kernel drops the lock when the process dies,
// so a socket left behind by a crash is recognised as stale and replaced, and two programs
// starting at the same moment cannot both become resident.
class LocalSocketInstance : public SingleInstance {
    Q_OBJECT
public:
    explicit LocalSocketInstance(std::string socketPath);
    ~LocalSocketInstance() override;

    Claim claim() override;
    const std::string& socketPath() const { return path_; }

    static constexpr const char* kShowMenuRequest = "show-menu\n";
    static constexpr const char* kAcknowledgement = "ok\n";

private:
    bool listen();
    bool handOver();
    void serve();

    std::string path_;
    int lockFd_ = -1;
    std::unique_ptr<QLocalServer> server_;
};

}  // namespace tovrimo
