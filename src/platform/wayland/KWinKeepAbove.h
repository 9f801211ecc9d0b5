#pragma once

#include <QDBusConnection>
#include <string>

#include "platform/WindowStacking.h"

namespace tovrimo {

// Keeps our windows above the others on KWin, which offers no Wayland request for it but runs
// scripts over D-Bus: a short script finds the window of this process by its title and sets
// its keep-above flag, as the window's own menu would.
class KWinKeepAbove : public KeepAboveService {
public:
    explicit KWinKeepAbove(QDBusConnection bus = QDBusConnection::sessionBus());

    bool keepAbove(const std::string& windowTitle, bool above) override;

    // Whether KWin's scripting is on the bus.
    static bool Offered(const QDBusConnection& bus);

    // The script that sets the flag of the process's window with that title.
    static std::string Script(long long pid, const std::string& windowTitle, bool above);

private:
    QDBusConnection bus_;
};

}  // namespace tovrimo
