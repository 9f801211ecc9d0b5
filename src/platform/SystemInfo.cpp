#include "platform/SystemInfo.h"

#include <pwd.h>
#include <unistd.h>

#include <utility>
#include <vector>

namespace tovrimo {

std::tm LocalTimeNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) {
        // Without a usable time zone the universal time is still the right day most of the
        // time, which beats printing the epoch.
        gmtime_r(&now, &local);
    }
    return local;
}

std::optional<std::string> HostName()
{
    char buffer[256] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0) {
        return std::nullopt;
    }
    return std::string(buffer);
}

std::optional<std::string> LoginName()
{
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_name == nullptr) {
        return std::nullopt;
    }
    return std::string(found->pw_name);
}

TitleFieldSources SystemTitleFieldSources(std::function<std::string()> capturedWindowTitle)
{
    TitleFieldSources sources;
    sources.localTime = &LocalTimeNow;
    sources.computerName = &HostName;
    sources.userName = &LoginName;
    sources.capturedWindowTitle = std::move(capturedWindowTitle);
    return sources;
}

}  // namespace tovrimo
