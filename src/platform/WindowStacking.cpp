#include "platform/WindowStacking.h"

#include <QGuiApplication>

namespace tovrimo {

namespace {

KeepAboveService* g_keepAbove = nullptr;

bool OnWayland()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

}  // namespace

void SetKeepAboveService(KeepAboveService* service)
{
    g_keepAbove = service;
}

KeepAboveService* CurrentKeepAboveService()
{
    return OnWayland() ? g_keepAbove : nullptr;
}

bool WindowsCanStayOnTop()
{
    return !OnWayland() || g_keepAbove != nullptr;
}

bool MenusCanOpenAnywhere()
{
    return !OnWayland();
}

}  // namespace tovrimo
