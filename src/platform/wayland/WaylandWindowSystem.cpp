#include "platform/wayland/WaylandWindowSystem.h"

#include <unistd.h>

#include <cmath>

#include "platform/ScreenDensity.h"
#include "platform/wayland/WaylandScreenGrabber.h"

namespace tovrimo {

namespace {

int Scaled(double value, double scale)
{
    return static_cast<int>(std::lround(value * scale));
}

}  // namespace

WaylandWindowSystem::WaylandWindowSystem(WaylandScreenGrabber& grabber, std::optional<SwayIpc> sway)
    : grabber_(grabber), sway_(std::move(sway))
{
}

WindowId WaylandWindowSystem::foregroundWindow()
{
    if (!sway_) {
        // A new "window" each time: the user's choice is made in the portal's dialog.
        return nextPick_++;
    }
    const auto focused = FocusedWindow(sway_->tree());
    if (!focused) return 0;
    return static_cast<WindowId>(focused->value(QLatin1String("id")).toInteger());
}

bool WaylandWindowSystem::isOwnWindow(WindowId window)
{
    if (!sway_ || window == 0) return false;
    const auto node = NodeWithId(sway_->tree(), window);
    return node && node->value(QLatin1String("pid")).toInt() == static_cast<int>(::getpid());
}

PixelRect WaylandWindowSystem::frameRect(WindowId window)
{
    if (window == 0) return {};
    if (!sway_) {
        grabber_.grabActiveWindowNext();
        return grabber_.primaryScreenRect();
    }
    const auto node = NodeWithId(sway_->tree(), window);
    if (!node) return {};
    const QJsonObject rect = node->value(QLatin1String("rect")).toObject();
    // sway's layout is in logical pixels; captures are in device pixels.
    const double scale = PrimaryDevicePixelRatio();
    const double x = rect.value(QLatin1String("x")).toDouble();
    const double y = rect.value(QLatin1String("y")).toDouble();
    const double width = rect.value(QLatin1String("width")).toDouble();
    const double height = rect.value(QLatin1String("height")).toDouble();
    return {Scaled(x, scale), Scaled(y, scale), Scaled(x + width, scale),
            Scaled(y + height, scale)};
}

std::string WaylandWindowSystem::windowTitle(WindowId window)
{
    if (!sway_ || window == 0) return {};
    const auto node = NodeWithId(sway_->tree(), window);
    return node ? node->value(QLatin1String("name")).toString().toStdString() : std::string();
}

}  // namespace tovrimo
