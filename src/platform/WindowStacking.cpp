#include "platform/WindowStacking.h"

#include <QGuiApplication>

namespace tovrimo {

bool WindowsCanStayOnTop()
{
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

bool MenusCanOpenAnywhere()
{
    return WindowsCanStayOnTop();
}

}  // namespace tovrimo
