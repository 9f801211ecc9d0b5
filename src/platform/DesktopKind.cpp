#include "platform/DesktopKind.h"

#include <cstdlib>
#include <sstream>
#include <string>

namespace tovrimo {

DesktopKind DesktopFromCurrentDesktop(const char* currentDesktop)
{
    if (!currentDesktop) return DesktopKind::Other;
    std::istringstream names{std::string(currentDesktop)};
    for (std::string name; std::getline(names, name, ':');) {
        if (name == "GNOME") return DesktopKind::Gnome;
        if (name == "KDE") return DesktopKind::Kde;
    }
    return DesktopKind::Other;
}

DesktopKind CurrentDesktop()
{
    return DesktopFromCurrentDesktop(std::getenv("XDG_CURRENT_DESKTOP"));
}

}  // namespace tovrimo
