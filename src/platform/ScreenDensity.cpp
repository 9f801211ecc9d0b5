#include "platform/ScreenDensity.h"

#include <QGuiApplication>
#include <QScreen>
#include <charconv>
#include <cmath>

namespace tovrimo {

namespace {

constexpr double kDefaultDpi = 96.0;
// Beyond these a value is a typing error, not a screen: a twip would be larger than a pixel
// or a pixel smaller than a printer dot.
constexpr double kLowestDpi = 24.0;
constexpr double kHighestDpi = 2400.0;

bool Usable(double dpi)
{
    return std::isfinite(dpi) && dpi >= kLowestDpi && dpi <= kHighestDpi;
}

std::string_view Trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<double> XftDpiFromResources(std::string_view resources)
{
    std::optional<double> found;
    while (!resources.empty()) {
        const auto end = resources.find('\n');
        const std::string_view line = resources.substr(0, end);
        resources = end == std::string_view::npos ? std::string_view{} : resources.substr(end + 1);

        const auto colon = line.find(':');
        if (colon == std::string_view::npos) continue;
        if (Trimmed(line.substr(0, colon)) != "Xft.dpi") continue;
        const std::string_view value = Trimmed(line.substr(colon + 1));
        double dpi = 0;
        const auto [rest, error] = std::from_chars(value.data(), value.data() + value.size(), dpi);
        // A later entry overrides an earlier one, as in the resource database itself.
        const bool number = error == std::errc{} && rest == value.data() + value.size();
        found = number && Usable(dpi) ? std::optional<double>(dpi) : std::nullopt;
    }
    return found;
}

double TwipsPerDevicePixel(double devicePixelsPerInch)
{
    return 1440.0 / (Usable(devicePixelsPerInch) ? devicePixelsPerInch : kDefaultDpi);
}

double PrimaryDevicePixelRatio()
{
    const QScreen* primary = QGuiApplication::primaryScreen();
    return primary ? primary->devicePixelRatio() : 1.0;
}

DotsPerInch QtScreenDensity()
{
    DotsPerInch density;
    if (const QScreen* primary = QGuiApplication::primaryScreen()) {
        const qreal ratio = primary->devicePixelRatio();
        density.x = primary->logicalDotsPerInchX() * ratio;
        density.y = primary->logicalDotsPerInchY() * ratio;
    }
    return density;
}

}  // namespace tovrimo
