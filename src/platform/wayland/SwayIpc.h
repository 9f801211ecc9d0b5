#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <optional>
#include <string>

namespace tovrimo {

// sway's IPC socket (the one SWAYSOCK names): window layout and focus as sway knows them.
class SwayIpc {
public:
    // The socket named by SWAYSOCK, or nothing outside a sway session.
    static std::optional<SwayIpc> fromEnvironment();
    explicit SwayIpc(std::string socketPath) : socketPath_(std::move(socketPath)) {}

    // The whole window tree (get_tree); an empty object when sway does not answer.
    QJsonObject tree() const;
    // One request and its reply payload; nothing when the socket fails.
    std::optional<QByteArray> request(uint32_t type, const QByteArray& payload = {}) const;

    static constexpr uint32_t kGetTree = 4;

private:
    std::string socketPath_;
};

// The focused window in a get_tree answer: a node with a pid (a client's window, not an
// output or workspace) that has the focus. Nothing when no window has it.
std::optional<QJsonObject> FocusedWindow(const QJsonObject& tree);
// The node with this id anywhere in the tree.
std::optional<QJsonObject> NodeWithId(const QJsonObject& tree, qint64 id);

}  // namespace tovrimo
